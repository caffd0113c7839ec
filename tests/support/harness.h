// A whole game on real widgets, played the way a child would, with a scripted desktop and a private record folder.
#pragma once

#include "platform/platform.h"
#include "platform/randomgenerator.h"
#include "window/boardlabel.h"
#include "window/tavola.h"
#include "ui_tavola.h"
#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>

namespace numerella::testing {

// Answers boxes from a script, hands out chosen random values, and records what the game showed or did.
class FakePlatform final : public Platform {
public:
    explicit FakePlatform(QString recordFolder) : recordFolder_(std::move(recordFolder)) {}
    // Answers in turn, then "" (Cancel), OK or No; random values in turn, then from a real generator.
    QStringList inputAnswers, inputPrompts, sounds;  // and the prompts and sounds that came
    QStringList boxes;                               // each prompt, then " | " and its title if it has one
    QList<int> boxAnswers;
    QList<float> randomValues;
    std::function<void(int buttonSet)> whileBoxOpen;  // runs as a child reads a box
    int ends = 0;
    int messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title) override
    {
        boxes << prompt + (title ? " | " + *title : QString());
        if (whileBoxOpen)
            whileBoxOpen(buttonSet);
        return !boxAnswers.isEmpty() ? boxAnswers.takeFirst()
               : buttonSet == buttons::kYesNoQuestionNoDefault ? answers::kNo : answers::kOk;
    }
    QString inputBox(const QString& prompt) override
    {
        inputPrompts << prompt;
        return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
    }
    void playSound(const QString& path) override { sounds << path; }
    QByteArray recordFolder() override { return QFile::encodeName(recordFolder_); }  // made by the game
    QString programFolder() override { return QStringLiteral("/opt/numerella"); }
    void endProgram() override { ++ends; }
    float nextRandom() override { return randomValues.isEmpty() ? random_.next() : randomValues.takeFirst(); }
    void reseedRandomFromClock() override { random_.reseedFromClock(); }
    QString shortDate() override { return QStringLiteral("07/12/26"); }
private:
    QString recordFolder_;
    RandomGenerator random_;
};

// The values one question draws (tint, factor, replacement of a 0) for 10 X digit, 1 to 9.
inline QList<float> draws(int digit) { return {0.5f, digit / 10.0f + 0.05f, 0.0f}; }

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class Harness {
public:
    QString records() const { return dir_.path() + QStringLiteral("/records"); }
    QString scorePath() const { return records() + QStringLiteral("/tavrec10.txt"); }
    QString namePath() const { return records() + QStringLiteral("/ntavrec10.txt"); }
    QByteArray recordFiles() const { return readFile(scorePath()) + readFile(namePath()); }
    // Loads the window, the name typed at the prompt.
    void start(const QString& name = "Giulia") { platform_->inputAnswers.prepend(name); window_->load(); }
    // Real key events into the answer box, then Enter; Enter again on the question button.
    void answer(const QString& typed) { QTest::keyClicks(controls().txtAnswer, typed + u'\r'); }
    void nextQuestion() { QTest::keyClick(controls().cmdNext, Qt::Key_Return); }
    void answerRight(int times)
    {
        for (int i = 0; i < times; ++i) {
            answer(QString::number(10 * controls().lblNum2->caption().toInt()));
            nextQuestion();
        }
    }
    void tick(int times = 1) { while (times-- > 0) window_->deliverTick(); }  // the clock's real tick path
    bool activate() { window_->activateWindow(); return QTest::qWaitForWindowActive(window_.get()); }  // for focus
    FakePlatform& platform() { return *platform_; }
    Tavola& window() { return *window_; }
    const Ui::Tavola& controls() const { return window_->controls(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<FakePlatform> platform_ = std::make_unique<FakePlatform>(records());
    std::unique_ptr<Tavola> window_ = std::make_unique<Tavola>(*platform_);
};

} // namespace numerella::testing
