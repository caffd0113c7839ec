#include "keycodes.h"

#include <QKeyEvent>

namespace numerella {

std::optional<std::int16_t> typedCharacterCode(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return std::int16_t{13};
    case Qt::Key_Backspace:
        return std::int16_t{8};
    case Qt::Key_Escape:
        return std::int16_t{27};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return std::nullopt;
    // Codes above 32767 wrap into the negative half, as a 16-bit key code does.
    return static_cast<std::int16_t>(text.at(0).unicode());
}

} // namespace numerella
