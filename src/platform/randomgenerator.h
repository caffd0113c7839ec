// The game's source of chance: uniform single-precision values in [0, 1).
// Every run starts from the same seed, so the first value drawn after
// start-up is always the same; each question reseeds it from the clock.
#pragma once

#include <QRandomGenerator>

#include <chrono>

namespace numerella {

class RandomGenerator {
public:
    // 24 bits fill a float's mantissa exactly, so the value stays below 1.
    float next() { return static_cast<float>(generator_.bounded(1u << 24)) / (1u << 24); }
    void reseedFromClock()
    {
        const auto now = std::chrono::system_clock::now().time_since_epoch().count();
        generator_.seed(static_cast<quint32>(now ^ (now >> 32)));
    }

private:
    QRandomGenerator generator_{0x50000u};
};

} // namespace numerella
