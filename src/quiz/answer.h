// Reading a typed answer and the texts that judge it. Pure functions.
#pragma once

#include <QString>
#include <QtCore/qnamespace.h>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace numerella {

// What the answer box does with a key, judged by the text the key types.
enum class KeyAction {
    Pass,   // the box gets it: digits, Backspace, Delete, Tab, keys that type nothing
    Judge,  // Enter (or Ctrl+M) judges the answer; the box keeps its text
    Erase,  // Ctrl+H erases one character, as Backspace does
    Drop,   // everything else that types something never reaches the box
};

// The digits an answer is typed with: 0 to 9, no other script's.
inline bool isAnswerDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

KeyAction answerKeyAction(int key, Qt::KeyboardModifiers modifiers, QStringView text);

// The answer as the check reads it: the leading number of the text, rounded
// to the nearest integer. No value when it does not fit 16 bits.
std::optional<std::int16_t> answerValue(QStringView text);

// A value that does not fit 16 bits can never equal a product.
bool isRightAnswer(QStringView text, std::int16_t risultato);

QString praiseFor(const QString& nome);
QString correctionFor(std::int16_t risultato);

} // namespace numerella
