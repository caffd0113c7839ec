// The rules the game runs, without a window: drawing a question and the
// generator behind it, reading an answer, the answer box's key filter, and
// the numbers on the captions.
#include "platform/conversions.h"
#include "platform/randomgenerator.h"
#include "quiz/answer.h"
#include "quiz/question.h"

#include <QtTest>

#include <cmath>

using namespace numerella;

class RulesTest : public QObject {
    Q_OBJECT
private slots:
    // A drawn 0 is replaced by the table (both edges of every range of
    // d = floor(100 * draw)); any other drawn factor is kept.
    void drawnZeroFollowsTheTable()
    {
        const int table[][2] = {{0, 1},  {10, 1}, {11, 2}, {20, 2}, {21, 3}, {30, 3}, {31, 4}, {40, 4},
                                {41, 5}, {50, 5}, {51, 6}, {60, 6}, {61, 7}, {70, 7}, {71, 5}, {77, 5},
                                {78, 8}, {83, 8}, {84, 9}, {89, 9}, {90, 0}, {99, 0}};
        for (const auto& [d, factor] : table) {
            const float draw = (d + 0.5f) / 100.0f;
            const QByteArray at = "d " + QByteArray::number(d) + ", drawn ";
            QVERIFY2(questionFromDraws(0.05f, draw).factor == factor, at + '0');
            for (int kept = 1; kept <= 9; ++kept)
                QVERIFY2(questionFromDraws((kept + 0.5f) / 10.0f, draw).factor == kept, at + QByteArray::number(kept));
        }
        QCOMPARE(int(questionFromDraws(0.0f, 0.71f).factor), 5);  // 0.71f * 100 is 71 in single precision
        QCOMPARE(int(questionFromDraws(0.0f, 0.71f).product), 50);
        QCOMPARE(int(tintFromDraw(std::nextafter(1.0f, 0.0f))), 14);
    }

    // The generator starts alike on every run, stays below 1, and the
    // questions drawn from it give each factor its promised share.
    void generatorShares()
    {
        RandomGenerator generator, again;
        QCOMPARE(generator.next(), again.next());
        const double promised[] = {1.0, 11.1, 11.0, 11.0, 11.0, 11.7, 11.0, 11.0, 10.6, 10.6};  // percent
        const int questions = 500000;
        QList<int> counts(10);
        for (int i = 0; i < questions; ++i) {
            const float factorDraw = generator.next(), replacementDraw = generator.next();
            QVERIFY2(factorDraw < 1.0f && replacementDraw < 1.0f, "a value reached 1");
            ++counts[questionFromDraws(factorDraw, replacementDraw).factor];
        }
        for (int factor = 0; factor < 10; ++factor) {
            const double share = 100.0 * counts[factor] / questions;
            QVERIFY2(std::abs(share - promised[factor]) < 0.2, qPrintable(QStringLiteral("factor %1 came up %2 %")
                                                                             .arg(factor).arg(share)));
        }
    }

