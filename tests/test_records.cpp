// The record files on a real disk: paths, reading, the bytes of a saved line,
// the two-step save, its recovery at start-up, and saves cut short anywhere.
#include "faultyfiles.h"

#include "platform/diskfiles.h"
#include "records/recordfiles.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <memory>
#include <thread>

using namespace numerella;
using namespace numerella::testing;

namespace {

// The two saves record_saver alternates, also the old and the new record
// below; their lengths differ so that a cut file shows.
const QByteArray kOldScore("1111\r\n"), kOldName("Anna\r\n"), kNewScore("22\r\n"), kNewName("Bartolomeo\r\n");
const QByteArray kMissing("<missing>");

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

QByteArray get(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : kMissing;
}

bool samePair(const QByteArray& score, const QByteArray& name)
{
    return (score == kOldScore && name == kOldName) || (score == kNewScore && name == kNewName);
}

// Every operation after the first `allowed` fails, as in a program killed
// there: what was done stays done; a write it dies in leaves half its bytes.
void dieAfter(FaultyFiles& files, int allowed)
{
    files.failWhen = [allowed](FileOp, const QString&) mutable { return allowed-- <= 0; };
}

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    DiskFiles disk_;
    QString score() const { return scoreFilePath(numerella::withTrailingSeparator(dir_->path())); }
    QString name() const { return nameFilePath(numerella::withTrailingSeparator(dir_->path())); }
    void putOldRecord() { put(score(), kOldScore); put(name(), kOldName); }
    bool pendingLeft() const { return !QDir(dir_->path(), QStringLiteral("*.nuovo")).isEmpty(); }
    // The save's first step: both new lines into their pending files.
    bool writePending(FileService& files)
    {
        return writeRecordLine(files, 1, pendingPath(score()), u"22")
               && writeRecordLine(files, 1, pendingPath(name()), u"Bartolomeo");
    }

private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); QVERIFY(dir_->isValid()); }

    // Paths (the doubled separator reaches the folder), creating and reading the files.
    void pathsCreateAndRead()
    {
        for (const auto& [folder, expected] : {std::pair{"/a", "/a/"}, {"/a/", "/a/"}, {"/", "/"}})
            QCOMPARE(numerella::withTrailingSeparator(QString::fromLatin1(folder)), QString::fromLatin1(expected));
        QVERIFY(score().endsWith(u"//tavrec10.txt") && name().endsWith(u"//ntavrec10.txt"));
        QVERIFY(createIfMissing(disk_, 1, score()));
        QCOMPARE(get(dir_->filePath(QStringLiteral("tavrec10.txt"))), QByteArray(""));
        const QByteArray existing = QByteArray("37\r\n\xE0") + '\0' + "\xFF no line end";
        put(dir_->filePath(QStringLiteral("ntavrec10.txt")), existing);
        QVERIFY(createIfMissing(disk_, 1, name()));
        QCOMPARE(get(name()), existing);

        for (const char* text : {"12\r\n", ""}) {
            put(score(), text);
            QCOMPARE(readWholeText(disk_, 1, score()), std::optional(QString::fromLatin1(text)));
        }
        QCOMPARE(readWholeText(disk_, 1, dir_->filePath(QStringLiteral("missing.txt"))), std::nullopt);
        QCOMPARE(readWholeText(disk_, 1, dir_->path()), std::nullopt);
        QCOMPARE(disk_.freeFile(), std::int16_t(1));  // every file closed again

        QFile big(score());
        QVERIFY(big.open(QIODevice::WriteOnly) && big.write(QByteArray(1 << 20, '7')) > 0 && big.resize(50 << 20));
        big.close();
        QCOMPARE(readWholeText(disk_, 1, score()), std::optional(QString(64 * 1024, u'7')));
    }

    // The bytes of a line, and writeRecordLine puts exactly them over a longer file.
    void recordLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("score") << "12" << QByteArray("12\r\n");
        QTest::newRow("empty") << QString() << QByteArray("\r\n");
        QTest::newRow("controls") << (QStringLiteral("A\rB\nC\tD") + QChar(0) + u'E') << QByteArray("A?B?C?D?E\r\n");
        QTest::newRow("umlaut") << QStringLiteral("Jürgen") << QByteArray("J\xFCrgen\r\n");
        QTest::newRow("emoji") << QStringLiteral("Ale😀") << QByteArray("Ale?\r\n");
    }
    void recordLine()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(recordLineBytes(text), expected);
        put(name(), "123456789 a longer old record\r\n");
        QVERIFY(writeRecordLine(disk_, 1, name(), text));
        QCOMPARE(get(name()), expected);
    }

    // Both replaced, or (a folder in a record file's place) nothing changed.
    void commitPendingRecord_data()
    {
        QTest::addColumn<int>("folderAt");  // 0 none, 1 score, 2 name
        QTest::newRow("files") << 0;
        QTest::newRow("folder at score") << 1;
        QTest::newRow("folder at name") << 2;
    }
    void commitPendingRecord()
    {
        QFETCH(int, folderAt);
        putOldRecord();
        if (folderAt)
            QVERIFY(QFile::remove(folderAt == 1 ? score() : name()) && QDir().mkdir(folderAt == 1 ? score() : name()));
        QVERIFY(writePending(disk_));
        QCOMPARE(numerella::commitPendingRecord(disk_, score(), name()), folderAt == 0);
        QCOMPARE(get(score()), folderAt == 0 ? kNewScore : folderAt == 1 ? kMissing : kOldScore);
        QCOMPARE(get(name()), folderAt == 0 ? kNewName : folderAt == 2 ? kMissing : kOldName);
        QCOMPARE(get(pendingPath(score())), folderAt == 0 ? kMissing : kNewScore);
        QCOMPARE(get(pendingPath(name())), folderAt == 0 ? kMissing : kNewName);
    }

    // Start-up recovery: a pending score means the save never replaced anything.
    void finishInterruptedSave_data()
    {
        QTest::addColumn<bool>("pendingScore");
        QTest::addColumn<bool>("pendingName");
        QTest::newRow("both pending: dropped") << true << true;
        QTest::newRow("score pending: dropped") << true << false;
        QTest::newRow("name pending: put in place") << false << true;
        QTest::newRow("nothing pending") << false << false;
    }
    void finishInterruptedSave()
    {
        QFETCH(bool, pendingScore);
        QFETCH(bool, pendingName);
        putOldRecord();
        if (pendingScore)
            put(pendingPath(score()), kNewScore);
        if (pendingName)
            put(pendingPath(name()), kNewName);
        numerella::finishInterruptedSave(disk_, score(), name());
        QCOMPARE(get(score()), kOldScore);
        QCOMPARE(get(name()), pendingName && !pendingScore ? kNewName : kOldName);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({QStringLiteral("ntavrec10.txt"), QStringLiteral("tavrec10.txt")}));
    }

    // A failed write is discarded without touching the records; a discard cut
    // between its two removals never leaves a pending name alone.
    void discardPendingRecord()
    {
        putOldRecord();
        FaultyFiles faulty;
        faulty.failWhen = [&](FileOp op, const QString& p) { return op == FileOp::Write && p == pendingPath(name()); };
        QVERIFY(!writePending(faulty));
        numerella::discardPendingRecord(faulty, score(), name());
        QCOMPARE(faulty.failures, 1);
        QVERIFY(get(score()) == kOldScore && get(name()) == kOldName && !pendingLeft());

        QVERIFY(writePending(disk_));
        FaultyFiles dying;
        dieAfter(dying, 1);
        numerella::discardPendingRecord(dying, score(), name());
        QVERIFY(dying.failures > 0);
        QCOMPARE(get(pendingPath(name())), kMissing);
    }

    void diskFiles()
    {
        DiskFiles files;
        QCOMPARE(files.freeFile(), std::int16_t(1));
        QVERIFY(files.open(1, dir_->filePath(QStringLiteral("a.txt")), OpenMode::Output));
        QCOMPARE(files.freeFile(), std::int16_t(2));
        QVERIFY(!files.open(1, dir_->filePath(QStringLiteral("b.txt")), OpenMode::Output));  // number in use
        QVERIFY(files.open(2, dir_->filePath(QStringLiteral("b.txt")), OpenMode::Output) && files.close(1));
        QCOMPARE(files.freeFile(), std::int16_t(1));
        for (const OpenMode mode : {OpenMode::Input, OpenMode::Output, OpenMode::Append})
            QVERIFY(!files.open(1, dir_->path(), mode));
        QVERIFY(!files.open(1, dir_->filePath(QStringLiteral("missing.txt")), OpenMode::Input));
        QCOMPARE(files.freeFile(), std::int16_t(1));  // failed opens take no number
    }

    // record_saver, saving in a loop, killed with SIGKILL at a random moment
    // 250 times on the same folder; the start-up recovery runs after each kill.
    void killedSaverLeavesWholeRecords()
    {
        putOldRecord();
        QRandomGenerator random(20260712);
        QByteArray last = kOldScore;
        int changes = 0;
        for (int kill = 0; kill < 250; ++kill) {
            QProcess saver;
            saver.start(QStringLiteral(RECORD_SAVER_PATH), {dir_->path()});
            // The delay counts from its first sign of life, every other time
            // from its first finished save, so saves are cut at every stage.
            const QByteArray awaited = kill % 2 ? "pronto\n." : "pronto\n";
            QByteArray output;
            while (!output.startsWith(awaited) && saver.waitForReadyRead(10000))
                output += saver.readAllStandardOutput();
            QVERIFY2(output.startsWith(awaited), qPrintable(saver.errorString() + saver.readAllStandardError()));
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(20001)));
            saver.kill();
            QVERIFY(saver.waitForFinished(10000));
            QVERIFY(saver.exitStatus() == QProcess::CrashExit || saver.exitCode() == 0);

            const QByteArray s = get(score()), n = get(name());
            const QByteArray when = "kill " + QByteArray::number(kill) + ": " + s.toHex(' ') + " / " + n.toHex(' ');
            QVERIFY2(QByteArrayList({kOldScore, kNewScore}).contains(s), when.constData());
            QVERIFY2(QByteArrayList({kOldName, kNewName}).contains(n), when.constData());
            numerella::finishInterruptedSave(disk_, score(), name());
            QVERIFY2(!pendingLeft(), when.constData());
            QCOMPARE(get(score()), s);
            QVERIFY2(samePair(s, get(name())), (when + " -> " + get(name()).toHex(' ')).constData());
            changes += s != last;
            last = s;
        }
        QVERIFY(changes >= 2);  // saves did land, both ways
    }

    // The save cut after each of its file operations, then the recovery cut
    // after each of its own, then a whole recovery: always a matching pair.
    void crashDuringSaveAndRecovery()
    {
        bool saveWhole = false;
        for (int saveCut = 0; !saveWhole; ++saveCut) {
            bool recoveryWhole = false;
            for (int recoveryCut = 0; !recoveryWhole; ++recoveryCut) {
                init();
                putOldRecord();
                FaultyFiles save, recovery;
                dieAfter(save, saveCut);
                dieAfter(recovery, recoveryCut);
                // As the game saves: the pending files dropped when a step fails.
                if (!(writePending(save) && numerella::commitPendingRecord(save, score(), name())))
                    numerella::discardPendingRecord(save, score(), name());
                saveWhole = save.failures == 0;
                const QByteArray when = "save cut after " + QByteArray::number(saveCut) + ", recovery after "
                                        + QByteArray::number(recoveryCut) + ": " + get(score()) + get(name());
                QVERIFY2(QByteArrayList({kOldScore, kNewScore}).contains(get(score())), when.constData());
                QVERIFY2(QByteArrayList({kOldName, kNewName}).contains(get(name())), when.constData());

                numerella::finishInterruptedSave(recovery, score(), name());
                recoveryWhole = recovery.failures == 0;
                numerella::finishInterruptedSave(disk_, score(), name());
                QVERIFY2(!pendingLeft(), when.constData());
                QVERIFY2(samePair(get(score()), get(name())), when.constData());
                QVERIFY2(!saveWhole || get(name()) == kNewName, when.constData());
            }
        }
    }
};

QTEST_GUILESS_MAIN(RecordsTest)
#include "test_records.moc"
