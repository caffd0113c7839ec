// A whole game on real widgets with the scripted desktop and a private
// record folder, played the way a child would.
#pragma once

#include "fakeplatform.h"
#include "window/boardlabel.h"
#include "window/tavola.h"
#include "ui_tavola.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace numerella::testing {

// The values one question draws (tint, factor, replacement of a 0) for 10 X digit.
inline QList<float> draws(int digit)
{
    return digit == 0 ? QList<float>{0.5f, 0.0f, 0.95f} : QList<float>{0.5f, digit / 10.0f + 0.05f, 0.0f};
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
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
    void start(const QString& name = QStringLiteral("Giulia"))
    {
        platform_->inputAnswers.prepend(name);
        window_->load();
    }
    // Real key events into the answer box, then Enter.
    void answer(const QString& typed) { QTest::keyClicks(controls().txtAnswer, typed + u'\r'); }
    void nextQuestion() { QTest::keyClick(controls().cmdNext, Qt::Key_Space); }
    void answerRight(int times)
    {
        for (int i = 0; i < times; ++i) {
            answer(QString::number(10 * controls().lblNum2->caption().toInt()));
            nextQuestion();
        }
    }
    // The race clock through the real tick path.
    void tick(int times = 1) { while (times-- > 0) window_->deliverTick(); }

    FakePlatform& platform() { return *platform_; }
    Tavola& window() { return *window_; }
    const Ui::Tavola& controls() const { return window_->controls(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<FakePlatform> platform_ = std::make_unique<FakePlatform>(records());
    std::unique_ptr<Tavola> window_ = std::make_unique<Tavola>(*platform_);
};

} // namespace numerella::testing