    // An answer is right exactly when its leading number, rounded half to
    // even, is the product; one that does not fit 16 bits never is.
    void answers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rightFor");  // -1: for no product
        const struct { const char16_t* text; int rightFor; } cases[] = {
            {u"070", 70}, {u"", 0}, {u"9E99", -1}, {u"1e4", 10000}, {u" 7", 7}, {u"12ab", 12}, {u"ab", 0},
            {u"\u0663", 0}, {u"69.5", 70}, {u"70.5", 70}, {u"71.5", 72}, {u"-0", 0}, {u"1e1", 10},
        };
        for (const auto& c : cases)
            QTest::newRow(qPrintable(QString::fromUtf16(c.text))) << QString::fromUtf16(c.text) << c.rightFor;
    }
    void answers()
    {
        QFETCH(QString, text);
        QFETCH(int, rightFor);
        for (int product = 0; product <= 100; product += 10)
            QCOMPARE(isRightAnswer(text, std::int16_t(product)), product == rightFor);
        QCOMPARE(isRightAnswer(text, std::int16_t(rightFor)), rightFor >= 0);
    }

    // Digits typed plainly, shifted, on the keypad or with AltGr get in, and
    // so do Backspace, Delete, Tab and keys that type nothing; Enter and
    // Ctrl+M judge; Ctrl+H erases; any other text, Ctrl shortcut (by its
    // letter or its control code), Alt or Meta key stays out.
    void keyFilter()
    {
        using A = KeyAction;
        const Qt::KeyboardModifiers none, ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
        const Qt::KeyboardModifiers altGr = ctrl | alt, shift = Qt::ShiftModifier, pad = Qt::KeypadModifier;
        const struct { int key; Qt::KeyboardModifiers held; const char16_t* text; A action; } keys[] = {
            {Qt::Key_5, none, u"5", A::Pass}, {Qt::Key_7, pad, u"7", A::Pass}, {Qt::Key_5, shift, u"5", A::Pass},
            {Qt::Key_E, altGr, u"5", A::Pass}, {Qt::Key_Backspace, none, u"\b", A::Pass},
            {Qt::Key_Backspace, alt, u"\b", A::Pass}, {Qt::Key_Delete, none, u"\x7f", A::Pass},
            {Qt::Key_Delete, ctrl, u"\x7f", A::Pass}, {Qt::Key_Tab, none, u"\t", A::Pass},
            {Qt::Key_Left, ctrl, u"", A::Pass}, {Qt::Key_Insert, shift, u"", A::Pass},
            {Qt::Key_Return, none, u"\r", A::Judge}, {Qt::Key_Enter, pad, u"\r", A::Judge},
            {Qt::Key_M, ctrl, u"\r", A::Judge}, {Qt::Key_M, ctrl | shift, u"m", A::Judge},
            {Qt::Key_H, ctrl, u"\b", A::Erase}, {Qt::Key_H, ctrl, u"h", A::Erase}, {Qt::Key_A, none, u"a", A::Drop},
            {Qt::Key_Space, none, u" ", A::Drop}, {Qt::Key_Minus, none, u"-", A::Drop},
            {Qt::Key_Escape, none, u"\x1b", A::Drop}, {Qt::Key_V, ctrl, u"\x16", A::Drop},
            {Qt::Key_V, ctrl, u"v", A::Drop}, {Qt::Key_Backspace, ctrl, u"\b", A::Drop},
            {Qt::Key_Return, ctrl, u"\r", A::Drop}, {Qt::Key_5, ctrl, u"5", A::Drop}, {Qt::Key_5, alt, u"5", A::Drop},
            {Qt::Key_5, Qt::MetaModifier, u"5", A::Drop}, {Qt::Key_E, altGr, u"\u20ac", A::Drop},
            {Qt::Key_unknown, none, u"\u0663", A::Drop}, {Qt::Key_unknown, none, u"\uff15", A::Drop},
            {Qt::Key_unknown, alt, u"\U0001F600", A::Drop}, {Qt::Key_unknown, none, u"\u200d", A::Drop},
            {Qt::Key_unknown, none, u"\x03", A::Drop}, {Qt::Key_unknown, none, u"5a", A::Drop},
        };
        for (const auto& k : keys) {
            const A action = answerKeyAction(k.key, k.held, k.text);
            QVERIFY2(action == k.action, qPrintable(QStringLiteral("key %1 held %2 text %3 gave %4")
                                                      .arg(k.key, 0, 16).arg(int(k.held), 0, 16)
                                                      .arg(QString::fromUtf16(k.text).toUtf8().toHex(), int(action))));
        }
    }

    // Captions read back the forgiving way or strictly; patterns pad with zeros.
    void captionNumbers()
    {
        const double inf = std::numeric_limits<double>::infinity();
        const struct { const char16_t* text; double read; std::optional<double> strict; } texts[] = {
            {u"12\r\n", 12, {}}, {u"", 0, {}}, {u" 1 2 . 5 e 1 ", 125, 125}, {u"5.", 5, 5}, {u".", 0, {}},
            {u"-7e", -7, {}}, {u"+.5", 0.5, 0.5}, {u"1e400", inf, inf}, {u"-1e400", -inf, -inf}, {u"1e-400", 0, 0},
            {u"3x", 3, {}}, {u"ab", 0, {}},
        };
        for (const auto& t : texts) {
            const QString text = QString::fromUtf16(t.text);
            QVERIFY2(parseNumber(text) == t.read, qPrintable("read " + text.toUtf8().toHex()));
            QVERIFY2(toDoubleStrict(text) == t.strict, qPrintable("strict " + text.toUtf8().toHex()));
        }
        QCOMPARE(formatPattern(5, u"00"), QStringLiteral("05"));
        QCOMPARE(formatPattern(12, u"00"), QStringLiteral("12"));
        QCOMPARE(formatPattern(0, u"#0"), QStringLiteral("0"));
        QCOMPARE(formatPattern(40, u"####0"), QStringLiteral("40"));
        QCOMPARE(roundToInt16(-32768.5), std::optional<std::int16_t>(-32768));  // half to even
        QCOMPARE(roundToInt16(32767.5), std::optional<std::int16_t>());
        QCOMPARE(roundToInt16(std::nan("")), std::optional<std::int16_t>());
    }
};

QTEST_APPLESS_MAIN(RulesTest)
#include "test_rules.moc"
