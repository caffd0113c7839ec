// The number conversions behind every caption the game reads or writes: the
// forgiving parse, the strict one, 16-bit rounding and the picture formats.
#include "platform/conversions.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace numerella;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

class ConversionsTest : public QObject {
    Q_OBJECT
private slots:
    void parseNumberReadsTheLeadingNumber_data();
    void parseNumberReadsTheLeadingNumber();
    void parsedLengthStaysInsideTheText_data();
    void parsedLengthStaysInsideTheText();
    void toDoubleStrictWantsOneWholeNumber_data();
    void toDoubleStrictWantsOneWholeNumber();
    void roundToInt16GoesHalfToEven_data();
    void roundToInt16GoesHalfToEven();
    void floorToInt16_data();
    void floorToInt16();
    void intToTextHasNoPadding();
    void formatPattern_data();
    void formatPattern();
    void saturatingArithmeticStopsAtTheLimits();
    void longFractionUnderflowsToZero();
};

void ConversionsTest::parseNumberReadsTheLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    const struct { const char16_t* text; double value; } cases[] = {
        {u"12\r\n", 12}, {u"", 0}, {u"1 2", 12}, {u" \t\n7", 7}, {u"-5", -5}, {u"+5", 5},
        {u"3.5", 3.5}, {u".5", 0.5}, {u"5.", 5}, {u"1e2", 100}, {u"1E+2", 100}, {u"2e-1", 0.2},
        {u"1e", 1}, {u"12ab", 12}, {u"ab", 0}, {u"9E99", 9e99}, {u"1e400", kInf},
        {u"-1e400", -kInf}, {u"1e-400", 0}, {u"\r12", 0}, {u"\u0663", 0}, {u"    ", 0},
        {u"--5", 0}, {u"-", 0}, {u".", 0}, {u"1 e 2", 100}, {u"- 5", -5}, {u"007", 7},
        {u"1e0005", 1e5}, {u"12\t\n", 12}, {u"1\u00A02", 1}, {u"\uFF11", 0},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        QTest::newRow(qPrintable(text.toUtf8().toPercentEncoding())) << text << c.value;
    }
}

void ConversionsTest::parseNumberReadsTheLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double value = parseNumber(text);
    if (std::isinf(expected))
        QCOMPARE(value, expected);
    else
        QVERIFY2(std::abs(value - expected) <= 1e-12 * std::max(1.0, std::abs(expected)),
                 qPrintable(QString::number(value, 'g', 17)));
}

void ConversionsTest::parsedLengthStaysInsideTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("expected");
    const struct { const char16_t* text; qsizetype length; } cases[] = {
        {u"12", 2}, {u" 12 ", 4}, {u"1e3", 3}, {u"12\r\n", 2}, {u"", 0}, {u"ab", 0}, {u"-", 0},
        {u".", 0}, {u"5.", 2}, {u".5", 2}, {u"1e", 1}, {u"1e+", 1}, {u"12ab", 2}, {u"\r12", 0},
        {u"    ", 0}, {u"--5", 0}, {u"-5x", 2}, {u" \t\n7", 4}, {u"1 2", 3}, {u"9E99", 4},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        QTest::newRow(qPrintable(text.toUtf8().toPercentEncoding())) << text << c.length;
    }
}

void ConversionsTest::parsedLengthStaysInsideTheText()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, expected);
    const qsizetype length = parsedLength(text);
    QCOMPARE(length, expected);
    QVERIFY(length >= 0 && length <= text.size());
    // What the parse consumed must read the same on its own.
    QCOMPARE(parseNumber(QStringView(text).first(length)), parseNumber(text));
}

void ConversionsTest::toDoubleStrictWantsOneWholeNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");
    const struct { const char16_t* text; bool accepted; double value; } cases[] = {
        {u"12", true, 12}, {u" 12 ", true, 12}, {u"1e3", true, 1000}, {u"-7", true, -7},
        {u"5.", true, 5}, {u".5", true, 0.5}, {u"1 2", true, 12}, {u"12\n", true, 12},
        {u"", false, 0}, {u"12a", false, 0}, {u"12\r\n", false, 0}, {u"-", false, 0},
        {u".", false, 0}, {u"   ", false, 0}, {u"1e", false, 0}, {u"\u0663", false, 0},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        QTest::newRow(qPrintable(text.toUtf8().toPercentEncoding())) << text << c.accepted << c.value;
    }
}

void ConversionsTest::toDoubleStrictWantsOneWholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    const std::optional<double> strict = toDoubleStrict(text);
    QCOMPARE(strict.has_value(), accepted);
    // Accepted exactly when the forgiving parse reads the whole text.
    QCOMPARE(accepted, parsedLength(text) == text.size() && parsedLength(text) > 0);
    if (accepted) {
        QCOMPARE(*strict, value);
        QCOMPARE(*strict, parseNumber(text));
    }
}

