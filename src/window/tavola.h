// The game window. It owns the game state for the whole run and, for each
// load, the controls built from the layout table; its handlers are the
// game's whole behaviour.
#pragma once

#include "controls.h"
#include "gamestate.h"

#include <QMainWindow>

#include <cstdint>
#include <optional>

namespace numerella {

class Platform;

class Tavola : public QMainWindow {
    Q_OBJECT
public:
    explicit Tavola(Platform& platform, QWidget* parent = nullptr);
    ~Tavola() override;

    // Builds the controls afresh, runs start-up, shows the window maximised
    // and puts the first question on the board.
    void load();

    GameState& state() { return state_; }
    const GameState& state() const { return state_; }
    const Controls& controls() const { return controls_; }

    // True once the program has ended: no handler does anything after that.
    bool ended() const { return ended_; }

    // Window events.
    void Form_Load();
    void Form_Activate();
    void Form_Resize();

    // Questions and answers.
    void cmdNext_Click();
    void txtAnswer_KeyPress(std::int16_t& keyAscii);
    void Next_Click();
    void Suona(const QString& path);

    // The race clock.
    void AvviaTempo();
    void Timer1_Timer();
    // What a tick of Timer1 runs: the clock, unless a box is open or the
    // program has ended.
    void deliverTick();

    // Records and the ending.
    QString GetSystemDir();
    QString Leggifiletxt(const QString& nomefile);
    void FineGara();
    void cmdExit_Click();
    void SalvaRecord();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void unload();
    void connectHandlers();
    // Runs a handler only while the program is alive.
    template <typename Handler>
    void whenAlive(Handler handler);

    int showMessage(const QString& prompt, int buttonSet, const std::optional<QString>& title = std::nullopt);
    QString askText(const QString& prompt);
    void endProgram();

    // Start-up's record steps; false when the folder or a file failed.
    bool prepareRecordFiles();
    void shadeBackground();
    void enableAndFocusNext();

    Platform& platform_;
    GameState state_;
    Controls controls_;
    int openBoxes_ = 0;
    bool ended_ = false;
};

} // namespace numerella
