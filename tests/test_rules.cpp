// The quiz rules without a window: which factor a question draws, and how a typed answer is read.
#include "platform/randomgenerator.h"
#include "quiz/answer.h"
#include "quiz/question.h"

#include <QtTest>

#include <cmath>

using namespace numerella;

class RulesTest : public QObject {
    Q_OBJECT
private slots:
    // A drawn 0 becomes the factor of the range holding d = floor(100 * draw), both edges of each range checked;
    // other factors are kept. With the game's generator each factor comes up its promised share of questions, and
    // the same first question on every start.
    void drawnFactors()
    {
        const QList<QList<int>> edges{{90, 99}, {0, 10}, {11, 20}, {21, 30}, {31, 40}, {41, 50, 71, 77}, {51, 60},
                                      {61, 70}, {78, 83}, {84, 89}};  // first and last d of each range, by factor
        const double shares[] = {1.0, 11.1, 11.0, 11.0, 11.0, 11.7, 11.0, 11.0, 10.6, 10.6};  // percent
        RandomGenerator generator;
        int count[10] = {};
        for (int i = 0; i < 500000; ++i) {
            const float factorDraw = generator.next();
            ++count[questionFromDraws(factorDraw, generator.next()).factor];
        }
        for (int factor = 0; factor < 10; ++factor) {
            for (int d : edges[factor])
                QVERIFY2(questionFromDraws(0.05f, (d + 0.5f) / 100).factor == factor,
                         qPrintable(QStringLiteral("d %1 does not give %2").arg(d).arg(factor)));
            QVERIFY2(factor == 0 || questionFromDraws((factor + 0.5f) / 10, 0.5f).product == 10 * factor,
                     qPrintable(QStringLiteral("10 X %1 is not %1 tens").arg(factor)));
            QVERIFY2(std::abs(count[factor] / 5000.0 - shares[factor]) < 0.2,
                     qPrintable(QStringLiteral("%1 comes up in %2 %").arg(factor).arg(count[factor] / 5000.0)));
        }
        QCOMPARE(RandomGenerator().next(), RandomGenerator().next());
    }

    // An answer is right exactly when its leading number, rounded half to even, is the product.
    void answers()
    {
        for (const auto& [text, rightFor] : QList<std::pair<QString, int>>{
                 {"070", 70}, {"", 0}, {"50\r\n", 50}, {"20ab", 20}, {"ab", 0}, {"9E99", -1}, {"1e1", 10}, {"69.5", 70},
                 {"70.5", 70}}) {
            for (int product = 0; product <= 90; product += 10)
                QVERIFY2(isRightAnswer(text, std::int16_t(product)) == (product == rightFor),
                         qPrintable(QStringLiteral("'%1' for %2").arg(text.trimmed()).arg(product)));
        }
    }
};

QTEST_APPLESS_MAIN(RulesTest)
#include "test_rules.moc"
