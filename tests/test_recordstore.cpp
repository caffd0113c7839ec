// The record store on a real disk: the compare with the record on disk now,
// special files, permissions, a held lock, two copies at once, saves cut at
// every step; then the helper and the game's shared keeper driven through it.
#include "harness.h"

#include "records/recordkeeper.h"

#include <QProcess>
#include <QtTest>

#include <filesystem>

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace numerella;
using namespace numerella::testing;

namespace {

const QByteArray kOld("1111\r\nAnna\r\n"), kNew("22222\r\nGiocatore 22222\r\n");

// Runs `work` in a child, as nobody when we are root; its exit status.
int asNobody(const std::function<int()>& work)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0) ? 100 : work());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Another copy of the game saving "record + 1" by "Giocatore N" `saves`
// times; its count of saves, 255 once it reads a mixed pair, 200 + the
// outcome of a load that failed.
pid_t startClimber(const QString& folder, int saves)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    RecordStore store(folder.toStdString(), true);
    int saved = 0;
    for (int i = 0; i < saves; ++i) {
        const RecordResult loaded = store.load();
        const RecordPair& now = loaded.pair;
        if (loaded.outcome == Outcome::Busy)
            continue;  // starved by the other copy, on a loaded machine
        if (loaded.outcome != Outcome::Done)
            ::_exit(200 + int(loaded.outcome));
        if (now.name != "Giocatore " + now.score && now.score + now.name != kOld.toStdString())
            ::_exit(255);
        const std::string next = std::to_string(std::stoi(now.score) + 1);
        saved += store.saveIfBetter(next, "Giocatore " + next).outcome == Outcome::Done;
    }
    ::_exit(saved);
}

} // namespace

class RecordStoreTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& file) const { return dir_->filePath(file); }
    QByteArray pair() const { return readFile(path(kScoreFile)) + readFile(path(kNameFile)); }
    std::string folder() const { return QFile::encodeName(dir_->path()).toStdString(); }
    // Holds the lock as another save would, until the returned descriptor closes.
    static int holdLock(const QString& lockFile)
    {
        const int fd = ::open(QFile::encodeName(lockFile).constData(), O_RDONLY | O_CREAT, 0600);
        return ::flock(fd, LOCK_EX) == 0 ? fd : -1;
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        writeFile(path(kScoreFile), "1111\r\n");
        writeFile(path(kNameFile), "Anna\r\n");
        ::alarm(240);  // a store that blocks fails the test instead of hanging it
    }
    void cleanup() { ::alarm(0); }

    // Odd bytes are read as they are; an equal score, or one below the
    // record on disk now (read the forgiving way), is not a record.
    void saveComparesWithTheDiskNow()
    {
        writeFile(path(kScoreFile), "12abc\r\n");
        writeFile(path(kNameFile), QByteArray("An\0\x80\xE8", 5));
        RecordStore mine(folder(), true), other(folder(), true);
        QCOMPARE(QByteArray::fromStdString(mine.load().pair.name), QByteArray("An\0\x80\xE8", 5));
        QCOMPARE(mine.saveIfBetter("12", "Carla").outcome, Outcome::NotBetter);
        QCOMPARE(other.saveIfBetter("20", "Bruno").outcome, Outcome::Done);
        QCOMPARE(mine.saveIfBetter("15", "Carla").pair.name, std::string("Bruno\r\n"));
        QCOMPARE(mine.saveIfBetter("21", "Carla").outcome, Outcome::Done);
        QCOMPARE(pair(), QByteArray("21\r\nCarla\r\n"));
        QCOMPARE(readFile(path(kJournalFile)), QByteArray());
        QCOMPARE(mine.saveIfBetter("22", "Riga\r\nfalsa").outcome, Outcome::Failed);
    }

    // Nothing but a plain file is opened, followed or replaced: such a
    // record is unreadable, a save refuses, and every file stays as it was.
    void specialFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Outcome>("loaded");
        for (const char* file : {kScoreFile, kNameFile, kJournalFile})
            for (const char* kind : {"fifo", "folder", "link", "dangling link"})
                QTest::newRow(qPrintable(QString(file) + u' ' + kind)) << file << kind << Outcome::Unreadable;
        QTest::newRow("fifo as the lock") << kLockFile << "fifo" << Outcome::Failed;
        QTest::newRow("link as the lock") << kLockFile << "link" << Outcome::Failed;
        QTest::newRow("score over 64 KiB") << kScoreFile << "big" << Outcome::Unreadable;
    }
    void specialFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(Outcome, loaded);
        QTemporaryDir outside;
        const QString target = outside.filePath("target");
        const QByteArray at = QFile::encodeName(path(file));
        QFile::remove(path(file));
        QVERIFY(kind != "fifo" || ::mkfifo(at.constData(), 0666) == 0);
        QVERIFY(kind != "folder" || QDir().mkdir(path(file)));
        if (kind == "link" || kind == "big")
            writeFile(kind == "big" ? path(file) : target, QByteArray(kind == "big" ? 64 * 1024 + 1 : 4, '9'));
        QVERIFY(!kind.endsWith("link") || QFile::link(target, path(file)));
        struct stat before {}, after {};
        ::lstat(at.constData(), &before);
        RecordStore store(folder(), true);
        QCOMPARE(store.load().outcome, loaded);
        QCOMPARE(store.saveIfBetter("99999", "Furbo").outcome, loaded);
        ::lstat(at.constData(), &after);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_size, before.st_size);
        QCOMPARE(readFile(target), QByteArray(kind == "link" ? "9999" : "<missing>"));
        QVERIFY2(file == kScoreFile || readFile(path(kScoreFile)) == "1111\r\n", "score file changed");
        QVERIFY2(file == kNameFile || readFile(path(kNameFile)) == "Anna\r\n", "name file changed");
    }

    // The true reason: a read-only folder with writable files still saves
    // in place; files that may not be written are read-only, not busy.
    void permissions()
    {
        QVERIFY(RecordStore(folder(), true).load().outcome == Outcome::Done);  // journal and lock
        QCOMPARE(::chmod(QFile::encodeName(dir_->path()).constData(), 0755), 0);
        for (const char* file : {kScoreFile, kNameFile, kJournalFile, kLockFile})
            QCOMPARE(::chmod(QFile::encodeName(path(file)).constData(), 0644), 0);
        const auto save = [&] { return int(RecordStore(folder(), true).saveIfBetter("3000", "Ugo").outcome); };
        QCOMPARE(asNobody(save), int(Outcome::ReadOnly));
        QCOMPARE(pair(), kOld);
        for (const char* file : {kScoreFile, kNameFile, kJournalFile})
            QCOMPARE(::chmod(QFile::encodeName(path(file)).constData(), 0666), 0);
        QCOMPARE(asNobody(save), int(Outcome::Done));
        QCOMPARE(pair(), QByteArray("3000\r\nUgo\r\n"));
    }

    // A login's folder, missing, of any bytes: made 0700 and opened as given.
    void perLoginFolderOfAnyBytes()
    {
        const QByteArray folder = QFile::encodeName(dir_->path()) + "/d\xE8ti/\xFF/numerella-del-dieci";
        RecordKeeper keeper(folder);
        QCOMPARE(keeper.load().outcome, Outcome::Done);
        QCOMPARE(keeper.save("7", "Zoe").outcome, Outcome::Done);
        struct stat st {};
        QCOMPARE(::stat((folder + "/tavrec10.txt").constData(), &st), 0);
        QCOMPARE(st.st_size, 3);
        QCOMPARE(::stat(folder.constData(), &st) == 0 ? st.st_mode & 0777 : 0, 0700u);
        std::filesystem::remove_all(folder.left(folder.indexOf("/\xFF")).toStdString());  // Qt cannot name it
    }

    // Two copies at once: each reads whole pairs only, and every save
    // reported is on disk.
    void twoCopiesAtOnce()
    {
        const pid_t a = startClimber(dir_->path(), 150), b = startClimber(dir_->path(), 150);
        int saves = 0;
        for (const pid_t pid : {a, b}) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) < 200, qPrintable(QString::number(status)));
            saves += WEXITSTATUS(status);
        }
        QVERIFY2(saves >= 100, qPrintable(QString::number(saves)));
        QCOMPARE(pair(), QStringLiteral("%1\r\nGiocatore %1\r\n").arg(1111 + saves).toLatin1());
    }

    // The save stopped before each of its steps, then the next load before
    // each of its own (a stopped load reads nothing), then a whole load:
    // always the old pair or the new, the new one whenever the save said it
    // saved, and an empty journal.
    void cutAtEveryStep()
    {
        bool saveWhole = false;
        for (int saveCut = 0; !saveWhole; ++saveCut) {
            bool loadWhole = false;
            for (int loadCut = 0; !loadWhole; ++loadCut) {
                init();
                RecordStore save(folder(), true), load(folder(), true);
                int saveSteps = saveCut, loadSteps = loadCut;
                save.stepGate = [&] { return saveSteps-- > 0; };
                load.stepGate = [&] { return loadSteps-- > 0; };
                const bool saved = save.saveIfBetter("22222", "Giocatore 22222").outcome == Outcome::Done;
                saveWhole = saveSteps >= 0;
                const RecordPair seen = load.load().pair;
                loadWhole = loadSteps >= 0;
                const QByteArray at = QByteArray::number(saveCut) + '/' + QByteArray::number(loadCut) + ": ";
                const QByteArray read = QByteArray::fromStdString(seen.score + seen.name);
                QVERIFY2(!loadWhole || read == kOld || read == kNew, at + "read " + read);
                QVERIFY2(RecordStore(folder(), true).load().outcome == Outcome::Done, at);
                QVERIFY2((pair() == kOld && !saved) || pair() == kNew, at + pair());
                QVERIFY2(!loadWhole || read == pair(), at + "a reader saw another pair than the next");
                QVERIFY2(readFile(path(kJournalFile)).isEmpty(), at + "journal left");
            }
        }
    }

    // The helper built for a test folder, and the game's shared keeper on
    // it: success and every failure, nothing created or changed by one.
    void helperAndKeeper_data()
    {
        QTest::addColumn<QString>("setUp");  // files: all, none, fifo, held
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("after");
        const QByteArray saved("20\r\nZo\xEB\r\n"), old("12\r\nAnna\r\n");
        QTest::newRow("saved") << "all" << QStringList{"save", "20"} << QByteArray("Zo\xEB") << 0 << saved;
        QTest::newRow("equal") << "all" << QStringList{"save", "12"} << QByteArray("Zoe") << 1 << old;
        QTest::newRow("fifo") << "fifo" << QStringList{"save", "20"} << QByteArray("Zoe") << 2 << QByteArray();
        QTest::newRow("held lock") << "held" << QStringList{"save", "20"} << QByteArray("Zoe") << 3 << old;
        QTest::newRow("files removed") << "none" << QStringList{"save", "20"} << QByteArray("Zoe") << 7 << QByteArray();
        QTest::newRow("show, none") << "none" << QStringList{"show"} << QByteArray() << 0 << QByteArray();
        for (const auto& [arguments, input] : QList<std::pair<QStringList, QByteArray>>{
                 {{}, ""}, {{"load", "5"}, "A"}, {{"save", "5", "/tmp"}, "A"}, {{"save", "123456"}, "A"},
                 {{"save", "-1"}, "A"}, {{"save", "5"}, "A\nB"}, {{"save", "5"}, "A\x7F"},
                 {{"save", "5"}, QByteArray(1001, 'a')}, {{"show", "5"}, ""}})
            QTest::newRow(qPrintable("refused: " + arguments.join(u' ') + u' ' + input.left(5).toHex()))
                << "all" << arguments << input << 64 << old;
    }
    void helperAndKeeper()
    {
        QFETCH(QString, setUp);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, status);
        QFETCH(QByteArray, after);
        QDir shared(QStringLiteral(TEST_SHARED_FOLDER));
        QVERIFY(shared.removeRecursively() && QDir().mkpath(shared.path()));
        if (setUp != "none") {
            writeFile(shared.filePath(kScoreFile), "12\r\n");
            writeFile(shared.filePath(kNameFile), "Anna\r\n");
            writeFile(shared.filePath(kJournalFile), "");
            writeFile(shared.filePath(kLockFile), "");
        }
        const QByteArray score = QFile::encodeName(shared.filePath(kScoreFile));
        QVERIFY(setUp != "fifo" || (::unlink(score.constData()) == 0 && ::mkfifo(score.constData(), 0644) == 0));
        const int held = setUp == "held" ? holdLock(shared.filePath(kLockFile)) : -1;
        const QStringList before = shared.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QProcess helper;
        helper.start(TEST_HELPER_PATH, arguments);
        helper.write(input);
        helper.closeWriteChannel();
        QVERIFY(helper.waitForFinished(60000));
        QCOMPARE(helper.exitCode(), status);
        QCOMPARE(shared.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
        if (setUp != "fifo")
            QCOMPARE(readFile(shared.filePath(kNameFile)), setUp == "none" ? QByteArray("<missing>") : after.mid(4));
        if (arguments.value(0) == "show" || status == 64)
            return (void)::close(held);

        // The game's keeper gives the helper's outcome and the pair on disk.
        if (setUp == "all")
            writeFile(shared.filePath(kScoreFile), "12\r\n");
        RecordKeeper keeper(QFile::encodeName(shared.path()), TEST_HELPER_PATH);
        QElapsedTimer waited;
        waited.start();
        const RecordResult result = keeper.save(arguments[1], QString::fromLatin1(input));
        ::close(held);
        // Held, the helper gives up after 2 s, and the board waits no longer.
        QVERIFY2(waited.elapsed() < (setUp == "held" ? 3000 : 1000) && (setUp != "held" || waited.elapsed() >= 2000),
                 qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(int(result.outcome), status);
        QCOMPARE(QByteArray::fromStdString(result.pair.score + result.pair.name), status < 2 ? after : QByteArray());
        QCOMPARE(keeper.load().outcome, setUp == "fifo" ? Outcome::Unreadable : Outcome::Done);
        QCOMPARE(RecordKeeper(shared.path().toUtf8(), "/nonexistent").save("20", "Zoe").outcome, Outcome::Failed);
    }
};

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "test_recordstore.moc"
