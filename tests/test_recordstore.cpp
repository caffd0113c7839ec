// The record store on a real disk: special files, permissions, two copies at once, saves cut at every step; then the
// helper built for a test folder and the game's keeper through it.
#include "harness.h"

#include "records/recordkeeper.h"

#include <filesystem>
#include <future>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace numerella;
using namespace numerella::testing;

static const QByteArray kOld("1111\r\nAnna\r\n"), kNew("22222\r\nGiocatore 22222\r\n");

class RecordStoreTest : public QObject {
    Q_OBJECT
    // The folder the helper built for the tests keeps its record in, for every test.
    const QString folder_ = QStringLiteral(TEST_SHARED_FOLDER);
    QString path(const QString& file) const { return folder_ + '/' + file; }
    QByteArray pair() const { return readFile(path(kScoreFile)) + readFile(path(kNameFile)); }
    RecordStore store() const { return RecordStore(QFile::encodeName(folder_).toStdString(), true); }

private slots:
    void init()
    {
        std::filesystem::remove_all(TEST_SHARED_FOLDER);
        for (const char* file : {kScoreFile, kNameFile, kJournalFile, kLockFile})
            writeFile(path(file), file == kScoreFile ? "1111\r\n" : file == kNameFile ? "Anna\r\n" : "");
        ::alarm(240);  // a store that blocks fails the test instead of hanging it
    }
    void cleanup() { ::alarm(0); }

