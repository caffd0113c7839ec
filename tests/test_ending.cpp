// How a game ends, by the clock or by Esci, and what the two record files
// hold afterwards, byte for byte: new records, any name, a save that cannot
// be made, and record files holding anything at all.
#include "harness.h"

#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

const QString kFarewell = QStringLiteral("Ciao a presto. Ore 600");
const QString kCongratulation = QStringLiteral("Ok! Ho registrato il tuo record, C A M P I O N E");
const QString kNotSaved = QStringLiteral("Non sono riuscito a registrare il record");
constexpr int kNameIsFolder = -1;  // a folder where the name file belongs
constexpr int kFolderIsFile = -2;  // a file where the record folder belongs

QString records(const Harness& game) { return game.folder() + QStringLiteral("/records"); }

void answerRight(Harness& game, int n)
{
    for (int i = 0; i < n; ++i) {
        game.answer(QString::number(10 * game.controls().lblNum2->caption().toInt()));
        game.nextQuestion();
    }
}

// The clock runs out, or a real click on Esci.
void finish(Harness& game, bool byClock)
{
    if (byClock)
        game.tick(301);
    else
        QTest::mouseClick(game.controls().cmdExit, Qt::LeftButton);
}

QStringList shownFrom(Harness& game, int first)
{
    QStringList prompts;
    for (const ShownBox& box : game.platform().boxes.mid(first))
        prompts << box.prompt;
    return prompts;
}

QStringList leftovers(const Harness& game)
{
    return QDir(records(game)).entryList({QStringLiteral("*.nuovo")}, QDir::AllEntries | QDir::NoDotAndDotDot);
}

// What a label draws holds no control character but line breaks and tabs.
void checkDrawable(const BoardLabel* label)
{
    for (const QChar c : label->text())
        QVERIFY2(c == u'\n' || c == u'\t' || (c.unicode() >= 0x20 && c.unicode() != 0x7F),
                 qPrintable(QString::number(c.unicode(), 16)));
}

} // namespace

class EndingTest : public QObject {
    Q_OBJECT
private slots:
    void endings_data();
    void endings();
    void failedSaveKeepsTheOldRecord_data();
    void failedSaveKeepsTheOldRecord();
};

void EndingTest::endings_data()
{
    QTest::addColumn<bool>("byClock");
    QTest::addColumn<QByteArray>("score");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("player");
    QTest::addColumn<int>("right");
    QTest::addColumn<QByteArray>("scoreAfter");
    QTest::addColumn<QByteArray>("nameAfter");
    // Giulia answers right against a score file that counts for the record.
    const auto race = [](const QByteArray& label, bool byClock, const QByteArray& score, const QByteArray& name,
                         int record, int right) {
        const bool saved = right > record;
        QTest::newRow(label.constData()) << byClock << score << name << QStringLiteral("Giulia") << right
                                         << (saved ? QByteArray::number(right) + "\r\n" : score)
                                         << (saved ? QByteArray("Giulia\r\n") : name);
    };
    // An odd score file: equalling its leading number saves nothing, one more saves.
    const auto odd = [&](const char* label, const QByteArray& score, const QByteArray& name, int record) {
        race(label + QByteArray(", equalled"), false, score, name, record, record);
        race(label + QByteArray(", beaten"), false, score, name, record, record + 1);
    };
    // Any name is shown as typed and saved as one Windows-1252 line.
    const auto named = [](const char* label, const QString& player, const QByteArray& nameAfter) {
        QTest::newRow(label) << false << QByteArray() << QByteArray() << player << 1 << QByteArray("1\r\n")
                             << nameAfter;
    };
    const QByteArray anna("Anna\r\n");
    race("clock: 5 over empty files", true, "", "", 0, 5);
    race("clock: 7 equals 7", true, "7\r\n", anna, 7, 7);
    race("exit: 7 equals 7", false, "7\r\n", anna, 7, 7);
    race("exit: none right, empty files", false, "", "", 0, 0);
    race("exit: 12 beaten by 13", false, "12\r\n", anna, 12, 13);
    race("exit: 4 not reached by 3", false, "4\r\n", anna, 4, 3);
    odd("NUL inside", QByteArray("3\0" "99\r\n", 6), QByteArray("An\0na\r\n", 7), 3);
    odd("NUL only", QByteArray(64, '\0'), anna, 0);
    odd("undefined code-page bytes", "5\x81\r\n", "\x81\x8D\x8F\x90\x9D\r\n", 5);
    odd("'1. e1' is 10", "1. e1\r\n", anna, 10);
    odd("' 1 2 ' is 12", " 1 2 \r\n", anna, 12);
    odd("'12abc' is 12", "12abc\r\n", anna, 12);
    odd("'abc' is 0", "abc\r\n", anna, 0);
    named("empty name", QString(), "\r\n");
    named("accent", QStringLiteral("Niccolò"), "Niccol\xF2\r\n");
    named("emoji", QStringLiteral("Ale😀🦄"), "Ale??\r\n");
    named("right to left", QStringLiteral("سارة דנה 2") + QChar(0x202E) + QStringLiteral("bc") + QChar(0x200F),
          "???? ??? 2?bc?\r\n");
    named("tab kept; CR, LF, NUL, ESC as ?",
          QStringLiteral("a\tb\rc\nd") + QChar(0) + QStringLiteral("e") + QChar(0x1B) + QStringLiteral("f"),
          "a\tb?c?d?e?f\r\n");
    named("markup", QStringLiteral("<b>x</b>"), "<b>x</b>\r\n");
    named("10,000 characters", QString(5000, u'è') + QString(5000, u'a'),
          QByteArray(5000, '\xE8') + QByteArray(5000, 'a') + "\r\n");
}

