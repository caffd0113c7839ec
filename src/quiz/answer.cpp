#include "answer.h"

#include "platform/conversions.h"

#include <algorithm>

namespace numerella {

KeyAction answerKeyAction(int key, Qt::KeyboardModifiers modifiers, QStringView text)
{
    const Qt::KeyboardModifiers chord = modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool ctrl = chord == Qt::ControlModifier;  // Shift may be held too
    if ((chord == Qt::NoModifier && (key == Qt::Key_Return || key == Qt::Key_Enter)) || (ctrl && key == Qt::Key_M))
        return KeyAction::Judge;
    if (ctrl && key == Qt::Key_H)
        return KeyAction::Erase;
    // Any other Ctrl key that types something is one of the box's shortcuts
    // (select all, copy, paste, undo, erase a word): kept out. Ctrl with a
    // key that types nothing, or with Delete, moves or erases as usual.
    if (ctrl)
        return text.isEmpty() || key == Qt::Key_Delete ? KeyAction::Pass : KeyAction::Drop;
    // Backspace, Tab and Delete keep their usual work.
    if (text.isEmpty() || text == u"\b" || text == u"\t" || text == u"\x7f")
        return KeyAction::Pass;
    // Digits typed plainly, shifted or with AltGr (Ctrl+Alt) get in.
    const bool typing = chord == Qt::NoModifier || chord == (Qt::ControlModifier | Qt::AltModifier);
    return typing && std::all_of(text.begin(), text.end(), isAnswerDigit) ? KeyAction::Pass : KeyAction::Drop;
}

std::optional<std::int16_t> answerValue(QStringView text)
{
    return roundToInt16(parseNumber(text));
}

bool isRightAnswer(QStringView text, std::int16_t risultato)
{
    return answerValue(text) == risultato;  // never for no value
}

QString praiseFor(const QString& nome)
{
    return QStringLiteral("Esatto! ") + nome + QStringLiteral(" sei forte!");
}

QString correctionFor(std::int16_t risultato)
{
    return QStringLiteral("Sbagliato!! ") + formatPattern(risultato, u"####0");
}

} // namespace numerella
