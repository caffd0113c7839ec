// Mouse pointers of the board.
#pragma once

#include <QCursor>

namespace numerella {

// The window's own pointer, made from the cartoon-head picture.
QCursor boardPointer();
// The small square inside a square shown over some controls.
QCursor iconPointer();

} // namespace numerella
