// Typing and judging answers on the real window: the key filter of the
// answer box, the messages, the counters, the sounds, pasted text and a whole
// game played from the keyboard.
#include "harness.h"

#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

const QString kRightSound = QStringLiteral("/opt/numerella/suoni/Esatto.wav");
const QString kWrongSound = QStringLiteral("/opt/numerella/suoni/no.wav");

QList<float> draws(int digit)
{
    return digit == 0 ? QList<float>{0.5f, 0.0f, 0.95f} : QList<float>{0.5f, digit / 10.0f + 0.05f, 0.0f};
}

// A key that types `text`, sent the way the keyboard sends it (shortcuts
// first, then the focused widget).
void press(QWidget* target, const QString& text, Qt::Key key = Qt::Key_unknown)
{
    QTest::sendKeyEvent(QTest::Click, target, key, text, Qt::NoModifier);
}

// The scores on the board: right, wrong, total.
QStringList scores(const Harness& game)
{
    const Controls& c = game.controls();
    return {c.lblScore->caption(), c.lblScore1->caption(), c.lblScore2->caption()};
}

} // namespace

class AnswersTest : public QObject {
    Q_OBJECT
private slots:
    void onlyDigitsReachTheBox();
    void backspaceDeletesAndEnterJudges();
    void pasteShortcutDoesNotPaste();
    void otherScriptsAreDropped();
    void takesAtMostFourCharacters();
    void judgesWithMessagesAndSounds_data();
    void judgesWithMessagesAndSounds();
    void countsRightAndWrong();
    void enterAgainCountsAgain();
    void readsPastedText_data();
    void readsPastedText();
    void pastedOverflowIsWrong();
    void pastedLettersAnswerTenTimesZero();
    void playsAWholeGameFromTheKeyboard();
};

void AnswersTest::onlyDigitsReachTheBox()
{
    Harness game;
    game.start();
    QLineEdit* box = game.controls().txtAnswer;
    for (int code = 0; code <= 255; ++code) {
        if (code == 13)
            continue;  // Enter judges: see below
        box->setText(QStringLiteral("12"));
        const Qt::Key key = code == 8 ? Qt::Key_Backspace : code == 27 ? Qt::Key_Escape : Qt::Key_unknown;
        press(box, QString(QChar(code)), key);
        const QString expected = code == 8 ? QStringLiteral("1")
                                 : (code >= '0' && code <= '9') ? QStringLiteral("12") + QChar(code)
                                                                 : QStringLiteral("12");
        QVERIFY2(box->text() == expected, qPrintable(QStringLiteral("code %1 left \"%2\"").arg(code).arg(box->text())));
    }
    QCOMPARE(game.window().state().giuste + game.window().state().sbagliate, 0);
    QVERIFY(game.controls().lblMessage->caption().isEmpty());

    box->setText(QStringLiteral("12"));
    press(box, QStringLiteral("\r"), Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("12"));
    QCOMPARE(game.window().state().sbagliate, std::int16_t(1));
}

