// The race clock on the real window: the count-down on the board, the
// ending it runs, ticks held back while a box is open, the real timer, and
// one whole race played from the keyboard.
#include "harness.h"

#include "window/boardlabel.h"

#include <QTimer>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

const QString kFarewell = QStringLiteral("Ciao a presto. Ore 600");
const QString kFarewellTitle = QStringLiteral("Data 07/12/26");
const QString kCongratulation = QStringLiteral("Ok! Ho registrato il tuo record, C A M P I O N E");

QList<float> draws(int digit)
{
    return digit == 0 ? QList<float>{0.5f, 0.0f, 0.95f} : QList<float>{0.5f, digit / 10.0f + 0.05f, 0.0f};
}

// The boxes shown after the greeting, as "prompt | title".
QStringList boxesAfterGreeting(Harness& game)
{
    QStringList shown;
    for (const ShownBox& box : game.platform().boxes.mid(1))
        shown << box.prompt + QStringLiteral(" | ") + box.title.value_or(QStringLiteral("<no title>"));
    return shown;
}

const QString kFarewellBox = kFarewell + QStringLiteral(" | ") + kFarewellTitle;
const QString kCongratulationBox = kCongratulation + QStringLiteral(" | <no title>");

} // namespace

class RaceTest : public QObject {
    Q_OBJECT
private slots:
    void countsDownToTheEnding();
    void startingTheClockResetsItsFields();
    void noTickWhileABoxIsOpen();
    void theRealTimerDrivesTheClock();
    void aWholeRace();
};

void RaceTest::countsDownToTheEnding()
{
    Harness game;
    game.start();
    const GameState& s = game.window().state();
    const BoardLabel* clock = game.controls().lblconto;
    QCOMPARE(clock->caption(), QStringLiteral("00:05:00"));
    for (int k = 1; k <= 300; ++k) {
        game.tick();
        const int left = 300 - k;
        const QString expected = QStringLiteral("00:%1:%2").arg(left / 60, 2, 10, QChar('0')).arg(left % 60, 2, 10, QChar('0'));
        QVERIFY2(clock->caption() == expected, qPrintable(QStringLiteral("tick %1 shows %2").arg(k).arg(clock->caption())));
        QCOMPARE(s.tempo, std::int16_t(900 - k));
        QCOMPARE(s.minuti, std::int16_t(left / 60));
        QCOMPARE(int(s.secondi), left % 60);
    }
    QCOMPARE(game.platform().boxes.size(), 1);
    QCOMPARE(game.platform().ends, 0);

    game.tick();  // the clock has rested on 00:00:00 for one tick: the race ends
    QCOMPARE(boxesAfterGreeting(game), QStringList{kFarewellBox});
    QCOMPARE(game.platform().ends, 1);
    QVERIFY(game.window().ended());
    QCOMPARE(s.tempo, std::int16_t(600));
    QCOMPARE(clock->caption(), QStringLiteral("00:00:00"));

    // Nothing runs after the end: not the clock, not the answer box.
    game.tick(20);
    game.answer(QString::number(s.risultato));
    QCOMPARE(game.platform().boxes.size(), 2);
    QCOMPARE(game.platform().ends, 1);
    QCOMPARE(s.tempo, std::int16_t(600));
    QCOMPARE(s.giuste + s.sbagliate, 0);
    QVERIFY(game.platform().sounds.isEmpty());
}

void RaceTest::startingTheClockResetsItsFields()
{
    Harness game;
    game.start();
    game.tick(63);
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:03:57"));
    QCOMPARE(game.window().state().minuti, std::int16_t(3));
    QCOMPARE(game.window().state().secondi, 57.0f);
    game.controls().Timer1->stop();
    game.window().AvviaTempo();
    const GameState& s = game.window().state();
    QCOMPARE(s.tempo, std::int16_t(300));
    QCOMPARE(s.ore, std::int16_t(0));
    QCOMPARE(s.minuti, std::int16_t(5));
    QCOMPARE(s.secondi, 0.0f);
    QVERIFY(game.controls().Timer1->isActive());
    // The label keeps its time until the next tick counts from 5 minutes.
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:03:57"));
    game.tick();
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:04:59"));
    QCOMPARE(s.tempo, std::int16_t(299));
}

void RaceTest::noTickWhileABoxIsOpen()
{
    Harness game;
    game.platform().randomValues = draws(7);
    // Ticks while the greeting is open count nothing either.
    game.platform().whileBoxOpen = [&](const ShownBox&) { game.tick(10); };
    game.start();
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:05:00"));
    QCOMPARE(game.window().state().tempo, std::int16_t(900));

    game.answer(QStringLiteral("70"));
    game.tick(301);
    QCOMPARE(boxesAfterGreeting(game), (QStringList{kFarewellBox, kCongratulationBox}));
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("1\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Giulia\r\n"));
    QCOMPARE(game.platform().ends, 1);
    QCOMPARE(game.window().state().tempo, std::int16_t(600));

    game.tick(30);
    QCOMPARE(game.platform().boxes.size(), 3);
    QCOMPARE(game.platform().ends, 1);
}

void RaceTest::theRealTimerDrivesTheClock()
{
    Harness game;
    game.start();
    QTimer* timer = game.controls().Timer1;
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    // A whole race in well under a second of waiting.
    timer->setInterval(1);
    QTRY_VERIFY_WITH_TIMEOUT(game.window().ended(), 30000);
    QCOMPARE(boxesAfterGreeting(game), QStringList{kFarewellBox});
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:00:00"));
    QCOMPARE(game.window().state().tempo, std::int16_t(600));
    QCOMPARE(game.platform().ends, 1);
    QVERIFY(!timer->isActive());
}

void RaceTest::aWholeRace()
{
    Harness game;
    game.platform().randomValues = draws(3) + draws(8) + draws(0) + draws(6);
    game.start();
    for (const char* typed : {"30", "80", "5", "60"}) {
        game.answer(QString::fromLatin1(typed));
        game.nextQuestion();
        game.tick(20);
    }
    QCOMPARE(game.window().state().giuste, std::int16_t(3));
    QCOMPARE(game.window().state().sbagliate, std::int16_t(1));
    game.tick(300 - 80);
    QCOMPARE(game.platform().ends, 0);
    game.tick();
    QCOMPARE(boxesAfterGreeting(game), (QStringList{kFarewellBox, kCongratulationBox}));
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("3\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Giulia\r\n"));
    QCOMPARE(game.platform().ends, 1);
}

QTEST_MAIN(RaceTest)
#include "test_race.moc"
