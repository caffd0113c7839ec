// The controls of one load of the window, built from the layout table.
#pragma once

#include <QHash>
#include <QString>

class QAction;
class QObject;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QTimer;
class QWidget;

namespace numerella {

class Board;
class BoardLabel;
class GraphicalButton;

struct Controls {
    Board* board = nullptr;
    QMenuBar* menuBar = nullptr;

    QTimer* Timer1 = nullptr;
    QLineEdit* txtAnswer = nullptr;
    GraphicalButton* cmdNext = nullptr;
    GraphicalButton* cmdExit = nullptr;
    QPushButton* Command1 = nullptr;
    BoardLabel* lblpunti = nullptr;
    BoardLabel* lblnome = nullptr;
    BoardLabel* lblnome1 = nullptr;
    BoardLabel* lblconto = nullptr;
    BoardLabel* lblScore = nullptr;
    BoardLabel* lblScore1 = nullptr;
    BoardLabel* lblScore2 = nullptr;
    BoardLabel* lblNum1 = nullptr;
    BoardLabel* lblNum2 = nullptr;
    BoardLabel* lblMessage = nullptr;
    QLabel* Image1 = nullptr;

    // The menu: `wp` holds `v`; `Ciao` holds `a` and `Next` ("nuovo").
    QAction* wp = nullptr;
    QAction* v = nullptr;
    QAction* Ciao = nullptr;
    QAction* a = nullptr;
    QAction* Next = nullptr;

    // Every control of the table by its name (the timer included).
    QHash<QString, QObject*> byName;
};

// Builds the board, its controls and the menu bar from the layout table.
// The board owns the controls; the caller takes the board and the menu bar.
Controls buildControls();

} // namespace numerella
