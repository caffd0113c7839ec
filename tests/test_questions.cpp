// Drawing a question on the real window: the factors on the board, the
// replacement of a drawn zero, the order of the draws, the state the board
// is left in and the shaded background behind it.
#include "harness.h"

#include "window/board.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace numerella;
using namespace numerella::testing;

namespace {

// The three values one question draws: tint, factor, replacement of a 0.
QList<float> draws(float tint, int digit)
{
    return digit == 0 ? QList<float>{tint, 0.0f, 0.95f} : QList<float>{tint, digit / 10.0f + 0.05f, 0.0f};
}

// What is wrong with the board left by a new question, or "" when nothing.
QString questionFault(Harness& game)
{
    const Controls& c = game.controls();
    if (!c.txtAnswer->text().isEmpty())
        return QStringLiteral("answer box not empty: ") + c.txtAnswer->text();
    if (game.window().focusWidget() != c.txtAnswer)
        return QStringLiteral("the answer box does not have the focus");
    if (!c.lblMessage->caption().isEmpty())
        return QStringLiteral("message not cleared: ") + c.lblMessage->caption();
    if (c.cmdNext->isEnabled())
        return QStringLiteral("cmdNext enabled before the answer");
    return {};
}

// Points of the board that no control covers, where the board itself shows.
QList<QPoint> barePoints(const Board& board)
{
    QList<QRect> covered;
    for (const QWidget* child : board.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible())
            covered.append(child->geometry());
    }
    QList<QPoint> bare;
    for (int y = 0; y < board.height(); y += 9) {
        for (int x = 0; x < board.width(); x += 13) {
            const QPoint p(x, y);
            if (std::none_of(covered.begin(), covered.end(), [&](const QRect& r) { return r.contains(p); }))
                bare.append(p);
        }
    }
    return bare;
}

// What is wrong with the shaded background in the given tint, or "".
QString shadingFault(const Board& board, int tono)
{
    const QImage& image = board.backing();
    if (image.isNull())
        return QStringLiteral("no shading");
    if (image.size() != board.size())
        return QStringLiteral("shading %1x%2 on a board of %3x%4")
            .arg(image.width()).arg(image.height()).arg(board.width()).arg(board.height());
    int previousBlue = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb first = image.pixel(0, y);
        for (int x = 1; x < image.width(); ++x) {
            if (image.pixel(x, y) != first)
                return QStringLiteral("row %1 is not one colour").arg(y);
        }
        if (qRed(first) != 10 * tono || qGreen(first) != 10 * tono)
            return QStringLiteral("row %1 has red %2 green %3").arg(y).arg(qRed(first)).arg(qGreen(first));
        if (qBlue(first) < previousBlue)
            return QStringLiteral("blue falls at row %1").arg(y);
        previousBlue = qBlue(first);
    }
    if (qBlue(image.pixel(0, 0)) != 0 || qBlue(image.pixel(0, image.height() - 1)) != 255)
        return QStringLiteral("blue runs from %1 to %2, not 0 to 255")
            .arg(qBlue(image.pixel(0, 0))).arg(qBlue(image.pixel(0, image.height() - 1)));
    // What is on the screen is the shading wherever no control covers it.
    const QImage shown = const_cast<Board&>(board).grab().toImage();
    const QList<QPoint> bare = barePoints(board);
    if (bare.size() < 10)
        return QStringLiteral("too few bare points to check");
    for (const QPoint& p : bare) {
        if ((shown.pixel(p) & 0xFFFFFF) != (image.pixel(p) & 0xFFFFFF))
            return QStringLiteral("shown pixel at %1,%2 differs from the shading").arg(p.x()).arg(p.y());
    }
    return {};
}

// A Platform that logs the order of random draws and reseeds.
class DrawLog final : public Platform {
public:
    explicit DrawLog(FakePlatform& inner) : inner_(inner) {}
    QStringList log;

    int messageBox(const QString& p, int b, const std::optional<QString>& t) override { return inner_.messageBox(p, b, t); }
    QString inputBox(const QString& prompt) override { return inner_.inputBox(prompt); }
    void playSound(const QString& path) override { inner_.playSound(path); }
    QString recordFolder() override { return inner_.recordFolder(); }
    QString programFolder() override { return inner_.programFolder(); }
    void endProgram() override { inner_.endProgram(); }
    float nextRandom() override
    {
        const float r = inner_.nextRandom();
        log << QStringLiteral("draw %1").arg(r);
        return r;
    }
    void reseedRandomFromClock() override
    {
        log << QStringLiteral("reseed");
        inner_.reseedRandomFromClock();
    }
    QString shortDate() override { return inner_.shortDate(); }
    FileService& files() override { return inner_.files(); }

private:
    FakePlatform& inner_;
};

} // namespace

class QuestionsTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheDrawnQuestion_data();
    void showsTheDrawnQuestion();
    void replacesADrawnZero_data();
    void replacesADrawnZero();
    void scalesTheDrawnValuesInSinglePrecision_data();
    void scalesTheDrawnValuesInSinglePrecision();
    void drawsTheTintBeforeTheReseed();
    void everyQuestionClearsTheBoard();
    void wrongAnswerBlacksOutTheShadingUntilTheNextQuestion();
    void rightAnswerKeepsTheShading();
    void resizingKeepsAValidShading();
};

void QuestionsTest::showsTheDrawnQuestion_data()
{
    QTest::addColumn<QList<float>>("values");
    QTest::addColumn<int>("tono");
    QTest::addColumn<int>("digit");
    QTest::newRow("10 X 7 in tint 7") << QList<float>{0.5f, 0.75f, 0.0f} << 7 << 7;
    QTest::newRow("drawn 0 becomes 5") << QList<float>{0.0f, 0.0f, 0.72f} << 0 << 5;
    QTest::newRow("10 X 9 in tint 14") << QList<float>{0.9999f, 0.9999f, 0.5f} << 14 << 9;
    QTest::newRow("10 X 1, 0.1 exactly") << QList<float>{0.2f, 0.1f, 0.3f} << 3 << 1;
    QTest::newRow("10 X 0 stays") << QList<float>{0.4f, 0.05f, 0.95f} << 6 << 0;
}

void QuestionsTest::showsTheDrawnQuestion()
{
    QFETCH(QList<float>, values);
    QFETCH(int, tono);
    QFETCH(int, digit);
    // Drawn at start-up, then again by the button on a second question.
    Harness game;
    game.platform().randomValues = values + draws(0.0f, 2);
    game.start();
    QCOMPARE(game.controls().lblNum1->caption(), QStringLiteral("10"));
    QCOMPARE(game.controls().lblNum2->caption(), QString::number(digit));
    QCOMPARE(game.window().state().risultato, std::int16_t(10 * digit));
    QCOMPARE(game.window().state().tono, std::int16_t(tono));
    game.window().cmdNext_Click();
    QCOMPARE(game.controls().lblNum2->caption(), QStringLiteral("2"));
    QCOMPARE(game.window().state().risultato, std::int16_t(20));

    game.platform().randomValues = values;
    game.window().cmdNext_Click();
    QCOMPARE(game.controls().lblNum1->caption(), QStringLiteral("10"));
    QCOMPARE(game.controls().lblNum2->caption(), QString::number(digit));
    QCOMPARE(game.window().state().risultato, std::int16_t(10 * digit));
}

void QuestionsTest::replacesADrawnZero_data()
{
    QTest::addColumn<int>("d");
    QTest::addColumn<int>("factor");
    const int table[][2] = {{0, 1}, {10, 1}, {11, 2}, {20, 2}, {21, 3}, {40, 4}, {50, 5}, {60, 6}, {70, 7},
                            {71, 5}, {77, 5}, {78, 8}, {83, 8}, {84, 9}, {89, 9}, {90, 0}, {99, 0}};
    for (const auto& row : table)
        QTest::addRow("d=%d", row[0]) << row[0] << row[1];
}

void QuestionsTest::replacesADrawnZero()
{
    QFETCH(int, d);
    QFETCH(int, factor);
    Harness game;
    game.start();
    game.platform().randomValues = {0.3f, 0.0f, d / 100.0f + 0.001f};
    game.window().cmdNext_Click();
    QCOMPARE(game.controls().lblNum2->caption(), QString::number(factor));
    QCOMPARE(game.window().state().risultato, std::int16_t(10 * factor));
}

// The generator hands out single-precision values and the game scales them
// in single precision, as Int(Rnd * 100) does: 0.71f * 100 is 71, not the
// 70.99999785 that double arithmetic gives.
void QuestionsTest::scalesTheDrawnValuesInSinglePrecision_data()
{
    QTest::addColumn<QList<float>>("values");
    QTest::addColumn<int>("factor");
    QTest::newRow("replacement 0.71f is 71 -> 5") << QList<float>{0.5f, 0.0f, 0.71f} << 5;
    QTest::newRow("factor 0.7f is 7") << QList<float>{0.5f, 0.7f, 0.0f} << 7;
}

