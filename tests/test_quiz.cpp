// The quiz's pure parts: drawing a question, the generator behind it, the
// shaded background, reading an answer and the race clock's arithmetic.
#include "clock/countdown.h"
#include "platform/randomgenerator.h"
#include "quiz/answer.h"
#include "quiz/question.h"
#include "quiz/shading.h"

#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cmath>

using namespace numerella;

// The share of each factor in per mille: a non-zero draw (9 in 10) keeps its
// factor, a drawn 0 (1 in 10) is spread by the replacement table.
static constexpr std::array<double, 10> kExpectedPerMille = {10, 111, 110, 110, 110, 117, 110, 110, 106, 106};

class QuizTest : public QObject {
    Q_OBJECT
private slots:
    // Both edges of every range of the table; a drawn factor other than 0
    // is never replaced. The replacement draw is d/100 for d = 0..99.
    void drawnZeroFollowsTheTable_data()
    {
        QTest::addColumn<int>("d");
        QTest::addColumn<int>("factor");
        const int table[][2] = {{0, 1},  {10, 1}, {11, 2}, {20, 2}, {21, 3}, {30, 3}, {31, 4}, {40, 4},
                                {41, 5}, {50, 5}, {51, 6}, {60, 6}, {61, 7}, {70, 7}, {71, 5}, {77, 5},
                                {78, 8}, {83, 8}, {84, 9}, {89, 9}, {90, 0}, {99, 0}};
        for (const auto& row : table)
            QTest::addRow("d=%d", row[0]) << row[0] << row[1];
    }
    void drawnZeroFollowsTheTable()
    {
        QFETCH(int, d);
        QFETCH(int, factor);
        const float replacementDraw = (d + 0.5f) / 100.0f;
        QCOMPARE(int(questionFromDraws(0.05f, replacementDraw).factor), factor);
        for (int kept = 1; kept <= 9; ++kept)
            QCOMPARE(int(questionFromDraws((kept + 0.5f) / 10.0f, replacementDraw).factor), kept);
    }

    void drawsStayInRange()
    {
        const float justBelowOne = std::nextafter(1.0f, 0.0f);
        QCOMPARE(int(tintFromDraw(0.0f)), 0);
        QCOMPARE(int(tintFromDraw(justBelowOne)), 14);
        QCOMPARE(int(tintFromDraw(0.5f)), 7);
        QCOMPARE(int(questionFromDraws(justBelowOne, 0.0f).factor), 9);
        // Scaled in single precision: 0.71f * 100 is 71 (a 5), in double it would be 70 (a 7).
        QCOMPARE(int(questionFromDraws(0.0f, 0.71f).factor), 5);
    }

    // Evenly spaced draws give the exact shares; the seeded generator's draws
    // (deterministic, so they cannot flake) give them within 0.6 per mille.
    void factorSharesAndProduct()
    {
        constexpr int kSteps = 1000;
        std::array<int, 10> counts{};
        for (int i = 0; i < kSteps; ++i) {
            for (int j = 0; j < kSteps; ++j) {
                const Question q = questionFromDraws((i + 0.5f) / kSteps, (j + 0.5f) / kSteps);
                QCOMPARE(int(q.product), 10 * q.factor);
                ++counts[q.factor];
            }
        }
        for (int f = 0; f < 10; ++f)
            QCOMPARE(counts[f] / 1000.0, kExpectedPerMille[f]);

    }

    void generatorRepeatsAndReseeds()
    {
        RandomGenerator a, b, reseeded;
        std::array<float, 16> first{};
        for (float& value : first) {
            value = a.next();
            QCOMPARE(b.next(), value);
            QVERIFY(value >= 0.0f && value < 1.0f);
        }
        reseeded.reseed(12345);
        QVERIFY(std::count_if(first.begin(), first.end(), [&](float v) { return reseeded.next() != v; }) >= 15);
        a.reseed(RandomGenerator::kStartState);  // the start state starts the sequence over
        for (float value : first)
            QCOMPARE(a.next(), value);
    }

