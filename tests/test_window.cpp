// The window: start-up on the board's design, what a screen reader gets, the board shrunk to a small window,
// the "nuovo" command declined or reloading the race, the close box.
#include "harness.h"

#include "window/board.h"

#include <QAccessible>
#include <QFontInfo>
#include <QPointer>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

QString greeting(const QString& name) { return " " + name + " vediamo se sei un vero campione  "; }

QString accessible(QObject* control, QAccessible::Text kind = QAccessible::Name)
{
    return QAccessible::queryAccessibleInterface(control)->text(kind);
}

// A fresh race: a question open, the clock running from full time, focus in the box.
void checkPlaying(Harness& game)
{
    const Ui::Tavola& c = game.controls();
    QVERIFY2(game.window().timer()->isActive() && !c.cmdNext->isEnabled(), "no question open on a running clock");
    QCOMPARE(game.window().state().tempo + game.window().state().giuste + game.window().state().sbagliate, 900);
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00:05:00"));
    QCOMPARE(game.window().focusWidget(), static_cast<QWidget*>(c.txtAnswer));
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
    QStringList heard;  // each control's description as the focus reached it

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A screen reader is told right after the control takes the focus, and speaks then.
        if (event->type() == QEvent::FocusIn)
            heard << watched->objectName() + ": " + accessible(watched, QAccessible::Description);
        return false;
    }

