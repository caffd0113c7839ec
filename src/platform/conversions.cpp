#include "conversions.h"

#include "numberscan.h"

#include <algorithm>
#include <cmath>

namespace numerella {

namespace {

// Any character beyond Latin-1 becomes "?", which ends a number as it would.
double scanText(QStringView text, bool* alone)
{
    const QByteArray bytes = text.toLatin1();
    return scanNumber(std::string_view(bytes.constData(), std::size_t(bytes.size())), alone);
}

} // namespace

double parseNumber(QStringView text)
{
    return scanText(text, nullptr);
}

std::optional<double> toDoubleStrict(QStringView text)
{
    bool alone = false;
    const double value = scanText(text, &alone);
    return alone ? std::optional<double>(value) : std::nullopt;
}

std::optional<std::int16_t> roundToInt16(double value)
{
    const double rounded = std::nearbyint(value);  // default mode: half to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0))  // NaN too
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
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