void ConversionsTest::roundToInt16GoesHalfToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("expected");
    const struct { double value; bool fits; int expected; } cases[] = {
        {0.5, true, 0}, {1.5, true, 2}, {2.5, true, 2}, {-0.5, true, 0}, {-1.5, true, -2},
        {-2.5, true, -2}, {0.49, true, 0}, {0.51, true, 1}, {70, true, 70}, {-0.0, true, 0},
        {32767.4, true, 32767}, {32766.5, true, 32766}, {32767.5, false, 0}, {32768, false, 0},
        {-32768.5, true, -32768}, {-32768.6, false, 0}, {-32769, false, 0}, {9e99, false, 0},
        {kNaN, false, 0}, {kInf, false, 0}, {-kInf, false, 0},
    };
    for (const auto& c : cases)
        QTest::newRow(qPrintable(QString::number(c.value, 'g', 17))) << c.value << c.fits << c.expected;
}

void ConversionsTest::roundToInt16GoesHalfToEven()
{
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(int, expected);
    const auto rounded = roundToInt16(value);
    QCOMPARE(rounded.has_value(), fits);
    if (fits)
        QCOMPARE(int(*rounded), expected);
}

void ConversionsTest::floorToInt16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("expected");
    const struct { double value; bool fits; int expected; } cases[] = {
        {0.9, true, 0}, {-0.5, true, -1}, {2.999, true, 2}, {-3, true, -3}, {32767.99, true, 32767},
        {32768, false, 0}, {-32768, true, -32768}, {-32768.01, false, 0}, {kNaN, false, 0},
        {kInf, false, 0}, {-kInf, false, 0},
    };
    for (const auto& c : cases)
        QTest::newRow(qPrintable(QString::number(c.value, 'g', 17))) << c.value << c.fits << c.expected;
}

void ConversionsTest::floorToInt16()
{
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(int, expected);
    const auto floored = numerella::floorToInt16(value);
    QCOMPARE(floored.has_value(), fits);
    if (fits)
        QCOMPARE(int(*floored), expected);
}

void ConversionsTest::intToTextHasNoPadding()
{
    QCOMPARE(intToText(0), QStringLiteral("0"));
    QCOMPARE(intToText(70), QStringLiteral("70"));
    QCOMPARE(intToText(-5), QStringLiteral("-5"));
    QCOMPARE(intToText(-32768), QStringLiteral("-32768"));
    QCOMPARE(intToText(std::numeric_limits<long long>::min()), QStringLiteral("-9223372036854775808"));
}

void ConversionsTest::formatPattern_data()
{
    QTest::addColumn<qlonglong>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    const struct { long long value; const char16_t* pattern; const char16_t* expected; } cases[] = {
        {5, u"00", u"05"}, {0, u"00", u"00"}, {59, u"00", u"59"}, {123, u"00", u"123"},
        {0, u"#0", u"0"}, {10, u"#0", u"10"}, {9, u"#0", u"9"}, {40, u"####0", u"40"},
        {0, u"####0", u"0"}, {90, u"####0", u"90"}, {123456, u"####0", u"123456"},
        {0, u"###0", u"0"}, {7, u"###0", u"7"}, {900, u"###0", u"900"}, {-5, u"00", u"-05"},
        {-70, u"####0", u"-70"},
    };
    for (const auto& c : cases) {
        const QString pattern = QString::fromUtf16(c.pattern);
        QTest::newRow(qPrintable(QString::number(c.value) + u' ' + pattern))
            << qlonglong(c.value) << pattern << QString::fromUtf16(c.expected);
    }
}

void ConversionsTest::formatPattern()
{
    QFETCH(qlonglong, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(numerella::formatPattern(value, pattern), expected);
}

void ConversionsTest::saturatingArithmeticStopsAtTheLimits()
{
    constexpr std::int16_t kMax = std::numeric_limits<std::int16_t>::max();
    constexpr std::int16_t kMin = std::numeric_limits<std::int16_t>::min();
    QCOMPARE(saturatingIncrement(0), std::int16_t(1));
    QCOMPARE(saturatingIncrement(kMax - 1), kMax);
    QCOMPARE(saturatingIncrement(kMax), kMax);
    QCOMPARE(saturatingIncrement(-1), std::int16_t(0));
    QCOMPARE(saturatingSum(kMax, 1), kMax);
    QCOMPARE(saturatingSum(kMax, kMax), kMax);
    QCOMPARE(saturatingSum(kMin, -1), kMin);
    QCOMPARE(saturatingSum(kMin, kMin), kMin);
    QCOMPARE(saturatingSum(kMax, kMin), std::int16_t(-1));
    QCOMPARE(saturatingSum(30000, 2767), kMax);
    QCOMPARE(saturatingSum(30000, 2768), kMax);
    QCOMPARE(saturatingSum(12, -20), std::int16_t(-8));
}

// A fraction with hundreds of zeros (a corrupted record file) is too small
// for a double and must read as 0, as "1e-400" does; today it reads as
// infinity, which would make such a record unbeatable. The expected failure
// goes once the parse is fixed.
void ConversionsTest::longFractionUnderflowsToZero()
{
    const QString zeros(400, u'0');
    QCOMPARE(parseNumber(u"1e-400"), 0.0);
    QCOMPARE(parseNumber(QStringLiteral("0.") + zeros + u'1'), 0.0);
}

QTEST_APPLESS_MAIN(ConversionsTest)
#include "test_conversions.moc"
