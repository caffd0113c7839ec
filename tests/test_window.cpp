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
    // sentence, counters with what they count, the clock as it is now, never the hidden button). The minimised
    // caption. Then, as on a 1366x768 screen at a desktop scale of 125, 150 and 200 %, the board shrinks every
    // control, font and picture by one factor and keeps them all inside; at full size again all is as it was.
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
        QStringList looks, designed;
        const auto look = [&](QWidget* x, QPalette::ColorRole role, QRect place, QString face, double points,
                              QColor ink) {
            const auto line = [x](QRect r, QString f, double p, QColor i) {
                QString text;
                QDebug(&text) << x->objectName() << r << f << p << i;
                return text;
            };
            looks << line(x->geometry(), x->font().family(), x->font().pointSizeF(), x->palette().color(role));
            designed << line(place, face, points, ink);
            QVERIFY2(QFontInfo(x->font()).family().startsWith("Liberation"), qPrintable(x->objectName()));
        };
        look(c.txtAnswer, QPalette::Text, {544, 0, 185, 80}, "Arial", 48, QColor(0, 0, 255));
        look(c.cmdNext, QPalette::Button, {280, 352, 121, 73}, "MS Sans Serif", 8.25, QColor(0, 192, 192));
        look(c.lblconto, QPalette::WindowText, {0, 152, 105, 33}, "Arial Black", 12, QColor(255, 255, 0));
        look(c.Label14, QPalette::WindowText, {0, 368, 95, 28}, "MS Sans Serif", 13.5, QColor(0, 255, 255));
        look(c.lblScore1, QPalette::WindowText, {322, 272, 36, 59}, "Times New Roman", 36, QColor(255, 0, 0));
        QCOMPARE(looks, designed);
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

        const QList<QWidget*> controls = c.board->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QList<std::pair<QRect, QFont>> design;
        for (QWidget* control : controls)
            design << std::pair(control->geometry(), control->font());
        w.showNormal();
        for (const double desktop : {1.25, 1.5, 2.0}) {
            w.resize(int(1366 / desktop), int((768 - 60) / desktop));  // less a title bar and a panel
            QTRY_VERIFY2(c.board->scale() < 1 && c.board->height() == int((768 - 60) / desktop)
                             - w.menuWidget()->height(), "the board did not shrink");
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
        w.showMaximized();
        QTRY_COMPARE(c.board->scale(), 1.0);
        for (int i = 0; i < controls.size(); ++i)
            QCOMPARE(std::pair(controls[i]->geometry(), controls[i]->font()), design[i]);
    }

    // "nuovo" answered No changes nothing and the clock holds while it asks; Yes, with the limit and the name
    // cancelled, starts a clean race on new widgets and the abandoned race is never saved. Then the close box
    // ends at once with no record check (1 beats the record); nothing runs after.
    void newRace()
    {
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
        old.Next->trigger();  // No
        game.tick();
        QCOMPARE(clockInBox + old.lblconto->caption() + old.lblnome1->caption() + old.lblNum2->caption()
                     + old.lblScore->caption(), "00:04:56" "00:04:55" "Giulia" "2" "1");
        QCOMPARE(game.controls().board, old.board);
        game.platform().boxAnswers = {answers::kYes};
        old.Next->trigger();
        QStringList shown;
        for (const ShownBox& box : game.platform().boxes.mid(1))
            shown << box.prompt + box.title.value_or(QString());
        const QString ask = "INIZIAMO UNA NUOVA GARA  ?INIZIARE NUOVA GARA";
        QCOMPARE(shown, (QStringList{ask, ask, " Giulia siccome non hai scelto arriviamo fino al 10.", greeting("")}));
        const Ui::Tavola& c = game.controls();
        QVERIFY2(c.board != old.board && game.window().centralWidget() == c.board, "the old board stayed");
        QVERIFY2(oldTimer.isNull() || !oldTimer->isActive(), "the old clock still runs");
        QCOMPARE(game.platform().inputPrompts.join(';'),
                 "Come ti chiami?;Tavola pitagorica fino al numero? ;Come ti chiami?");
        QCOMPARE(c.lblnome1->caption() + c.lblNum2->caption() + c.lblScore->caption() + c.lblpunti->caption()
                     + c.lblnome->caption(), QStringLiteral("" "7" "0" "0\r\n" "Anna\r\n"));
        checkPlaying(game);
        game.tick();
        const int boxes = game.platform().boxes.size(), reseeds = game.platform().reseeds;
        game.window().close();
        game.tick(3);
        c.cmdNext->click();
        game.window().close();
        QCOMPARE(QList<int>({game.platform().ends, int(game.platform().boxes.size()), game.platform().reseeds}),
                 QList<int>({1, boxes, reseeds}));
        QCOMPARE(c.lblconto->caption(), QStringLiteral("00:04:59"));
        QCOMPARE(game.recordFiles(), QByteArray("0\r\nAnna\r\n"));
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
