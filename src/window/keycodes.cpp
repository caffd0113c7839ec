#include "keycodes.h"

#include "platform/windows1252.h"
#include "quiz/answer.h"

#include <QKeyEvent>

#include <utility>

namespace numerella {

namespace {

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
    return static_cast<std::int16_t>(static_cast<unsigned char>(toWindows1252(first).at(0)));
}

// Ctrl with a key: the control codes of a classic keyboard.
std::optional<std::int16_t> controlCode(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::int16_t>(key - Qt::Key_A + 1);
    static constexpr std::pair<int, std::int16_t> kOtherKeys[] = {
        {Qt::Key_Return, 10},      {Qt::Key_Enter, 10},      {Qt::Key_Backspace, 127},
        {Qt::Key_BracketLeft, 27}, {Qt::Key_Backslash, 28},  {Qt::Key_BracketRight, 29},
        {Qt::Key_AsciiCircum, 30}, {Qt::Key_Underscore, 31}, {Qt::Key_Space, 32},
    };
    for (const auto& [other, code] : kOtherKeys) {
        if (key == other)
            return code;
    }
    return std::nullopt;
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
        return controlCode(key);  // none for Ctrl+Escape

    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return keys::kEnter;
    case Qt::Key_Backspace:
        return keys::kBackspace;
    case Qt::Key_Escape:
        return keys::kEscape;
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
    if (!typedCharacterCode(event))
        return false;
    // Plain and shifted keys and AltGr: the box types what it shows, erases
    // for Backspace and leaves its text alone for Enter and Escape. Of the
    // Ctrl keys only Ctrl+M (13, judged by the handler) needs nothing more.
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return !(modifiers & Qt::ControlModifier) || (modifiers & Qt::AltModifier) || event.key() == Qt::Key_M;
}

} // namespace numerella
