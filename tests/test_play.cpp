// Playing on the real window: drawing a question onto the shaded board, the
// answer box's key filter, judging and scoring, and a whole race played by
// keyboard against the clock.
#include "harness.h"

#include "window/board.h"
#include "window/graphicalbutton.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

QStringList scores(const Harness& game)  // right, wrong, total
{
    const Ui::Tavola& c = game.controls();
    return {c.lblScore->caption(), c.lblScore1->caption(), c.lblScore2->caption()};
}

// What is wrong with the board's own painting for tint `tono`, or "": every
// row one colour (10 tono, 10 tono, blue), blue running 0..255 down the board.
QImage painted(Board& board)
{
    QImage image(board.size(), QImage::Format_RGB32);
    board.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}
QString shadingFault(Board& board, int tono)
{
    const QImage image = painted(board);
    int blue = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb first = image.pixel(0, y);
        for (int x = 1; x < image.width(); ++x)
            if (image.pixel(x, y) != first) return QStringLiteral("row %1 not solid").arg(y);
        if (qRed(first) != 10 * tono || qGreen(first) != 10 * tono || qBlue(first) < blue)
            return QStringLiteral("row %1 is %2").arg(y).arg(first, 0, 16);
        blue = qBlue(first);
    }
    return qBlue(image.pixel(0, 0)) == 0 && blue == 255 ? QString() : QStringLiteral("blue does not run 0..255");
}
#define CHECK_EMPTY(fault) do { const QString f = (fault); QVERIFY2(f.isEmpty(), qPrintable(f)); } while (0)

} // namespace

class PlayTest : public QObject {
    Q_OBJECT
private slots:
    void drawsAQuestion_data()
    {
        QTest::addColumn<QList<float>>("values");
        QTest::addColumn<int>("tono");
        QTest::addColumn<int>("digit");
        QTest::newRow("10 X 7, tint 7") << QList<float>{0.5f, 0.75f, 0.0f} << 7 << 7;
        QTest::newRow("10 X 9, tint 14") << QList<float>{0.9999f, 0.9999f, 0.5f} << 14 << 9;
        QTest::newRow("0 replaced by 5, tint 3") << QList<float>{0.2f, 0.0f, 0.71f} << 3 << 5;
        QTest::newRow("0 kept, tint 0") << QList<float>{0.0f, 0.05f, 0.901f} << 0 << 0;
    }
    // After a wrong answer (black board, message) the button draws the
    // tint, reseeds, draws the question and shades the board anew, also
    // after a resize.
    void drawsAQuestion()
    {
        QFETCH(QList<float>, values);
        QFETCH(int, tono);
        QFETCH(int, digit);
        Harness game;
        game.start();
        game.answer(QStringLiteral("5"));
        game.platform().randomValues = values;
        game.platform().draws.clear();
        game.nextQuestion();
        const Ui::Tavola& c = game.controls();
        QCOMPARE(game.platform().draws, (QStringList{QString::number(values[0]), "reseed", QString::number(values[1]),
                                                     QString::number(values[2])}));
        QCOMPARE(c.lblNum1->caption() + " X " + c.lblNum2->caption(), QStringLiteral("10 X ") + QString::number(digit));
        game.answer(QString::number(10 * digit));
        QCOMPARE(scores(game), (QStringList{"1", "1", "2"}));
        CHECK_EMPTY(shadingFault(*c.board, tono));
        game.window().showNormal();
        game.window().resize(640, 430);
        QCoreApplication::processEvents();
        CHECK_EMPTY(shadingFault(*c.board, tono));
    }

    // Real key events of each kind: only digits get in, Backspace erases,
    // Escape and everything else leave the box and the counters alone.
    void keyFilterLetsOnlyDigitsIn()
    {
        Harness game;
        game.start();
        QLineEdit* box = game.controls().txtAnswer;
        const auto press = [&](char16_t code, Qt::Key key = Qt::Key_unknown) {
            QTest::sendKeyEvent(QTest::Click, box, key, QString(QChar(code)), Qt::NoModifier);
        };
        for (const char16_t digit : u"0123456789") {
            press(digit);
            QCOMPARE(box->text(), QString(QChar(digit)).remove(QChar(0)));
            QTest::keyClick(box, Qt::Key_Backspace);
        }
        box->setText(QStringLiteral("12"));
        for (const char16_t code : {u'a', u'Z', u'e', u' ', u'-', u'+', u'.', u',', u'\0', u'\3', u'\x16', u'\n',
                                    u'\x7f', u'à', u'٣', u'５', u'€'}) {
            press(code);
            QVERIFY2(box->text() == QStringLiteral("12"), qPrintable(QString::number(code, 16) + " got in"));
        }
        press(27, Qt::Key_Escape);
        QCOMPARE(box->text(), QStringLiteral("12"));
        QCOMPARE(scores(game), (QStringList{"0", "0", "0"}));
    }

