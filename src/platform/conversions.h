// Conversions between numbers and the texts shown on the board.
// Pure functions: they know nothing of widgets and never throw.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace numerella {

// The leading number of a caption, read the forgiving way (scanNumber).
double parseNumber(QStringView text);

// The whole text must be one number read that way; anything else, the
// empty text included, gives no value.
std::optional<double> toDoubleStrict(QStringView text);

// Rounds to the nearest integer, a half going to the even neighbour.
// No value when the result does not fit a signed 16-bit integer (or is NaN).
std::optional<std::int16_t> roundToInt16(double value);

// Formats a whole number >= 0 by a picture pattern ending in "0": each "0"
// is a digit always shown, each "#" one shown only when significant.
// "00" gives 05 for 5; "#0", "###0" and "####0" give the plain number.
QString formatPattern(long long value, QStringView pattern);

// Adds one to a 16-bit counter, staying at the maximum instead of wrapping.
std::int16_t saturatingIncrement(std::int16_t counter);

// A 16-bit sum that stays within the range instead of wrapping.
std::int16_t saturatingSum(std::int16_t a, std::int16_t b);

} // namespace numerella
