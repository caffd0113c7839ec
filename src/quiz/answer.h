// Reading a typed answer and the texts that judge it. Pure functions.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace numerella {

namespace keys {
inline constexpr std::int16_t kBackspace = 8;
inline constexpr std::int16_t kEnter = 13;
inline constexpr std::int16_t kEscape = 27;
inline constexpr std::int16_t kDropped = 0;
} // namespace keys

enum class KeyAction {
    Pass,   // Backspace and the digits reach the box
    Judge,  // Enter judges the answer and still reaches the box
    Drop,   // everything else never reaches it
};

KeyAction classifyKey(std::int16_t keyAscii);

// The answer as the check reads it: the leading number of the text, rounded
// to the nearest integer. No value when it does not fit 16 bits.
std::optional<std::int16_t> answerValue(QStringView text);

// A value that does not fit 16 bits can never equal a product.
bool isRightAnswer(QStringView text, std::int16_t risultato);

QString praiseFor(const QString& nome);
QString correctionFor(std::int16_t risultato);

} // namespace numerella
