// Formatting a whole number by a picture of "0" and "#" characters: only
// digits come out, at least one for each "0", the value reads back from
// them, and a negative value is its magnitude with a "-" in front.
#include "fuzz_support.h"

#include "platform/conversions.h"

#include <cstring>
#include <limits>

using namespace numerella;
using namespace numerella::fuzz;

namespace {

bool allDigits(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The decimal digits of a magnitude, worked out by hand.
QString plainDigits(unsigned long long magnitude)
{
    QString digits;
    do {
        digits.prepend(QChar(u'0' + char16_t(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return digits;
}

} // namespace

// The first 8 bytes are the value, each further byte one character of the
// picture: "0" when its lowest bit is set, "#" otherwise.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    long long raw = 0;
    std::memcpy(&raw, data, std::min(size, sizeof raw));
    QString pattern;
    for (std::size_t i = sizeof raw; i < size; ++i)
        pattern.append(data[i] & 1 ? u'0' : u'#');
    const qsizetype zeros = pattern.count(u'0');

    const long long value = raw & std::numeric_limits<long long>::max();  // >= 0
    const QString text = formatPattern(value, pattern);
    FUZZ_CHECK(allDigits(text), text);
    FUZZ_CHECK(text.size() >= zeros, text);
    FUZZ_CHECK(parseNumber(text) == static_cast<double>(value), text);
    // Exactly the digits of the value, widened with zeros to the "0" count;
    // a zero value under a picture of only "#" shows nothing.
    QString expected = plainDigits(static_cast<unsigned long long>(value));
    if (value == 0 && zeros == 0)
        expected.clear();
    if (expected.size() < zeros)
        expected.prepend(QString(zeros - expected.size(), u'0'));
    FUZZ_CHECK(text == expected, text);

    // Negative values, the most negative one included.
    if (raw < 0) {
        const QString negative = formatPattern(raw, pattern);
        const auto magnitude = 0ULL - static_cast<unsigned long long>(raw);
        QString digits = plainDigits(magnitude);
        if (digits.size() < zeros)
            digits.prepend(QString(zeros - digits.size(), u'0'));
        FUZZ_CHECK(negative == u'-' + digits, negative);
        FUZZ_CHECK(parseNumber(negative) == static_cast<double>(raw), negative);
    }
    return 0;
}