void AnswersTest::backspaceDeletesAndEnterJudges()
{
    Harness game;
    game.platform().randomValues = draws(4);
    game.start();
    QLineEdit* box = game.controls().txtAnswer;
    QTest::keyClicks(box, QStringLiteral("4a 5-.,"));
    QCOMPARE(box->text(), QStringLiteral("45"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Escape);
    QCOMPARE(box->text(), QStringLiteral("4"));
    QTest::keyClicks(box, QStringLiteral("0"));
    QTest::keyClick(box, Qt::Key_Enter);  // the keypad's Enter judges as Return does
    QCOMPARE(game.controls().lblMessage->caption(), QStringLiteral("Esatto! Giulia sei forte!"));
    QCOMPARE(box->text(), QStringLiteral("40"));
}

void AnswersTest::pasteShortcutDoesNotPaste()
{
    Harness game;
    game.start();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("12"));
    if (clipboard->text() != QStringLiteral("12"))
        QSKIP("this platform has no working clipboard");
    QLineEdit* box = game.controls().txtAnswer;
    QTest::keyClicks(box, QStringLiteral("3"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("3"));
    // The control codes of copy, paste and cut, as typed characters.
    for (const char16_t code : {u'\x03', u'\x16', u'\x18'})
        press(box, QString(QChar(code)));
    QCOMPARE(box->text(), QStringLiteral("3"));
    // The clipboard is there: a paste by other means does reach the box.
    box->paste();
    QCOMPARE(box->text(), QStringLiteral("312"));
}

void AnswersTest::otherScriptsAreDropped()
{
    Harness game;
    game.start();
    QLineEdit* box = game.controls().txtAnswer;
    for (const QString& typed : {QStringLiteral("à"), QStringLiteral("٣"), QStringLiteral("５"), QStringLiteral("€"),
                                 QStringLiteral("\U0001F600")})
        press(box, typed);
    QCOMPARE(box->text(), QString());
}

void AnswersTest::takesAtMostFourCharacters()
{
    Harness game;
    game.start();
    QLineEdit* box = game.controls().txtAnswer;
    QTest::keyClicks(box, QStringLiteral("123456"));
    QCOMPARE(box->text(), QStringLiteral("1234"));
    box->setText(QStringLiteral("98765"));
    QCOMPARE(box->text(), QStringLiteral("9876"));
}

void AnswersTest::judgesWithMessagesAndSounds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("right");
    QTest::newRow("right") << "Giulia" << 7 << "70" << "Esatto! Giulia sei forte!" << true;
    QTest::newRow("right, no name") << "" << 7 << "70" << "Esatto!  sei forte!" << true;
    QTest::newRow("leading zero") << "Giulia" << 7 << "070" << "Esatto! Giulia sei forte!" << true;
    QTest::newRow("wrong") << "Giulia" << 7 << "7" << "Sbagliato!! 70" << false;
    QTest::newRow("wrong, no name") << "" << 7 << "700" << "Sbagliato!! 70" << false;
    QTest::newRow("wrong to 10 X 0") << "Giulia" << 0 << "10" << "Sbagliato!! 0" << false;
    QTest::newRow("right to 10 X 0") << "Giulia" << 0 << "0" << "Esatto! Giulia sei forte!" << true;
    QTest::newRow("nothing typed") << "Giulia" << 3 << "" << "Sbagliato!! 30" << false;
}

void AnswersTest::judgesWithMessagesAndSounds()
{
    QFETCH(QString, name);
    QFETCH(int, digit);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(bool, right);
    Harness game;
    game.platform().randomValues = draws(digit);
    game.start(name);
    game.answer(typed);
    const Controls& c = game.controls();
    QCOMPARE(c.lblMessage->caption(), message);
    QCOMPARE(game.platform().sounds, QStringList{right ? kRightSound : kWrongSound});
    QCOMPARE(scores(game), (right ? QStringList{"1", "0", "1"} : QStringList{"0", "1", "1"}));
    QVERIFY(c.cmdNext->isEnabled());
    QCOMPARE(game.window().focusWidget(), c.cmdNext);
    QCOMPARE(c.txtAnswer->text(), typed);
}

void AnswersTest::countsRightAndWrong()
{
    Harness game;
    game.platform().randomValues = draws(7) + draws(2) + draws(9);
    game.start();
    QCOMPARE(scores(game), (QStringList{"0", "0", "0"}));
    game.answer(QStringLiteral("70"));
    QCOMPARE(scores(game), (QStringList{"1", "0", "1"}));
    game.nextQuestion();
    game.answer(QStringLiteral("21"));
    QCOMPARE(scores(game), (QStringList{"1", "1", "2"}));
    game.nextQuestion();
    game.answer(QStringLiteral("90"));
    QCOMPARE(scores(game), (QStringList{"2", "1", "3"}));
    QCOMPARE(game.platform().sounds, (QStringList{kRightSound, kWrongSound, kRightSound}));
}

void AnswersTest::enterAgainCountsAgain()
{
    Harness game;
    game.platform().randomValues = draws(7);
    game.start();
    game.answer(QStringLiteral("70"));
    QTest::keyClick(game.controls().txtAnswer, Qt::Key_Return);
    QCOMPARE(game.window().state().giuste, std::int16_t(2));
    QCOMPARE(scores(game), (QStringList{"2", "0", "2"}));
    QCOMPARE(game.platform().sounds.size(), 2);
}

