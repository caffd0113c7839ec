// Conversions between numbers and the texts shown on the board.
// Pure functions: they know nothing of widgets and never throw.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace numerella {

// Reads the leading number of a text the forgiving way captions are read:
// blanks, tabs and line feeds are skipped wherever they stand, then an
// optional sign, digits, an optional "." with digits and an optional
// exponent are taken; the first other character (a carriage return
// included) ends the number. A text with nothing readable gives 0.
double parseNumber(QStringView text);

// The whole text must be one number (blanks as above are allowed);
// anything else, the empty text included, gives no value. Beyond a
// double's range a number reads as an infinity, below it as zero.
std::optional<double> toDoubleStrict(QStringView text);

// Rounds to the nearest integer, a half going to the even neighbour.
// No value when the result does not fit a signed 16-bit integer (or is NaN).
std::optional<std::int16_t> roundToInt16(double value);

// Decimal digits, "-" before a negative value, no padding.
QString intToText(long long value);

// Formats a whole number >= 0 by a picture pattern ending in "0": each "0"
// is a digit always shown, each "#" one shown only when significant.
// "00" gives 05 for 5; "#0", "###0" and "####0" give the plain number.
QString formatPattern(long long value, QStringView pattern);

// Adds one to a 16-bit counter, staying at the maximum instead of wrapping.
std::int16_t saturatingIncrement(std::int16_t counter);

// A 16-bit sum that stays within the range instead of wrapping.
std::int16_t saturatingSum(std::int16_t a, std::int16_t b);

} // namespace numerella
