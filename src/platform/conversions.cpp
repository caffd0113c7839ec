#include "conversions.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace numerella {

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

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
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isSkipped(text[i]))
            ++i;
    };

    skipBlanks();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            scan.digits.push_back('-');
        ++i;
        skipBlanks();
    }
    while (i < n && isAsciiDigit(text[i])) {
        scan.digits.push_back(char(text[i].unicode()));
        scan.hasMantissa = true;
        ++i;
        skipBlanks();
    }
    if (i < n && text[i] == u'.') {
        const qsizetype dot = i;
        const std::size_t keep = scan.digits.size();
        ++i;
        skipBlanks();
        scan.digits.push_back('.');
        bool fraction = false;
        while (i < n && isAsciiDigit(text[i])) {
            scan.digits.push_back(char(text[i].unicode()));
            fraction = true;
            ++i;
            skipBlanks();
        }
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
        while (j < n && isSkipped(text[j]))
            ++j;
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent.push_back(char(text[j].unicode()));
            ++j;
            while (j < n && isSkipped(text[j]))
                ++j;
        }
        bool any = false;
        std::string digits;
        while (j < n && isAsciiDigit(text[j])) {
            any = true;
            if (!(digits.empty() && text[j] == u'0'))  // leading zeros carry no value
                digits.push_back(char(text[j].unicode()));
            ++j;
            while (j < n && isSkipped(text[j]))
                ++j;
        }
        if (any) {
            if (digits.empty())
                digits = "0";
            if (digits.size() > 6)
                digits = "999999";  // already far past the range of a double
            exponent += digits;
            scan.digits += exponent;
            i = j;
        }
    }
    if (!scan.hasMantissa)
        i = 0;
    skipBlanks();
    scan.end = scan.hasMantissa ? i : 0;
    return scan;
}

// A number a double cannot hold: infinite when its magnitude is too large,
// zero when it is too small. The magnitude is the power of ten of its first
// significant digit, taken from the digits and the exponent.
double outOfRangeValue(const std::string& number)
{
    const bool negative = !number.empty() && number.front() == '-';
    const std::size_t e = number.find('e');
    const std::string mantissa = number.substr(negative ? 1 : 0, e == std::string::npos ? std::string::npos
                                                                                          : e - (negative ? 1 : 0));
    long long exponent = 0;
    if (e != std::string::npos)
        exponent = std::stoll(number.substr(e + 1));  // at most six digits and a sign
    const std::size_t dot = mantissa.find('.');
    const std::string whole = mantissa.substr(0, dot);
    const std::size_t firstWhole = whole.find_first_not_of('0');
    long long magnitude = 0;
    if (firstWhole != std::string::npos) {
        magnitude = static_cast<long long>(whole.size() - firstWhole) - 1;
    } else if (dot != std::string::npos) {
        const std::size_t firstFraction = mantissa.find_first_not_of('0', dot + 1);
        magnitude = firstFraction == std::string::npos ? 0 : -static_cast<long long>(firstFraction - dot);
    }
    if (magnitude + exponent < 0)
        return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

double valueOf(const Scan& scan)
{
    if (!scan.hasMantissa)
        return 0.0;
    double value = 0.0;
    const char* first = scan.digits.data();
    const char* last = first + scan.digits.size();
    const auto result = std::from_chars(first, last, value);
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
    return counter == std::numeric_limits<std::int16_t>::max() ? counter
                                                                : static_cast<std::int16_t>(counter + 1);
}

std::int16_t saturatingSum(std::int16_t a, std::int16_t b)
{
    const int sum = int(a) + int(b);
    if (sum > std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    if (sum < std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(sum);
}

} // namespace numerella
