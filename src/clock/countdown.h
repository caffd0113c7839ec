// The race clock's arithmetic: one second off per tick, borrowing a minute
// when the seconds are at zero. Pure functions.
#pragma once

#include <QString>

#include <cstdint>

namespace numerella {

inline const QString kClockAtZero = QStringLiteral("00:00:00");

// Takes one second off the clock and one off the tick count.
void countDownOneSecond(std::int16_t& minuti, float& secondi, std::int16_t& tempo);

// "hh:mm:ss", each part with at least two digits.
QString clockText(std::int16_t ore, std::int16_t minuti, float secondi);

} // namespace numerella
