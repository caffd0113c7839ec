#include "keycodes.h"

#include "platform/windows1252.h"

#include <QKeyEvent>

namespace numerella {

namespace {

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kLineFeed = 10;
constexpr std::int16_t kEnter = 13;
constexpr std::int16_t kEscape = 27;
constexpr std::int16_t kDelete = 127;

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The first character of the key's text in the Western code page, "?" for
// what the code page cannot hold; no value for an empty or unprintable text.
std::optional<std::int16_t> printableCode(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    const qsizetype length = text.at(0).isHighSurrogate() && text.size() > 1 ? 2 : 1;
    const QStringView first = QStringView(text).left(length);
    if (length == 1 && !first.at(0).isPrint())
        return std::nullopt;
    const QByteArray byte = toWindows1252(first);
    return static_cast<std::int16_t>(static_cast<unsigned char>(byte.at(0)));
}

// Ctrl with a key: the control codes of a classic keyboard.
std::optional<std::int16_t> controlCode(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::int16_t>(key - Qt::Key_A + 1);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kLineFeed;
    case Qt::Key_Backspace:
        return kDelete;
    case Qt::Key_BracketLeft:
        return kEscape;
    case Qt::Key_Backslash:
        return std::int16_t{28};
    case Qt::Key_BracketRight:
        return std::int16_t{29};
    case Qt::Key_AsciiCircum:
        return std::int16_t{30};
    case Qt::Key_Underscore:
        return std::int16_t{31};
    case Qt::Key_Space:
        return std::int16_t{32};
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<std::int16_t> typedCharacterCode(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const int key = event.key();

    // The Windows key belongs to the desktop.
    if (modifiers & Qt::MetaModifier)
        return std::nullopt;
    // Ctrl+Alt is AltGr on a Windows keyboard: it types what the key shows.
    if (ctrl && alt)
        return printableCode(event.text());
    // Alt keys are menu keys and type nothing.
    if (alt)
        return std::nullopt;
    if (ctrl)
        return key == Qt::Key_Escape ? std::nullopt : controlCode(key);

    if (isEnterKey(key))
        return kEnter;
    switch (key) {
    case Qt::Key_Backspace:
        return kBackspace;
    case Qt::Key_Escape:
        return kEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        return printableCode(event.text());
    }
}

bool boxActsOnItsOwn(const QKeyEvent& event)
{
    const std::optional<std::int16_t> code = typedCharacterCode(event);
    if (!code)
        return false;
    const bool ctrl = event.modifiers() & Qt::ControlModifier;
    const bool alt = event.modifiers() & Qt::AltModifier;
    if (ctrl && !alt)
        return event.key() == Qt::Key_M;  // 13: the handler judges, the box has nothing to do
    // Plain and shifted keys, and AltGr: the box types what it shows, erases
    // for Backspace, and leaves its text alone for Enter and Escape.
    return true;
}

} // namespace numerella
