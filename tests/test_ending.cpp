// How a game ends on the real window: by the clock or by the exit button,
// with or without a new record, and what the record files hold afterwards,
// byte for byte, also when the disk fails in the middle of a save.
#include "harness.h"

#include "faultyfiles.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QDir>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

const QString kFarewell = QStringLiteral("Ciao a presto. Ore 600");
const QString kCongratulation = QStringLiteral("Ok! Ho registrato il tuo record, C A M P I O N E");
const QString kNotSaved = QStringLiteral("Non sono riuscito a registrare il record");

// Answers the question on the board right, n times, moving on after each.
void answerRight(Harness& game, int n)
{
    for (int i = 0; i < n; ++i) {
        game.answer(QString::number(10 * game.controls().lblNum2->caption().toInt()));
        game.nextQuestion();
    }
}

void runTheClockOut(Harness& game)
{
    game.tick(301);
}

void clickExit(Harness& game)
{
    QTest::mouseClick(game.controls().cmdExit, Qt::LeftButton);
}

QStringList promptsAfterGreeting(Harness& game)
{
    QStringList prompts;
    for (const ShownBox& box : game.platform().boxes.mid(1))
        prompts << box.prompt;
    return prompts;
}

QStringList leftovers(Harness& game)
{
    return QDir(game.folder() + QStringLiteral("/records")).entryList({QStringLiteral("*.nuovo")}, QDir::Files);
}

void writeRecord(Harness& game, const QByteArray& score, const QByteArray& name)
{
    game.writeFile(game.scorePath(), score);
    game.writeFile(game.namePath(), name);
}

} // namespace

class EndingTest : public QObject {
    Q_OBJECT
private slots:
    void clockEndSavesABetterScore();
    void equalScoreIsNoRecord_data();
    void equalScoreIsNoRecord();
    void exitComparesWithTheRecord_data();
    void exitComparesWithTheRecord();
    void nameFileBytes_data();
    void nameFileBytes();
    void failedSaveKeepsTheOldRecord_data();
    void failedSaveKeepsTheOldRecord();
    void nameLeftBehindIsPutInPlaceAtNextStart();
    void vanishedFolderIsNoSuccess();
};

void EndingTest::clockEndSavesABetterScore()
{
    Harness game;
    game.start();
    answerRight(game, 5);
    runTheClockOut(game);
    QCOMPARE(promptsAfterGreeting(game), (QStringList{kFarewell, kCongratulation}));
    QCOMPARE(game.platform().boxes.last().title, std::nullopt);
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("5\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Giulia\r\n"));
    QCOMPARE(game.platform().ends, 1);
    QVERIFY(leftovers(game).isEmpty());
}

void EndingTest::equalScoreIsNoRecord_data()
{
    QTest::addColumn<bool>("byClock");
    QTest::newRow("clock") << true;
    QTest::newRow("exit button") << false;
}

void EndingTest::equalScoreIsNoRecord()
{
    QFETCH(bool, byClock);
    Harness game;
    writeRecord(game, "7\r\n", "Anna\r\n");
    game.start();
    answerRight(game, 7);
    QCOMPARE(game.controls().lblScore->caption(), QStringLiteral("7"));
    if (byClock)
        runTheClockOut(game);
    else
        clickExit(game);
    QCOMPARE(promptsAfterGreeting(game), byClock ? QStringList{kFarewell} : QStringList{});
    QCOMPARE(game.platform().ends, 1);
    QVERIFY(game.window().ended());
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("7\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Anna\r\n"));
}

void EndingTest::exitComparesWithTheRecord_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("right");
    QTest::addColumn<bool>("saved");
    QTest::newRow("nothing right, no record") << QByteArray() << 0 << false;
    QTest::newRow("first record") << QByteArray() << 1 << true;
    QTest::newRow("2 beaten by 3") << QByteArray("2\r\n") << 3 << true;
    QTest::newRow("12 beaten by 13") << QByteArray("12\r\n") << 13 << true;
    QTest::newRow("12 equalled") << QByteArray("12\r\n") << 12 << false;
    QTest::newRow("4 not reached") << QByteArray("4\r\n") << 3 << false;
    QTest::newRow("unreadable record counts 0") << QByteArray("abc\r\n") << 1 << true;
}

void EndingTest::exitComparesWithTheRecord()
{
    QFETCH(QByteArray, record);
    QFETCH(int, right);
    QFETCH(bool, saved);
    Harness game;
    writeRecord(game, record, record.isEmpty() ? QByteArray() : QByteArray("Anna\r\n"));
    const QByteArray oldName = Harness::readFile(game.namePath());
    game.start();
    answerRight(game, right);
    game.answer(QStringLiteral("1"));  // a wrong answer never counts for the record
    clickExit(game);
    QCOMPARE(promptsAfterGreeting(game), saved ? QStringList{kCongratulation} : QStringList{});
    QCOMPARE(game.platform().ends, 1);
    QCOMPARE(Harness::readFile(game.scorePath()), saved ? QByteArray::number(right) + "\r\n" : record);
    QCOMPARE(Harness::readFile(game.namePath()), saved ? QByteArray("Giulia\r\n") : oldName);
    QVERIFY(leftovers(game).isEmpty());
}

