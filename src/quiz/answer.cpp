#include "answer.h"

#include "platform/conversions.h"

namespace numerella {

KeyAction classifyKey(std::int16_t keyAscii)
{
    if (keyAscii == keys::kBackspace || (keyAscii >= '0' && keyAscii <= '9'))
        return KeyAction::Pass;
    if (keyAscii == keys::kEnter)
        return KeyAction::Judge;
    return KeyAction::Drop;
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