    // Nothing but a plain file is opened, followed or replaced: such a record is unreadable, a save refuses, all stays.
    void specialFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        for (const QString file : {kScoreFile, kNameFile, kJournalFile, kLockFile})
            for (const QString kind : {"fifo", "folder", "link", "dangling link", "big"})
                if (file != kLockFile || kind != "big")  // the lock is never read
                    QTest::newRow(qPrintable(file + u' ' + kind)) << file << kind;
    }
    void specialFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        const QString target = path("elsewhere");
        const QByteArray at = QFile::encodeName(path(file));
        QFile::remove(path(file));
        if (kind == "link" || kind == "big")
            writeFile(kind == "big" ? path(file) : target, QByteArray(kind == "big" ? 64 * 1024 + 1 : 4, '9'));
        QVERIFY2(!kind.endsWith("link") || QFile::link(target, path(file)), "link not made");
        QVERIFY2(kind != "fifo" || ::mkfifo(at.constData(), 0666) == 0, "FIFO not made");
        QVERIFY2(kind != "folder" || ::mkdir(at.constData(), 0700) == 0, "folder not made");
        struct stat before {}, after {};
        ::lstat(at.constData(), &before);
        QCOMPARE(store().load().outcome, Outcome::Unreadable);
        QCOMPARE(store().saveIfBetter("99999", "Furbo").outcome, Outcome::Unreadable);
        ::lstat(at.constData(), &after);
        QCOMPARE(std::pair(after.st_mode, after.st_size), std::pair(before.st_mode, before.st_size));  // kind, size
        QCOMPARE(readFile(target), QByteArray(kind == "link" ? "9999" : "<missing>"));
        QVERIFY2(file == kScoreFile || file == kNameFile || pair() == kOld, "the record changed");
    }

    // The true reason: a read-only folder with writable files still saves in place; files that may not be written
    // are read-only, not busy; a record whose journal and lock may not be made is still read. A login's own folder,
    // missing, of any bytes: made 0700, opened as given.
    void permissions()
    {
        // Below the temporary folder, which any login can reach wherever the build tree lies.
        const QTemporaryDir reachable;
        for (const char* file : {kScoreFile, kNameFile, kJournalFile, kLockFile})
            QVERIFY2(QFile::copy(path(file), reachable.filePath(file)), file);
        const QByteArray at = QFile::encodeName(reachable.path());
        const auto pairThere = [&] {
            return readFile(reachable.filePath(kScoreFile)) + readFile(reachable.filePath(kNameFile));
        };
        // In a read-only folder, as a login that owns nothing there: a save, or a load when `files` is 0.
        const auto asNobody = [&](mode_t files) {
            bool ok = ::chmod(at, 0555) == 0;
            for (const char* file : {kScoreFile, kNameFile, kJournalFile})
                ok = (!files || ::chmod(at + '/' + file, files) == 0) && ok;
            const bool root = ::geteuid() == 0;
            ok = (!root || (::setegid(65534) == 0 && ::seteuid(65534) == 0)) && ok;
            RecordStore store(at.toStdString(), true);
            RecordResult result = files ? store.saveIfBetter("3000", "Ugo") : store.load();
            ok = (!root || (::seteuid(0) == 0 && ::setegid(0) == 0)) && ::chmod(at, 0700) == 0 && ok;
            return ok ? result : RecordResult{Outcome::Failed, {}, "not set up"};
        };
        QCOMPARE(asNobody(0444).outcome, Outcome::ReadOnly);
        QCOMPARE(pairThere(), kOld);
        QCOMPARE(asNobody(0666).outcome, Outcome::Done);
        QCOMPARE(pairThere(), QByteArray("3000\r\nUgo\r\n"));
        QVERIFY2(QFile::remove(reachable.filePath(kJournalFile)) && QFile::remove(reachable.filePath(kLockFile)), "");
        const RecordResult readOnly = asNobody(0);
        QCOMPARE(QByteArray::number(int(readOnly.outcome)) + readOnly.pair.score.data() + readOnly.pair.name.data(),
                 "0" + pairThere());

        const QByteArray folder = QFile::encodeName(folder_) + "/d\xE8ti/\xFF/numerella-del-dieci";
        QCOMPARE(RecordKeeper(folder).save("7", "Zoe").outcome, Outcome::Done);
        struct stat st {};
        QCOMPARE(::stat((folder + "/tavrec10.txt").constData(), &st) == 0 ? st.st_size : -1, 3);
        QCOMPARE(::stat(folder.constData(), &st) == 0 ? st.st_mode & 0777 : 0, 0700u);
    }

    // Two copies saving "record + 1" at once: they read whole pairs only, and every save reported is on disk.
    void twoCopiesAtOnce()
    {
        const auto climb = [&] {  // its count of saves; -1 once it reads a mixed pair
            int saved = 0;
            for (int i = 0; i < 150; ++i) {
                const RecordResult now = store().load();
                const std::string next = std::to_string(std::atoi(now.pair.score.c_str()) + 1);
                if (now.outcome == Outcome::Done && now.pair.name != "Giocatore " + now.pair.score
                    && now.pair.score + now.pair.name != kOld.toStdString())
                    return -1;
                saved += store().saveIfBetter(next, "Giocatore " + next).outcome == Outcome::Done;
            }
            return saved;
        };
        auto a = std::async(std::launch::async, climb), b = std::async(std::launch::async, climb);
        const int savedByA = a.get(), savedByB = b.get();
        QVERIFY2(savedByA >= 0 && savedByB >= 0, "a copy read a mixed pair");
        QVERIFY2(savedByA + savedByB >= 100, qPrintable(QString::number(savedByA + savedByB)));
        QCOMPARE(pair(), QStringLiteral("%1\r\nGiocatore %1\r\n").arg(1111 + savedByA + savedByB).toLatin1());
    }

    // The save stopped before each of its steps, then the next load before each of its own, then a whole load: always
    // the old pair or the new, the new one whenever the save said it saved, and an empty journal.
    void cutAtEveryStep()
    {
        for (int saveCut = 0, saveSteps = 0; saveSteps <= 0; ++saveCut) {
            for (int loadCut = 0, loadSteps = 0; loadSteps <= 0; ++loadCut) {
                init();
                RecordStore save = store(), load = store();
                saveSteps = saveCut, loadSteps = loadCut;
                save.stepGate = [&] { return saveSteps-- > 0; };
                load.stepGate = [&] { return loadSteps-- > 0; };
                const bool saved = save.saveIfBetter("22222", "Giocatore 22222").outcome == Outcome::Done;
                const RecordPair seen = load.load().pair;
                const QByteArray at = QByteArray::number(saveCut) + '/' + QByteArray::number(loadCut) + ": ";
                const QByteArray read = QByteArray::fromStdString(seen.score + seen.name);
                QVERIFY2(loadSteps < 0 || read == kOld || read == kNew, at + "read " + read);
                QVERIFY2(store().load().outcome == Outcome::Done, at + "no whole load");
                QVERIFY2((pair() == kOld && !saved) || pair() == kNew, at + pair());
                QVERIFY2(loadSteps < 0 || read == pair(), at + "a reader saw another pair than the next");
                QVERIFY2(QFileInfo(path(kJournalFile)).size() == 0, at + "journal left");
            }
        }
    }

    // The helper and the game's keeper through it: each outcome; no file made or removed, none changed but by a save.
    void helperAndKeeper_data()
    {
        QTest::addColumn<QString>("setUp");  // files: all, none, all with the lock held
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("status");
        const QStringList save{"save", "22222"};
        QTest::newRow("saved") << "all" << save << QByteArray("Zo\xEB") << 0;
        QTest::newRow("equal") << "all" << QStringList{"save", "1111"} << QByteArray("Zoe") << 1;
        QTest::newRow("held lock") << "held" << save << QByteArray("Zoe") << 3;
        QTest::newRow("files removed") << "none" << save << QByteArray("Zoe") << 7;
        QTest::newRow("show, none") << "none" << QStringList{"show"} << QByteArray() << 0;
        for (const auto& [arguments, input] : QList<std::pair<QStringList, QByteArray>>{
                 {{}, ""}, {{"load", "5"}, "A"}, {{"save", "5", "/tmp"}, "A"}, {{"save", "123456"}, "A"},
                 {{"save", "-1"}, "A"}, {{"save", "5"}, "A\nB"}, {{"save", "5"}, "A\x7F"},
                 {{"save", "5"}, QByteArray(1001, 'a')}, {{"show", "5"}, ""}})
            QTest::newRow(qPrintable("refused: " + arguments.join(u' ') + u' ' + input.left(5).toHex()))
                << "all" << arguments << input << 64;
    }
    void helperAndKeeper()
    {
        QFETCH(QString, setUp);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, status);
        for (const char* file : {kScoreFile, kNameFile, kJournalFile, kLockFile})
            QVERIFY2(setUp != "none" || QFile::remove(path(file)), file);
        const int held = setUp == "held" ? ::open(QFile::encodeName(path(kLockFile)), O_RDONLY) : -1;
        QVERIFY2(setUp != "held" || ::flock(held, LOCK_EX) == 0, "lock not held");
        const auto files = [&] { return QDir(folder_).entryList(QDir::AllEntries | QDir::Hidden); };
        const QStringList before = files();
        QElapsedTimer waited;
        waited.start();
        // Refused calls straight to the helper; the others through the keeper.
        QProcess helper;
        RecordKeeper keeper(QFile::encodeName(folder_), TEST_HELPER_PATH);
        const RecordResult result = status == 64 ? RecordResult{}
                                    : arguments[0] == "show" ? keeper.load()
                                                             : keeper.save(arguments[1], QString::fromLatin1(input));
        if (status == 64) {
            helper.start(TEST_HELPER_PATH, arguments);
            helper.write(input);
            helper.closeWriteChannel();
            QVERIFY2(helper.waitForFinished(60000), "helper stuck");
        }
        ::close(held);
        const qint64 ms = waited.elapsed();  // a held lock: the helper gives up after 2 s, the board no later
        QVERIFY2(ms < (setUp == "held" ? 3000 : 1000) && (setUp != "held" || ms >= 2000), QByteArray::number(ms));
        QCOMPARE(status == 64 ? helper.exitCode() : int(result.outcome), status);
        QCOMPARE(files(), before);
        const QByteArray after = setUp == "none" ? "" : status == 0 ? "22222\r\nZo\xEB\r\n" : kOld;
        QCOMPARE(QByteArray::fromStdString(result.pair.score + result.pair.name), status < 2 ? after : "");
        const QByteArray name = setUp == "none" ? "<missing>" : after.mid(after.indexOf('\n') + 1);
        QCOMPARE(readFile(path(kNameFile)), name);
        QCOMPARE(keeper.load().outcome, Outcome::Done);
        QCOMPARE(RecordKeeper(QFile::encodeName(folder_), "/nonexistent").save("20", "Zoe").outcome, Outcome::Failed);
    }
};

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "test_recordstore.moc"