void EndingTest::endings()
{
    QFETCH(bool, byClock);
    QFETCH(QByteArray, score);
    QFETCH(QByteArray, name);
    QFETCH(QString, player);
    QFETCH(int, right);
    QFETCH(QByteArray, scoreAfter);
    QFETCH(QByteArray, nameAfter);
    Harness game;
    game.writeFile(game.scorePath(), score);
    game.writeFile(game.namePath(), name);
    game.start(player);
    // Any record file is read without complaint into bounded captions.
    QCOMPARE(game.platform().boxes.size(), 1);
    const Ui::Tavola& c = game.controls();
    for (const auto& [label, bytes] : {std::pair{c.lblpunti, score}, std::pair{c.lblnome, name}}) {
        QVERIFY(label->caption().size() <= 64 * 1024);
        if (bytes.size() < 100)
            QCOMPARE(label->caption(), QString::fromLatin1(bytes));
        checkDrawable(label);
    }
    QCOMPARE(c.lblnome1->caption(), player);
    QCOMPARE(c.lblnome1->textFormat(), Qt::PlainText);
    if (!player.contains(QRegularExpression(QStringLiteral("[\\x{0}-\\x{1f}]"))))
        QCOMPARE(c.lblnome1->text(), player);
    checkDrawable(c.lblnome1);

    answerRight(game, right);
    game.answer(QStringLiteral("1"));  // a wrong answer counts for nothing
    finish(game, byClock);
    const bool saved = scoreAfter != score;
    QStringList expected;
    if (byClock)
        expected << kFarewell;
    if (saved)
        expected << kCongratulation;
    QCOMPARE(shownFrom(game, 1), expected);
    if (byClock)
        QCOMPARE(game.platform().boxes[1].title, std::optional(QStringLiteral("Data 07/12/26")));
    if (saved)
        QCOMPARE(game.platform().boxes.last().title, std::nullopt);
    QCOMPARE(game.platform().ends, 1);
    QCOMPARE(Harness::readFile(game.scorePath()), scoreAfter);
    QCOMPARE(Harness::readFile(game.namePath()), nameAfter);
    QVERIFY(leftovers(game).isEmpty());
}

void EndingTest::failedSaveKeepsTheOldRecord_data()
{
    QTest::addColumn<int>("op");  // one of the blocked places above
    QTest::newRow("folder in place of the name file") << kNameIsFolder;
    QTest::newRow("file in place of the record folder") << kFolderIsFile;
}

// The failure box names the folder; the old files stay byte for byte.
void EndingTest::failedSaveKeepsTheOldRecord()
{
    QFETCH(int, op);
    Harness game;
    game.writeFile(op == kFolderIsFile ? records(game) : game.scorePath(), "2\r\n");
    if (op == kNameIsFolder)
        QVERIFY(QDir().mkpath(game.namePath()));
    else if (op != kFolderIsFile)
        game.writeFile(game.namePath(), "Anna\r\n");
    game.start();
    const int before = game.platform().boxes.size();  // start-up may have named the folder already
    answerRight(game, 3);
    finish(game, false);
    const QStringList shown = shownFrom(game, before);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(kNotSaved), qPrintable(shown.first()));
    QVERIFY2(shown.first().contains(QDir::toNativeSeparators(records(game))), qPrintable(shown.first()));
    QCOMPARE(game.platform().ends, 1);
    QCOMPARE(leftovers(game), QStringList());
    QCOMPARE(Harness::readFile(op == kFolderIsFile ? records(game) : game.scorePath()), QByteArray("2\r\n"));
    if (op == kNameIsFolder)
        QVERIFY(QFileInfo(game.namePath()).isDir());
    else if (op != kFolderIsFile)
        QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Anna\r\n"));
}

QTEST_MAIN(EndingTest)
#include "test_ending.moc"
