// The game window. It owns the game state for the whole run and, for each
// load, the form's controls; its handlers are the game's whole behaviour.
#pragma once

#include "gamestate.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

namespace Ui {
class Tavola;
}

namespace numerella {

class Platform;
class RecordKeeper;

class Tavola : public QMainWindow {
    Q_OBJECT
public:
    explicit Tavola(Platform& platform, QWidget* parent = nullptr);
    ~Tavola() override;

    // Sets the form up afresh, runs start-up, shows the window maximised
    // and puts the first question on the board.
    void load();

    GameState& state() { return state_; }
    // The controls of the current load, named as on the form.
    const Ui::Tavola& controls() const { return *ui_; }
    QTimer* timer() const { return Timer1; }

    // True once the program has ended: no handler does anything after that.
    bool ended() const { return ended_; }

    // What a tick of Timer1 runs: the clock, unless a box is open or the
    // program has ended.
    void deliverTick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The form (tavola.cpp).
    void setUpForm();
    void unload();
    void Form_Load();
    int showMessage(const QString& prompt, int buttonSet, const std::optional<QString>& title = std::nullopt);
    QString askText(const QString& prompt);
    void endProgram();

    // Questions and answers (questions.cpp).
    void cmdNext_Click();
    bool txtAnswer_KeyPress(const QKeyEvent& event);  // true: the box never sees the key
    bool answerBoxComposedText(const QInputMethodEvent& event);
    void checkAnswer();

    // The race: clock, new race, record and ending (race.cpp).
    void AvviaTempo();
    void Timer1_Timer();
    void Next_Click();
    // Opens the record and reads it onto the board; what went wrong, or "".
    QString prepareRecordFiles();
    void FineGara();
    void cmdExit_Click();
    void SalvaRecord();

    Platform& platform_;
    GameState state_;
    std::unique_ptr<Ui::Tavola> ui_;
    std::unique_ptr<RecordKeeper> records_;
    QPointer<QTimer> Timer1;
    int openBoxes_ = 0;
    bool ended_ = false;
};

} // namespace numerella
