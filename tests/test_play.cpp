// Playing on the real window: drawing questions, the shaded board, the key
// filter, judging and scoring, the keyboard-only game and the race clock.
#include "harness.h"

#include "window/board.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

// The three values one question draws: tint, factor, replacement of a 0.
QList<float> draws(int digit, float tint = 0.5f)
{
    return digit == 0 ? QList<float>{tint, 0.0f, 0.95f} : QList<float>{tint, digit / 10.0f + 0.05f, 0.0f};
}

QStringList scores(const Harness& game)  // right, wrong, total
{
    const Ui::Tavola& c = game.controls();
    return {c.lblScore->caption(), c.lblScore1->caption(), c.lblScore2->caption()};
}

// What a new question left wrong on the board, or "".
QString questionFault(Harness& game)
{
    const Ui::Tavola& c = game.controls();
    if (!c.txtAnswer->text().isEmpty()) return QStringLiteral("box not empty: ") + c.txtAnswer->text();
    if (game.window().focusWidget() != c.txtAnswer) return QStringLiteral("box not focused");
    if (!c.lblMessage->caption().isEmpty()) return QStringLiteral("message kept: ") + c.lblMessage->caption();
    return c.cmdNext->isEnabled() ? QStringLiteral("cmdNext enabled") : QString();
}

