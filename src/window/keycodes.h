// Turns a key press into the character code the answer box's key handler
// works with: the code a classic Windows keyboard types for that key, in the
// Western code page.
//
//   Key                                   Code     Box acts on its own
//   -----------------------------------   ------   -------------------------
//   digit 0..9 (also on the keypad)       48..57   yes: it types the digit
//   any other printable key, Shift too    its character in the Western code
//                                         page: "a" 97, "è" 232, "€" 128,
//                                         Shift+1 on an Italian keyboard "!"
//                                         33, Shift+3 "£" 163, Space 32;
//                                         outside the code page (an emoji,
//                                         other scripts) "?" 63
//   Enter, Shift+Enter (keypad too)       13       yes: judged by the handler,
//                                                  the box's text stays
//   Backspace, Shift+Backspace            8        yes: it erases one character
//   Escape, Shift+Escape                  27       yes: nothing to do in the box
//   Ctrl+A .. Ctrl+Z, Shift or not        1..26    only Ctrl+M (13, nothing to
//                                                  do in the box); Ctrl+H (8)
//                                                  erases nothing by itself
//   Ctrl+[  Ctrl+\  Ctrl+]                27 28 29 no
//   Ctrl+^ (Ctrl+Shift+6)  Ctrl+_         30 31    no
//   Ctrl+Enter                            10       no
//   Ctrl+Backspace                        127      no: it would erase a word
//   Ctrl+Space                            32       no
//   Ctrl+Alt+key (AltGr)                  the character it types, as above;
//                                         none when it types nothing
//   other Ctrl keys (Ctrl+digit ...)      none
//   Alt+anything, Ctrl+Escape, the        none: no character is typed, the
//   Windows key with anything              key goes its usual way (menu keys)
//   keys that type nothing: arrows,       none
//   Home, End, Delete, Insert, Tab,
//   Shift+Tab, F1..F12
//
// "Box acts on its own" is answered by boxActsOnItsOwn() for keys that have a
// code; it says whether the line edit, handed the key, already does what the
// code asks of it, or the window must do it.
#pragma once

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace numerella {

// The key's character code, or no value for keys that type no character:
// those go to the box untouched.
std::optional<std::int16_t> typedCharacterCode(const QKeyEvent& event);

// True when the answer box, handed this key, itself carries out what the
// key's code means there: it types a printable character (a digit among
// them), erases the character before the cursor for code 8, and leaves its
// text alone for 13 and 27. False for Ctrl+H, whose code 8 the box ignores
// (the window erases the character), for the other Ctrl keys, whose codes the
// box's own bindings do not match, and for keys with no code.
bool boxActsOnItsOwn(const QKeyEvent& event);

} // namespace numerella
