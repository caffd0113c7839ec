// A save of the record cut short at any moment: by killing a program that
// saves in a loop, and by stopping the game's own save (and the recovery at
// the next start) after each single file operation. Afterwards each record
// file holds a whole old or a whole new line, and once the next start has
// run, the score and the name belong to the same save and no pending file
// is left.
#include "harness.h"

#include "faultyfiles.h"
#include "platform/diskfiles.h"
#include "records/recordfiles.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>
#include <thread>

using namespace numerella;
using namespace numerella::testing;

namespace {

const QByteArray kMissing("<missing>");

QByteArray readFile(const QString& path)
{
    return Harness::readFile(path);
}

QStringList pendingFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.nuovo")}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

// A file service that stops working after a given number of operations, as
// the program would if it were killed there: what was done stays done,
// nothing more happens. The operation it dies in, when it is a write, leaves
// half of its bytes behind.
struct DyingFiles {
    FaultyFiles files;
    int budget = -1;  // operations still allowed; negative: never dies

    DyingFiles()
    {
        files.failWhen = [this](FileOp, const QString&) {
            if (budget < 0)
                return false;
            if (budget == 0)
                return true;
            --budget;
            return false;
        };
    }
    bool died() const { return budget == 0 && files.failures > 0; }
};

// The two records of the kill test, as record_saver writes them.
const QByteArray kScoreA("1111\r\n");
const QByteArray kNameA("Anna\r\n");
const QByteArray kScoreB("22\r\n");
const QByteArray kNameB("Bartolomeo\r\n");

// A record of the in-game tests and the better one a game saves over it.
const QByteArray kOldScore("1\r\n");
const QByteArray kOldName("Anna\r\n");
const QByteArray kNewScore("2\r\n");
const QByteArray kNewName("Bartolomeo\r\n");

void answerRight(Harness& game, int n)
{
    for (int i = 0; i < n; ++i) {
        game.answer(QString::number(10 * game.controls().lblNum2->caption().toInt()));
        game.nextQuestion();
    }
}

// Plays a game that beats the record and ends it with the exit button, with
// the file service dying after `budget` operations of the save.
void saveCutAfter(Harness& game, DyingFiles& dying, int budget)
{
    game.platform().useFiles(&dying.files);
    game.start(QStringLiteral("Bartolomeo"));
    answerRight(game, 2);
    QCOMPARE(game.controls().lblScore->caption(), QStringLiteral("2"));
    dying.budget = budget;
    game.controls().cmdExit->click();
    QVERIFY(game.window().ended());
}

// The next start of the game on the same folder, its file service dying
// after `budget` operations (negative: a whole start): the record captions
// it shows, and whether it was cut short.
struct Restart {
    QString score;
    QString name;
    bool cut = false;
};

Restart startAgain(const QString& recordFolder, int budget)
{
    FakePlatform platform(recordFolder);
    DyingFiles dying;
    platform.useFiles(&dying.files);
    dying.budget = budget;
    platform.inputAnswers = {QStringLiteral("Carla")};
    Tavola window(platform);
    window.load();
    return {window.controls().lblpunti->caption(), window.controls().lblnome->caption(), dying.died()};
}

} // namespace

class CrashSafetyTest : public QObject {
    Q_OBJECT
private slots:
    void killedSaverLeavesWholeRecords();
    void everyCrashPointOfTheGameSave_data();
    void everyCrashPointOfTheGameSave();
    void crashDuringTheRecoveryAtStart();
};

