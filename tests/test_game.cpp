// The game on its real window: start-up, answers judged, questions drawn, the answer box's keys, the clock, the
// board shrunk to a small window, the "nuovo" command, boxes holding a long text, the picture buttons' faces.
#include "harness.h"

#include "platform/qtplatform.h"
#include "window/board.h"
#include "window/graphicalbutton.h"

using namespace numerella;
using namespace numerella::testing;

namespace {

QString greeting(const QString& name) { return " " + name + " vediamo se sei un vero campione  "; }

// The board's paint as "red green blue" at its top left, middle right and bottom right.
QString painted(QWidget* board)
{
    const QImage image = board->grab().toImage();
    const int w = image.width() - 1, h = image.height();
    QStringList colours;
    for (const QRgb c : {image.pixel(0, 0), image.pixel(w, h / 2), image.pixel(w, h - 1)})
        colours << QStringLiteral("%1 %2 %3").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
    return colours.join(", ");
}

QString shading(int tint) { return QStringLiteral("%1 %1 0, %1 %1 128, %1 %1 255").arg(10 * tint); }

} // namespace

class GameTest : public QObject {
    Q_OBJECT
private slots:
    // The name prompt and greeting, a few controls on the board's design, Tab resting only where a screen reader
    // names the control (never on the hidden Command1).
    void startUp()
    {
        Harness game;
        game.start(QStringLiteral("Niccolò"));
        const Ui::Tavola& c = game.controls();
        QCOMPARE(game.platform().inputPrompts, QStringList("Come ti chiami?"));
        QCOMPARE(game.platform().boxes.value(0).prompt, greeting("Niccolò"));
        QCOMPARE(game.window().windowTitle(), QStringLiteral("Gioca con la numerella del dieci"));
        const auto look = [](QWidget* x, QPalette::ColorRole role) {
            return QStringLiteral("%1 %2,%3 %4x%5 %6 %7 %8").arg(x->objectName()).arg(x->x()).arg(x->y())
                .arg(x->width()).arg(x->height()).arg(x->font().family()).arg(x->font().pointSizeF())
                .arg(x->palette().color(role).name());
        };
        QCOMPARE(QStringList({look(c.txtAnswer, QPalette::Text), look(c.txtAnswer, QPalette::Base),
                              look(c.cmdNext, QPalette::Button), look(c.lblconto, QPalette::WindowText)}),
                 QStringList({"txtAnswer 544,0 185x80 Arial 48 #0000ff", "txtAnswer 544,0 185x80 Arial 48 #ffff80",
                              "cmdNext 280,352 121x73 MS Sans Serif 8.25 #00c0c0",
                              "lblconto 0,152 105x33 Arial Black 12 #ffff00"}));
        QVERIFY2(QFontInfo(c.lblconto->font()).family().startsWith("Liberation"), "no metric-compatible font");
        game.answer("1");
        QStringList stops;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(game.window().focusWidget(), Qt::Key_Tab);
            stops << QAccessible::queryAccessibleInterface(game.window().focusWidget())->text(QAccessible::Name);
        }
        QCOMPARE(stops, QStringList({"Risposta", "Exit", "Nuovo calcolo", "Risposta", "Exit", "Nuovo calcolo"}));
    }

    // For 10 X 7 a right, then a wrong answer: message, sound, counters, background, the answer kept, the verdict
    // described before the focus reaches the unlocked button. Then the next question: its factor, the shading in
    // its tint from blue 0 to 255, box and message cleared, the focus in the box, the button locked.
    void answersAndQuestions_data()
    {
        QTest::addColumn<QList<float>>("values");  // tint, factor, replacement of a 0
        QTest::addColumn<int>("tint");
        QTest::addColumn<QString>("factor");
        QTest::newRow("10 X 9, tint 14") << QList<float>{0.9999f, 0.9999f, 0.5f} << 14 << "9";
        QTest::newRow("0 replaced by 5, tint 3") << QList<float>{0.2f, 0.0f, 0.71f} << 3 << "5";
        QTest::newRow("0 kept, tint 0") << QList<float>{0.0f, 0.05f, 0.901f} << 0 << "0";
    }
    void answersAndQuestions()
    {
        QFETCH(QList<float>, values);
        QFETCH(int, tint);
        QFETCH(QString, factor);
        Harness game;
        game.platform().randomValues = draws(7) + draws(7) + values;
        game.start(QStringLiteral("Niccolò"));
        const Ui::Tavola& c = game.controls();
        game.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game.window()));
        QStringList heard;  // a screen reader speaks as the focus arrives
        QObject listening;
        connect(qApp, &QApplication::focusChanged, &listening, [&](QWidget*, QWidget* now) {
            if (now == c.cmdNext)
                heard << QAccessible::queryAccessibleInterface(now)->text(QAccessible::Description);
        });
        const QStringList typed{"070", "5"}, shown{"Esatto! Niccolò sei forte!", "Sbagliato!! 70"};
        const QStringList verdicts{"Esatto.wav 1 0 1", "no.wav 1 1 2"}, paints{shading(7), "0 0 0, 0 0 0, 0 0 0"};
        for (int i = 0; i < 2; ++i) {
            game.answer(typed[i]);
            QCOMPARE(c.lblMessage->caption(), shown[i]);
            QCOMPARE(game.platform().sounds.last().remove("/opt/numerella/suoni/") + ' ' + c.lblScore->caption()
                         + ' ' + c.lblScore1->caption() + ' ' + c.lblScore2->caption(), verdicts[i]);
            QCOMPARE(painted(c.board), paints[i]);
            QCOMPARE(c.txtAnswer->text(), typed[i]);
            QCOMPARE(QApplication::focusWidget(), c.cmdNext);
            QVERIFY2(c.cmdNext->isEnabled(), "question button still locked");
            QCOMPARE(heard.takeFirst(), shown[i]);
            game.nextQuestion();
        }
        QCOMPARE(c.lblNum2->caption(), factor);
        QCOMPARE(c.txtAnswer->text() + c.lblMessage->caption(), QString());
        QCOMPARE(QApplication::focusWidget(), c.txtAnswer);
        QVERIFY2(!c.cmdNext->isEnabled(), "question button not locked");
        QCOMPARE(painted(c.board), shading(tint));
    }

    // On the real box, for 10 X 7: only digits get in; Backspace and Ctrl+H erase; Enter (and only Enter) judges
    // and leaves the text; Ctrl+V and composed letters stay out, a paste by Shift+Insert gets in as it is.
    void answerBoxKeys_data()
    {
        QTest::addColumn<QTestEventList>("keys");
        QTest::addColumn<QString>("composed");  // committed by an input method after the keys
        QTest::addColumn<QString>("result");    // the box's text and the verdict
        const auto row = [](const char* name, const QString& text, Qt::Key key, Qt::KeyboardModifiers held,
                            const QString& composed, const QString& result) {
            QTestEventList keys;
            keys.addKeyClicks(text);
            if (key != Qt::Key_unknown)
                keys.addKeyClick(key, held);
            QTest::newRow(name) << keys << composed << result;
        };
        const Qt::Key none = Qt::Key_unknown;
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        row("digits", "0123", none, {}, "", "0123 ");
        row("letters, space, signs", "7a -.,+E", none, {}, "", "7 ");
        row("Backspace", "75", Qt::Key_Backspace, {}, "", "7 ");
        row("Ctrl+H", "75", Qt::Key_H, ctrl, "", "7 ");
        row("Enter", "70", Qt::Key_Return, {}, "", "70 Esatto! Giulia sei forte!");
        row("keypad Enter", "7", Qt::Key_Enter, Qt::KeypadModifier, "", "7 Sbagliato!! 70");
        row("Ctrl+Enter", "70", Qt::Key_Return, ctrl, "", "70 ");
        row("Ctrl+V", "7", Qt::Key_V, ctrl, "", "7 ");
        row("composed", "7", none, {}, "\u00e90x", "70 ");
        row("Shift+Insert paste", "", Qt::Key_Insert, Qt::ShiftModifier, "", "9E99 Sbagliato!! 70");
    }
    void answerBoxKeys()
    {
        QFETCH(QTestEventList, keys);
        QFETCH(QString, composed);
        QFETCH(QString, result);
        Harness game;
        game.platform().randomValues = draws(7);
        game.start();
        QLineEdit* box = game.controls().txtAnswer;
        QGuiApplication::clipboard()->setText("9E99");
        keys.simulate(box);
        QInputMethodEvent input;
        input.setCommitString(composed);
        QCoreApplication::sendEvent(box, &input);
        if (QTest::currentDataTag() == QByteArray("Shift+Insert paste"))
            QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text() + ' ' + game.controls().lblMessage->caption(), result);
    }

    // Timer1 ticks the clock once a second from 00:05:00 (tempo 900), a minute borrowed on the way; it rests on
    // 00:00:00 (tempo 600) for one tick, then the race ends.
    void clock()
    {
        Harness game;
        game.start();
        const auto clock = [&] {
            return game.controls().lblconto->caption() + ' ' + QString::number(game.window().state().tempo);
        };
        QCOMPARE(clock(), QStringLiteral("00:05:00 900"));
        QTRY_COMPARE_WITH_TIMEOUT(clock(), QStringLiteral("00:04:59 899"), 1500);
        game.window().timer()->stop();  // the clock is run by hand below
        game.tick(59);
        QCOMPARE(clock(), QStringLiteral("00:04:00 840"));
        game.tick();
        QCOMPARE(clock(), QStringLiteral("00:03:59 839"));
        game.tick(239);
        QCOMPARE(clock() + ", ended " + QString::number(game.platform().ends), "00:00:00 600, ended 0");
        game.tick();
        QCOMPARE(clock() + ", ended " + QString::number(game.platform().ends), "00:00:00 600, ended 1");
    }

    // As on a 1366x768 screen at a desktop scale of 125, 150 and 200 %: every control, font and picture shrinks
    // by one factor and stays inside the shaded board; maximised again, all is as designed.
    void scaledBoard_data()
    {
        QTest::addColumn<double>("desktop");
        for (const double desktop : {1.25, 1.5, 2.0})
            QTest::newRow(qPrintable(QString::number(desktop))) << desktop;
    }
    void scaledBoard()
    {
        QFETCH(double, desktop);
        Harness game;
        game.platform().randomValues = draws(7);
        game.start();
        const Ui::Tavola& c = game.controls();
        const QList<QWidget*> controls = c.board->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QList<std::pair<QRect, QFont>> design;
        for (QWidget* control : controls)
            design << std::pair(control->geometry(), control->font());
        game.window().showNormal();
        game.window().resize(int(1366 / desktop), int((768 - 60) / desktop));  // less a title bar and a panel
        QTRY_VERIFY2(c.board->scale() < 1, "the board did not shrink");
        const double scale = c.board->scale();
        QCOMPARE(scale, std::min(c.board->width() / 792.0, c.board->height() / 554.0));
        for (int i = 0; i < controls.size(); ++i) {
            const QWidget* x = controls[i];
            const QByteArray name = x->objectName().toLatin1();
            QVERIFY2(c.board->rect().contains(x->geometry()), name + " outside the board");
            QVERIFY2(qFuzzyCompare(x->font().pointSizeF(), design[i].second.pointSizeF() * scale), name + " font");
            QVERIFY2(qAbs(x->x() - design[i].first.x() * scale) < 1, name + " moved across");
            QVERIFY2(qAbs(x->y() - design[i].first.y() * scale) < 1, name + " moved down");
        }
        QCOMPARE(c.cmdNext->iconSize(), QSize(int(32 * scale), int(32 * scale)));
        QCOMPARE(painted(c.board), shading(7));
        game.window().showMaximized();
        QTRY_COMPARE(c.board->scale(), 1.0);
        for (int i = 0; i < controls.size(); ++i)
            QCOMPARE(std::pair(controls[i]->geometry(), controls[i]->font()), design[i]);
    }

    // "nuovo" answered No changes nothing, and the clock holds while it asks. Yes, with the limit and the name
    // cancelled, starts a clean race on new widgets; the abandoned race (1, above the record 0) is never saved.
    void newRace()
    {
        Harness game;
        writeFile(game.scorePath(), "0\r\n");
        writeFile(game.namePath(), "Anna\r\n");
        game.platform().randomValues = draws(7) + draws(2) + draws(7);
        game.start();
        game.answerRight(1);
        game.tick(4);
        const Ui::Tavola old = game.controls();
        QPointer<QTimer> oldTimer = game.window().timer();
        QString clockInBox;
        game.platform().whileBoxOpen = [&](const ShownBox& box) {
            if (box.buttonSet == buttons::kYesNoQuestionNoDefault)
                game.tick(5), clockInBox = game.controls().lblconto->caption();
        };
        old.Next->trigger();  // No
        QCOMPARE(clockInBox + ' ' + old.lblconto->caption(), "00:04:56 00:04:56");
        QCOMPARE(old.lblNum2->caption() + old.lblScore->caption() + old.lblnome1->caption(), "21Giulia");
        game.platform().boxAnswers = {answers::kYes};
        old.Next->trigger();
        QStringList shown;
        for (const ShownBox& box : game.platform().boxes.mid(1))
            shown << box.prompt + box.title.value_or(QString());
        const QString ask = "INIZIAMO UNA NUOVA GARA  ?INIZIARE NUOVA GARA";
        QCOMPARE(shown, QStringList({ask, ask, " Giulia siccome non hai scelto arriviamo fino al 10.", greeting("")}));
        QCOMPARE(game.platform().inputPrompts.join(';'),
                 "Come ti chiami?;Tavola pitagorica fino al numero? ;Come ti chiami?");
        const Ui::Tavola& c = game.controls();
        QVERIFY2(c.board != old.board, "the old board stayed");
        QVERIFY2(oldTimer.isNull() || !oldTimer->isActive(), "the old clock still runs");
        QCOMPARE(c.lblconto->caption() + c.lblNum2->caption() + c.lblScore->caption() + c.lblnome1->caption(),
                 "00:05:0070");
        QCOMPARE(game.window().focusWidget(), c.txtAnswer);
        QCOMPARE(game.recordFiles(), QByteArray("0\r\nAnna\r\n"));
    }

    // Whatever the text, a real box fits the screen with its text laid out whole; a long text is cut in the
    // middle with an ellipsis, so its start and end still show.
    void boxesFitTheScreen_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::newRow("short") << "Ok! Ho registrato il tuo record, C A M P I O N E";
        QTest::newRow("name of one word") << greeting(QString(32767, u'm'));
        QTest::newRow("name of words") << greeting(QStringLiteral("Anna ").repeated(6553));
        QTest::newRow("deep folder") << "Non riesco a leggere \"" + QString("/cartella").repeated(450) + "\".";
    }
    void boxesFitTheScreen()
    {
        QFETCH(QString, prompt);
        QStringList faults{"the box never opened"};
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            auto* label = box ? box->findChild<QLabel*>("qt_msgbox_label") : nullptr;
            if (!label)
                return;
            const QString shown = label->text();
            const bool whole = shown.startsWith(prompt.left(5)) && shown.endsWith(prompt.right(9));
            faults = QStringList{box->screen()->availableGeometry().contains(box->frameGeometry()) ? "" : "too large",
                                 label->heightForWidth(label->width()) > label->height() ? "text cut" : "",
                                 shown.contains(u'…') == (prompt.size() > 100) ? "" : "ellipsis",
                                 whole ? "" : "shown as " + shown.left(20) + "…" + shown.right(20)};
            faults.removeAll("");
            box->close();
        });
        QtPlatform().messageBox(prompt, buttons::kOkOnly, std::nullopt);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    // On a dark desktop: flat faces of exactly their colour inside the bevel, around the picture and caption; a
    // dark caption; the dotted focus ring on the button with the focus only.
    void buttonFaces()
    {
        QApplication::setPalette(QPalette(QColor(45, 45, 45), QColor(30, 30, 30)));
        Harness game;
        game.start();
        game.answer("1");
        for (GraphicalButton* button : {game.controls().cmdNext, game.controls().cmdExit}) {
            const QImage image = button->grab().toImage();
            const int w = button->width(), h = button->height();
            int offFace = 0, darkest = 255, ring = 0;
            for (int i = 6; i < std::max(w, h) - 6; ++i) {
                for (const QPoint p : {QPoint(6, i), QPoint(w - 7, i), QPoint(i, 6), QPoint(i, h - 7)})
                    offFace += p.x() < w - 6 && p.y() < h - 6 && image.pixel(p) != button->face().rgb();
                ring += i < w - 5 && image.pixel(i, 4) == qRgb(0, 0, 0);
                darkest = std::min(darkest, i < w - 6 ? qGray(image.pixel(i, h - 17)) : 255);  // the caption's line
            }
            const QByteArray name = button->objectName().toLatin1();
            QVERIFY2(offFace == 0, name + ": the face is not flat");
            QVERIFY2(darkest < 40, name + ": no dark caption");
            QVERIFY2(button->hasFocus() ? ring >= w / 4 && ring < w - 10 : ring == 0, name + ": focus ring");
        }
        QApplication::setPalette(QPalette());
    }
};

QTEST_MAIN(GameTest)
#include "test_game.moc"
