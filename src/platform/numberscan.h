// The board's forgiving way of reading a number, in plain C++: the record
// helper, which links no Qt, reads a record file as the board reads it.
#pragma once

#include <string_view>

namespace numerella {

// Blanks, tabs and line feeds are skipped wherever they stand; then an
// optional sign, digits, an optional "." with digits and an exponent that
// counts only with digits are taken; the first other byte (a carriage return
// included) ends the number. No digit at all reads as 0. Beyond a double's
// range a number reads as an infinity, below it as zero. `alone` tells
// whether the text held one number and nothing else.
double scanNumber(std::string_view text, bool* alone = nullptr);

} // namespace numerella
