#include "conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace numerella {

namespace {

// The forgiving scan shared by parseNumber and toDoubleStrict.
// Collects the ASCII text of the number (blanks removed) and reports where
// the number ended and whether it held any digit at all.
struct Scan {
    std::string digits;   // sign, mantissa and exponent without blanks
    qsizetype end = 0;    // index after the number and the blanks behind it
    bool hasMantissa = false;
};

Scan scanNumber(QStringView text)
{
    Scan scan;
    const qsizetype n = text.size();
    const auto skipBlanks = [&](qsizetype& k) {
        while (k < n && (text[k] == u' ' || text[k] == u'\t' || text[k] == u'\n'))
            ++k;
    };
    // Appends the digits at k, blanks between them skipped; false for none.
    const auto takeDigits = [&](qsizetype& k, std::string& into) {
        const std::size_t before = into.size();
        for (; k < n && text[k] >= u'0' && text[k] <= u'9'; skipBlanks(k))
            into.push_back(char(text[k++].unicode()));
        return into.size() > before;
    };
    qsizetype i = 0;

    skipBlanks(i);
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            scan.digits.push_back('-');
        ++i;
        skipBlanks(i);
    }
    scan.hasMantissa = takeDigits(i, scan.digits);
    if (i < n && text[i] == u'.') {
        const qsizetype dot = i++;
        const std::size_t keep = scan.digits.size();
        skipBlanks(i);
        scan.digits.push_back('.');
        const bool fraction = takeDigits(i, scan.digits);
        if (!fraction) {
            scan.digits.resize(keep);
            if (!scan.hasMantissa)
                i = dot;  // a lone "." is not part of a number; "5." reads as 5
        }
        scan.hasMantissa = scan.hasMantissa || fraction;
    }
    if (scan.hasMantissa && i < n && (text[i] == u'e' || text[i] == u'E')) {
        // The exponent counts only when digits follow it.
        qsizetype j = i + 1;
        std::string exponent = "e";
        skipBlanks(j);
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent.push_back(char(text[j++].unicode()));
            skipBlanks(j);
        }
        std::string digits;
        if (takeDigits(j, digits)) {
            digits.erase(0, digits.find_first_not_of('0'));  // leading zeros carry no value
            // Six digits are already far past the range of a double.
            scan.digits += exponent + (digits.empty() ? "0" : digits.size() > 6 ? "999999" : digits);
            i = j;
        }
    }
    if (!scan.hasMantissa)
        i = 0;
    skipBlanks(i);
    scan.end = scan.hasMantissa ? i : 0;
    return scan;
}

// A number a double cannot hold: infinite when its magnitude is too large,
// zero when it is too small. The magnitude is the power of ten of its first
// significant digit, taken from the digits and the exponent.
double outOfRangeValue(const std::string& number)
{
    const bool negative = number.front() == '-';
    const std::size_t e = number.find('e');
    const std::string mantissa = number.substr(negative, e == std::string::npos ? e : e - negative);
    const long long exponent = e == std::string::npos ? 0 : std::stoll(number.substr(e + 1));  // six digits at most
    const auto dot = static_cast<long long>(std::min(mantissa.find('.'), mantissa.size()));
    const std::size_t first = mantissa.find_first_not_of("0.");
    const auto at = static_cast<long long>(first);
    // A digit before the dot stands for 10^(dot - at - 1), one after it for 10^(dot - at).
    const long long magnitude = first == std::string::npos ? 0 : at < dot ? dot - at - 1 : dot - at;
    return std::copysign(magnitude + exponent < 0 ? 0.0 : std::numeric_limits<double>::infinity(), negative ? -1.0 : 1.0);
}

double valueOf(const Scan& scan)
{
    if (!scan.hasMantissa)
        return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(scan.digits.data(), scan.digits.data() + scan.digits.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return outOfRangeValue(scan.digits);
    return value;
}

} // namespace

double parseNumber(QStringView text)
{
    return valueOf(scanNumber(text));
}

std::optional<double> toDoubleStrict(QStringView text)
{
    const Scan scan = scanNumber(text);
    if (!scan.hasMantissa || scan.end != text.size())
        return std::nullopt;
    return valueOf(scan);
}

std::optional<std::int16_t> roundToInt16(double value)
{
    if (std::isnan(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);  // default mode: half to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

QString intToText(long long value)
{
    return QString::number(value);
}

QString formatPattern(long long value, QStringView pattern)
{
    const bool negative = value < 0;
    // Work on the magnitude as unsigned so the most negative value is safe.
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                                  : static_cast<unsigned long long>(value);
    QString digits = QString::number(magnitude);
    const qsizetype shown = pattern.count(u'0');
    if (digits.size() < shown)
        digits.prepend(QString(shown - digits.size(), u'0'));
    if (digits == u"0" && shown == 0)
        digits.clear();  // only "#" and a zero value: nothing significant to show
    return negative ? u'-' + digits : digits;
}

std::int16_t saturatingIncrement(std::int16_t counter)
{
    return counter == INT16_MAX ? counter : static_cast<std::int16_t>(counter + 1);
}

std::int16_t saturatingSum(std::int16_t a, std::int16_t b)
{
    return static_cast<std::int16_t>(std::clamp(int(a) + int(b), INT16_MIN, INT16_MAX));
}

} // namespace numerella