private slots:
    // The name prompt and greeting, a fresh race on the board's design: place, face and size, colour of a
    // handful of controls; the pointers. A screen reader hears each verdict as the focus reaches the question
    // button, Tab rests only where it names the control, the board reads in order (the question as one
    // sentence, counters with what they count, the clock as it is now, never the hidden button).
    void startUp()
    {
        Harness game;
        game.platform().randomValues = draws(7) + draws(7);
        game.start(QStringLiteral("Niccolò"));
        const Ui::Tavola& c = game.controls();
        Tavola& w = game.window();
        QCOMPARE(game.platform().inputPrompts.join(';') + game.platform().boxes[0].prompt,
                 "Come ti chiami?" + greeting("Niccolò"));
        checkPlaying(game);
        QCOMPARE(w.windowTitle(), QStringLiteral("Gioca con la numerella del dieci"));
        QVERIFY2(w.windowState() & Qt::WindowMaximized, "not maximised");
        QStringList looks, design;
        const auto look = [&](QWidget* x, QPalette::ColorRole role, QRect place, QString face, double points,
                              QColor ink) {
            const auto line = [x](QRect r, QString f, double p, QColor i) {
                QString text;
                QDebug(&text) << x->objectName() << r << f << p << i;
                return text;
            };
            looks << line(x->geometry(), x->font().family(), x->font().pointSizeF(), x->palette().color(role));
            design << line(place, face, points, ink);
            QVERIFY2(QFontInfo(x->font()).family().startsWith("Liberation"), qPrintable(x->objectName()));
        };
        look(c.txtAnswer, QPalette::Text, {544, 0, 185, 80}, "Arial", 48, QColor(0, 0, 255));
        look(c.cmdNext, QPalette::Button, {280, 352, 121, 73}, "MS Sans Serif", 8.25, QColor(0, 192, 192));
        look(c.lblconto, QPalette::WindowText, {0, 152, 105, 33}, "Arial Black", 12, QColor(255, 255, 0));
        look(c.Label14, QPalette::WindowText, {0, 368, 95, 28}, "MS Sans Serif", 13.5, QColor(0, 255, 255));
        look(c.lblScore1, QPalette::WindowText, {322, 272, 36, 59}, "Times New Roman", 36, QColor(255, 0, 0));
        QCOMPARE(looks, design);
        QCOMPARE(c.txtAnswer->palette().color(QPalette::Base), QColor(255, 255, 128));
        QList<Qt::CursorShape> pointers;
        for (QWidget* x : QWidgetList{c.board, c.cmdNext, c.lblMessage, c.Label6, c.Image1, c.cmdExit, c.txtAnswer})
            pointers << x->cursor().shape();
        QCOMPARE(pointers, (QList<Qt::CursorShape>{Qt::BitmapCursor, Qt::BitmapCursor, Qt::BitmapCursor,
                                                   Qt::ArrowCursor, Qt::ArrowCursor, Qt::ArrowCursor,
                                                   Qt::IBeamCursor}));
        QVERIFY2(c.cmdNext->cursor().pixmap().toImage() != c.board->cursor().pixmap().toImage(), "one pointer");

        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        c.cmdNext->installEventFilter(this);
        game.answer("70");
        game.nextQuestion();
        game.answer("7");
        QCOMPARE(heard, (QStringList{"cmdNext: Esatto! Niccolò sei forte!", "cmdNext: Sbagliato!! 70"}));
        QStringList stops;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
            stops << accessible(w.focusWidget());
        }
        QCOMPARE(stops, (QStringList{"Risposta", "Exit", "Nuovo calcolo", "Risposta", "Exit", "Nuovo calcolo"}));
        game.tick(3);
        QAccessibleInterface* board = QAccessible::queryAccessibleInterface(c.board);
        QStringList names;
        for (int i = 0; i < board->childCount(); ++i)
            names << board->child(i)->text(QAccessible::Name) + (board->indexOfChild(board->child(i)) == i ? "" : "?");
        QCOMPARE(names, (QStringList{"10 per 7", "Risposta", "Sbagliato!! 70", "Tempo restante: 00:04:57",
                                     "Risposte esatte: 1", "Risposte errate: 1", "Risposte totali: 2",
                                     "Nuovo calcolo", "Exit", "Sfidante: Niccolò", "Il record  è di ", "",
                                     "con punti", ""}));
        w.setWindowState(Qt::WindowMinimized);
        w.showMaximized();
        QCOMPARE(w.windowTitle(), QStringLiteral("Giocare con la tavola pitagorica"));
    }

    // On a 1366x768 screen at a desktop scale of 125, 150 and 200 % the board shrinks every control, font and
    // picture by one factor and keeps them all inside; at full size again every control is as it was.
    void scaledBoard()
    {
        Harness game;
        game.start();
        game.answer("1");
        const Ui::Tavola& c = game.controls();
        const QList<QWidget*> controls = c.board->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QList<std::pair<QRect, QFont>> design;
        for (QWidget* control : controls)
            design << std::pair(control->geometry(), control->font());
        game.window().showNormal();
        for (const double desktop : {1.25, 1.5, 2.0}) {
            game.window().resize(int(1366 / desktop), int((768 - 60) / desktop));  // less a title bar and a panel
            QTRY_VERIFY2(c.board->scale() < 1 && c.board->height() == int((768 - 60) / desktop)
                             - game.window().menuWidget()->height(), "the board did not shrink");
            const double scale = c.board->scale();
            QCOMPARE(scale, std::min(c.board->width() / 792.0, c.board->height() / 554.0));
            for (int i = 0; i < controls.size(); ++i) {
                const QWidget* x = controls[i];
                const QRect place = design[i].first;
                const QByteArray name = x->objectName().toLatin1() + " at " + QByteArray::number(desktop);
                QVERIFY2(c.board->rect().contains(x->geometry()), name + " outside the board");
                QVERIFY2(qFuzzyCompare(x->font().pointSizeF(), design[i].second.pointSizeF() * scale), name + " font");
                QVERIFY2(qAbs(x->x() - place.x() * scale) < 1 && qAbs(x->y() - place.y() * scale) < 1, name + " moved");
            }
            QCOMPARE(c.Image1->size(), QSize(int(32 * scale), int(32 * scale)));
            QCOMPARE(c.cmdNext->iconSize(), c.Image1->size());
            QVERIFY2(32 * scale + 2 + QFontMetrics(c.cmdNext->font()).height() <= c.cmdNext->height() - 8, "face cut");
            QCOMPARE(c.lblScore1->size(), c.lblScore1->fittedSize("1"));  // sized by its caption in the new font
        }
        game.window().showMaximized();
        QTRY_COMPARE(c.board->scale(), 1.0);
        for (int i = 0; i < controls.size(); ++i)
            QCOMPARE(std::pair(controls[i]->geometry(), controls[i]->font()), design[i]);
    }

    // "nuovo" answered No changes nothing and the clock holds while it asks; Yes asks the limit and the name and
    // starts a clean race on new widgets; the abandoned race is never saved. Then the close box ends at once
    // with no record check (declined, 1 beats the record); nothing runs after.
    void newRace_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("inputs");  // the limit, then the name
        QTest::addColumn<QStringList>("shown");   // boxes after the confirmation
        QTest::newRow("declined") << false << QStringList() << QStringList();
        QTest::newRow("limit 7") << true << QStringList{"7", "Marco"} << QStringList{greeting("Marco")};
        const QString noLimit = " Giulia siccome non hai scelto arriviamo fino al 10.";
        QTest::newRow("both cancelled") << true << QStringList() << QStringList{noLimit, greeting("")};
    }
    void newRace()
    {
        QFETCH(bool, yes);
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
        game.platform().boxAnswers = {yes ? answers::kYes : answers::kNo};
        game.platform().inputAnswers = inputs;
        old.Next->trigger();

        QCOMPARE(clockInBox, QStringLiteral("00:04:56"));
        QStringList after;
        for (const ShownBox& box : game.platform().boxes.mid(1))
            after << box.prompt + box.title.value_or(QString());
        QCOMPARE(after, QStringList{"INIZIAMO UNA NUOVA GARA  ?INIZIARE NUOVA GARA"} + shown);
        const Ui::Tavola& c = game.controls();
        QCOMPARE(c.board != old.board, yes);
        if (yes) {
            QVERIFY2(oldTimer.isNull() || !oldTimer->isActive(), "the old clock still runs");
            QCOMPARE(game.window().centralWidget(), static_cast<QWidget*>(c.board));
            QCOMPARE(game.platform().inputPrompts.join(';'),
                     "Come ti chiami?;Tavola pitagorica fino al numero? ;Come ti chiami?");
            QCOMPARE(c.lblpunti->caption() + c.lblnome->caption(), QStringLiteral("0\r\nAnna\r\n"));
            checkPlaying(game);
        }
        const QString shows = yes ? inputs.value(1) + "70" : "Giulia21";
        QCOMPARE(c.lblnome1->caption() + c.lblNum2->caption() + c.lblScore->caption(), shows);
        game.tick();
        const QString clock = yes ? "00:04:59" : "00:04:55";
        const int boxes = game.platform().boxes.size(), reseeds = game.platform().reseeds;
        game.window().close();
        game.tick(3);
        c.cmdNext->click();
        game.window().close();
        QCOMPARE(QList<int>({game.platform().ends, int(game.platform().boxes.size()), game.platform().reseeds}),
                 QList<int>({1, boxes, reseeds}));
        QCOMPARE(c.lblconto->caption(), clock);
        QCOMPARE(game.recordFiles(), QByteArray("0\r\nAnna\r\n"));
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
