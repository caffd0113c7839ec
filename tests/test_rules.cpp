// The rules the game runs, without a window: drawing a question, the share
// each factor gets, and reading an answer.
#include "quiz/answer.h"
#include "quiz/question.h"

#include <QtTest>

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
            QVERIFY2(questionFromDraws(0.05f, draw).factor == factor, qPrintable(QString::number(d)));
            for (int kept = 1; kept <= 9; ++kept)
                QCOMPARE(int(questionFromDraws((kept + 0.5f) / 10.0f, draw).factor), kept);
        }
        QCOMPARE(int(questionFromDraws(0.0f, 0.71f).factor), 5);  // 0.71f * 100 is 71 in single precision
        QCOMPARE(int(questionFromDraws(0.0f, 0.71f).product), 50);
        QCOMPARE(int(tintFromDraw(std::nextafter(1.0f, 0.0f))), 14);
    }

    // A million evenly spread draws give each factor its share:
    // 9 in 10 keep their factor, a drawn 0 is spread by the table.
    void factorShares()
    {
        QList<int> counts(10);
        for (int i = 0; i < 1000; ++i)
            for (int j = 0; j < 1000; ++j)
                ++counts[questionFromDraws((i + 0.5f) / 1000, (j + 0.5f) / 1000).factor];
        QCOMPARE(counts, (QList<int>{10000, 111000, 110000, 110000, 110000, 117000, 110000, 110000, 106000, 106000}));
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
};

QTEST_APPLESS_MAIN(RulesTest)
#include "test_rules.moc"
