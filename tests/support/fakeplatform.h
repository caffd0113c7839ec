// A scripted desktop for the tests: it answers boxes from a script, hands
// out chosen random values, and records everything the game showed or did.
#pragma once

#include "platform/platform.h"
#include "platform/randomgenerator.h"

#include <QDir>
#include <QStringList>

#include <functional>

namespace numerella::testing {

struct ShownBox {
    QString prompt;
    int buttonSet = 0;
    std::optional<QString> title;
};

class FakePlatform final : public Platform {
public:
    explicit FakePlatform(QString recordFolder) : recordFolder_(std::move(recordFolder)) {}

    // Input boxes answer in turn, then "" (as Cancel does); message boxes in
    // turn, then OK (No for a Yes/No box); random values in turn, then from
    // a real generator.
    QStringList inputAnswers;
    QList<int> boxAnswers;
    QList<float> randomValues;
    // Runs while a message box is open, as a child reading it lets time pass.
    std::function<void(const ShownBox&)> whileBoxOpen;
    QString date = QStringLiteral("07/12/26");

    // What happened; `draws` logs the values drawn and the reseeds in order.
    QList<ShownBox> boxes;
    QStringList inputPrompts, sounds, draws;
    int ends = 0, reseeds = 0;

    int messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title) override
    {
        const ShownBox box{prompt, buttonSet, title};
        boxes.append(box);
        if (whileBoxOpen)
            whileBoxOpen(box);
        if (!boxAnswers.isEmpty())
            return boxAnswers.takeFirst();
        return buttonSet == buttons::kYesNoQuestionNoDefault ? answers::kNo : answers::kOk;
    }
    QString inputBox(const QString& prompt) override
    {
        inputPrompts.append(prompt);
        return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
    }
    void playSound(const QString& path) override { sounds.append(path); }
    QString recordFolder() override
    {
        QDir().mkpath(recordFolder_);
        return recordFolder_;
    }
    QString programFolder() override { return QStringLiteral("/opt/numerella"); }
    void endProgram() override { ++ends; }
    float nextRandom() override
    {
        const float value = randomValues.isEmpty() ? random_.next() : randomValues.takeFirst();
        draws << QString::number(value);
        return value;
    }
    void reseedRandomFromClock() override
    {
        ++reseeds;
        draws << QStringLiteral("reseed");
        random_.reseedFromClock();
    }
    QString shortDate() override { return date; }

private:
    QString recordFolder_;
    RandomGenerator random_;
};

} // namespace numerella::testing
