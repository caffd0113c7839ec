// The game on its real window: the form, answers judged, questions drawn, the answer box's keys, the board shrunk
// to a small window and the picture buttons' faces, the "nuovo" command, the clock, boxes holding a long text.
#include "harness.h"

#include "platform/qtplatform.h"
#include "window/board.h"
#include "window/graphicalbutton.h"

using namespace numerella;
using namespace numerella::testing;

static QString greeting(const QString& name) { return " " + name + " vediamo se sei un vero campione  "; }
// The board's paint at its top left and bottom right.
static QString painted(QWidget* board)
{
    const QImage image = board->grab().toImage();
    return QColor(image.pixel(0, 0)).name() + ' ' + QColor(image.pixel(image.width() - 1, image.height() - 1)).name();
}
// What it is for the tint t: blue 0 at the top, 255 at the bottom.
static QString shading(int t) { return QColor(10 * t, 10 * t, 0).name() + ' ' + QColor(10 * t, 10 * t, 255).name(); }

class GameTest : public QObject {
    Q_OBJECT
private slots:
    // For 10 X 7 a right, then a wrong answer: message, sound, counters, background, the answer kept, the verdict
    // described before the focus reaches the unlocked button, Tab resting only where a screen reader names the control.
    // Then 10 X 9, a drawn 0 replaced by 5, a 0 kept: shading in the tint drawn, box and message empty, button locked.
    void answersAndQuestions()
    {
        QStringList heard;  // a screen reader speaks as the focus arrives: the button's description, or a name
        Harness game;
        game.platform().randomValues = draws(7) + draws(7)  // then tint, factor, replacement of a 0
                                       + QList<float>{0.9999f, 0.9999f, 0.5f, 0.2f, 0.0f, 0.71f, 0.0f, 0.05f, 0.901f};
        game.start(QStringLiteral("Niccolò"));
        const Ui::Tavola& c = game.controls();
        QVERIFY2(game.activate(), "the window never became active");
        connect(qApp, &QApplication::focusChanged, &game.window(), [&](QWidget*, QWidget* now) {
            if (now)
                heard << QAccessible::queryAccessibleInterface(now)->text(now == c.cmdNext ? QAccessible::Description
                                                                                              : QAccessible::Name);
        });
        const QStringList typed{"070", "5"}, verdicts{"Esatto! Niccolò sei forte!", "Sbagliato!! 70"};
        const QStringList counted{"Esatto.wav 1 0 1", "no.wav 1 1 2"}, paints{shading(7), "#000000 #000000"};
        for (int i = 0; i < 2; ++i) {
            heard.clear();
            game.answer(typed[i]);
            QCOMPARE(c.lblMessage->caption(), verdicts[i]);
            QCOMPARE(game.platform().sounds.last().remove("/opt/numerella/suoni/") + ' ' + c.lblScore->caption()
                         + ' ' + c.lblScore1->caption() + ' ' + c.lblScore2->caption(), counted[i]);
            QCOMPARE(painted(c.board), paints[i]);
            QCOMPARE(c.txtAnswer->text(), typed[i]);
            QCOMPARE(QApplication::focusWidget(), c.cmdNext);
            QVERIFY2(c.cmdNext->isEnabled(), "question button still locked");
            for (int tab = 0; tab < 3 * i; ++tab)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const QStringList stops = i == 0 ? QStringList() : QStringList{"Risposta", "Exit", verdicts[i]};
            QCOMPARE(heard, QStringList(verdicts[i]) + stops);
            game.nextQuestion();
        }
        for (const QString& drawn : {"9: " + shading(14), "5: " + shading(3), "0: " + shading(0)}) {
            QCOMPARE(c.lblNum2->caption() + ": " + painted(c.board), drawn);
            QCOMPARE(c.txtAnswer->text() + c.lblMessage->caption(), QString());
            QCOMPARE(QApplication::focusWidget(), c.txtAnswer);
            QVERIFY2(!c.cmdNext->isEnabled(), "question button not locked");
            game.answer("1");
            game.nextQuestion();
        }
    }
    // On the real box, for 10 X 7, before Enter on the keypad judges: digits get in, letters, blanks, signs and
    // composed letters stay out; Backspace and Ctrl+H erase; Ctrl+V stays out, a paste by Shift+Insert gets in.
    void answerBoxKeys_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("composed");  // committed by an input method after the keys
        QTest::addColumn<QString>("result");    // the box's text and the verdict
        const QString right = " Esatto! Giulia sei forte!", wrong = " Sbagliato!! 70";
        QTest::newRow("digits") << "0123" << QKeyCombination() << "" << "0123" + wrong;
        QTest::newRow("letters, blanks, signs") << "7a -.,+E0" << QKeyCombination() << "" << "70" + right;
        QTest::newRow("Backspace") << "705" << QKeyCombination(Qt::Key_Backspace) << "" << "70" + right;
        QTest::newRow("Ctrl+H") << "75" << (Qt::ControlModifier | Qt::Key_H) << "" << "7" + wrong;
        QTest::newRow("Ctrl+V") << "7" << (Qt::ControlModifier | Qt::Key_V) << "" << "7" + wrong;
        QTest::newRow("composed") << "7" << QKeyCombination() << "\u00e90x" << "70" + right;
        QTest::newRow("Shift+Insert paste") << "" << (Qt::ShiftModifier | Qt::Key_Insert) << "" << "9E99" + wrong;
    }
    void answerBoxKeys()
    {
        QFETCH(QString, typed);
        QFETCH(QKeyCombination, key);
        QFETCH(QString, composed);
        Harness game;
        game.platform().randomValues = draws(7);
        game.start();
        QLineEdit* box = game.controls().txtAnswer;
        QGuiApplication::clipboard()->setText("9E99");
        QTest::keyClicks(box, typed);
        if (key.key() != Qt::Key_unknown)
            QTest::keyClick(box, key.key(), key.keyboardModifiers());
        QInputMethodEvent input;
        input.setCommitString(composed);
        QCoreApplication::sendEvent(box, &input);
        QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        QTEST(box->text() + game.controls().lblMessage->caption().prepend(' '), "result");
    }
    // On a dark desktop, as on a 1366x768 screen at a desktop scale of 125, 150 and 200 %: every control, font and
    // picture shrinks by one factor and stays inside the shaded board. Maximised again, all is as designed, and the
    // picture buttons show flat faces of their colour in the bevel, a dark caption, a focus ring on the focused one.
    void board_data()
    {
        QTest::addColumn<double>("desktop");
        for (const double desktop : {1.25, 1.5, 2.0})
            QTest::addRow("%g", desktop) << desktop;
    }
    void board()
    {
        QFETCH(double, desktop);
        QApplication::setPalette(QPalette(QColor(45, 45, 45), QColor(30, 30, 30)));
        const auto restore = qScopeGuard([] { QApplication::setPalette(QPalette()); });
        Harness game;
        game.platform().randomValues = draws(7);
        game.start();
        const Ui::Tavola& c = game.controls();
        const QList<QWidget*> controls = c.board->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        const auto layout = [&] {
            QList<std::pair<QRect, QFont>> places;
            for (QWidget* control : controls)
                places << std::pair(control->geometry(), control->font());
            return places;
        };
        const auto design = layout();
        game.window().showNormal();
        game.window().resize(int(1366 / desktop), int((768 - 60) / desktop));  // less a title bar and a panel
        QTRY_VERIFY2(c.board->scale() < 1, "the board did not shrink");
        const double scale = c.board->scale();
        QCOMPARE(scale, std::min(c.board->width() / 792.0, c.board->height() / 554.0));
        for (int i = 0; i < controls.size(); ++i) {
            const QByteArray name = controls[i]->objectName().toLatin1();
            const QRect place = controls[i]->geometry();
            const auto& [at, font] = design[i];
            QVERIFY2(c.board->rect().contains(place), name + " outside the board");
            QVERIFY2(qFuzzyCompare(controls[i]->font().pointSizeF(), font.pointSizeF() * scale), name + " font");
            QVERIFY2(qAbs(place.x() - at.x() * scale) < 1 && qAbs(place.y() - at.y() * scale) < 1, name + " moved");
        }
        QCOMPARE(c.cmdNext->iconSize(), QSize(int(32 * scale), int(32 * scale)));
        QCOMPARE(painted(c.board), shading(7));
        game.window().showMaximized();
        QTRY_COMPARE(c.board->scale(), 1.0);
        QCOMPARE(layout(), design);
        QCOMPARE(c.cmdNext->font().pointSizeF(), 8.25);  // a size the form cannot hold, set after it
        QVERIFY2(QFontInfo(c.lblconto->font()).family().startsWith("Liberation"), "no metric-compatible font");
        QVERIFY2(game.activate(), "the window never became active");
        game.answer("1");
        QVERIFY2(c.cmdNext->hasFocus(), "no focus to ring");
        for (GraphicalButton* button : {c.cmdNext, c.cmdExit}) {
            const QImage image = button->grab().toImage();
            const int w = button->width(), h = button->height();
            int offFace = 0, darkest = 255, ring = 0;
            for (int x = 6; x < w - 6; ++x) {
                offFace += image.pixel(x, 6) != button->face().rgb() || image.pixel(x, h - 7) != button->face().rgb();
                ring += image.pixel(x, 4) == qRgb(0, 0, 0);  // dotted
                darkest = std::min(darkest, qGray(image.pixel(x, h - 17)));  // along the caption
            }
            const QByteArray name = button->objectName().toLatin1();
            QVERIFY2(offFace == 0, name + ": the face is not flat");
            QVERIFY2(darkest < 40, name + ": no dark caption");
            QVERIFY2(button->hasFocus() ? ring >= w / 4 && ring < w - 12 : ring == 0, name + ": focus ring");
        }
    }
    // The name prompt and greeting. "nuovo" answered No changes nothing, and the clock holds while it asks. Yes, with
    // the limit and the name cancelled, starts a clean race on new widgets; the abandoned race (1, above no record) is
    // never saved. Its Timer1 ticks the clock once a second from 00:05:00 (tempo 900), a minute borrowed on the way;
    // it rests on 00:00:00 (tempo 600) for one tick, then the race ends.
    void newRaceAndClock()
    {
        Harness game;
        game.platform().randomValues = draws(7) + draws(2) + draws(7);
        game.start();
        game.answerRight(1);
        game.tick(4);
        const Ui::Tavola old = game.controls();
        QPointer<QTimer> oldTimer = game.window().timer();
        game.platform().whileBoxOpen = [&](int buttonSet) {
            if (buttonSet == buttons::kYesNoQuestionNoDefault)
                game.tick(5);
        };
        old.Next->trigger();  // No
        QCOMPARE(old.lblconto->caption() + old.lblNum2->caption() + old.lblScore->caption(), "00:04:5621");
        game.platform().boxAnswers = {answers::kYes};
        old.Next->trigger();
        const QString ask = "INIZIAMO UNA NUOVA GARA  ? | INIZIARE NUOVA GARA";
        const QString limit = " Giulia siccome non hai scelto arriviamo fino al 10.";
        QCOMPARE(game.platform().boxes, QStringList({greeting("Giulia"), ask, ask, limit, greeting("")}));
        QCOMPARE(game.platform().inputPrompts.join(';'),
                 "Come ti chiami?;Tavola pitagorica fino al numero? ;Come ti chiami?");
        const Ui::Tavola& c = game.controls();
        QVERIFY2(c.board != old.board, "the old board stayed");
        QVERIFY2(oldTimer.isNull() || !oldTimer->isActive(), "the old clock still runs");
        QCOMPARE(c.lblNum2->caption() + c.lblScore->caption(), "70");
        QCOMPARE(game.recordFiles(), QByteArray());
        const auto clock = [&] {
            return QStringLiteral("%1 %2, ended %3").arg(game.controls().lblconto->caption())
                .arg(game.window().state().tempo).arg(game.platform().ends);
        };
        QCOMPARE(clock(), QStringLiteral("00:05:00 900, ended 0"));
        QTRY_COMPARE_WITH_TIMEOUT(clock(), QStringLiteral("00:04:59 899, ended 0"), 1500);
        game.window().timer()->stop();  // the clock is run by hand below
        for (const auto& [ticks, shown] : {std::pair(59, "00:04:00 840, ended 0"), {1, "00:03:59 839, ended 0"},
                                           {239, "00:00:00 600, ended 0"}, {1, "00:00:00 600, ended 1"}}) {
            game.tick(ticks);
            QCOMPARE(clock(), shown);
        }
    }
    // Whatever the text, a real box fits the screen with its text laid out whole; a long text (a name of one word, of
    // many words) is cut in the middle with an ellipsis, so its start and end still show.
    void boxesFitTheScreen()
    {
        for (const QString& prompt : {QStringLiteral("Ok! Ho registrato il tuo record, C A M P I O N E"),
                                      greeting(QString(32767, u'm')), greeting(QString("Anna ").repeated(6553))}) {
            QString shown = "the box never opened";
            bool fits = false, laidOut = false;
            QTimer::singleShot(0, [&] {
                QWidget* box = QApplication::activeModalWidget();
                if (auto* label = box ? box->findChild<QLabel*>("qt_msgbox_label") : nullptr) {
                    shown = label->text();
                    fits = box->screen()->availableGeometry().contains(box->frameGeometry());
                    laidOut = label->heightForWidth(label->width()) <= label->height();
                    box->close();
                }
            });
            QtPlatform().messageBox(prompt, buttons::kOkOnly, std::nullopt);
            const QByteArray which = prompt.left(12).toUtf8() + "…: ";
            QVERIFY2(fits, which + "too large");
            QVERIFY2(laidOut, which + "text cut");
            QVERIFY2(shown.contains(u'…') == (prompt.size() > 100), which + "no ellipsis, or one where none is due");
            QVERIFY2(shown.startsWith(prompt.left(5)) && shown.endsWith(prompt.right(9)),
                     which + "shown as " + (shown.left(20) + "…" + shown.right(20)).toUtf8());
        }
    }
};

QTEST_MAIN(GameTest)
#include "test_game.moc"
