// Playing on the real window: a question drawn onto the shaded board, the
// answer box's keys, and a whole race played by keyboard, judged and timed.
#include "harness.h"

#include "window/board.h"
#include "window/graphicalbutton.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

QString scores(const Harness& game)  // right, wrong, total
{
    const Ui::Tavola& c = game.controls();
    return c.lblScore->caption() + ' ' + c.lblScore1->caption() + ' ' + c.lblScore2->caption();
}

// The board's paint as "red green blue-at-top blue-at-bottom", or "uneven"
// where a row is not one colour, red or green change, or the blue falls.
QString painted(Board& board)
{
    QImage image(board.size(), QImage::Format_RGB32);
    board.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    const QRgb top = image.pixel(0, 0), bottom = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const bool even = std::all_of(row, row + image.width(), [&](QRgb c) { return c == row[0]; });
        if (!even || (row[0] ^ top) & 0xFFFF00 || qBlue(row[0]) < qBlue(image.pixel(0, std::max(y - 1, 0))))
            return QStringLiteral("uneven");
    }
    return QStringLiteral("%1 %2 %3 %4").arg(qRed(top)).arg(qGreen(top)).arg(qBlue(top)).arg(qBlue(bottom));
}

} // namespace

class PlayTest : public QObject {
    Q_OBJECT
private slots:
    void drawsAQuestion_data()
    {
        QTest::addColumn<QList<float>>("values");
        QTest::addColumn<int>("tono");
        QTest::addColumn<int>("digit");
        QTest::newRow("10 X 9, tint 14") << QList<float>{0.9999f, 0.9999f, 0.5f} << 14 << 9;
        QTest::newRow("0 replaced by 5, tint 3") << QList<float>{0.2f, 0.0f, 0.71f} << 3 << 5;
        QTest::newRow("0 kept, tint 0") << QList<float>{0.0f, 0.05f, 0.901f} << 0 << 0;
    }
    // After a wrong answer (black board) the button draws the tint,
    // reseeds, draws the question and shades the board anew, also resized.
    void drawsAQuestion()
    {
        QFETCH(QList<float>, values);
        QFETCH(int, tono);
        QFETCH(int, digit);
        Harness game;
        game.start();
        game.answer("5");
        QCOMPARE(painted(*game.controls().board), QStringLiteral("0 0 0 0"));
        game.platform().randomValues = values;
        game.platform().draws.clear();
        game.nextQuestion();
        const QStringList drawn = {QString::number(values[0]), "reseed", QString::number(values[1]),
                                   QString::number(values[2])};
        QCOMPARE(game.platform().draws, drawn);
        QCOMPARE(game.controls().lblNum2->caption(), QString::number(digit));
        game.answer(QString::number(10 * digit));
        QCOMPARE(scores(game), QStringLiteral("1 1 2"));
        const QString shaded = QStringLiteral("%1 %1 0 255").arg(10 * tono);
        QCOMPARE(painted(*game.controls().board), shaded);
        game.window().showNormal();
        game.window().resize(640, 430);
        QCoreApplication::processEvents();
        QCOMPARE(painted(*game.controls().board), shaded);
    }

    // On the real box: typed digits get in and nothing else (Ctrl+V and
    // Escape included), composed text keeps its digits, Ctrl+H erases,
    // Ctrl+M judges; a paste by Shift+Insert gets in as it is.
    void answerBoxKeys()
    {
        Harness game;
        game.platform().randomValues = draws(7);
        game.start();
        QLineEdit* box = game.controls().txtAnswer;
        QGuiApplication::clipboard()->setText("9E99");
        QTest::keyClicks(box, "7a -.,");
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Escape);
        QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("7"));
        QInputMethodEvent composed;
        composed.setCommitString("\u00e90x");
        QCoreApplication::sendEvent(box, &composed);
        QTest::keyClick(box, Qt::Key_5);
        QTest::keyClick(box, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("70"));
        QCOMPARE(scores(game), QStringLiteral("0 0 0"));
        QTest::keyClick(box, Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(game.controls().lblMessage->caption(), QStringLiteral("Esatto! Giulia sei forte!"));
        QCOMPARE(box->text(), QStringLiteral("70"));
        game.nextQuestion();
        if (QGuiApplication::clipboard()->text() != "9E99")
            QSKIP("no working clipboard here for the paste check");
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QStringLiteral("9E99"));
        QVERIFY2(game.controls().lblMessage->caption().startsWith("Sbagliato!! "), "a paste of 9E99 judged right");
    }

    // Digits and Enter into the focused control, each judged with its
    // message and sound, the focus then on the button, where the keypad's
    // Enter into the box again counts again; the next question by Space,
    // Enter, Alt+N and Escape; Timer1 ticks once a second; the clock run out
    // tick by tick, ticks while a box is open counting nothing; then the
    // ending and the record.
    void aWholeRaceByKeyboard()
    {
        Harness game;
        for (int d : {3, 8, 0, 6, 5})
            game.platform().randomValues += draws(d);
        game.platform().whileBoxOpen = [&](const ShownBox&) {
            if (game.platform().boxes.size() < 5)
                game.tick(10);  // bounded: a missing guard fails, not recurses
        };
        game.start();
        game.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game.window()));
        QVERIFY2(game.window().timer()->isActive(), "clock not running");
        QCOMPARE(game.window().timer()->interval(), 1000);
        game.window().timer()->stop();  // the clock is run by hand below
        const Ui::Tavola& c = game.controls();
        const QStringList typed = {"30", "080", "5", "60", "50"};
        const Qt::Key next[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_N, Qt::Key_Escape};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClicks(QApplication::focusWidget(), typed[i]);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(c.lblMessage->caption(), i == 2 ? "Sbagliato!! 0" : "Esatto! Giulia sei forte!");
            const QString sound = i == 2 ? "no.wav" : "Esatto.wav";
            QCOMPARE(game.platform().sounds.last(), "/opt/numerella/suoni/" + sound);
            QVERIFY2(c.cmdNext->isEnabled(), "question button still locked");
            QCOMPARE(QApplication::focusWidget(), c.cmdNext);
            if (i == 2)
                QTest::keyClick(c.txtAnswer, Qt::Key_Enter);
            if (i < 4)
                QTest::keyClick(QApplication::focusWidget(), next[i], i == 2 ? Qt::AltModifier : Qt::NoModifier);
            QTRY_COMPARE(game.platform().reseeds, std::min(i + 2, 5));  // Alt+N and Escape click a moment later
        }
        QCOMPARE(scores(game), QStringLiteral("4 2 6"));
        const auto clock = [&] { return c.lblconto->caption() + ' ' + QString::number(game.window().state().tempo); };
        QCOMPARE(clock(), QStringLiteral("00:05:00 900"));
        game.tick();
        QCOMPARE(clock(), QStringLiteral("00:04:59 899"));
        game.tick(299);
        QCOMPARE(clock(), QStringLiteral("00:00:00 600"));
        QCOMPARE(game.platform().boxes.size(), 1);
        game.tick();  // the clock rests on 00:00:00 for one tick: then the ending
        QCOMPARE(clock(), QStringLiteral("00:00:00 600"));
        QCOMPARE(game.platform().boxes.size(), 3);
        QCOMPARE(game.platform().boxes.last().prompt, "Ok! Ho registrato il tuo record, C A M P I O N E");
        QCOMPARE(game.recordFiles(), QByteArray("4\r\nGiulia\r\n"));
    }
};

QTEST_MAIN(PlayTest)
#include "test_play.moc"