// record_saver saves in a loop and is killed after a random short time, over
// and over on the same folder; the test looks at the files after each kill,
// then runs the start-up recovery as the next start would.
void CrashSafetyTest::killedSaverLeavesWholeRecords()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/records");
    QVERIFY(QDir().mkpath(folder));
    const QString cartella = folder + u'/';
    const QString scorePath = scoreFilePath(cartella);
    const QString namePath = nameFilePath(cartella);

    constexpr int kKills = 250;
    QRandomGenerator random(20260712);  // the same delays on every run
    bool scoreSeen = false;
    bool nameSeen = false;
    int cutMidSave = 0;
    int savesSeen = 0;
    QSet<QByteArray> scoresSeen;

    for (int kill = 0; kill < kKills; ++kill) {
        QProcess saver;
        saver.setProgram(QStringLiteral(RECORD_SAVER_PATH));
        saver.setArguments({folder});
        saver.start();
        QVERIFY2(saver.waitForStarted(10000), qPrintable(saver.errorString()));
        // The delay counts from the saver's first sign of life, not from the
        // fork, so that loading the program does not eat it up; every other
        // time it counts from the end of its first save, so that saves are
        // cut at every stage however fast or slow the disk is.
        const QByteArray awaited = kill % 2 == 0 ? QByteArray("pronto\n") : QByteArray("pronto\n.");
        QByteArray output;
        while (!output.startsWith(awaited) && saver.state() == QProcess::Running) {
            saver.waitForReadyRead(10000);
            output += saver.readAllStandardOutput();
        }
        output += saver.readAllStandardOutput();
        QVERIFY2(output.startsWith(awaited), qPrintable(saver.readAllStandardError()));
        std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(20001)));
        saver.kill();  // SIGKILL
        QVERIFY(saver.waitForFinished(10000));
        output += saver.readAllStandardOutput();
        savesSeen += int(output.count('.'));
        // Killed, or (when it lost the race) finished cleanly: never failed.
        QVERIFY2(saver.exitStatus() == QProcess::CrashExit || saver.exitCode() == 0,
                 qPrintable(saver.readAllStandardError()));

        const QByteArray score = readFile(scorePath);
        const QByteArray name = readFile(namePath);
        const QString when = QStringLiteral("kill %1: score %2, name %3")
                                 .arg(kill)
                                 .arg(QString::fromLatin1(score.toHex(' ')), QString::fromLatin1(name.toHex(' ')));
        // Each file is a whole line of one of the two saves; missing only
        // until its first replace.
        QVERIFY2(score == kScoreA || score == kScoreB || (!scoreSeen && score == kMissing), qPrintable(when));
        QVERIFY2(name == kNameA || name == kNameB || (!nameSeen && name == kMissing), qPrintable(when));
        scoreSeen = scoreSeen || score != kMissing;
        nameSeen = nameSeen || name != kMissing;
        if (!pendingFiles(folder).isEmpty())
            ++cutMidSave;

        DiskFiles files;
        finishInterruptedSave(files, scorePath, namePath);
        QVERIFY2(pendingFiles(folder).isEmpty(), qPrintable(when + pendingFiles(folder).join(u' ')));
        const QByteArray recoveredScore = readFile(scorePath);
        const QByteArray recoveredName = readFile(namePath);
        QCOMPARE(recoveredScore, score);  // the recovery never touches the score
        const bool pairA = recoveredScore == kScoreA && recoveredName == kNameA;
        const bool pairB = recoveredScore == kScoreB && recoveredName == kNameB;
        const bool none = recoveredScore == kMissing && recoveredName == kMissing;
        QVERIFY2(pairA || pairB || none,
                 qPrintable(when + QStringLiteral(" -> after recovery: ") + QString::fromLatin1(recoveredScore.toHex(' '))
                            + u'/' + QString::fromLatin1(recoveredName.toHex(' '))));
        if (!none)
            scoresSeen.insert(recoveredScore);
    }
    qInfo("%d kills, %d saves completed in all, %d kills left a save cut in the middle", kKills, savesSeen,
          cutMidSave);
    // Both records were in place at some point.
    QCOMPARE(scoresSeen.size(), 2);
}

void CrashSafetyTest::everyCrashPointOfTheGameSave_data()
{
    QTest::addColumn<bool>("withOldRecord");
    QTest::newRow("over an old record") << true;
    QTest::newRow("first record") << false;
}

