#include "randomgenerator.h"

#include <chrono>

namespace numerella {

float RandomGenerator::next()
{
    // splitmix64: one addition and a strong mix per value; the top 24 bits
    // fill the float's mantissa exactly, so the value is below 1.
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return static_cast<float>(z >> 40) * (1.0f / 16777216.0f);
}

void RandomGenerator::reseed(std::uint64_t seed)
{
    state_ = seed;
}

void RandomGenerator::reseedFromClock()
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
    reseed(static_cast<std::uint64_t>(wall) ^ (static_cast<std::uint64_t>(steady) << 17));
}

} // namespace numerella
