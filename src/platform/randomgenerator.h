// The game's source of chance: uniform single-precision values in [0, 1).
// It starts from the same state on every run, so the first value drawn after
// start-up is always the same, and it can be reseeded from the clock.
#pragma once

#include <cstdint>

namespace numerella {

class RandomGenerator {
public:
    static constexpr std::uint64_t kStartState = 0x50000u;

    float next();
    void reseed(std::uint64_t seed);
    void reseedFromClock();

private:
    std::uint64_t state_ = kStartState;
};

} // namespace numerella
