#include "countdown.h"

#include "platform/conversions.h"

#include <cmath>

namespace numerella {

void countDownOneSecond(std::int16_t& minuti, float& secondi, std::int16_t& tempo)
{
    // The seconds are whole numbers, so comparing the float with 0 is exact.
    if (secondi == 0.0f && minuti > 0) {
        minuti = static_cast<std::int16_t>(minuti - 1);
        secondi = 60.0f;
    }
    secondi -= 1.0f;
    if (tempo > INT16_MIN)
        tempo = static_cast<std::int16_t>(tempo - 1);
}

QString clockText(std::int16_t ore, std::int16_t minuti, float secondi)
{
    const auto seconds = static_cast<long long>(std::llround(secondi));
    return formatPattern(ore, u"00") + u':' + formatPattern(minuti, u"00") + u':' + formatPattern(seconds, u"00");
}

} // namespace numerella