    // Keys with modifiers act as the classic keyboard's codes say; composed
    // text is filtered like typed text; a paste with Shift+Insert (no typed
    // character) gets in and is read by its leading number.
    void modifiersComposedTextAndPaste()
    {
        Harness game;
        game.platform().randomValues = draws(7);
        game.start();
        QLineEdit* box = game.controls().txtAnswer;
        box->setText(QStringLiteral("70"));
        QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);  // line feed: dropped
        QTest::keyClick(box, Qt::Key_Return, Qt::AltModifier);      // no character at all
        QTest::keyClick(box, Qt::Key_A, Qt::AltModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(scores(game), (QStringList{"0", "0", "0"}));
        QCOMPARE(box->text(), QStringLiteral("70"));
        QTest::keyClick(box, Qt::Key_H, Qt::ControlModifier);  // backspace code: erases one
        QCOMPARE(box->text(), QStringLiteral("7"));
        QInputMethodEvent composed;
        composed.setCommitString(QStringLiteral("é0x"));
        QCoreApplication::sendEvent(box, &composed);
        QCOMPARE(box->text(), QStringLiteral("70"));
        QTest::keyClick(box, Qt::Key_M, Qt::ControlModifier);  // carriage return: judges
        QCOMPARE(game.controls().lblMessage->caption(), QStringLiteral("Esatto! Giulia sei forte!"));
        game.nextQuestion();

        QGuiApplication::clipboard()->setText(QStringLiteral("9E99"));
        if (QGuiApplication::clipboard()->text() != QStringLiteral("9E99"))
            QSKIP("no working clipboard here for the paste check");
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(box->text(), QStringLiteral("9E99"));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(game.controls().lblMessage->caption().startsWith(QStringLiteral("Sbagliato!! ")));
    }

    // Message, sound, only the counters of its kind, the focus on the
    // button, the board shaded or black; Enter again counts again.
    void judgesAnAnswer_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("digit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("right") << "Giulia" << 7 << "70" << "Esatto! Giulia sei forte!";
        QTest::newRow("right, no name, leading zero") << "" << 7 << "070" << "Esatto!  sei forte!";
        QTest::newRow("wrong") << "Giulia" << 7 << "7" << "Sbagliato!! 70";
        QTest::newRow("wrong to 10 X 0") << "Giulia" << 0 << "10" << "Sbagliato!! 0";
    }
    void judgesAnAnswer()
    {
        QFETCH(QString, name);
        QFETCH(int, digit);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Harness game;
        game.platform().randomValues = draws(digit);
        game.start(name);
        const Ui::Tavola& c = game.controls();
        c.txtAnswer->setText(text);
        const bool right = message.startsWith(QStringLiteral("Esatto"));
        const QString sound = right ? "/opt/numerella/suoni/Esatto.wav" : "/opt/numerella/suoni/no.wav";
        for (const QString n : {"1", "2"}) {
            QTest::keyClick(c.txtAnswer, n == "1" ? Qt::Key_Return : Qt::Key_Enter);
            QCOMPARE(c.lblMessage->caption(), message);
            QCOMPARE(scores(game), (right ? QStringList{n, "0", n} : QStringList{"0", n, n}));
            QCOMPARE(game.platform().sounds, QStringList(n.toInt(), sound));
            QVERIFY(c.cmdNext->isEnabled() && game.window().focusWidget() == c.cmdNext);
            if (right)
                CHECK_EMPTY(shadingFault(*c.board, 7));
            else
                QCOMPARE(painted(*c.board).pixel(0, c.board->height() - 1), qRgb(0, 0, 0));
        }
    }

    // Digits and Enter into the focused control, the next question by
    // Space, Enter, Alt+N and Escape; the real Timer1 ticks once a second;
    // the clock run out tick by tick, ticks while a box is open counting
    // nothing; then the ending and the record.
    void aWholeRaceByKeyboard()
    {
        Harness game;
        for (int d : {3, 8, 0, 6, 5})
            game.platform().randomValues += draws(d);
        game.platform().whileBoxOpen = [&](const ShownBox&) {
            if (game.platform().boxes.size() < 5) game.tick(10);  // bounded: a missing guard fails, not recurses
        };
        game.start();
        game.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game.window()));
        QVERIFY(game.window().timer()->isActive() && game.window().timer()->interval() == 1000);
        game.window().timer()->stop();  // the clock is run by hand below
        const QStringList typed = {"30", "80", "5", "60", "50"};
        const Qt::Key next[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_N, Qt::Key_Escape};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClicks(QApplication::focusWidget(), typed[i]);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), game.controls().cmdNext);
            if (i < 4)
                QTest::keyClick(QApplication::focusWidget(), next[i], i == 2 ? Qt::AltModifier : Qt::NoModifier);
            QTRY_COMPARE(game.platform().reseeds, std::min(i + 2, 5));  // Alt+N and Escape click a moment later
        }
        QCOMPARE(scores(game), (QStringList{"4", "1", "5"}));
        const auto clock = [&] { return game.controls().lblconto->caption() + ' ' + QString::number(game.window().state().tempo); };
        QCOMPARE(clock(), QStringLiteral("00:05:00 900"));
        game.tick();
        QCOMPARE(clock(), QStringLiteral("00:04:59 899"));
        game.tick(299);
        QCOMPARE(clock(), QStringLiteral("00:00:00 600"));
        QCOMPARE(game.platform().boxes.size(), 1);
        game.tick();  // the clock rests on 00:00:00 for one tick: then the ending
        QCOMPARE(clock(), QStringLiteral("00:00:00 600"));
        QStringList shown;
        for (const ShownBox& box : game.platform().boxes.mid(1))
            shown << box.prompt;
        QCOMPARE(shown, (QStringList{"Ciao a presto. Ore 600", "Ok! Ho registrato il tuo record, C A M P I O N E"}));
        QCOMPARE(Harness::readFile(game.scorePath()) + Harness::readFile(game.namePath()), QByteArray("4\r\nGiulia\r\n"));
        QCOMPARE(game.platform().ends, 1);
    }
};

QTEST_MAIN(PlayTest)
#include "test_play.moc"