// The game's own save, stopped after 0, 1, 2, ... file operations until it
// runs whole. Each file holds a whole line of the old or of the new record
// right after the cut, and the next start leaves a matching pair.
void CrashSafetyTest::everyCrashPointOfTheGameSave()
{
    QFETCH(bool, withOldRecord);
    const QByteArray oldScore = withOldRecord ? kOldScore : QByteArray();
    const QByteArray oldName = withOldRecord ? kOldName : QByteArray();
    bool ranWhole = false;
    for (int budget = 0; !ranWhole && budget < 100; ++budget) {
        Harness game;
        if (withOldRecord) {
            game.writeFile(game.scorePath(), kOldScore);
            game.writeFile(game.namePath(), kOldName);
        }
        DyingFiles dying;
        saveCutAfter(game, dying, budget);
        if (QTest::currentTestFailed())
            return;
        ranWhole = !dying.died();

        const QString when = QStringLiteral("cut after %1 operations").arg(budget);
        const QByteArray score = readFile(game.scorePath());
        const QByteArray name = readFile(game.namePath());
        QVERIFY2(score == oldScore || score == kNewScore, qPrintable(when + u' ' + QString::fromLatin1(score.toHex(' '))));
        QVERIFY2(name == oldName || name == kNewName, qPrintable(when + u' ' + QString::fromLatin1(name.toHex(' '))));
        if (ranWhole) {
            QCOMPARE(score, kNewScore);
            QCOMPARE(name, kNewName);
        }

        const Restart next = startAgain(game.folder() + QStringLiteral("/records"), -1);
        const QByteArray recoveredScore = readFile(game.scorePath());
        const QByteArray recoveredName = readFile(game.namePath());
        QVERIFY2(pendingFiles(game.folder() + QStringLiteral("/records")).isEmpty(), qPrintable(when));
        QVERIFY2((recoveredScore == oldScore && recoveredName == oldName)
                     || (recoveredScore == kNewScore && recoveredName == kNewName),
                 qPrintable(when + QStringLiteral(": ") + QString::fromLatin1(recoveredScore + '/' + recoveredName)));
        QCOMPARE(next.score.toLatin1(), recoveredScore);
        QCOMPARE(next.name.toLatin1(), recoveredName);
        if (ranWhole)
            qInfo("the save takes %d file operations; it was cut after 0 to %d of them", budget, budget - 1);
    }
    QVERIFY(ranWhole);
}

// A save cut at any point, then the next start cut during its recovery, then
// a whole start: the pair must still match. The recovery removes two
// pending files; stopped between the two removals it must not leave a
// pending name alone, which the following start would take for a save whose
// score was already in place.
void CrashSafetyTest::crashDuringTheRecoveryAtStart()
{
    QStringList mismatches;
    int cases = 0;
    bool saveRanWhole = false;
    for (int saveBudget = 0; !saveRanWhole && saveBudget < 100; ++saveBudget) {
        bool startRanWhole = false;
        for (int startBudget = 0; !startRanWhole && startBudget < 100; ++startBudget) {
            Harness game;
            game.writeFile(game.scorePath(), kOldScore);
            game.writeFile(game.namePath(), kOldName);
            DyingFiles dying;
            saveCutAfter(game, dying, saveBudget);
            if (QTest::currentTestFailed())
                return;
            saveRanWhole = !dying.died();

            const QString folder = game.folder() + QStringLiteral("/records");
            startRanWhole = !startAgain(folder, startBudget).cut;
            startAgain(folder, -1);
            ++cases;
            const QByteArray score = readFile(game.scorePath());
            const QByteArray name = readFile(game.namePath());
            const bool matching = (score == kOldScore && name == kOldName) || (score == kNewScore && name == kNewName);
            if (!matching || !pendingFiles(folder).isEmpty()) {
                mismatches << QStringLiteral("save cut after %1, start cut after %2: %3 / %4")
                                  .arg(saveBudget)
                                  .arg(startBudget)
                                  .arg(QString::fromLatin1(score.toHex(' ')), QString::fromLatin1(name.toHex(' ')));
            }
        }
    }
    qInfo("%d combinations of a cut save and a cut start, %d leave a wrong pair", cases, int(mismatches.size()));
    for (const QString& mismatch : std::as_const(mismatches))
        qInfo("%s", qPrintable(mismatch));
    QVERIFY(saveRanWhole);
    // Known fault: finishInterruptedSave (and discardPendingRecord) remove
    // the pending score before the pending name. Remove this line once the
    // pending name goes first.
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(u'\n')));
}

QTEST_MAIN(CrashSafetyTest)
#include "test_crashsafety.moc"