// What the board itself paints under the controls, as big as the board.
QImage painted(Board& board)
{
    QImage image(board.size(), QImage::Format_RGB32);
    board.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

// What is wrong with the board's shading in tint `tono`, or "".
QString shadingFault(Board& board, int tono)
{
    const QImage image = painted(board);
    for (int y = 0; y < image.height(); ++y) {
        const QRgb first = image.pixel(0, y);
        for (int x = 1; x < image.width(); ++x)
            if (image.pixel(x, y) != first) return QStringLiteral("row %1 not solid").arg(y);
        if (qRed(first) != 10 * tono || qGreen(first) != 10 * tono) return QStringLiteral("row %1 wrong tint").arg(y);
    }
    if (qBlue(image.pixel(0, 0)) != 0 || qBlue(image.pixel(0, image.height() - 1)) != 255)
        return QStringLiteral("blue does not run 0..255");
    return {};
}
#define CHECK_EMPTY(fault) do { const QString f = (fault); QVERIFY2(f.isEmpty(), qPrintable(f)); } while (0)

// Logs the order of draws and reseeds on the way to the scripted desktop.
struct DrawLog final : Platform {
    explicit DrawLog(FakePlatform& in) : in_(in) {}
    FakePlatform& in_;
    QStringList log;
    int messageBox(const QString& p, int b, const std::optional<QString>& t) override { return in_.messageBox(p, b, t); }
    QString inputBox(const QString& p) override { return in_.inputBox(p); }
    void playSound(const QString& p) override { in_.playSound(p); }
    QString recordFolder() override { return in_.recordFolder(); }
    QString programFolder() override { return in_.programFolder(); }
    void endProgram() override { in_.endProgram(); }
    float nextRandom() override { const float r = in_.nextRandom(); log << QString::number(r); return r; }
    void reseedRandomFromClock() override { log << QStringLiteral("reseed"); in_.reseedRandomFromClock(); }
    QString shortDate() override { return in_.shortDate(); }
};

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
        QTest::newRow("d=10 -> 1, tint 0") << QList<float>{0.0f, 0.0f, 0.101f} << 0 << 1;
        QTest::newRow("d=71 -> 5 (0.71f in single precision)") << QList<float>{0.2f, 0.0f, 0.71f} << 3 << 5;
        QTest::newRow("d=90 stays 0") << QList<float>{0.4f, 0.05f, 0.901f} << 6 << 0;
    }

    // After a wrong answer (black board, message, text) the button, by key,
    // draws the question and shades the board anew, also after a resize.
    void drawsAQuestion()
    {
        QFETCH(QList<float>, values);
        QFETCH(int, tono);
        QFETCH(int, digit);
        Harness game;
        game.platform().randomValues = draws(2, 0.1f);
        game.start();
        game.answer(QStringLiteral("5"));
        game.platform().randomValues = values;
        game.nextQuestion();
        QCOMPARE(game.controls().lblNum1->caption(), QStringLiteral("10"));
        QCOMPARE(game.controls().lblNum2->caption(), QString::number(digit));
        QCOMPARE(game.window().state().risultato, std::int16_t(10 * digit));
        CHECK_EMPTY(questionFault(game));
        Board& board = *game.controls().board;
        CHECK_EMPTY(shadingFault(board, tono));
        const QSize maximised = board.size();
        game.window().showNormal();
        game.window().resize(640, 430);
        QCoreApplication::processEvents();
        QVERIFY(board.size() != maximised);
        CHECK_EMPTY(shadingFault(board, tono));
    }

    void drawsTheTintBeforeTheReseed()
    {
        QTemporaryDir dir;
        FakePlatform fake(dir.path() + QStringLiteral("/records"));
        DrawLog platform(fake);
        fake.randomValues = {0.5f, 0.75f, 0.0f, 0.2f, 0.35f, 0.0f};
        Tavola window(platform);
        window.load();
        QCOMPARE(platform.log, (QStringList{"0.5", "reseed", "0.75", "0"}));
        platform.log.clear();
        window.controls().cmdNext->setEnabled(true);
        window.controls().cmdNext->click();
        QCOMPARE(platform.log, (QStringList{"0.2", "reseed", "0.35", "0"}));
    }

    void keyFilterLetsOnlyDigitsIn()
    {
        Harness game;
        game.start();
        QLineEdit* box = game.controls().txtAnswer;
        const auto press = [&](const QString& text, Qt::Key key = Qt::Key_unknown, Qt::KeyboardModifiers mods = {}) {
            QTest::sendKeyEvent(QTest::Click, box, key, text, mods);
        };
        for (const char d : QByteArray("0123456789")) {
            press(QString(QChar(d)));
            QCOMPARE(box->text(), QString(QChar(d)));
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(box->text(), QString());
        }
        box->setText(QStringLiteral("12"));
        for (const char16_t code : {u'a', u'Z', u'e', u' ', u'-', u'+', u'.', u',', u'/', u':', u'\0', u'\3', u'\x16',
                                    u'\x18', u'\n', u'\x7f', u'à', u'٣', u'５', u'€'}) {
            press(QString(QChar(code)));
            QVERIFY2(box->text() == QStringLiteral("12"), qPrintable(QString::number(code, 16) + " got in"));
        }
        press(QString(QChar(27)), Qt::Key_Escape);
        QCOMPARE(box->text(), QStringLiteral("12"));
        QCOMPARE(game.window().state().giuste + game.window().state().sbagliate, 0);

        QGuiApplication::clipboard()->setText(QStringLiteral("9"));
        if (QGuiApplication::clipboard()->text() != QStringLiteral("9"))
            QSKIP("no working clipboard here for the Ctrl+V check");
        press(QString(QChar(22)), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("12"));
        box->paste();  // the clipboard works: only the shortcut is kept out
        QCOMPARE(box->text(), QStringLiteral("129"));
    }

    // Keys with modifiers act as the classic keyboard's codes say; composed
    // text is filtered like typed text; a paste with Shift+Insert (no typed
    // character) gets in as the board allows and is read by its leading number.
    void modifiersComposedTextAndPaste()
    {
        Harness game;
        game.platform().randomValues = draws(7);
        game.start();
        QLineEdit* box = game.controls().txtAnswer;
        const auto judged = [&] { return game.window().state().giuste + game.window().state().sbagliate; };
        box->setText(QStringLiteral("70"));
        QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);  // line feed: dropped
        QTest::keyClick(box, Qt::Key_Return, Qt::AltModifier);      // no character at all
        QTest::keyClick(box, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(judged(), 0);
        QCOMPARE(box->text(), QStringLiteral("70"));
        QTest::keyClick(box, Qt::Key_H, Qt::ControlModifier);  // backspace code: erases one
        QCOMPARE(box->text(), QStringLiteral("7"));
        QTest::keyClick(box, Qt::Key_0);

        QInputMethodEvent composed;
        composed.setCommitString(QStringLiteral("é9x"));
        QCoreApplication::sendEvent(box, &composed);
        QCOMPARE(box->text(), QStringLiteral("709"));
        QTest::keyClick(box, Qt::Key_Backspace);

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

    void judgesAnAnswer_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("digit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("right") << "Giulia" << 7 << "70" << "Esatto! Giulia sei forte!";
        QTest::newRow("right, no name") << "" << 7 << "70" << "Esatto!  sei forte!";
        QTest::newRow("leading zero") << "Giulia" << 7 << "070" << "Esatto! Giulia sei forte!";
        QTest::newRow("wrong") << "Giulia" << 7 << "7" << "Sbagliato!! 70";
        QTest::newRow("wrong to 10 X 0") << "Giulia" << 0 << "10" << "Sbagliato!! 0";
        QTest::newRow("pasted overflow") << "Giulia" << 7 << "9E99" << "Sbagliato!! 70";
    }

    // Message, sound, only the counters of its kind, the button, the board
    // (kept shaded or black); Enter again (the keypad's) counts again.
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
        c.txtAnswer->setText(text);  // as a paste would; typing is checked above and below
        const bool right = message.startsWith(QStringLiteral("Esatto"));
        const QString sound = game.platform().programFolder() + (right ? "/suoni/Esatto.wav" : "/suoni/no.wav");
        QImage black(c.board->size(), QImage::Format_RGB32);
        black.fill(Qt::black);
        for (const QString n : {"1", "2"}) {
            QTest::keyClick(c.txtAnswer, n == "1" ? Qt::Key_Return : Qt::Key_Enter);
            QCOMPARE(c.lblMessage->caption(), message);
            QCOMPARE(scores(game), (right ? QStringList{n, "0", n} : QStringList{"0", n, n}));
            QCOMPARE(game.platform().sounds, QStringList(n.toInt(), sound));
            QVERIFY(c.cmdNext->isEnabled());
            QCOMPARE(game.window().focusWidget(), c.cmdNext);
            QCOMPARE(c.txtAnswer->text(), text);
            if (right)
                CHECK_EMPTY(shadingFault(*c.board, 7));
            else
                QCOMPARE(painted(*c.board), black);
        }
    }

    // Digits and Enter into the focused box, then the button by Space, Enter, Alt+N or Escape.
    void playsAWholeGameByKeyboard()
    {
        Harness game;
        for (int d : {3, 8, 0, 6, 5})
            game.platform().randomValues += draws(d);
        game.start();
        game.window().activateWindow();  // keys go to the active window's focus
        QVERIFY(QTest::qWaitForWindowActive(&game.window()));
        const QStringList typed = {"30", "80", "5", "60", "50"};
        const QList<QStringList> counted = {{"1", "0", "1"}, {"2", "0", "2"}, {"2", "1", "3"}, {"3", "1", "4"}, {"4", "1", "5"}};
        const Qt::Key next[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_N, Qt::Key_Escape};
        for (int i = 0; i < 5; ++i) {
            CHECK_EMPTY(questionFault(game));
            for (const QChar ch : typed[i])
                QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(scores(game), counted[i]);
            QCOMPARE(QApplication::focusWidget(), game.controls().cmdNext);
            if (i < 4)
                QTest::keyClick(QApplication::focusWidget(), next[i], i == 2 ? Qt::AltModifier : Qt::NoModifier);
            QTRY_COMPARE(game.platform().reseeds, std::min(i + 2, 5));  // Alt+N and Escape click a moment later
        }
        // Meanwhile the real Timer1 runs the clock, once a second.
        QTimer* timer = game.window().timer();
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        timer->setInterval(1);
        QTRY_VERIFY(game.controls().lblconto->caption() != QStringLiteral("00:05:00"));
    }

    // 3 right and 1 wrong by keys, the clock run out tick by tick; ticks
    // while any box is open count nothing.
    void aWholeRace()
    {
        Harness game;
        game.platform().randomValues = draws(3) + draws(8) + draws(0) + draws(6);
        game.platform().whileBoxOpen = [&](const ShownBox&) {
            if (game.platform().boxes.size() < 5) game.tick(10);  // bounded, so a missing guard fails instead of recursing
        };
        game.start();
        const auto clock = [&] { return game.controls().lblconto->caption() + ' ' + QString::number(game.window().state().tempo); };
        QCOMPARE(clock(), QStringLiteral("00:05:00 900"));
        for (const char* typed : {"30", "80", "5", "60"}) {
            game.answer(QString::fromLatin1(typed));
            game.nextQuestion();
        }
        game.tick();
        QCOMPARE(clock(), QStringLiteral("00:04:59 899"));
        game.tick(299);
        QCOMPARE(clock(), QStringLiteral("00:00:00 600"));
        QCOMPARE(game.platform().boxes.size(), 1);
        game.tick();  // the clock rested on 00:00:00 for one tick: the ending, nothing counted
        QCOMPARE(clock(), QStringLiteral("00:00:00 600"));
        QStringList shown;
        for (const ShownBox& box : game.platform().boxes.mid(1))
            shown << box.prompt + " | " + box.title.value_or("<no title>");
        QCOMPARE(shown, (QStringList{"Ciao a presto. Ore 600 | Data " + game.platform().date,
                                     "Ok! Ho registrato il tuo record, C A M P I O N E | <no title>"}));
        QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("3\r\n"));
        QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Giulia\r\n"));
        QCOMPARE(game.platform().ends, 1);
    }
};

QTEST_MAIN(PlayTest)
#include "test_play.moc"