    // Painted into an image of each size, every row is one solid colour of
    // the tint, blue climbs from 0 to 255 and every band gets its share of rows.
    void shadingFillsTheSurface_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("tono");
        for (const QSize size : {QSize(792, 554), QSize(3840, 2160), QSize(300, 256), QSize(3, 100), QSize(1, 1)}) {
            for (const int tono : {0, 7, 14})
                QTest::addRow("%dx%d tono %d", size.width(), size.height(), tono) << size << tono;
        }
    }
    void shadingFillsTheSurface()
    {
        QFETCH(QSize, size);
        QFETCH(int, tono);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::magenta);  // nothing of this may be left
        {
            QPainter painter(&image);
            // Painted in two strips, as two exposed parts of the board would be.
            const int half = size.height() / 2;
            paintShading(painter, size, QRect(0, 0, size.width(), half), std::int16_t(tono));
            paintShading(painter, size, QRect(0, half, size.width(), size.height() - half), std::int16_t(tono));
        }
        std::array<int, 256> bandRows{};
        int previousBlue = -1;
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            if (std::find_if(row, row + image.width(), [&](QRgb c) { return c != row[0]; }) != row + image.width())
                QFAIL(qPrintable(QStringLiteral("row %1 not solid").arg(y)));
            QCOMPARE(qRed(row[0]), 10 * tono);
            QCOMPARE(qGreen(row[0]), 10 * tono);
            QVERIFY2(qBlue(row[0]) >= previousBlue, qPrintable(QStringLiteral("blue falls at row %1").arg(y)));
            previousBlue = qBlue(row[0]);
            ++bandRows[previousBlue];
        }
        if (size.height() < 256)
            return;
        QCOMPARE(qBlue(image.pixel(0, 0)), 0);
        QCOMPARE(qBlue(image.pixel(0, image.height() - 1)), 255);
        for (int band = 0; band < 256; ++band) {
            QVERIFY2(bandRows[band] > 0 && std::abs(bandRows[band] - image.height() / 256.0) <= 1.0,
                     qPrintable(QStringLiteral("band %1 has %2 rows").arg(band).arg(bandRows[band])));
        }
    }

    // Heights where row * 512 overflows 32 bits; tints whose 10 * tono would
    // not fit a colour channel.
    void shadingEdgeCases()
    {
        QCOMPARE(bandOfRow(5, -3), 0);
        QCOMPARE(bandOfRow(1000, 554), 255);
        QCOMPARE(bandOfRow(19'999'999, 20'000'000), 255);
        QCOMPARE(bandOfRow(10'000'000, 20'000'000), 128);
        QCOMPARE(bandColour(300, 30), qRgb(255, 255, 255));
    }

    // Only Backspace and the digits pass, only Enter judges.
    void keyFilter()
    {
        for (const int code : {8, int('0'), int('5'), int('9')})
            QCOMPARE(classifyKey(std::int16_t(code)), KeyAction::Pass);
        QCOMPARE(classifyKey(13), KeyAction::Judge);
        for (const int code : {0, 3, 10, 22, 24, 27, 32, 43, 45, 46, 44, 47, 58, 65, 101, 69, 127, 0xE8,
                               0x663, -1, -32768, 32767})
            QCOMPARE(classifyKey(std::int16_t(code)), KeyAction::Drop);
    }

    void answerValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hasValue");
        QTest::addColumn<int>("value");
        const struct { const char16_t* text; bool hasValue; int value; } cases[] = {
            {u"070", true, 70},   {u"", true, 0},      {u"9E99", false, 0}, {u"-1", true, -1},
            {u"1e4", true, 10000}, {u" 7", true, 7},    {u"12ab", true, 12}, {u"ab", true, 0},
            {u"\u0663", true, 0},  {u"    ", true, 0}, {u"69.5", true, 70}, {u"70.5", true, 70},
        };
        for (const auto& c : cases) {
            const QString text = QString::fromUtf16(c.text);
            QTest::newRow(qPrintable(text.toUtf8().toPercentEncoding())) << text << c.hasValue << c.value;
        }
    }
    // Right exactly for the product equal to the value, never without one.
    void answerValue()
    {
        QFETCH(QString, text);
        QFETCH(bool, hasValue);
        QFETCH(int, value);
        const auto read = numerella::answerValue(text);
        QCOMPARE(read.has_value(), hasValue);
        if (hasValue)
            QCOMPARE(int(*read), value);
        for (int product = 0; product <= 100; ++product)
            QCOMPARE(isRightAnswer(text, std::int16_t(product)), hasValue && product == value);
    }

    void messages()
    {
        QCOMPARE(praiseFor(QStringLiteral("Giulia")), QStringLiteral("Esatto! Giulia sei forte!"));
        QCOMPARE(praiseFor(QString()), QStringLiteral("Esatto!  sei forte!"));
        QCOMPARE(correctionFor(70), QStringLiteral("Sbagliato!! 70"));
        QCOMPARE(correctionFor(0), QStringLiteral("Sbagliato!! 0"));
    }

    // From the start each tick takes exactly one second off the clock (the
    // minute borrowed at :00) and one off tempo, down to 00:00:00.
    void countdown()
    {
        std::int16_t minuti = 5, tempo = 900;
        float secondi = 0;
        QCOMPARE(clockText(0, minuti, secondi), QStringLiteral("00:05:00"));
        QCOMPARE(clockText(1, 2, 3.0f), QStringLiteral("01:02:03"));
        for (int left = 299; left >= 0; --left) {
            countDownOneSecond(minuti, secondi, tempo);
            QCOMPARE(clockText(0, minuti, secondi), QString::asprintf("00:%02d:%02d", left / 60, left % 60));
            QCOMPARE(secondi, float(left % 60));
            QCOMPARE(int(tempo), 600 + left);
        }
    }
};

QTEST_APPLESS_MAIN(QuizTest)
#include "test_quiz.moc"
