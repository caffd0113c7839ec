// The working state of a game. It belongs to the window object and lives as
// long as it does: a new race reloads the controls but keeps this record,
// and start-up overwrites the fields it sets.
#pragma once

#include <QString>

#include <cstdint>

namespace numerella {

struct GameState {
    std::int16_t risultato = 0;  // product the open question expects
    std::int16_t giuste = 0;     // right answers in this race
    std::int16_t sbagliate = 0;  // wrong answers in this race
    std::int16_t ore = 0;        // race clock: hours
    std::int16_t minuti = 0;     // race clock: minutes
    float secondi = 0.0f;        // race clock: seconds, a whole number between ticks
    std::int16_t tempo = 0;      // tick count: 900 after start-up, one less per tick
    QString nome;                // player's name as typed
};

} // namespace numerella
