// The record store on a real disk: the compare with the record on disk now,
// cut saves and their recovery, special and linked files, another user, two
// copies at once, and the helper's input.
#include "harness.h"

#include "records/recordkeeper.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace numerella;
using namespace numerella::testing;

namespace {

const QByteArray kOld("1111\r\nAnna\r\n"), kNew("22222\r\nGiocatore 22222\r\n");

// Another copy of the game: a child process saving "record + 1" held by
// "Giocatore N" `saves` times. It exits with the count of its saves, or 255
// once a load shows a pair that does not belong together.
pid_t startClimber(const QString& folder, int saves)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    RecordStore store(folder);
    const RecordPair first = store.load().pair;
    int saved = 0;
    for (int i = 0; i < saves; ++i) {
        const RecordPair now = store.load().pair;
        if (now.holder != "Giocatore " + now.score && (now.score != first.score || now.holder != first.holder))
            ::_exit(255);
        const QString next = QString::number(now.score.trimmed().toInt() + 1);
        saved += store.saveIfBetter(next, "Giocatore " + next).outcome == SaveOutcome::Saved;
    }
    ::_exit(saved);
}

int exitStatus(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

class RecordStoreTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& file) const { return dir_->filePath(file); }
    QByteArray pair() const { return readFile(path(kScoreFileName)) + readFile(path(kNameFileName)); }
    QStringList pending() const { return QDir(dir_->path()).entryList({"*.nuovo"}, QDir::AllEntries | QDir::System); }
    // Nothing pending, and the old pair or a saver's whole one.
    bool onePlayer() const
    {
        static const QRegularExpression climber(QStringLiteral("^(\\d+)\r\nGiocatore \\1\r\n$"));
        return pending().isEmpty() && (pair() == kOld || climber.match(QString::fromLatin1(pair())).hasMatch());
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        writeFile(path(kScoreFileName), "1111\r\n");
        writeFile(path(kNameFileName), "Anna\r\n");
        ::alarm(240);  // a store that blocks fails the test instead of hanging it
    }
    void cleanup() { ::alarm(0); }

    // Odd bytes are read one character each; an equal score, or one below
    // the record on disk now (read the forgiving way), is not a record.
    void saveComparesWithTheDiskNow()
    {
        writeFile(path(kScoreFileName), "12abc\r\n");
        writeFile(path(kNameFileName), QByteArray("An\0\x80\xE8", 5));
        RecordStore mine(dir_->path()), other(dir_->path());
        QCOMPARE(mine.load().pair.holder, QString::fromUtf16(u"An\0€è", 5));
        QCOMPARE(mine.saveIfBetter("12", "Carla").outcome, SaveOutcome::NotBetter);
        QCOMPARE(other.saveIfBetter("20", "Bruno").outcome, SaveOutcome::Saved);
        QCOMPARE(mine.saveIfBetter("15", "Carla").onDisk.holder, QStringLiteral("Bruno\r\n"));
        QCOMPARE(mine.saveIfBetter("21", "Carla").outcome, SaveOutcome::Saved);
        QCOMPARE(pair(), QByteArray("21\r\nCarla\r\n"));
    }

    // What a cut save left is completed or undone by the next load; links
    // planted at pending names are dropped, never followed.
    void recovery_data()
    {
        QTest::addColumn<QStringList>("leftovers");  // "@": a link to a file outside
        QTest::addColumn<QByteArray>("after");
        const QString s = "tavrec10.txt.77.ab.nuovo", n = "ntavrec10.txt.77.ab.nuovo";
        QTest::newRow("both pending: dropped") << QStringList{s, n} << kOld;
        QTest::newRow("score pending: dropped") << QStringList{s} << kOld;
        QTest::newRow("name alone: put in place") << QStringList{n} << QByteArray("1111\r\nBruno\r\n");
        QTest::newRow("older fixed name alone") << QStringList{"ntavrec10.txt.nuovo"} << QByteArray("1111\r\nBruno\r\n");
        QTest::newRow("two names alone: dropped") << QStringList{n, "ntavrec10.txt.1.cd.nuovo"} << kOld;
        QTest::newRow("links at pending names") << QStringList{"@" + n, "@tavrec10.txt.nuovo"} << kOld;
    }
    void recovery()
    {
        QFETCH(QStringList, leftovers);
        QFETCH(QByteArray, after);
        QTemporaryDir outside;
        const QString victim = outside.filePath("victim");
        writeFile(victim, "keep me");
        for (const QString& file : leftovers) {
            if (file.startsWith(u'@'))
                QVERIFY(QFile::link(victim, path(file.mid(1))));
            else
                writeFile(path(file), file.startsWith(u'n') ? "Bruno\r\n" : "2222\r\n");
        }
        QVERIFY(RecordStore(dir_->path()).load().readable);
        QCOMPARE(pair() + readFile(victim), after + "keep me");
        QCOMPARE(pending(), QStringList());
    }

    // Nothing but a plain file is opened, followed or replaced: such a
    // record is unreadable, a save refuses, and every file stays as it was.
    void specialFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<SaveOutcome>("saved");
        for (const QString& file : {kScoreFileName, kNameFileName})
            for (const char* kind : {"fifo", "folder", "link", "dangling link"})
                QTest::newRow(qPrintable(file + u' ' + kind)) << file << kind << SaveOutcome::Unreadable;
        QTest::newRow("fifo as the lock") << ".lock" << "fifo" << SaveOutcome::Failed;
        QTest::newRow("link as the lock") << ".lock" << "link" << SaveOutcome::Failed;
    }
    void specialFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(SaveOutcome, saved);
        QTemporaryDir outside;
        const QString target = outside.filePath("target");
        const QByteArray at = QFile::encodeName(path(file));
        QFile::remove(path(file));
        QVERIFY(kind != "fifo" || ::mkfifo(at.constData(), 0666) == 0);
        QVERIFY(kind != "folder" || QDir().mkdir(path(file)));
        if (kind == "link")
            writeFile(target, "99\r\n");
        QVERIFY(!kind.endsWith("link") || QFile::link(target, path(file)));
        struct stat before {}, after {};
        ::lstat(at.constData(), &before);
        RecordStore store(dir_->path());
        QVERIFY(!store.load().readable);
        QCOMPARE(store.saveIfBetter("99999", "Furbo").outcome, saved);
        ::lstat(at.constData(), &after);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(readFile(target), QByteArray(kind == "link" ? "99\r\n" : "<missing>"));
        QVERIFY(file == kScoreFileName || readFile(path(kScoreFileName)) == "1111\r\n");
        QVERIFY(file == kNameFileName || readFile(path(kNameFileName)) == "Anna\r\n");
        QCOMPARE(pending(), QStringList());
    }

    // As a user who may not read the score file (root reads anything, so
    // the child drops to nobody), no save goes over it.
    void anotherUser()
    {
        QCOMPARE(::chmod(QFile::encodeName(dir_->path()).constData(), 0777), 0);
        QVERIFY(RecordStore(dir_->path()).load().readable);  // makes the lock file
        QCOMPARE(::chmod(QFile::encodeName(path(kScoreFileName)).constData(), 0), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(100);
            ::_exit(int(RecordStore(dir_->path()).saveIfBetter("99", "X").outcome));
        }
        const int outcome = exitStatus(pid);
        ::chmod(QFile::encodeName(path(kScoreFileName)).constData(), 0644);
        QCOMPARE(outcome, int(SaveOutcome::Unreadable));
        QCOMPARE(pair(), kOld);
    }

    // Two copies at once: each sees whole pairs only, and every save either
    // reports is on disk (no update lost).
    void twoCopiesAtOnce()
    {
        const pid_t a = startClimber(dir_->path(), 150), b = startClimber(dir_->path(), 150);
        const int saves = exitStatus(a) + exitStatus(b);
        QVERIFY2(saves >= 150 && saves <= 300, qPrintable(QString::number(saves)));
        QCOMPARE(pair(), QStringLiteral("%1\r\nGiocatore %1\r\n").arg(1111 + saves).toLatin1());
    }

    // The save stopped before each of its steps, then the next load before
    // each of its own, then a whole load: always one player's pair, the new
    // one whenever the save said it saved.
    void cutAtEveryStep()
    {
        bool saveWhole = false;
        for (int saveCut = 0; !saveWhole; ++saveCut) {
            bool loadWhole = false;
            for (int loadCut = 0; !loadWhole; ++loadCut) {
                init();
                RecordStore save(dir_->path()), load(dir_->path());
                int saveSteps = saveCut, loadSteps = loadCut;
                save.setStepGate([&] { return saveSteps-- > 0; });
                load.setStepGate([&] { return loadSteps-- > 0; });
                const bool saved = save.saveIfBetter("22222", "Giocatore 22222").outcome == SaveOutcome::Saved;
                saveWhole = saveSteps >= 0;
                load.load();
                loadWhole = loadSteps >= 0;
                RecordStore(dir_->path()).load();
                QVERIFY2(saved == saveWhole && onePlayer() && (!saved || pair() == kNew),
                         QByteArray::number(saveCut) + '/' + QByteArray::number(loadCut) + ": " + pair());
            }
        }
    }

    // A rename that fails is never reported as saved: a folder is put in the
    // file's place once the new score is written, or once it is in place.
    void failedRename()
    {
        for (const QString& blocked : {kScoreFileName, kNameFileName}) {
            init();
            RecordStore store(dir_->path());
            bool done = false;
            store.setStepGate([&] {
                if (!done && readFile(path(blocked == kScoreFileName ? pending().value(0) : kScoreFileName)).startsWith("22222"))
                    done = QFile::remove(path(blocked)) && QDir().mkpath(path(blocked) + "/inside");
                return true;
            });
            QCOMPARE(store.saveIfBetter("22222", "Giocatore 22222").outcome, SaveOutcome::Failed);
            QVERIFY(done && QFileInfo(path(blocked)).isDir());
        }
    }

    // The helper takes a score of 1 to 5 digits and one UTF-8 line of
    // at most 1,000 characters, or refuses (4) before touching anything.
    void helperRefusesBadInput()
    {
        const QList<std::pair<QStringList, QByteArray>> bad = {
            {{}, "Anna"}, {{"load", "5"}, "Anna"}, {{"save", "5", "/tmp"}, "Anna"}, {{"save", "123456"}, "Anna"}, {{"save", "-1"}, "Anna"},
            {{"save", "5"}, "Ann\xE0"}, {{"save", "5"}, "Anna\nBruno"}, {{"save", "5"}, QString(1001, u'è').toUtf8()}};
        const QString shared = QStringLiteral(TEST_SHARED_FOLDER);
        for (const auto& [args, input] : bad) {
            QVERIFY(QDir(shared).removeRecursively() && QDir().mkpath(shared));
            QProcess helper;
            helper.start(TEST_HELPER_PATH, args);
            helper.write(input);
            helper.closeWriteChannel();
            QVERIFY(helper.waitForFinished(60000));
            QVERIFY2(helper.exitCode() == helper::kBadInput, qPrintable(args.join(u' ') + u' ' + input.left(20)));
            QCOMPARE(QDir(shared).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        }
    }
};

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "test_recordstore.moc"
