// The window as started: prompts, controls, pointers, what a screen reader gets, the board shrunk to a small
// window, the "nuovo" command declined or reloading the race, the close box.
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
    QVERIFY2(!game.window().ended() && game.window().timer()->isActive(), "the race is not running");
    QVERIFY2(!c.cmdNext->isEnabled(), "the question button is enabled while a question is open");
    QCOMPARE(game.window().state().tempo, std::int16_t(900));
    QCOMPARE(game.window().state().giuste + game.window().state().sbagliate, 0);
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00:05:00"));
    QCOMPARE(game.window().focusWidget(), static_cast<QWidget*>(c.txtAnswer));
}

QString accessibleText(QObject* control, QAccessible::Text kind = QAccessible::Name)
{
    return QAccessible::queryAccessibleInterface(control)->text(kind);
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
    QStringList heard;  // the description of each control as the focus reached it

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A screen reader is told of the focus right after the control gets it, and speaks then.
        if (event->type() == QEvent::FocusIn)
            heard << watched->objectName() + ": " + accessibleText(watched, QAccessible::Description);
        return false;
    }

private slots:
    // The name prompt and greeting, then a fresh race on the board's design: place, face, size and colour of a
    // handful of controls; the cartoon pointer over the board and the controls that name it, the plain arrow
    // elsewhere, the text beam in the box. Then the minimised caption.
    void startUp()
    {
        Harness game;
        game.start(QStringLiteral("Niccolò"));
        const Ui::Tavola& c = game.controls();
        Tavola& w = game.window();
        QCOMPARE(game.platform().inputPrompts, QStringList{"Come ti chiami?"});
        QCOMPARE(game.platform().boxes[0].prompt, greeting("Niccolò"));
        QCOMPARE(c.lblnome1->caption(), QStringLiteral("Niccolò"));
        checkPlaying(game);
        QCOMPARE(w.windowTitle(), QStringLiteral("Gioca con la numerella del dieci"));
        QVERIFY2(w.windowState() & Qt::WindowMaximized, "not maximised");
        const struct { QWidget* w; QRect rect; const char* face; double points; QColor colour; } design[] = {
            {c.txtAnswer, {544, 0, 185, 80}, "Arial", 48, QColor(0, 0, 255)},
            {c.cmdNext, {280, 352, 121, 73}, "MS Sans Serif", 8.25, QColor()},
            {c.lblconto, {0, 152, 105, 33}, "Arial Black", 12, QColor(255, 255, 0)},
            {c.Label14, {0, 368, 95, 28}, "MS Sans Serif", 13.5, QColor(0, 255, 255)},
            {c.lblScore1, {322, 272, 36, 59}, "Times New Roman", 36, QColor(255, 0, 0)},
        };
        for (const auto& d : design) {
            const QByteArray name = d.w->objectName().toLatin1();
            QVERIFY2(d.w->geometry() == d.rect, name + " moved");
            QVERIFY2(d.w->font().family() == d.face && d.w->font().pointSizeF() == d.points, name + " font");
            QVERIFY2(QFontInfo(d.w->font()).family().startsWith("Liberation"), name + " face stand-in");
            const QPalette::ColorRole role = d.w == c.txtAnswer ? QPalette::Text : QPalette::WindowText;
            QVERIFY2(!d.colour.isValid() || d.w->palette().color(role) == d.colour, name + " colour");
        }
        QCOMPARE(c.txtAnswer->maxLength(), 4);
        QCOMPARE(c.txtAnswer->palette().color(QPalette::Base), QColor(255, 255, 128));
        QCOMPARE(c.lblScore->toolTip(), QStringLiteral("Questo è il tuo punteggio. Forza con il  record"));
        for (QWidget* cartoon : std::initializer_list<QWidget*>{c.board, c.cmdNext, c.lblMessage})
            QVERIFY2(cartoon->cursor().shape() == Qt::BitmapCursor, qPrintable(cartoon->objectName()));
        QVERIFY2(c.cmdNext->cursor().pixmap().toImage() != c.board->cursor().pixmap().toImage(), "one pointer");
        for (QWidget* plain : std::initializer_list<QWidget*>{c.Label6, c.lblScore, c.Image1, c.cmdExit, c.lblconto})
            QVERIFY2(plain->cursor().shape() == Qt::ArrowCursor, qPrintable(plain->objectName()));
        QCOMPARE(c.txtAnswer->cursor().shape(), Qt::IBeamCursor);
        w.setWindowState(Qt::WindowMinimized);
        w.showMaximized();
        QCOMPARE(w.windowTitle(), QStringLiteral("Giocare con la tavola pitagorica"));
    }

    // A screen reader reads the board in order (the question as one sentence, the counters with what they
    // count, never the hidden button); the focus arrives on the question button with the verdict already its
    // description; Tab rests only where it can name the control; the clock is read, not announced, each second.
    void screenReader()
    {
        Harness game;
        game.platform().randomValues = draws(7) + draws(7);
        game.start(QStringLiteral("Niccolò"));
        const Ui::Tavola& c = game.controls();
        game.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game.window()));
        c.cmdNext->installEventFilter(this);
        game.answer("70");
        game.nextQuestion();
        game.answer("7");
        QCOMPARE(heard, (QStringList{"cmdNext: Esatto! Niccolò sei forte!", "cmdNext: Sbagliato!! 70"}));
        QStringList stops;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(game.window().focusWidget(), Qt::Key_Tab);
            stops << accessibleText(game.window().focusWidget());
        }
        QCOMPARE(stops, (QStringList{"Risposta", "Exit", "Nuovo calcolo", "Risposta", "Exit", "Nuovo calcolo"}));
        game.tick(3);
        QCOMPARE(accessibleText(c.lblconto), QStringLiteral("Tempo restante: 00:04:57"));
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(c.board);
        QStringList names;
        for (int i = 0; i < board->childCount(); ++i)
            names << board->child(i)->text(QAccessible::Name) + (board->indexOfChild(board->child(i)) == i ? "" : "?");
        QCOMPARE(names, (QStringList{"10 per 7", "Risposta", "Sbagliato!! 70", "Tempo restante: 00:04:57",
                                     "Risposte esatte: 1", "Risposte errate: 1", "Risposte totali: 2",
                                     "Nuovo calcolo", "Exit", "Sfidante: Niccolò", "Il record  è di ", "",
                                     "con punti", ""}));
    }

    // Smaller than its design (a desktop scaled up on a 1366x768 screen) the board shrinks every control, font
    // and picture by one factor and keeps them all inside; full size again, every control is as it was.
    void scaledBoard_data()
    {
        QTest::addColumn<double>("desktop");
        for (const double scale : {1.25, 1.5, 2.0})
            QTest::addRow("%d %%", int(scale * 100)) << scale;
    }
    void scaledBoard()
    {
        QFETCH(double, desktop);
        Harness game;
        game.start();
        game.answer("1");
        const Ui::Tavola& c = game.controls();
        const QList<QWidget*> controls = c.board->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QList<QRect> places;
        QList<QFont> fonts;
        for (QWidget* control : controls)
            places << control->geometry(), fonts << control->font();
        game.window().showNormal();
        // A 1366x768 screen less the title bar and a panel, in the desktop's pixels.
        game.window().resize(int(1366 / desktop), int((768 - 60) / desktop));
        QTRY_VERIFY2(c.board->scale() < 1, "the board did not shrink");
        const double scale = c.board->scale();
        QCOMPARE(scale, std::min(c.board->width() / 792.0, c.board->height() / 554.0));
        for (int i = 0; i < controls.size(); ++i) {
            QWidget* control = controls[i];
            const QByteArray name = control->objectName().toLatin1();
            QVERIFY2(c.board->rect().contains(control->geometry()), name + " outside the board");
            QVERIFY2(qFuzzyCompare(control->font().pointSizeF(), fonts[i].pointSizeF() * scale), name + " font");
            QVERIFY2(qAbs(control->x() - places[i].x() * scale) < 1, name + " left edge");
            QVERIFY2(qAbs(control->y() - places[i].y() * scale) < 1, name + " top edge");
            if (auto* button = qobject_cast<GraphicalButton*>(control)) {
                QVERIFY2(button->rect().contains(button->pictureRect()), name + " picture outside");
                QVERIFY2(button->rect().contains(button->captionRect()), name + " caption outside");
            }
        }
        QCOMPARE(c.Image1->size(), QSize(int(32 * scale), int(32 * scale)));
        QCOMPARE(c.lblScore1->size(), c.lblScore1->fittedSize("1"));  // sized by its caption in the new font
        game.window().showMaximized();
        QTRY_COMPARE(c.board->scale(), 1.0);
        for (int i = 0; i < controls.size(); ++i) {
            QCOMPARE(controls[i]->geometry(), places[i]);
            QCOMPARE(controls[i]->font(), fonts[i]);
        }
    }

    // "nuovo" answered No changes nothing and the clock holds while it asks; Yes asks the limit and the name and
    // starts a clean race on new widgets; the abandoned race is never saved. Then the close box ends at once
    // with no record check (declined, 1 beats the record); nothing runs after.
    void newRace_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("inputs");  // the limit, then the name
        QTest::addColumn<QStringList>("shown");   // boxes after the confirmation
        QTest::newRow("declined") << QList<int>{answers::kNo} << QStringList() << QStringList();
        QTest::newRow("limit 7") << QList<int>{answers::kYes} << QStringList{"7", "Marco"}
                                 << QStringList{greeting("Marco")};
        QTest::newRow("both cancelled") << QList<int>{answers::kYes} << QStringList()
                                        << QStringList{" Giulia siccome non hai scelto arriviamo fino al 10.",
                                                       greeting("")};
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
            QVERIFY2(c.board == old.board, "the board was made anew");
            QCOMPARE(c.lblScore->caption() + c.lblNum2->caption(), QStringLiteral("12"));
        } else {
            QVERIFY2(c.board != old.board && game.window().timer() != oldTimer, "the old board stayed");
            QVERIFY2(oldTimer.isNull() || !oldTimer->isActive(), "the old clock still runs");
            QCOMPARE(game.window().centralWidget(), static_cast<QWidget*>(c.board));
            QCOMPARE(game.platform().inputPrompts,
                     (QStringList{"Come ti chiami?", "Tavola pitagorica fino al numero? ", "Come ti chiami?"}));
            QCOMPARE(c.lblnome1->caption() + c.lblNum2->caption() + c.lblScore->caption(), inputs.value(1) + "70");
            QVERIFY2(c.board->isShaded(), "not shaded");
            QCOMPARE(c.lblpunti->caption() + c.lblnome->caption(), QStringLiteral("0\r\nAnna\r\n"));
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
        QCOMPARE(game.platform().ends, 1);
        QCOMPARE(game.platform().boxes.size(), boxes);
        QCOMPARE(game.platform().reseeds, reseeds);
        QCOMPARE(c.lblconto->caption(), clock);
        QCOMPARE(game.recordFiles(), QByteArray("0\r\nAnna\r\n"));
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
