// Drawing a question: the ranges of every draw, the table that replaces a
// drawn 0, how often each factor comes up, and the generator behind it.
#include "platform/randomgenerator.h"
#include "quiz/question.h"

#include <QtTest>

#include <algorithm>
#include <array>
#include <cmath>

using namespace numerella;

namespace {

// What a drawn 0 becomes for each value d of the replacement draw.
int expectedReplacement(int d)
{
    if (d <= 10) return 1;
    if (d <= 20) return 2;
    if (d <= 30) return 3;
    if (d <= 40) return 4;
    if (d <= 50) return 5;
    if (d <= 60) return 6;
    if (d <= 70) return 7;
    if (d <= 77) return 5;
    if (d <= 83) return 8;
    if (d <= 89) return 9;
    return 0;
}

// The share of each factor in per mille, from the table: a non-zero draw
// (9 in 10) keeps its factor, a drawn 0 (1 in 10) is spread by the table.
constexpr std::array<double, 10> kExpectedPerMille = {10, 111, 110, 110, 110, 117, 110, 110, 106, 106};

} // namespace

class QuestionTest : public QObject {
    Q_OBJECT
private slots:
    void drawnZeroFollowsTheTable_data();
    void drawnZeroFollowsTheTable();
    void drawnZeroOverEveryReplacement();
    void nonZeroFactorIsKept();
    void drawsStayInRange();
    void productIsTenTimesTheFactor();
    void exhaustiveSweepGivesTheExactShares();
    void generatorDrawsGiveTheShares();
    void generatorStartsTheSameAndReseeds();
};

void QuestionTest::drawnZeroFollowsTheTable_data()
{
    QTest::addColumn<int>("d");
    QTest::addColumn<int>("factor");
    const int table[][2] = {{0, 1},  {10, 1}, {11, 2}, {20, 2}, {21, 3}, {70, 7}, {71, 5},
                            {77, 5}, {78, 8}, {83, 8}, {84, 9}, {89, 9}, {90, 0}, {99, 0}};
    for (const auto& row : table)
        QTest::newRow(qPrintable(QStringLiteral("d=%1").arg(row[0]))) << row[0] << row[1];
}

void QuestionTest::drawnZeroFollowsTheTable()
{
    QFETCH(int, d);
    QFETCH(int, factor);
    QCOMPARE(int(replaceDrawnZero(0, std::int16_t(d))), factor);
}

void QuestionTest::drawnZeroOverEveryReplacement()
{
    for (int d = 0; d < 100; ++d)
        QCOMPARE(int(replaceDrawnZero(0, std::int16_t(d))), expectedReplacement(d));
}

void QuestionTest::nonZeroFactorIsKept()
{
    for (std::int16_t factor = 1; factor <= 9; ++factor) {
        for (std::int16_t d = 0; d < 100; ++d)
            QCOMPARE(replaceDrawnZero(factor, d), factor);
    }
}

void QuestionTest::drawsStayInRange()
{
    const float justBelowOne = std::nextafter(1.0f, 0.0f);
    const struct { std::int16_t (*draw)(float); int levels; } draws[] = {
        {tintFromDraw, 15}, {factorFromDraw, 10}, {replacementFromDraw, 100}};
    for (const auto& d : draws) {
        QCOMPARE(int(d.draw(0.0f)), 0);
        QCOMPARE(int(d.draw(justBelowOne)), d.levels - 1);
        // Every level is reached exactly where floor(r * levels) says.
        for (int k = 0; k < d.levels; ++k) {
            const float r = (k + 0.5f) / float(d.levels);
            QCOMPARE(int(d.draw(r)), k);
        }
    }
    // Every float the generator can give (multiples of 2^-24) stays in range.
    for (std::uint32_t m = 0; m < (1u << 24); m += 4099) {
        const float r = float(m) / 16777216.0f;
        QVERIFY(tintFromDraw(r) >= 0 && tintFromDraw(r) <= 14);
        QVERIFY(factorFromDraw(r) >= 0 && factorFromDraw(r) <= 9);
        QVERIFY(replacementFromDraw(r) >= 0 && replacementFromDraw(r) <= 99);
    }
}

void QuestionTest::productIsTenTimesTheFactor()
{
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 100; ++j) {
            const Question q = questionFromDraws((i + 0.5f) / 10.0f, (j + 0.5f) / 100.0f);
            QCOMPARE(int(q.product), 10 * q.factor);
            QCOMPARE(int(q.factor), i == 0 ? expectedReplacement(j) : i);
        }
    }
}

// Evenly spaced draws cover every (factor, replacement) pair equally often,
// so the shares come out exact.
void QuestionTest::exhaustiveSweepGivesTheExactShares()
{
    constexpr int kSteps = 1000;
    std::array<int, 10> counts{};
    for (int i = 0; i < kSteps; ++i) {
        for (int j = 0; j < kSteps; ++j)
            ++counts[questionFromDraws((i + 0.5f) / kSteps, (j + 0.5f) / kSteps).factor];
    }
    for (int f = 0; f < 10; ++f)
        QCOMPARE(counts[f] / (kSteps * kSteps / 1000.0), kExpectedPerMille[f]);
}

// The draws as the game makes them, from the generator with a fixed seed.
// The sequence is deterministic, so the tolerance (many standard deviations
// at this count) is stable, and a table mistake of one d value (1 per mille)
// still shows.
void QuestionTest::generatorDrawsGiveTheShares()
{
    RandomGenerator generator;
    generator.reseed(20240611);
    constexpr int kQuestions = 4'000'000;  // two draws each
    std::array<int, 10> counts{};
    for (int i = 0; i < kQuestions; ++i) {
        const float factorDraw = generator.next();
        const float replacementDraw = generator.next();
        ++counts[questionFromDraws(factorDraw, replacementDraw).factor];
    }
    for (int f = 0; f < 10; ++f) {
        const double perMille = counts[f] * 1000.0 / kQuestions;
        QVERIFY2(std::abs(perMille - kExpectedPerMille[f]) < 0.6,
                 qPrintable(QStringLiteral("factor %1: %2 per mille").arg(f).arg(perMille)));
    }
}

void QuestionTest::generatorStartsTheSameAndReseeds()
{
    RandomGenerator a;
    RandomGenerator b;
    std::array<float, 16> first{};
    for (float& value : first) {
        value = a.next();
        QCOMPARE(b.next(), value);
        QVERIFY(value >= 0.0f && value < 1.0f);
    }
    // Not stuck on one value.
    QVERIFY(std::any_of(first.begin() + 1, first.end(), [&](float v) { return v != first[0]; }));

    RandomGenerator reseeded;
    reseeded.reseed(12345);
    int differing = 0;
    for (float value : first)
        differing += reseeded.next() != value;
    QVERIFY(differing >= 15);

    // Reseeding with the start state starts the sequence over.
    a.reseed(RandomGenerator::kStartState);
    for (float value : first)
        QCOMPARE(a.next(), value);

    // Long run: always in [0, 1).
    for (int i = 0; i < 1'000'000; ++i) {
        const float value = b.next();
        QVERIFY(value >= 0.0f && value < 1.0f);
    }
}

QTEST_APPLESS_MAIN(QuestionTest)
#include "test_question.moc"
