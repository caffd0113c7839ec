// Drawing a question 10 X n from the generator's values. Pure functions, so
// chosen values can be fed in.
#pragma once

#include <cstdint>

namespace numerella {

inline constexpr std::int16_t kFixedFactor = 10;
inline constexpr std::int16_t kTintLevels = 15;

// floor(r * 15): the tint 0..14 of the shaded background.
std::int16_t tintFromDraw(float r);
// floor(r * 10): the drawn factor 0..9.
std::int16_t factorFromDraw(float r);
// floor(r * 100): the value 0..99 that decides what a drawn 0 becomes.
std::int16_t replacementFromDraw(float r);

// A drawn 0 is mostly replaced, so that 10 X 0 comes up about once in a
// hundred questions; any other factor is kept.
std::int16_t replaceDrawnZero(std::int16_t drawnFactor, std::int16_t replacement);

struct Question {
    std::int16_t factor;   // shown in lblNum2
    std::int16_t product;  // what the answer must be
};

Question questionFromDraws(float factorDraw, float replacementDraw);

} // namespace numerella
