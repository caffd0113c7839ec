// The conversions behind every caption the game reads or writes and the code
// page of the record files.
#include "platform/conversions.h"
#include "platform/windows1252.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace numerella;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kNone = 99999;  // "no value" in the 16-bit tables
int orNone(std::optional<std::int16_t> v) { return v ? int(*v) : kNone; }
} // namespace

class ConversionsTest : public QObject {
    Q_OBJECT
private slots:
    // Value and consumed length of the forgiving parse; the strict parse must
    // accept exactly the texts that are read whole (and are not empty).
    void forgivingAndStrictParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<qsizetype>("length");
        const struct { const char16_t* text; double value; qsizetype length; } cases[] = {
            {u"12\r\n", 12, 2}, {u"", 0, 0}, {u"1 2", 12, 3}, {u" \t\n7", 7, 4}, {u"12\t\n", 12, 4},
            {u" 12 ", 12, 4}, {u"\r12", 0, 0}, {u"    ", 0, 0}, {u"-5", -5, 2}, {u"+5", 5, 2},
            {u"- 5", -5, 3}, {u"--5", 0, 0}, {u"-", 0, 0}, {u".", 0, 0}, {u"3.5", 3.5, 3},
            {u".5", 0.5, 2}, {u"5.", 5, 2}, {u"1e3", 1000, 3}, {u"1E+2", 100, 4}, {u"2e-1", 0.2, 4},
            {u"1 e 2", 100, 5}, {u"1e0000002", 100, 9}, {u"1e", 1, 1}, {u"1e+", 1, 1}, {u"5. e1", 50, 5},
            {u"12ab", 12, 2}, {u"12a", 12, 2}, {u"ab", 0, 0}, {u"9E99", 9e99, 4}, {u"1e400", kInf, 5},
            {u"-1e400", -kInf, 6}, {u"1e-400", 0, 6}, {u"\u0663", 0, 0}, {u"\uFF11", 0, 0},
            {u"1\u00A02", 1, 1},
        };
        for (const auto& c : cases) {
            const QString text = QString::fromUtf16(c.text);
            QTest::newRow(qPrintable(text.toUtf8().toPercentEncoding())) << text << c.value << c.length;
        }
        const QString tiny = QStringLiteral("0.") + QString(400, u'0') + u'1';
        QTest::newRow("0.(400 zeros)1") << tiny << 0.0 << tiny.size();
    }
    void forgivingAndStrictParse()
    {
        QFETCH(QString, text); QFETCH(double, value); QFETCH(qsizetype, length);
        const double parsed = parseNumber(text);
        QVERIFY2(parsed == value, qPrintable(QString::number(parsed, 'g', 17)));
        const std::optional<double> strict = toDoubleStrict(text);
        QCOMPARE(strict.has_value(), length == text.size() && length > 0);
        if (strict)
            QVERIFY(*strict == value);
    }

    // roundToInt16 goes half to even and gives no value outside 16 bits.
    void toInt16_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("rounded");
        const struct { double value; int rounded; } cases[] = {
            {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
            {0.51, 1}, {2.999, 3}, {70, 70}, {32767.4, 32767}, {32766.5, 32766},
            {32767.5, kNone}, {32768, kNone}, {-32768.5, -32768},
            {-32768.6, kNone}, {-32768, -32768}, {9e99, kNone},
            {kNaN, kNone}, {kInf, kNone}, {-kInf, kNone},
        };
        for (const auto& c : cases)
            QTest::newRow(qPrintable(QString::number(c.value, 'g', 17))) << c.value << c.rounded;
    }
    void toInt16()
    {
        QFETCH(double, value); QFETCH(int, rounded);
        QCOMPARE(orNone(roundToInt16(value)), rounded);
    }

    // A null pattern means intToText.
    void numberTexts_data()
    {
        QTest::addColumn<qlonglong>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const struct { long long value; const char16_t* pattern; const char16_t* expected; } cases[] = {
            {5, u"00", u"05"}, {0, u"00", u"00"}, {123, u"00", u"123"}, {-5, u"00", u"-05"},
            {0, u"#0", u"0"}, {10, u"#0", u"10"}, {40, u"####0", u"40"}, {0, u"####0", u"0"},
            {123456, u"####0", u"123456"}, {0, u"###0", u"0"}, {900, u"###0", u"900"},
            {0, nullptr, u"0"}, {70, nullptr, u"70"}, {-5, nullptr, u"-5"},
            {std::numeric_limits<long long>::min(), nullptr, u"-9223372036854775808"},
        };
        for (const auto& c : cases) {
            const QString pattern = c.pattern ? QString::fromUtf16(c.pattern) : QString();
            QTest::newRow(qPrintable(QString::number(c.value) + u' ' + pattern))
                << qlonglong(c.value) << pattern << QString::fromUtf16(c.expected);
        }
    }
    void numberTexts()
    {
        QFETCH(qlonglong, value); QFETCH(QString, pattern); QFETCH(QString, expected);
        QCOMPARE(pattern.isNull() ? intToText(value) : formatPattern(value, pattern), expected);
    }
    void saturatingArithmeticStopsAtTheLimits()
    {
        constexpr std::int16_t kMax = std::numeric_limits<std::int16_t>::max();
        constexpr std::int16_t kMin = std::numeric_limits<std::int16_t>::min();
        QCOMPARE(saturatingIncrement(-1), std::int16_t(0));
        QCOMPARE(saturatingIncrement(kMax - 1), kMax);
        QCOMPARE(saturatingIncrement(kMax), kMax);
        const struct { std::int16_t a, b, sum; } sums[] = {
            {30000, 2767, kMax}, {kMax, kMax, kMax}, {kMin, -1, kMin}, {kMin, kMin, kMin},
            {kMax, kMin, -1}, {12, -20, -8},
        };
        for (const auto& s : sums)
            QCOMPARE(saturatingSum(s.a, s.b), s.sum);
    }

    // Bytes 0x80..0x9F by the code page (the five undefined ones read as the
    // control character of the same value); every other byte is Latin-1.
    void everyByteRoundTripsThroughTheCodePage()
    {
        const QString high = QString::fromUtf16(u"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ");
        QCOMPARE(high.size(), 32);
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = fromWindows1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(toWindows1252(text).toHex(' '), all.toHex(' '));
        for (int b = 0; b < 256; ++b) {
            const QChar expected = b >= 0x80 && b < 0xA0 ? high[b - 0x80] : QChar(b);
            QVERIFY2(text[b] == expected, qPrintable(QString::number(b, 16)));
            QCOMPARE(toWindows1252(QString(expected)), all.mid(b, 1));
        }
    }
    void encodeToOneBytePerCharacter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("italian") << QStringLiteral("àèéìòùÀÈÉÌÒÙ")
                                 << QByteArray("\xE0\xE8\xE9\xEC\xF2\xF9\xC0\xC8\xC9\xCC\xD2\xD9");
        QTest::newRow("greek") << QStringLiteral("aΩb") << QByteArray("a?b");
        QTest::newRow("cjk") << QStringLiteral("名前") << QByteArray("??");
        QTest::newRow("emoji") << QStringLiteral("x😀y") << QByteArray("x?y");
        QTest::newRow("two emoji") << QStringLiteral("😀😀") << QByteArray("??");
        QTest::newRow("lone high surrogate") << (u'a' + QString(QChar(0xD83D)) + u'b') << QByteArray("a?b");
        QTest::newRow("lone low surrogate") << (u'a' + QString(QChar(0xDE00)) + u'b') << QByteArray("a?b");
        QTest::newRow("high surrogate at end") << (u'a' + QString(QChar(0xD83D))) << QByteArray("a?");
        QTest::newRow("reversed pair") << (QString(QChar(0xDE00)) + QChar(0xD83D)) << QByteArray("??");
        QTest::newRow("C1 control of a defined byte") << QString(QChar(0x80)) << QByteArray("?");
        QTest::newRow("replacement character") << QString(QChar(0xFFFD)) << QByteArray("?");
    }
    void encodeToOneBytePerCharacter()
    {
        QFETCH(QString, text); QFETCH(QByteArray, expected);
        QCOMPARE(toWindows1252(text), expected);
    }
};

QTEST_APPLESS_MAIN(ConversionsTest)
#include "test_conversions.moc"
