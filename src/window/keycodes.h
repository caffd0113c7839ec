// Turns a key press into the character code the answer box's key handler
// works with.
#pragma once

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace numerella {

// The typed character's code (Enter 13, Backspace 8, Escape 27, others by
// their text), or no value for keys that type nothing (arrows, Delete, Tab):
// those go to the box untouched.
std::optional<std::int16_t> typedCharacterCode(const QKeyEvent& event);

} // namespace numerella
