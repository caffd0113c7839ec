// A scripted desktop: it answers boxes from a script, hands out chosen
// random values, and records what the game showed or did.
#pragma once

#include "platform/platform.h"
#include "platform/randomgenerator.h"

#include <QDir>
#include <QStringList>

#include <functional>

namespace numerella::testing {

struct ShownBox { QString prompt; int buttonSet = 0; std::optional<QString> title; };

class FakePlatform final : public Platform {
public:
    explicit FakePlatform(QString recordFolder) : recordFolder_(std::move(recordFolder)) {}

    // Answers in turn, then "" (Cancel), OK or No; random values in turn,
    // then from a real generator. whileBoxOpen runs as a child reads a box.
    QStringList inputAnswers;
    QList<int> boxAnswers;
    QList<float> randomValues;
    std::function<void(const ShownBox&)> whileBoxOpen;
    // What happened; `draws` logs the values drawn and the reseeds in order.
    QList<ShownBox> boxes;
    QStringList inputPrompts, sounds, draws;
    int ends = 0, reseeds = 0;

    int messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title) override
    {
        boxes.append({prompt, buttonSet, title});
        if (whileBoxOpen)
            whileBoxOpen(ShownBox(boxes.last()));  // a copy: the box may open others
        return !boxAnswers.isEmpty() ? boxAnswers.takeFirst()
               : buttonSet == buttons::kYesNoQuestionNoDefault ? answers::kNo : answers::kOk;
    }
    QString inputBox(const QString& prompt) override
    {
        inputPrompts.append(prompt);
        return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
    }
    void playSound(const QString& path) override { sounds.append(path); }
    QByteArray recordFolder() override { QDir().mkpath(recordFolder_); return QFile::encodeName(recordFolder_); }
    QString programFolder() override { return QStringLiteral("/opt/numerella"); }
    void endProgram() override { ++ends; }
    float nextRandom() override
    {
        const float value = randomValues.isEmpty() ? random_.next() : randomValues.takeFirst();
        draws << QString::number(value);
        return value;
    }
    void reseedRandomFromClock() override { ++reseeds; draws << QStringLiteral("reseed"); random_.reseedFromClock(); }
    QString shortDate() override { return QStringLiteral("07/12/26"); }

private:
    QString recordFolder_;
    RandomGenerator random_;
};

} // namespace numerella::testing
