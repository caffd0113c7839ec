// Drawing a question 10 X n from the generator's values. Pure functions, so
// chosen values can be fed in.
#pragma once

#include <cstdint>

namespace numerella {

inline constexpr std::int16_t kFixedFactor = 10;

// floor(r * 15): the tint 0..14 of the shaded background.
std::int16_t tintFromDraw(float r);

struct Question {
    std::int16_t factor;   // shown in lblNum2
    std::int16_t product;  // what the answer must be
};

// The factor is floor(10 * factorDraw). A drawn 0 is mostly replaced,
// by floor(100 * replacementDraw), so that 10 X 0 comes up about once in a
// hundred questions.
Question questionFromDraws(float factorDraw, float replacementDraw);

} // namespace numerella
