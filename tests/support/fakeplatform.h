// A scripted desktop for the tests: it answers boxes from a script, hands
// out chosen random values, and records everything the game showed or did.
#pragma once

#include "platform/platform.h"
#include "platform/randomgenerator.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace numerella::testing {

struct ShownBox {
    QString prompt;
    int buttonSet = 0;
    std::optional<QString> title;
};

class FakePlatform final : public Platform {
public:
    explicit FakePlatform(QString recordFolder, QString programFolder = QStringLiteral("/opt/numerella"));

    // Script. Input boxes answer in turn, then "" (as Cancel does); message
    // boxes answer in turn, then OK, or No for a Yes/No box; random values
    // come in turn, then from a real generator.
    QStringList inputAnswers;
    QList<int> boxAnswers;
    QList<float> randomValues;
    // Runs while a message box is open, as a person reading it would let
    // time pass.
    std::function<void(const ShownBox&)> whileBoxOpen;
    QString date = QStringLiteral("07/12/26");

    // What happened.
    QList<ShownBox> boxes;
    QStringList inputPrompts;
    QStringList sounds;
    int ends = 0;
    int reseeds = 0;

    void setRecordFolder(const QString& folder) { recordFolder_ = folder; }

    int messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title) override;
    QString inputBox(const QString& prompt) override;
    void playSound(const QString& path) override;
    QString recordFolder() override;
    QString programFolder() override;
    void endProgram() override;
    float nextRandom() override;
    void reseedRandomFromClock() override;
    QString shortDate() override;

private:
    QString recordFolder_;
    QString programFolder_;
    RandomGenerator random_;
};

} // namespace numerella::testing
