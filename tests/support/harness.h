// A whole game on real widgets with a scripted desktop and a private record
// folder, for tests that play it the way a child would.
#pragma once

#include "fakeplatform.h"
#include "window/tavola.h"
#include "ui_tavola.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace numerella::testing {

class Harness {
public:
    Harness();

    QString folder() const { return dir_.path(); }
    QString scorePath() const;
    QString namePath() const;

    // Writes a record file before the game starts (or between loads).
    void writeFile(const QString& path, const QByteArray& bytes) const;
    static QByteArray readFile(const QString& path);

    // Loads the window with the given name typed at the prompt. Random values
    // queued in the platform beforehand are used by the first question.
    void start(const QString& name = QStringLiteral("Giulia"));

    // Types into the answer box through real key events, then Enter.
    void answer(const QString& typed);
    // Draws the next question from the keyboard, as Alt+N would.
    void nextQuestion();
    // Runs the race clock through the real tick path.
    void tick(int times = 1);

    FakePlatform& platform() { return *platform_; }
    Tavola& window() { return *window_; }
    const Ui::Tavola& controls() const { return window_->controls(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<FakePlatform> platform_;
    std::unique_ptr<Tavola> window_;
};

} // namespace numerella::testing