void QuestionsTest::scalesTheDrawnValuesInSinglePrecision()
{
    QFETCH(QList<float>, values);
    QFETCH(int, factor);
    Harness game;
    game.platform().randomValues = values;
    game.start();
    QCOMPARE(game.controls().lblNum2->caption(), QString::number(factor));
}

void QuestionsTest::drawsTheTintBeforeTheReseed()
{
    QTemporaryDir dir;
    FakePlatform fake(dir.path() + QStringLiteral("/records"));
    DrawLog platform(fake);
    fake.inputAnswers = {QStringLiteral("Giulia")};
    fake.randomValues = draws(0.5f, 7) + draws(0.2f, 3);
    Tavola window(platform);
    window.load();
    const QStringList perQuestion = {QStringLiteral("draw %1"), QStringLiteral("reseed"), QStringLiteral("draw %1"),
                                     QStringLiteral("draw %1")};
    const auto expected = [&](const QList<float>& v) {
        return QStringList{perQuestion[0].arg(v[0]), perQuestion[1], perQuestion[2].arg(v[1]), perQuestion[3].arg(v[2])};
    };
    QCOMPARE(platform.log, expected(draws(0.5f, 7)));
    QCOMPARE(fake.reseeds, 1);
    QCOMPARE(window.state().tono, std::int16_t(7));

    platform.log.clear();
    window.cmdNext_Click();
    QCOMPARE(platform.log, expected(draws(0.2f, 3)));
    QCOMPARE(fake.reseeds, 2);
    QCOMPARE(window.state().tono, std::int16_t(3));
    QCOMPARE(window.controls().lblNum2->caption(), QStringLiteral("3"));
}

void QuestionsTest::everyQuestionClearsTheBoard()
{
    Harness game;
    const int tints[] = {0, 7, 14, 3};
    for (int tono : tints)
        game.platform().randomValues += draws(tono / 15.0f + 0.01f, tono % 10);
    game.start();
    for (int i = 0; i < 4; ++i) {
        QVERIFY2(questionFault(game).isEmpty(), qPrintable(questionFault(game)));
        const QString fault = shadingFault(*game.controls().board, tints[i]);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QCOMPARE(game.platform().reseeds, i + 1);
        // Right and wrong in turn, so both leave a board the next question clears.
        game.answer(i % 2 ? QStringLiteral("1") : QString::number(game.window().state().risultato));
        QVERIFY(game.controls().cmdNext->isEnabled());
        QVERIFY(!game.controls().lblMessage->caption().isEmpty());
        game.nextQuestion();
    }
}

void QuestionsTest::wrongAnswerBlacksOutTheShadingUntilTheNextQuestion()
{
    Harness game;
    game.platform().randomValues = draws(0.5f, 7) + draws(0.2f, 4);
    game.start();
    const Board& board = *game.controls().board;
    QVERIFY(board.isShaded());
    game.answer(QStringLiteral("69"));
    QVERIFY(!board.isShaded());
    QVERIFY(board.backing().isNull());
    QCOMPARE(board.backColor(), QColor(Qt::black));
    const QImage shown = const_cast<Board&>(board).grab().toImage();
    const QList<QPoint> bare = barePoints(board);
    QVERIFY(bare.size() >= 10);
    for (const QPoint& p : bare)
        QCOMPARE(shown.pixel(p) & 0xFFFFFF, 0u);

    game.nextQuestion();
    const QString fault = shadingFault(board, 3);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void QuestionsTest::rightAnswerKeepsTheShading()
{
    Harness game;
    game.platform().randomValues = draws(0.5f, 7);
    game.start();
    const QImage before = game.controls().board->backing();
    game.answer(QStringLiteral("70"));
    QCOMPARE(game.window().state().giuste, std::int16_t(1));
    QCOMPARE(game.controls().board->backing(), before);
    const QString fault = shadingFault(*game.controls().board, 7);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void QuestionsTest::resizingKeepsAValidShading()
{
    Harness game;
    game.platform().randomValues = draws(0.7f, 6);
    game.start();
    const QSize before = game.controls().board->size();
    game.window().showNormal();
    game.window().resize(640, 430);
    QCoreApplication::processEvents();
    QVERIFY(game.controls().board->size() != before);
    QString fault = shadingFault(*game.controls().board, 10);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));

    game.window().resize(900, 700);
    QCoreApplication::processEvents();
    fault = shadingFault(*game.controls().board, 10);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

QTEST_MAIN(QuestionsTest)
#include "test_questions.moc"
