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
    // other factors are kept. With the game's generator each factor comes up its promised share of questions.
    void drawnFactors_data()
    {
        QTest::addColumn<int>("factor");
        QTest::addColumn<QList<int>>("edges");  // first and last d of each range turned into the factor
        QTest::addColumn<double>("share");      // percent of all questions
        const QList<QList<int>> edges{{90, 99}, {0, 10}, {11, 20}, {21, 30}, {31, 40}, {41, 50, 71, 77}, {51, 60},
                                      {61, 70}, {78, 83}, {84, 89}};
        const double shares[] = {1.0, 11.1, 11.0, 11.0, 11.0, 11.7, 11.0, 11.0, 10.6, 10.6};
        for (int factor = 0; factor < 10; ++factor)
            QTest::addRow("%d", factor) << factor << edges[factor] << shares[factor];
    }
    void drawnFactors()
    {
        QFETCH(int, factor);
        QFETCH(QList<int>, edges);
        QFETCH(double, share);
        for (int d : edges)
            QVERIFY2(questionFromDraws(0.05f, (d + 0.5f) / 100).factor == factor, qPrintable(QString("d %1").arg(d)));
        if (factor > 0)
            QCOMPARE(int(questionFromDraws((factor + 0.5f) / 10, 0.5f).product), 10 * factor);
        RandomGenerator generator;
        int count = 0;
        for (int i = 0; i < 500000; ++i) {
            const float factorDraw = generator.next();
            count += questionFromDraws(factorDraw, generator.next()).factor == factor;
        }
        QVERIFY2(std::abs(count / 5000.0 - share) < 0.2, qPrintable(QString("%1 %").arg(count / 5000.0)));
        QCOMPARE(RandomGenerator().next(), RandomGenerator().next());  // the same first question on every start
    }

    // An answer is right exactly when its leading number, rounded half to even, is the product.
    void answers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("expected");  // the products it is right for
        for (const auto& [text, rightFor] : {std::pair("070", 70), {"", 0}, {"50\r\n", 50}, {"20ab", 20}, {"ab", 0},
                                             {"9E99", -1}, {"1e1", 10}, {"69.5", 70}, {"70.5", 70}})
            QTest::newRow(*text ? QByteArray(text).replace("\r\n", " CR LF").data() : "empty")
                << QString(text) << (rightFor < 0 ? QList<int>() : QList<int>{rightFor});
    }
    void answers()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, expected);
        QList<int> rightFor;
        for (int product = 0; product <= 90; product += 10)
            if (isRightAnswer(text, std::int16_t(product)))
                rightFor << product;
        QCOMPARE(rightFor, expected);
    }
};

QTEST_APPLESS_MAIN(RulesTest)
#include "test_rules.moc"