void EndingTest::nameFileBytes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QString() << QByteArray("\r\n");
    QTest::newRow("accent") << QStringLiteral("Niccolò") << QByteArray("Niccol\xF2\r\n");
    QTest::newRow("euro sign") << QStringLiteral("€ Zoë") << QByteArray("\x80 Zo\xEB\r\n");
    QTest::newRow("emoji") << QStringLiteral("Leo\U0001F600!") << QByteArray("Leo?!\r\n");
    QTest::newRow("cyrillic") << QStringLiteral("Иван") << QByteArray("????\r\n");
    QTest::newRow("CR LF inside") << QStringLiteral("Al\r\nBo") << QByteArray("Al??Bo\r\n");
    QTest::newRow("tab") << QStringLiteral("A\tB") << QByteArray("A?B\r\n");
}

void EndingTest::nameFileBytes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    Harness game;
    game.start(name);
    QCOMPARE(game.controls().lblnome1->caption(), name);
    answerRight(game, 1);
    clickExit(game);
    QCOMPARE(promptsAfterGreeting(game), QStringList{kCongratulation});
    QCOMPARE(Harness::readFile(game.namePath()), bytes);
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("1\r\n"));

    // The next game reads back one line per file.
    Harness next;
    next.writeFile(next.scorePath(), Harness::readFile(game.scorePath()));
    next.writeFile(next.namePath(), bytes);
    next.start();
    QCOMPARE(next.controls().lblnome->caption().count(QStringLiteral("\r\n")), 1);
    QVERIFY(next.controls().lblnome->caption().endsWith(QStringLiteral("\r\n")));
}

void EndingTest::failedSaveKeepsTheOldRecord_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("file");  // the failing file's name; empty for any
    const auto row = [](const char* label, FileOp op, const char* file) {
        QTest::newRow(label) << int(op) << QString::fromLatin1(file);
    };
    row("opening the new score", FileOp::Open, "tavrec10.txt.nuovo");
    row("writing the new score", FileOp::Write, "tavrec10.txt.nuovo");
    row("opening the new name", FileOp::Open, "ntavrec10.txt.nuovo");
    row("writing the new name", FileOp::Write, "ntavrec10.txt.nuovo");
    row("syncing", FileOp::Sync, "");
    row("syncing the new name", FileOp::Sync, "ntavrec10.txt.nuovo");
    row("closing the new name", FileOp::Close, "ntavrec10.txt.nuovo");
    row("replacing the score", FileOp::Replace, "tavrec10.txt");
}

void EndingTest::failedSaveKeepsTheOldRecord()
{
    QFETCH(int, op);
    QFETCH(QString, file);
    Harness game;
    FaultyFiles faulty;
    game.platform().useFiles(&faulty);
    writeRecord(game, "2\r\n", "Anna\r\n");
    game.start();
    answerRight(game, 3);
    faulty.failWhen = [&](FileOp failing, const QString& path) {
        return int(failing) == op && (file.isEmpty() || QFileInfo(path).fileName() == file);
    };
    clickExit(game);
    QVERIFY(faulty.failures > 0);
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("2\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Anna\r\n"));
    QCOMPARE(leftovers(game), QStringList());
    const QStringList prompts = promptsAfterGreeting(game);
    QCOMPARE(prompts.size(), 1);
    QVERIFY2(prompts.first().startsWith(kNotSaved), qPrintable(prompts.first()));
    QVERIFY2(prompts.first().contains(QDir::toNativeSeparators(game.folder() + QStringLiteral("/records"))),
             qPrintable(prompts.first()));
    QCOMPARE(game.platform().ends, 1);
}

void EndingTest::nameLeftBehindIsPutInPlaceAtNextStart()
{
    Harness game;
    FaultyFiles faulty;
    game.platform().useFiles(&faulty);
    writeRecord(game, "2\r\n", "Anna\r\n");
    game.start();
    answerRight(game, 3);
    faulty.failWhen = [](FileOp op, const QString& path) {
        return op == FileOp::Replace && QFileInfo(path).fileName() == QStringLiteral("ntavrec10.txt");
    };
    clickExit(game);
    QCOMPARE(faulty.failures, 1);
    QCOMPARE(game.platform().ends, 1);
    // The new score is in place and the complete new name waits beside it.
    QCOMPARE(promptsAfterGreeting(game), QStringList{kCongratulation});
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("3\r\n"));

    FakePlatform platform(game.folder() + QStringLiteral("/records"));
    platform.inputAnswers = {QStringLiteral("Anna")};
    Tavola window(platform);
    window.load();
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("3\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Giulia\r\n"));
    QCOMPARE(leftovers(game), QStringList());
    QCOMPARE(window.controls().lblpunti->caption(), QStringLiteral("3\r\n"));
    QCOMPARE(window.controls().lblnome->caption(), QStringLiteral("Giulia\r\n"));
}

void EndingTest::vanishedFolderIsNoSuccess()
{
    Harness game;
    game.start();
    const QString records = game.folder() + QStringLiteral("/records");
    QVERIFY(QDir(records).removeRecursively());
    answerRight(game, 2);
    clickExit(game);
    const QStringList prompts = promptsAfterGreeting(game);
    QCOMPARE(prompts.size(), 1);
    QVERIFY2(prompts.first().startsWith(kNotSaved), qPrintable(prompts.first()));
    QVERIFY(prompts.first().contains(QDir::toNativeSeparators(records)));
    QCOMPARE(game.platform().ends, 1);
    QVERIFY(!QFileInfo::exists(records));
}

QTEST_MAIN(EndingTest)
#include "test_ending.moc"
