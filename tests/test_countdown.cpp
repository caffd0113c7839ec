// The race clock's arithmetic: one second per tick with the minute borrow,
// and the "hh:mm:ss" text the board shows.
#include "clock/countdown.h"

#include <QtTest>

using namespace numerella;

namespace {

// Seconds left as read back from a clock text, or -1 when it is malformed.
int secondsIn(const QString& text)
{
    const QStringList parts = text.split(u':');
    if (parts.size() != 3 || text.size() != 8)
        return -1;
    return parts[0].toInt() * 3600 + parts[1].toInt() * 60 + parts[2].toInt();
}

} // namespace

class CountdownTest : public QObject {
    Q_OBJECT
private slots:
    void oneTick_data();
    void oneTick();
    void fiveMinutesTakeThreeHundredTicks();
    void clockTextFormat_data();
    void clockTextFormat();
};

void CountdownTest::oneTick_data()
{
    QTest::addColumn<int>("minuti");
    QTest::addColumn<int>("secondi");
    QTest::addColumn<int>("expectedMinuti");
    QTest::addColumn<int>("expectedSecondi");
    QTest::newRow("borrow at 5:00") << 5 << 0 << 4 << 59;
    QTest::newRow("borrow at 4:00") << 4 << 0 << 3 << 59;
    QTest::newRow("borrow at 1:00") << 1 << 0 << 0 << 59;
    QTest::newRow("4:59") << 4 << 59 << 4 << 58;
    QTest::newRow("0:01") << 0 << 1 << 0 << 0;
}

void CountdownTest::oneTick()
{
    QFETCH(int, minuti);
    QFETCH(int, secondi);
    QFETCH(int, expectedMinuti);
    QFETCH(int, expectedSecondi);
    std::int16_t m = std::int16_t(minuti);
    float s = float(secondi);
    std::int16_t tempo = 300;
    countDownOneSecond(m, s, tempo);
    QCOMPARE(int(m), expectedMinuti);
    QCOMPARE(s, float(expectedSecondi));
    QCOMPARE(tempo, std::int16_t(299));
}

void CountdownTest::fiveMinutesTakeThreeHundredTicks()
{
    std::int16_t minuti = 5;
    float secondi = 0;
    std::int16_t tempo = 900;
    int previous = secondsIn(clockText(0, minuti, secondi));
    QCOMPARE(previous, 300);
    for (int tick = 1; tick <= 300; ++tick) {
        countDownOneSecond(minuti, secondi, tempo);
        const QString text = clockText(0, minuti, secondi);
        const int left = secondsIn(text);
        QVERIFY2(left == previous - 1, qPrintable(QStringLiteral("tick %1 shows %2").arg(tick).arg(text)));
        QVERIFY(secondi >= 0.0f && secondi < 60.0f);
        previous = left;
    }
    QCOMPARE(clockText(0, minuti, secondi), kClockAtZero);
    QCOMPARE(minuti, std::int16_t(0));
    QCOMPARE(secondi, 0.0f);
    QCOMPARE(tempo, std::int16_t(600));
}

void CountdownTest::clockTextFormat_data()
{
    QTest::addColumn<int>("ore");
    QTest::addColumn<int>("minuti");
    QTest::addColumn<float>("secondi");
    QTest::addColumn<QString>("expected");
    QTest::newRow("start") << 0 << 5 << 0.0f << QStringLiteral("00:05:00");
    QTest::newRow("first tick") << 0 << 4 << 59.0f << QStringLiteral("00:04:59");
    QTest::newRow("zero") << 0 << 0 << 0.0f << QStringLiteral("00:00:00");
    QTest::newRow("single digits") << 1 << 2 << 3.0f << QStringLiteral("01:02:03");
    QTest::newRow("ten seconds") << 0 << 0 << 10.0f << QStringLiteral("00:00:10");
}

void CountdownTest::clockTextFormat()
{
    QFETCH(int, ore);
    QFETCH(int, minuti);
    QFETCH(float, secondi);
    QFETCH(QString, expected);
    QCOMPARE(numerella::clockText(std::int16_t(ore), std::int16_t(minuti), secondi), expected);
}

QTEST_APPLESS_MAIN(CountdownTest)
#include "test_countdown.moc"
