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
    // with the game's generator each factor then comes up its promised share of questions.
    void drawnFactors_data()
    {
        QTest::addColumn<int>("factor");
        QTest::addColumn<QList<int>>("edges");  // first and last d of each range turned into the factor
        QTest::addColumn<double>("share");      // percent of all questions
        const struct { int factor; QList<int> edges; double share; } rows[] = {
            {0, {90, 99}, 1.0}, {1, {0, 10}, 11.1}, {2, {11, 20}, 11.0}, {3, {21, 30}, 11.0}, {4, {31, 40}, 11.0},
            {5, {41, 50, 71, 77}, 11.7}, {6, {51, 60}, 11.0}, {7, {61, 70}, 11.0}, {8, {78, 83}, 10.6},
            {9, {84, 89}, 10.6}};
        for (const auto& r : rows)
            QTest::newRow(qPrintable(QString::number(r.factor))) << r.factor << r.edges << r.share;
    }
    void drawnFactors()
    {
        QFETCH(int, factor);
        QFETCH(QList<int>, edges);
        QFETCH(double, share);
        for (int d : edges)
            QVERIFY2(questionFromDraws(0.05f, (d + 0.5f) / 100).factor == factor, qPrintable(QString("d %1").arg(d)));
        if (factor > 0)
            QCOMPARE(int(questionFromDraws((factor + 0.5f) / 10, 0.5f).product), 10 * factor);  // drawn, kept
        static const QList<int> counts = [] {
            RandomGenerator generator;
            QList<int> counted(10);
            for (int i = 0; i < 500000; ++i) {
                const float factorDraw = generator.next();
                ++counted[questionFromDraws(factorDraw, generator.next()).factor];
            }
            return counted;
        }();
        QVERIFY2(std::abs(counts[factor] / 5000.0 - share) < 0.2, qPrintable(QString::number(counts[factor] / 5000.0)));
        QCOMPARE(int(questionFromDraws(0.0f, 0.71f).factor), 5);  // 0.71f * 100 is 71 in single precision
        QCOMPARE(int(tintFromDraw(std::nextafter(1.0f, 0.0f))), 14);
        QCOMPARE(RandomGenerator().next(), RandomGenerator().next());  // the same first question on every start
    }

    // An answer is right exactly when its leading number, rounded half to even, is the product.
    void answers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rightFor");  // -1: for no product
        const struct { const char* text; int rightFor; } cases[] = {
            {"070", 70}, {"", 0}, {"50\r\n", 50}, {"12ab", 12}, {"ab", 0}, {"9E99", -1}, {"1e1", 10}, {"69.5", 70},
            {"70.5", 70}};
        for (const auto& c : cases)
            QTest::newRow(*c.text ? QByteArray(c.text).replace("\r\n", " CR LF").data() : "empty") << QString(c.text)
                                                                                            << c.rightFor;
    }
    void answers()
    {
        QFETCH(QString, text);
        QFETCH(int, rightFor);
        for (int product = 0; product <= 90; product += 10) {
            const bool right = isRightAnswer(text, std::int16_t(product));
            QVERIFY2(right == (product == rightFor), qPrintable(QString("judged against %1").arg(product)));
        }
    }
};

QTEST_APPLESS_MAIN(RulesTest)
#include "test_rules.moc"
