// The window as started: prompts, key controls, focus, pointers, what a screen
// reader gets, the "nuovo" command declined or reloading the race, the close box.
#include "harness.h"

#include "window/board.h"
#include "window/graphicalbutton.h"

#include <QAccessible>
#include <QFontInfo>
#include <QPointer>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

QString greeting(const QString& name) { return " " + name + " vediamo se sei un vero campione  "; }

// A fresh race: a question open, the clock running from full time, focus in the box.
void checkPlaying(Harness& game)
{
    const Ui::Tavola& c = game.controls();
    const GameState& s = game.window().state();
    QVERIFY(!game.window().ended() && !c.cmdNext->isEnabled() && game.window().timer()->isActive());
    QVERIFY(s.tempo == 900 && s.giuste == 0 && s.sbagliate == 0 && c.lblconto->caption() == "00:05:00");
    QCOMPARE(game.window().focusWidget(), static_cast<QWidget*>(c.txtAnswer));
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    // The name prompt (the greeting holds the name), then a fresh race; Tab
    // order, the box's four characters; the cartoon pointer over the board
    // and the controls that name it, the plain arrow elsewhere, the text beam
    // in the box. A screen reader reads the board in order: the question as
    // one sentence, the box, the verdict, the counters with what they count,
    // the buttons, the player and the record; never the hidden button. Then
    // the minimised caption.
    void startUp()
    {
        Harness game;
        game.platform().randomValues = draws(7);
        game.start(QStringLiteral("Niccolò"));
        const Ui::Tavola& c = game.controls();
        Tavola& w = game.window();
        QCOMPARE(game.platform().inputPrompts, QStringList{"Come ti chiami?"});
        QVERIFY(game.platform().boxes[0].prompt == greeting("Niccolò") && c.lblnome1->caption() == "Niccolò");
        checkPlaying(game);
        QVERIFY(w.windowTitle() == "Gioca con la numerella del dieci" && (w.windowState() & Qt::WindowMaximized));
        // A handful of controls against the board's design: place, face and size, colour.
        const struct { QWidget* w; QRect rect; const char* face; double points; QColor colour; } design[] = {
            {c.txtAnswer, {544, 0, 185, 80}, "Arial", 48, QColor(0, 0, 255)},
            {c.cmdNext, {280, 352, 121, 73}, "MS Sans Serif", 8.25, QColor()},
            {c.lblconto, {0, 152, 105, 33}, "Arial Black", 12, QColor(255, 255, 0)},
            {c.Label14, {0, 368, 95, 28}, "MS Sans Serif", 13.5, QColor(0, 255, 255)},
            {c.lblScore1, {322, 272, 36, 59}, "Times New Roman", 36, QColor(255, 0, 0)},
        };
        for (const auto& d : design) {
            const QPalette::ColorRole role = d.w == c.txtAnswer ? QPalette::Text : QPalette::WindowText;
            QVERIFY2(d.w->geometry() == d.rect && d.w->font().family() == d.face && d.w->font().pointSizeF() == d.points
                         && QFontInfo(d.w->font()).family().startsWith("Liberation")
                         && (!d.colour.isValid() || d.w->palette().color(role) == d.colour),
                     qPrintable(d.w->objectName()));
        }
        QVERIFY(c.txtAnswer->maxLength() == 4 && c.txtAnswer->palette().color(QPalette::Base) == QColor(255, 255, 128));
        QVERIFY(c.cmdNext->face() == QColor(0, 192, 192) && c.lblScore->toolTip() == "Questo è il tuo punteggio. Forza con il  record");
        QList<QWidget*> cycle{c.cmdExit};
        for (QWidget* x = c.cmdExit->nextInFocusChain(); x != c.cmdExit && cycle.size() < 50; x = x->nextInFocusChain())
            if ((x->focusPolicy() & Qt::TabFocus) && x->parentWidget() == c.board)
                cycle << x;
        QCOMPARE(cycle, (QList<QWidget*>{c.cmdExit, c.cmdNext, c.txtAnswer, c.Command1}));
        for (QWidget* cartoon : std::initializer_list<QWidget*>{c.board, c.cmdNext, c.lblMessage})
            QCOMPARE(cartoon->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(c.cmdNext->cursor().pixmap().toImage() != c.board->cursor().pixmap().toImage());
        for (QWidget* plain : std::initializer_list<QWidget*>{c.Label6, c.lblScore, c.lblNum1, c.Image1, c.cmdExit, c.lblconto})
            QVERIFY2(plain->cursor().shape() == Qt::ArrowCursor, qPrintable(plain->objectName()));
        QCOMPARE(c.txtAnswer->cursor().shape(), Qt::IBeamCursor);
        game.answer("70");
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(c.board);
        QStringList names;
        for (int i = 0; i < board->childCount(); ++i)
            names << board->child(i)->text(QAccessible::Name) + (board->indexOfChild(board->child(i)) == i ? "" : "?");
        QCOMPARE(names, (QStringList{"10 per 7", "Risposta", "Esatto! Niccolò sei forte!", "Tempo restante: 00:05:00",
                                     "Risposte esatte: 1", "Risposte errate: 0", "Risposte totali: 1", "Nuovo calcolo",
                                     "Exit", "Sfidante: Niccolò", "Il record  è di ", "", "con punti", ""}));
        QCOMPARE(QAccessible::queryAccessibleInterface(c.cmdNext)->text(QAccessible::Description), "Esatto! Niccolò sei forte!");
        w.setWindowState(Qt::WindowMinimized);
        w.showMaximized();
        QCOMPARE(w.windowTitle(), QStringLiteral("Giocare con la tavola pitagorica"));
    }

    // "nuovo" answered No changes nothing and the clock holds while it asks;
    // Yes asks the limit and the name and starts a clean race on new
    // widgets; the abandoned race is never saved. Then the close box ends at
    // once with no record check (declined, 1 beats the record); nothing runs after.
    void newRace_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("inputs");  // the limit, then the name
        QTest::addColumn<QStringList>("shown");   // boxes after the confirmation, titles appended
        QTest::newRow("declined") << QList<int>{answers::kNo} << QStringList() << QStringList();
        QTest::newRow("limit 7") << QList<int>{answers::kYes} << QStringList{"7", "Marco"} << QStringList{greeting("Marco")};
        QTest::newRow("both cancelled") << QList<int>{answers::kYes} << QStringList()
                                        << QStringList{" Giulia siccome non hai scelto arriviamo fino al 10.", greeting("")};
    }
    void newRace()
    {
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, shown);
        Harness game;
        writeFile(game.scorePath(), "0\r\n");
        writeFile(game.namePath(), "Anna\r\n");
        game.platform().randomValues = draws(7) + draws(2) + draws(7);
        game.start();
        game.answer("70");  // 1, above the record 0
        game.nextQuestion();
        game.answer("3");
        game.tick(4);
        const Ui::Tavola old = game.controls();
        QPointer<QTimer> oldTimer = game.window().timer();
        QString clockInBox;
        game.platform().whileBoxOpen = [&](const ShownBox& box) {
            if (box.buttonSet == buttons::kYesNoQuestionNoDefault)
                game.tick(5), clockInBox = game.controls().lblconto->caption();
        };
        game.platform().boxAnswers = answers;
        game.platform().inputAnswers = inputs;
        old.Next->trigger();

        QCOMPARE(clockInBox, QStringLiteral("00:04:56"));
        QStringList after;
        for (const ShownBox& box : game.platform().boxes.mid(1))
            after << box.prompt + box.title.value_or(QString());
        QCOMPARE(after, QStringList{"INIZIAMO UNA NUOVA GARA  ?INIZIARE NUOVA GARA"} + shown);
        const Ui::Tavola& c = game.controls();
        const bool declined = answers[0] == answers::kNo;
        if (declined) {
            QVERIFY(c.board == old.board && c.lblScore->caption() == "1" && c.lblNum2->caption() == "2");
        } else {
            QVERIFY(c.board != old.board && game.window().timer() != oldTimer && (oldTimer.isNull() || !oldTimer->isActive()));
            QCOMPARE(game.window().centralWidget(), static_cast<QWidget*>(c.board));
            QCOMPARE(game.platform().inputPrompts, (QStringList{"Come ti chiami?", "Tavola pitagorica fino al numero? ", "Come ti chiami?"}));
            QVERIFY(c.lblnome1->caption() == inputs.value(1) && c.lblNum2->caption() == "7" && c.board->isShaded());
            QVERIFY(c.lblScore->caption() == "0" && c.lblpunti->caption() == "0\r\n" && c.lblnome->caption() == "Anna\r\n");
            checkPlaying(game);
        }
        game.tick();
        const QString clock = declined ? "00:04:55" : "00:04:59";
        QCOMPARE(c.lblconto->caption(), clock);
        const int boxes = game.platform().boxes.size(), reseeds = game.platform().reseeds;
        game.window().close();
        game.tick(3);
        c.cmdNext->click();
        game.window().close();
        QVERIFY(game.platform().ends == 1 && game.platform().boxes.size() == boxes && game.platform().reseeds == reseeds);
        QCOMPARE(c.lblconto->caption(), clock);
        QCOMPARE(game.recordFiles(), QByteArray("0\r\nAnna\r\n"));
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
