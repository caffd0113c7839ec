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
    const qsizetype length = parsedLength(view);
    FUZZ_CHECK(length >= 0 && length <= text.size(), text);
    FUZZ_CHECK(sameValue(parseNumber(text), value), text);
    FUZZ_CHECK(parsedLength(text) == length, text);

    // The consumed part alone, in a buffer of its own size, reads the same.
    const ExactCopy prefix(view.first(length));
    FUZZ_CHECK(sameValue(parseNumber(prefix.view()), value), text);
    FUZZ_CHECK(parsedLength(prefix.view()) == length, text);

    // The number stops where nothing could continue it: never before a
    // digit or a blank.
    if (length > 0 && length < text.size())
        FUZZ_CHECK(!isDigit(text[length]) && !isBlank(text[length]), text);

    // Without its blanks the consumed part is one number in C syntax, and
    // the parse gives the value the C library reads from it.
    std::string number;
    for (qsizetype i = 0; i < length; ++i) {
        FUZZ_CHECK(text[i].unicode() < 0x80, text);
        if (!isBlank(text[i]))
            number.push_back(char(text[i].unicode()));
    }
    if (number.empty()) {
        FUZZ_CHECK(length == 0 && sameValue(value, 0.0), text);
    } else {
        char* end = nullptr;
        const double expected = std::strtod(number.c_str(), &end);
        FUZZ_CHECK(end == number.c_str() + number.size(), text);
        FUZZ_CHECK(sameValue(value, expected), text);
    }

    // Blanks count nowhere: the text without them reads the same.
    QString compact = text;
    compact.remove(u' ').remove(u'\t').remove(u'\n');
    FUZZ_CHECK(sameValue(parseNumber(compact), value), text);

    // The strict conversion accepts exactly the texts read whole that hold
    // a digit, with the same value.
    const bool hasDigit = std::any_of(text.begin(), text.end(), isDigit);
    const std::optional<double> strict = toDoubleStrict(view);
    FUZZ_CHECK(strict.has_value() == (length == text.size() && hasDigit), text);
    if (strict)
        FUZZ_CHECK(sameValue(*strict, value), text);

    // The 16-bit roundings: a value when in range, and then the right one.
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
    const std::optional<std::int16_t> floored = floorToInt16(value);
    FUZZ_CHECK(floored.has_value() == (value >= -32768.0 && value < 32768.0), text);
    if (floored)
        FUZZ_CHECK(*floored <= value && value < *floored + 1.0, text);
}

void checkInteger(long long n)
{
    const QString text = intToText(n);
    FUZZ_CHECK(parsedLength(text) == text.size(), text);
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
