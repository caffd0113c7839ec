#include "conversions.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace numerella {

namespace {

// The forgiving scan shared by parseNumber and toDoubleStrict: the number's
// text without its blanks, and where it ended (past the blanks behind it);
// an empty text when nothing readable was found.
struct Scan {
    QString number;
    qsizetype end = 0;
};

Scan scanNumber(QStringView text)
{
    const qsizetype n = text.size();
    const auto skipBlanks = [&](qsizetype& k) {
        while (k < n && (text[k] == u' ' || text[k] == u'\t' || text[k] == u'\n'))
            ++k;
    };
    // Appends the digits at k, blanks between them skipped; false for none.
    const auto takeDigits = [&](qsizetype& k, QString& into) {
        const qsizetype before = into.size();
        for (; k < n && text[k] >= u'0' && text[k] <= u'9'; skipBlanks(k))
            into += text[k++];
        return into.size() > before;
    };
    Scan scan;
    qsizetype i = 0;
    skipBlanks(i);
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        scan.number += text[i++];
        skipBlanks(i);
    }
    bool mantissa = takeDigits(i, scan.number);
    if (i < n && text[i] == u'.') {
        qsizetype j = i + 1;
        skipBlanks(j);
        QString fraction = QStringLiteral(".");
        const bool digits = takeDigits(j, fraction);
        if (digits)
            scan.number += fraction;
        if (digits || mantissa)
            i = j;  // "5." reads as 5; a lone "." is no number
        mantissa = mantissa || digits;
    }
    if (!mantissa)
        return {};
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        // The exponent counts only when digits follow it.
        qsizetype j = i + 1;
        QString exponent = QStringLiteral("e");
        skipBlanks(j);
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            exponent += text[j++];
            skipBlanks(j);
        }
        if (takeDigits(j, exponent)) {
            scan.number += exponent;
            i = j;
        }
    }
    scan.end = i;
    return scan;
}

// Beyond a double's range Qt gives an infinity, below it zero.
double valueOf(const Scan& scan)
{
    return scan.number.isEmpty() ? 0.0 : QLocale::c().toDouble(scan.number);
}

} // namespace

double parseNumber(QStringView text)
{
    return valueOf(scanNumber(text));
}

std::optional<double> toDoubleStrict(QStringView text)
{
    const Scan scan = scanNumber(text);
    if (scan.number.isEmpty() || scan.end != text.size())
        return std::nullopt;
    return valueOf(scan);
}

std::optional<std::int16_t> roundToInt16(double value)
{
    const double rounded = std::nearbyint(value);  // default mode: half to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0))  // NaN too
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

QString intToText(long long value)
{
    return QString::number(value);
}

QString formatPattern(long long value, QStringView pattern)
{
    return QString::number(value).rightJustified(pattern.count(u'0'), u'0');
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
