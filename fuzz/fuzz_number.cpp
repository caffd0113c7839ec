// The forgiving number parse on any text: no crash, no read past the text,
// a consumed part that is one number with the value the C library gives it,
// blanks that count nowhere, the strict conversion accepting exactly the
// texts read whole, integers read back from their own text, and the 16-bit
// roundings right and in range.
#include "fuzz_support.h"

#include "platform/conversions.h"

#include <cmath>
#include <cstring>
#include <string>

using namespace numerella;
using namespace numerella::fuzz;

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool sameValue(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

void checkText(const QString& text)
{
    const ExactCopy exact(text);
    const QStringView view = exact.view();
    const double value = parseNumber(view);
    FUZZ_CHECK(sameValue(parseNumber(text), value), text);

    // Blanks count nowhere: the text without them reads the same.
    QString compact = text;
    compact.remove(u' ').remove(u'\t').remove(u'\n');
    FUZZ_CHECK(sameValue(parseNumber(compact), value), text);

    // A text read whole is one number in C syntax once its blanks are gone,
    // and gives the value the C library reads from it.
    const std::optional<double> strict = toDoubleStrict(view);
    if (strict) {
        FUZZ_CHECK(sameValue(*strict, value), text);
        FUZZ_CHECK(std::any_of(text.begin(), text.end(), isDigit), text);
        std::string number;
        for (const QChar c : compact) {
            FUZZ_CHECK(c.unicode() < 0x80, text);
            number.push_back(char(c.unicode()));
        }
        char* end = nullptr;
        const double expected = std::strtod(number.c_str(), &end);
        FUZZ_CHECK(end == number.c_str() + number.size(), text);
        FUZZ_CHECK(sameValue(value, expected), text);
    }

    // The 16-bit rounding: a value when in range, and then the right one.
    const std::optional<std::int16_t> rounded = roundToInt16(value);
    const bool roundable = value >= -32768.5 && value <= 32767.5;
    if (rounded) {
        FUZZ_CHECK(std::fabs(*rounded - value) <= 0.5, text);
        if (std::fabs(*rounded - value) == 0.5)
            FUZZ_CHECK(*rounded % 2 == 0, text);
        FUZZ_CHECK(roundable, text);
    } else {
        FUZZ_CHECK(!roundable || value == 32767.5, text);
    }
}

void checkInteger(long long n)
{
    const QString text = intToText(n);
    FUZZ_CHECK(parseNumber(text) == static_cast<double>(n), text);
    const std::optional<double> strict = toDoubleStrict(text);
    FUZZ_CHECK(strict && *strict == static_cast<double>(n), text);
    const auto small = static_cast<std::int16_t>(n);
    FUZZ_CHECK(roundToInt16(parseNumber(intToText(small))) == small, intToText(small));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkText(latin1Text(data, size));
    checkText(utf16Text(data, size));
    long long n = 0;
    std::memcpy(&n, data, std::min(size, sizeof n));
    checkInteger(n);
    return 0;
}
