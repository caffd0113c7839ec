// Turns a key press into the character code the answer box's key handler
// works with: the code a classic Windows keyboard types for that key, in the
// Western code page.
//
//   Key (Shift or not)               Code          Box acts on its own
//   Enter (keypad too)               13            yes: the box's text stays
//   Backspace                        8             yes: erases one character
//   Escape                           27            yes: nothing to do
//   digits 0..9, any other           its Western   yes: types it
//   printable key: "a" 97, "è" 232,  code page
//   "€" 128, Shift+3 on an Italian   character;
//   keyboard "£" 163, Space 32       "?" 63 outside it
//   Ctrl+A .. Ctrl+Z                 1..26         only Ctrl+M (13); Ctrl+H
//                                                  (8) erases nothing itself
//   Ctrl+[ \ ] ^ _                   27..31        no
//   Ctrl+Enter, Ctrl+Backspace,      10, 127, 32   no (Ctrl+Backspace would
//   Ctrl+Space                                     erase a word)
//   Ctrl+Alt+key (AltGr)             what it types, as above; none if nothing
//   other Ctrl keys, Ctrl+Escape,    none: the key goes its usual way
//   Alt+anything, the Windows key
//   with anything, keys that type
//   nothing (arrows, Tab, F1 ...)
#pragma once

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace numerella {

// The key's character code, or no value for keys that type no character:
// those go to the box untouched.
std::optional<std::int16_t> typedCharacterCode(const QKeyEvent& event);

// Whether the line edit, handed this key, already does what its code asks
// (last column above), or the window must do it. False for keys with no code.
bool boxActsOnItsOwn(const QKeyEvent& event);

} // namespace numerella
