#include "question.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace numerella {

namespace {

// The product is taken in single precision, as the draw itself is, so a
// draw of 0.71 gives 71. The largest draw below 1 still stays below
// `levels` for these small factors; the clamp keeps that true regardless.
std::int16_t scaledFloor(float r, int levels)
{
    const float scaled = std::floor(r * static_cast<float>(levels));
    return static_cast<std::int16_t>(std::clamp(scaled, 0.0f, static_cast<float>(levels - 1)));
}

struct Replacement {
    std::int16_t upTo;    // last value of d in the range
    std::int16_t factor;  // what a drawn 0 becomes
};

// Tested in order; the first range that holds d decides. 71..77 giving 5
// (not 7) is deliberate: it keeps 7 from coming up more than the others.
constexpr Replacement kReplacements[] = {
    {10, 1}, {20, 2}, {30, 3}, {40, 4}, {50, 5}, {60, 6},
    {70, 7}, {77, 5}, {83, 8}, {89, 9}, {101, 0},
};

} // namespace

std::int16_t tintFromDraw(float r)
{
    return scaledFloor(r, 15);
}

Question questionFromDraws(float factorDraw, float replacementDraw)
{
    std::int16_t factor = scaledFloor(factorDraw, 10);
    if (factor == 0) {
        const std::int16_t d = scaledFloor(replacementDraw, 100);
        const auto range = std::find_if(std::begin(kReplacements), std::end(kReplacements),
                                        [d](const Replacement& r) { return d <= r.upTo; });
        factor = range == std::end(kReplacements) ? 0 : range->factor;
    }
    return {factor, static_cast<std::int16_t>(factor * kFixedFactor)};
}

} // namespace numerella