void AnswersTest::readsPastedText_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("expected");  // the product that the text answers right
    QTest::newRow("12ab") << "12ab" << 12;
    QTest::newRow("ab") << "ab" << 0;
    QTest::newRow("-1") << "-1" << -1;
    QTest::newRow("1e4") << "1e4" << 10000;
    QTest::newRow("blank 7") << " 7" << 7;
    QTest::newRow("arabic three") << "٣" << 0;
    QTest::newRow("blanks") << "    " << 0;
    QTest::newRow("1.5 rounds to 2") << "1.5" << 2;
    QTest::newRow("2.5 rounds to even 2") << "2.5" << 2;
}

// A paste reaches the box without passing the key filter. The products of
// the game are multiples of 10, so the expected value is put in as the
// product to see exactly what the text was read as.
void AnswersTest::readsPastedText()
{
    QFETCH(QString, pasted);
    QFETCH(int, expected);
    Harness game;
    game.start();
    QLineEdit* box = game.controls().txtAnswer;
    game.window().state().risultato = std::int16_t(expected);
    box->setText(pasted);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(game.window().state().giuste, std::int16_t(1));
    game.window().state().risultato = std::int16_t(expected + 1);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(game.window().state().sbagliate, std::int16_t(1));
    QCOMPARE(box->text(), pasted);
}

void AnswersTest::pastedOverflowIsWrong()
{
    Harness game;
    game.platform().randomValues = draws(7);
    game.start();
    game.controls().txtAnswer->setText(QStringLiteral("9E99"));
    QTest::keyClick(game.controls().txtAnswer, Qt::Key_Return);
    QCOMPARE(game.controls().lblMessage->caption(), QStringLiteral("Sbagliato!! 70"));
    QCOMPARE(game.platform().sounds, QStringList{kWrongSound});
    QCOMPARE(scores(game), (QStringList{"0", "1", "1"}));
}

void AnswersTest::pastedLettersAnswerTenTimesZero()
{
    Harness game;
    game.platform().randomValues = draws(0);
    game.start();
    game.controls().txtAnswer->setText(QStringLiteral("ab"));
    QTest::keyClick(game.controls().txtAnswer, Qt::Key_Return);
    QCOMPARE(game.controls().lblMessage->caption(), QStringLiteral("Esatto! Giulia sei forte!"));
    QCOMPARE(scores(game), (QStringList{"1", "0", "1"}));
}

// Digits and Enter into the focused box, then the focused button by Space or
// Enter, or from anywhere by Alt+N or Escape: no mouse at all.
void AnswersTest::playsAWholeGameFromTheKeyboard()
{
    Harness game;
    const int digits[] = {3, 8, 0, 6, 5};
    for (int d : digits)
        game.platform().randomValues += draws(d);
    game.start();
    // Keys go to the focused widget of the active window, so it must be active.
    game.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&game.window()));
    const Controls& c = game.controls();
    const QStringList typed = {"30", "80", "5", "60", "50"};
    const auto advance = [&](int step) {
        switch (step) {
        case 0: QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); break;
        case 1: QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); break;
        case 2: QTest::keyClick(&game.window(), Qt::Key_N, Qt::AltModifier); break;
        case 3: QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); break;
        }
    };
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(QApplication::focusWidget(), c.txtAnswer);
        QCOMPARE(c.lblNum2->caption(), QString::number(digits[i]));
        for (const QChar ch : typed[i])
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), c.cmdNext);
        if (i == 4)
            break;
        advance(i);
        // Alt+N and Escape press the button the animated way: it clicks a moment later.
        QTRY_VERIFY(!c.cmdNext->isEnabled());
    }
    QCOMPARE(scores(game), (QStringList{"4", "1", "5"}));
    QCOMPARE(game.platform().reseeds, 5);
}

QTEST_MAIN(AnswersTest)
#include "test_answers.moc"
