// The record store on a real disk: creating and reading, the compare with
// the record on disk now, cut saves and their recovery, special and linked
// files, another user, two copies at once, a killed saver, the setgid
// helper's input and the per-login folder.
#include "platform/datafolder.h"
#include "records/recordkeeper.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include <memory>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace numerella;

namespace {

const QByteArray kOld("1111\r\nAnna\r\n"), kNew("22222\r\nGiocatore 22222\r\n");

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

QByteArray get(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray run(const QStringList& args, const QString& program = QStringLiteral(RECORD_SAVER_PATH),
               const QByteArray& input = {}, int* code = nullptr)
{
    QProcess process;
    process.start(program, args);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    if (code)
        *code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput();
}

} // namespace

class RecordStoreTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& file) const { return dir_->filePath(file); }
    QByteArray pair() const { return get(path(kScoreFileName)) + get(path(kNameFileName)); }
    void putPair(const QByteArray& score, const QByteArray& name)
    {
        put(path(kScoreFileName), score);
        put(path(kNameFileName), name);
    }
    QStringList pending() const
    {
        return QDir(dir_->path()).entryList({QStringLiteral("*.nuovo")}, QDir::AllEntries | QDir::System);
    }
    // What a load left on disk must be one player's whole pair.
    bool onePlayer() const
    {
        static const QRegularExpression climber(QStringLiteral("^(\\d+)\r\nGiocatore \\1\r\n$"));
        return pending().isEmpty() && (pair() == kOld || climber.match(QString::fromLatin1(pair())).hasMatch());
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        ::alarm(240);  // a store that blocks fails the test instead of hanging it
    }
    void cleanup() { ::alarm(0); }

    // Missing files are created empty; odd bytes are read one character
    // each and left alone; an equal score, or one below the record on disk
    // now (read the forgiving way), is not a record.
    void loadAndCompare()
    {
        QVERIFY(RecordStore(dir_->path()).load().readable);
        QCOMPARE(pair(), QByteArray());
        putPair("12abc\r\n", QByteArray("An\0\x80\xE8", 5));
        RecordStore mine(dir_->path()), other(dir_->path());
        const RecordLoad loaded = mine.load();
        QCOMPARE(loaded.pair.holder, QString::fromUtf16(u"An\0€è", 5));
        QCOMPARE(mine.saveIfBetter(QStringLiteral("12"), QStringLiteral("Carla")).outcome, SaveOutcome::NotBetter);
        QCOMPARE(other.saveIfBetter(QStringLiteral("20"), QStringLiteral("Bruno")).outcome, SaveOutcome::Saved);
        QCOMPARE(mine.saveIfBetter(QStringLiteral("15"), QStringLiteral("Carla")).onDisk.holder, QStringLiteral("Bruno\r\n"));
        QCOMPARE(mine.saveIfBetter(QStringLiteral("21"), QStringLiteral("Carla")).outcome, SaveOutcome::Saved);
        QCOMPARE(pair(), QByteArray("21\r\nCarla\r\n"));
        QVERIFY(!RecordStore(path(QStringLiteral("none"))).load().readable);
    }

    // What a cut save left is completed or undone by the next load.
    void recovery_data()
    {
        QTest::addColumn<QStringList>("leftovers");
        QTest::addColumn<QByteArray>("after");
        const QString s = QStringLiteral("tavrec10.txt.77.ab.nuovo"), n = QStringLiteral("ntavrec10.txt.77.ab.nuovo");
        QTest::newRow("both pending: dropped") << QStringList{s, n} << kOld;
        QTest::newRow("score pending: dropped") << QStringList{s} << kOld;
        QTest::newRow("name alone: put in place") << QStringList{n} << QByteArray("1111\r\nBruno\r\n");
        QTest::newRow("older fixed name alone") << QStringList{"ntavrec10.txt.nuovo"} << QByteArray("1111\r\nBruno\r\n");
        QTest::newRow("two names alone: dropped") << QStringList{n, "ntavrec10.txt.1.cd.nuovo"} << kOld;
    }
    void recovery()
    {
        QFETCH(QStringList, leftovers);
        QFETCH(QByteArray, after);
        putPair("1111\r\n", "Anna\r\n");
        for (const QString& file : leftovers)
            put(path(file), file.startsWith(u'n') ? "Bruno\r\n" : "2222\r\n");
        QVERIFY(RecordStore(dir_->path()).load().readable);
        QCOMPARE(pair(), after);
        QCOMPARE(pending(), QStringList());
    }

    // Nothing but a plain file is opened, followed or replaced: such a
    // record is unreadable, a save refuses, and every file stays as it was.
    void specialFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<SaveOutcome>("saved");
        for (const QString& file : {kScoreFileName, kNameFileName}) {
            for (const char* kind : {"fifo", "folder", "link", "dangling link"})
                QTest::newRow(qPrintable(file + u' ' + kind)) << file << kind << SaveOutcome::Unreadable;
        }
        QTest::newRow("score over 64 KiB") << kScoreFileName << "big" << SaveOutcome::Unreadable;
        QTest::newRow("fifo as the lock") << QStringLiteral(".lock") << "fifo" << SaveOutcome::Failed;
        QTest::newRow("link as the lock") << QStringLiteral(".lock") << "link" << SaveOutcome::Failed;
    }
    void specialFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(SaveOutcome, saved);
        QTemporaryDir outside;
        const QByteArray target = QFile::encodeName(outside.filePath(QStringLiteral("target")));
        const QByteArray at = QFile::encodeName(path(file));
        putPair("50\r\n", "Campione\r\n");
        const QByteArray big(kMaxRecordFileBytes + 1, '7');
        ::unlink(at.constData());
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(at.constData(), 0666), 0);
        else if (kind == u"folder")
            QCOMPARE(::mkdir(at.constData(), 0755), 0);
        else if (kind == u"big")
            put(path(file), big);
        else if (kind == u"link")
            put(QString::fromLocal8Bit(target), "99\r\n");
        if (kind.endsWith(u"link"))
            QCOMPARE(::symlink(target.constData(), at.constData()), 0);
        struct stat before {}, after {};
        ::lstat(at.constData(), &before);

        RecordStore store(dir_->path());
        QVERIFY(!store.load().readable);
        QCOMPARE(store.saveIfBetter(QStringLiteral("99999"), QStringLiteral("Furbo")).outcome, saved);
        ::lstat(at.constData(), &after);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(get(QString::fromLocal8Bit(target)), QByteArray(kind == u"link" ? "99\r\n" : "<missing>"));
        for (const auto& [other, bytes] : {std::pair{kScoreFileName, "50\r\n"}, std::pair{kNameFileName, "Campione\r\n"}})
            QVERIFY(other == file || get(path(other)) == bytes);
        QVERIFY(kind != u"big" || get(path(file)) == big);
        QCOMPARE(pending(), QStringList());
    }

    // Links planted at pending names are dropped, never written through.
    void linksAtPendingNames()
    {
        QTemporaryDir outside;
        const QString victim = outside.filePath(QStringLiteral("victim"));
        put(victim, "keep me");
        putPair("5\r\n", "Anna\r\n");
        for (const char* link : {"tavrec10.txt.nuovo", "ntavrec10.txt.nuovo", "tavrec10.txt.1.2.nuovo"})
            QCOMPARE(::symlink(QFile::encodeName(victim).constData(), QFile::encodeName(path(link)).constData()), 0);
        QCOMPARE(RecordStore(dir_->path()).saveIfBetter(QStringLiteral("6"), QStringLiteral("Bea")).outcome,
                 SaveOutcome::Saved);
        QCOMPARE(pair() + get(victim), QByteArray("6\r\nBea\r\nkeep me"));
        QCOMPARE(pending(), QStringList());
    }

    // As a user who may not read the score file (root reads anything, so
    // the saver drops to nobody): unreadable, and no save over it.
    void anotherUser()
    {
        QCOMPARE(::chmod(QFile::encodeName(dir_->path()).constData(), 0777), 0);
        putPair("50\r\n", "Campione\r\n");
        QVERIFY(RecordStore(dir_->path()).load().readable);  // makes the lock file
        QCOMPARE(::chmod(QFile::encodeName(path(kScoreFileName)).constData(), 0), 0);
        const QStringList as = ::geteuid() == 0 ? QStringList{"--nobody"} : QStringList();
        int code = 0;
        const QByteArray loaded = run(as + QStringList{"load", dir_->path()}, RECORD_SAVER_PATH, {}, &code);
        if (code == 2)
            QSKIP("cannot run as another user here");
        QCOMPARE(loaded, QByteArray("unreadable\n"));
        QCOMPARE(run(as + QStringList{"save", dir_->path(), "99", "X"}), QByteArray("Unreadable\n"));
        QCOMPARE(::chmod(QFile::encodeName(path(kScoreFileName)).constData(), 0644), 0);
        QCOMPARE(pair(), QByteArray("50\r\nCampione\r\n"));
    }

    // Two copies saving "record + 1" at once: each sees whole pairs that
    // never go down, and every save one reports is there (no update lost).
    void twoCopiesAtOnce()
    {
        QProcess a, b;
        for (QProcess* copy : {&a, &b})
            copy->start(QStringLiteral(RECORD_SAVER_PATH), {"climb", dir_->path(), "150"});
        int saved = 0;
        for (QProcess* copy : {&a, &b}) {
            QVERIFY(copy->waitForFinished(120000));
            QCOMPARE(copy->exitCode(), 0);
            saved += copy->readAllStandardOutput().count('S');
        }
        QVERIFY(saved >= 150);
        QCOMPARE(pair(), QStringLiteral("%1\r\nGiocatore %1\r\n").arg(saved).toLatin1());
        QCOMPARE(pending(), QStringList());
    }

    // A saver killed with SIGKILL at random moments: every file always holds
    // a whole line, and after the next load one player's pair.
    void killedSaver()
    {
        putPair("1111\r\n", "Anna\r\n");
        QRandomGenerator random(20260712);
        int changes = 0;
        QByteArray last = kOld;
        for (int kill = 0; kill < 120; ++kill) {
            QProcess saver;
            saver.start(QStringLiteral(RECORD_SAVER_PATH), {"climb", dir_->path(), "1000000"});
            QVERIFY(saver.waitForReadyRead(10000));
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(20001)));
            saver.kill();
            QVERIFY(saver.waitForFinished(10000));
            const QByteArray score = get(path(kScoreFileName)), name = get(path(kNameFileName));
            QVERIFY2(score.endsWith("\r\n") && name.endsWith("\r\n") && name.count('\n') == 1, pair().constData());
            QVERIFY(RecordStore(dir_->path()).load().readable);
            const QByteArray now = pair();
            QVERIFY2(onePlayer(), now.constData());
            QVERIFY(now.split('\r')[0].toInt() >= last.split('\r')[0].toInt());
            changes += now != last;
            last = now;
        }
        QVERIFY(changes >= 2);
    }

    // The save stopped before each of its steps, then the next load before
    // each of its own, then a whole load: always one player's pair, the new
    // one whenever the save reported it saved.
    void cutAtEveryStep()
    {
        bool saveWhole = false;
        for (int saveCut = 0; !saveWhole; ++saveCut) {
            bool loadWhole = false;
            for (int loadCut = 0; !loadWhole; ++loadCut) {
                init();
                putPair("1111\r\n", "Anna\r\n");
                RecordStore save(dir_->path()), load(dir_->path());
                int saveSteps = saveCut, loadSteps = loadCut;
                save.setStepGate([&] { return saveSteps-- > 0; });
                load.setStepGate([&] { return loadSteps-- > 0; });
                const bool saved = save.saveIfBetter(QStringLiteral("22222"), QStringLiteral("Giocatore 22222")).outcome
                                   == SaveOutcome::Saved;
                saveWhole = saveSteps >= 0;
                QCOMPARE(saved, saveWhole);
                load.load();
                loadWhole = loadSteps >= 0;
                RecordStore(dir_->path()).load();
                const QByteArray when = QByteArray::number(saveCut) + '/' + QByteArray::number(loadCut) + ": " + pair();
                QVERIFY2(onePlayer() && (!saved || pair() == kNew), when.constData());
            }
        }
    }

    // A rename that fails (the file's place taken by a folder between two
    // steps) is never reported as saved, and the old pair is kept whole.
    void failedRename_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::newRow("score") << kScoreFileName;
        QTest::newRow("name") << kNameFileName;
    }
    void failedRename()
    {
        QFETCH(QString, blocked);
        putPair("1111\r\n", "Anna\r\n");
        RecordStore store(dir_->path());
        bool done = false;
        store.setStepGate([&] {
            // The score's rename is next once both new files are whole; the
            // name's once the new score is in place.
            const bool next = blocked == kScoreFileName ? pending().size() == 2 && get(path(pending()[0])).size() == 17
                                                        : get(path(kScoreFileName)) == "22222\r\n";
            if (next && !done) {
                done = QFile::remove(path(blocked)) && QDir().mkpath(path(blocked) + QStringLiteral("/inside"));
            }
            return true;
        });
        const SaveOutcome outcome = store.saveIfBetter(QStringLiteral("22222"), QStringLiteral("Giocatore 22222")).outcome;
        QVERIFY(done);
        QCOMPARE(outcome, SaveOutcome::Failed);
        QVERIFY(QFileInfo(path(blocked)).isDir());
    }

    // The helper takes a score of 1 to 5 digits and one UTF-8 line of at
    // most 1,000 characters, or refuses (4) before touching anything.
    void helperRefusesBadInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        QTest::newRow("no command") << QStringList() << QByteArray("Anna");
        QTest::newRow("other command") << QStringList{"load", "5"} << QByteArray("Anna");
        QTest::newRow("extra argument") << QStringList{"save", "5", "/tmp"} << QByteArray("Anna");
        for (const char* score : {"", "123456", "12a", "-1", "1.5", " 7"})
            QTest::addRow("score '%s'", score) << QStringList{"save", score} << QByteArray("Anna");
        QTest::newRow("not UTF-8") << QStringList{"save", "5"} << QByteArray("Ann\xE0");
        QTest::newRow("two lines") << QStringList{"save", "5"} << QByteArray("Anna\nBruno");
        QTest::newRow("1,001 characters") << QStringList{"save", "5"} << QString(1001, u'è').toUtf8();
    }
    void helperRefusesBadInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        const QString shared = QStringLiteral(TEST_SHARED_FOLDER);
        QVERIFY(QDir(shared).removeRecursively() && QDir().mkpath(shared));
        int code = 0;
        run(args, TEST_HELPER_PATH, input, &code);
        QCOMPARE(code, helper::kBadInput);
        QCOMPARE(QDir(shared).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // The game saves through the helper only when it lies beside the game
    // with its setgid bit; the helper's status becomes the outcome.
    void sharedRecordThroughTheHelper()
    {
        const QString shared = QStringLiteral(TEST_SHARED_FOLDER), program = path(QStringLiteral("bin"));
        QVERIFY(QDir(shared).removeRecursively() && QDir().mkpath(shared) && QDir().mkpath(program));
        const QString helperCopy = program + u'/' + kRecordHelperName, login = path(QStringLiteral("login"));
        QVERIFY(QFile::copy(QStringLiteral(TEST_HELPER_PATH), helperCopy));
        QCOMPARE(makeRecordKeeper(program, login, shared)->where(), login);  // not setgid
        QCOMPARE(::chmod(QFile::encodeName(helperCopy).constData(), 02755), 0);
        const auto keeper = makeRecordKeeper(program, login, shared);
        QCOMPARE(keeper->where(), shared);
        QVERIFY(keeper->load().readable);
        QCOMPARE(keeper->save(QStringLiteral("7"), QStringLiteral("Luca\nRossi")).outcome, SaveOutcome::Saved);
        QCOMPARE(keeper->save(QStringLiteral("7"), QStringLiteral("Pia")).outcome, SaveOutcome::NotBetter);
        QCOMPARE(get(shared + QStringLiteral("/ntavrec10.txt")), QByteArray("Luca?Rossi\r\n"));
        QVERIFY(!QFileInfo::exists(login));
    }

    // The per-login folder by the XDG rules, its bytes kept as they are.
    void perLoginFolder()
    {
        QCOMPARE(encodePath(perLoginDataFolder("/srv/d\xE0ti", "/home/a")), QByteArray("/srv/d\xE0ti/numerella-del-dieci"));
        QCOMPARE(perLoginDataFolder("dati", "/home/a"), QStringLiteral("/home/a/.local/share/numerella-del-dieci"));
        QCOMPARE(perLoginDataFolder({}, {}), QString());
    }
};

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "test_recordstore.moc"
