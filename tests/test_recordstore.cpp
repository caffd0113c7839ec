// The record store on a real disk: reading and creating, the bytes of a
// saved line, the compare with the record on disk now, cut saves and their
// recovery, special and linked files, another user, copies racing and
// killed, the setgid helper, and the per-login folder.
#include "platform/datafolder.h"
#include "platform/windows1252.h"
#include "records/recordkeeper.h"
#include "records/recordstore.h"

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

const QByteArray kOldScore("1111\r\n"), kOldName("Anna\r\n");
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

mode_t typeOf(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

// Runs a program to its end with the given input; the exit code and output.
std::pair<int, QByteArray> run(const QString& program, const QStringList& args, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, args);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, process.readAllStandardError()};
    return {process.exitCode(), process.readAllStandardOutput()};
}

// A score and holder written by the savers below belong together.
bool samePlayer(const QString& score, const QString& holder)
{
    return (score == QString::fromLatin1(kOldScore) && holder == QString::fromLatin1(kOldName))
           || holder == QStringLiteral("Giocatore ") + score;
}

} // namespace

class RecordStoreTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& file) const { return dir_->filePath(file); }
    QString score() const { return path(kScoreFileName); }
    QString name() const { return path(kNameFileName); }
    void putRecord(const QByteArray& s, const QByteArray& n) { put(score(), s); put(name(), n); }
    QStringList pending() const
    {
        return QDir(dir_->path()).entryList({QStringLiteral("*.nuovo")}, QDir::AllEntries | QDir::System);
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        ::alarm(240);  // a store that blocks fails the test instead of hanging it
    }
    void cleanup() { ::alarm(0); }

    // Missing files are created empty; existing ones are read as they are
    // and left byte for byte; a folder that is not one is reported.
    void loadCreatesAndKeeps()
    {
        RecordLoad loaded = RecordStore(dir_->path()).load();
        QVERIFY(loaded.readable && loaded.problem.isEmpty());
        QVERIFY(loaded.pair.score.isEmpty() && loaded.pair.holder.isEmpty());
        QVERIFY(get(score()).isEmpty() && get(name()).isEmpty());

        const QByteArray odd = QByteArray("37\r\n\xE0\x81", 6) + '\0' + "\xFF no line end";
        putRecord("15", odd);
        loaded = RecordStore(dir_->path()).load();
        QCOMPARE(loaded.pair.score, QStringLiteral("15"));
        QCOMPARE(loaded.pair.holder, fromWindows1252(odd));
        QVERIFY(get(score()) == "15" && get(name()) == odd);

        for (const QString& folder : {path(QStringLiteral("missing")), score()}) {
            loaded = RecordStore(folder).load();
            QVERIFY(!loaded.readable && loaded.problem.contains(folder));
            QCOMPARE(RecordStore(folder).saveIfBetter(QStringLiteral("5"), {}).outcome, SaveOutcome::Failed);
        }
    }

    // The bytes a save writes for a name: Windows-1252, one line, CR LF.
    void savedLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty") << QString() << QByteArray("\r\n");
        QTest::newRow("tab kept, line breaks and controls as ?")
            << (QStringLiteral("A\tB\rC\nD") + QChar(0) + u'E' + QChar(0x7F)) << QByteArray("A\tB?C?D?E?\r\n");
        QTest::newRow("code page") << QStringLiteral("Jürgen €") << QByteArray("J\xFCrgen \x80\r\n");
        QTest::newRow("outside the code page") << QStringLiteral("Ale😀 ă") << QByteArray("Ale? ?\r\n");
    }
    void savedLine()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        putRecord("", "a much longer old name\r\n");
        const SaveResult result = RecordStore(dir_->path()).saveIfBetter(QStringLiteral("3"), text);
        QCOMPARE(result.outcome, SaveOutcome::Saved);
        QCOMPARE(get(score()), QByteArray("3\r\n"));
        QCOMPARE(get(name()), expected);
        QCOMPARE(result.onDisk.holder, fromWindows1252(expected));
    }

    // A save compares with the record on disk when it runs, read the
    // forgiving way; an equal score is not a record.
    void saveComparesWithTheDiskNow()
    {
        putRecord("12abc\r\n", kOldName);
        RecordStore mine(dir_->path()), other(dir_->path());
        QCOMPARE(mine.load().pair.score, QStringLiteral("12abc\r\n"));
        QCOMPARE(mine.saveIfBetter(QStringLiteral("12"), QStringLiteral("Carla")).outcome, SaveOutcome::NotBetter);
        QCOMPARE(other.saveIfBetter(QStringLiteral("20"), QStringLiteral("Bruno")).outcome, SaveOutcome::Saved);
        for (const char* lower : {"15", "20"}) {
            const SaveResult result = mine.saveIfBetter(QString::fromLatin1(lower), QStringLiteral("Carla"));
            QCOMPARE(result.outcome, SaveOutcome::NotBetter);
            QCOMPARE(result.onDisk.score + result.onDisk.holder, QStringLiteral("20\r\nBruno\r\n"));
        }
        QCOMPARE(mine.saveIfBetter(QStringLiteral("21"), QStringLiteral("Carla")).outcome, SaveOutcome::Saved);
        QCOMPARE(get(score()) + get(name()), QByteArray("21\r\nCarla\r\n"));
        QVERIFY(pending().isEmpty());
    }

    // What a cut save leaves is completed or undone by the next load.
    void recovery_data()
    {
        QTest::addColumn<QStringList>("leftovers");  // pending files holding the new record
        QTest::addColumn<QByteArray>("nameAfter");
        const QString s = QStringLiteral("tavrec10.txt.77.ab.nuovo"), n = QStringLiteral("ntavrec10.txt.77.ab.nuovo");
        QTest::newRow("both pending: dropped") << QStringList{s, n} << kOldName;
        QTest::newRow("score pending: dropped") << QStringList{s} << kOldName;
        QTest::newRow("name pending alone: put in place") << QStringList{n} << QByteArray("Bruno\r\n");
        QTest::newRow("older fixed names, name alone") << QStringList{QStringLiteral("ntavrec10.txt.nuovo")}
                                                       << QByteArray("Bruno\r\n");
        QTest::newRow("two names alone: not ours, dropped")
            << QStringList{n, QStringLiteral("ntavrec10.txt.1.cd.nuovo")} << kOldName;
    }
    void recovery()
    {
        QFETCH(QStringList, leftovers);
        QFETCH(QByteArray, nameAfter);
        putRecord(kOldScore, kOldName);
        for (const QString& file : leftovers)
            put(path(file), file.startsWith(u'n') ? "Bruno\r\n" : "2222\r\n");
        const RecordLoad loaded = RecordStore(dir_->path()).load();
        QCOMPARE(loaded.pair.holder, QString::fromLatin1(nameAfter));
        QCOMPARE(get(score()), kOldScore);
        QCOMPARE(get(name()), nameAfter);
        QCOMPARE(pending(), QStringList());
    }

    // Nothing that is not a plain file is opened for blocking reads,
    // followed or replaced; such a record is unreadable and a save refuses.
    void specialFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("saved");  // a SaveOutcome
        const int unreadable = int(SaveOutcome::Unreadable);
        for (const QString& file : {kScoreFileName, kNameFileName}) {
            for (const char* kind : {"fifo", "folder", "link", "dangling link"})
                QTest::newRow(qPrintable(file + u' ' + QLatin1String(kind))) << file << kind << unreadable;
        }
        QTest::newRow("score over the size cap") << kScoreFileName << "big" << unreadable;
        QTest::newRow("fifo as the lock") << QStringLiteral(".lock") << "fifo" << int(SaveOutcome::Failed);
        QTest::newRow("link as the lock") << QStringLiteral(".lock") << "link" << int(SaveOutcome::Failed);
    }
    void specialFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(int, saved);
        QTemporaryDir outside;
        const QString target = outside.filePath(QStringLiteral("target"));
        putRecord("50\r\n", "Campione\r\n");
        const QByteArray big = QByteArray(kMaxRecordFileBytes, '7') + "\r\n";
        const QByteArray path = QFile::encodeName(this->path(file));
        ::unlink(path.constData());
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(path.constData(), 0666), 0);
        else if (kind == u"folder")
            QVERIFY(QDir().mkdir(this->path(file)));
        else if (kind == u"big")
            put(this->path(file), big);
        else if (kind == u"link")
            put(target, "99\r\n");
        if (kind.endsWith(u"link"))
            QCOMPARE(::symlink(QFile::encodeName(target).constData(), path.constData()), 0);
        const mode_t type = typeOf(this->path(file));

        RecordStore store(dir_->path());
        const RecordLoad loaded = store.load();
        QVERIFY(!loaded.readable && !loaded.problem.isEmpty());
        const SaveResult result = store.saveIfBetter(QStringLiteral("99999"), QStringLiteral("Furbo"));
        QCOMPARE(int(result.outcome), saved);
        QVERIFY(!result.problem.isEmpty());

        QCOMPARE(typeOf(this->path(file)), type);
        QCOMPARE(get(target), kind == u"link" ? QByteArray("99\r\n") : kMissing);
        if (file != kScoreFileName)
            QCOMPARE(get(score()), QByteArray("50\r\n"));
        if (file != kNameFileName)
            QCOMPARE(get(name()), QByteArray("Campione\r\n"));
        if (kind == u"big")
            QCOMPARE(get(score()), big);
        QCOMPARE(pending(), QStringList());
    }

    // Links planted at pending names, old and new style, are dropped and
    // never written through; the save goes ahead with its own new files.
    void plantedLinksAtPendingNames()
    {
        QTemporaryDir outside;
        const QString victim = outside.filePath(QStringLiteral("victim")), ghost = outside.filePath(QStringLiteral("ghost"));
        put(victim, "keep me");
        putRecord("5\r\n", kOldName);
        const QStringList planted{QStringLiteral("tavrec10.txt.nuovo"), QStringLiteral("ntavrec10.txt.nuovo"),
                                  QStringLiteral("tavrec10.txt.1.2.nuovo")};
        for (const QString& link : planted) {
            const QString to = link.contains(u'1') ? ghost : victim;
            QCOMPARE(::symlink(QFile::encodeName(to).constData(), QFile::encodeName(path(link)).constData()), 0);
        }
        QCOMPARE(RecordStore(dir_->path()).saveIfBetter(QStringLiteral("6"), QStringLiteral("Bea")).outcome,
                 SaveOutcome::Saved);
        QCOMPARE(get(score()) + get(name()), QByteArray("6\r\nBea\r\n"));
        QCOMPARE(get(victim), QByteArray("keep me"));
        QVERIFY(!QFileInfo::exists(ghost));
        QCOMPARE(pending(), QStringList());
    }

    // As a user who may not read the score file (root reads anything, so
    // the saver drops to nobody): unreadable, and no save over it. In a
    // folder that user may not write, a save fails and changes nothing.
    void anotherUser()
    {
        QVERIFY(::chmod(QFile::encodeName(dir_->path()).constData(), 0777) == 0);
        putRecord("50\r\n", "Campione\r\n");
        QVERIFY(RecordStore(dir_->path()).load().readable);  // the lock file exists from here
        QVERIFY(::chmod(QFile::encodeName(score()).constData(), 0) == 0);
        const QStringList asOther = ::geteuid() == 0 ? QStringList{QStringLiteral("--nobody")} : QStringList();
        const auto saver = [&](const QStringList& args) { return run(QStringLiteral(RECORD_SAVER_PATH), asOther + args); };

        const auto [code, out] = saver({QStringLiteral("load"), dir_->path()});
        if (code == 2)
            QSKIP("cannot run as another user here");
        QVERIFY2(out.startsWith("unreadable\n"), out.constData());
        QCOMPARE(saver({QStringLiteral("save"), dir_->path(), QStringLiteral("99"), QStringLiteral("X")}).second,
                 QByteArray("Unreadable\n"));
        QVERIFY(::chmod(QFile::encodeName(score()).constData(), 0644) == 0);
        QCOMPARE(get(score()) + get(name()), QByteArray("50\r\nCampione\r\n"));

        QVERIFY(::chmod(QFile::encodeName(dir_->path()).constData(), 0755) == 0);
        QVERIFY(saver({QStringLiteral("load"), dir_->path()}).second.startsWith("readable\n"));
        QCOMPARE(saver({QStringLiteral("save"), dir_->path(), QStringLiteral("99"), QStringLiteral("X")}).second,
                 QByteArray("Failed\n"));
        QCOMPARE(get(score()) + get(name()), QByteArray("50\r\nCampione\r\n"));
        QCOMPARE(pending(), QStringList());
    }

    // Two copies saving rising scores at once, many times: each checks after
    // every save that the pair it reads belongs together and never went
    // down; at the end the highest score tried holds the record, saved by
    // the copy that tried it, and every "saved" was a new record then.
    void twoCopiesSaveAtOnce()
    {
        std::vector<std::unique_ptr<QProcess>> copies;
        for (const char* label : {"A", "B"}) {
            copies.push_back(std::make_unique<QProcess>());
            copies.back()->start(QStringLiteral(RECORD_SAVER_PATH),
                                 {QStringLiteral("race"), dir_->path(), QString::fromLatin1(label),
                                  QString::number(copies.size() - 1), QStringLiteral("150")});
        }
        int highest = -1;
        QString winner;
        int saves = 0;
        for (std::size_t i = 0; i < copies.size(); ++i) {
            QVERIFY(copies[i]->waitForFinished(120000));
            const QByteArray out = copies[i]->readAllStandardOutput();
            QVERIFY2(copies[i]->exitCode() == 0, out.right(200).constData());
            int lastSaved = -1;
            for (const QByteArray& line : out.split('\n')) {
                if (line.isEmpty())
                    continue;
                const int value = line.mid(2).toInt();
                if (line.startsWith("S ")) {
                    QVERIFY(value > lastSaved);  // each beat this copy's own last one
                    lastSaved = value;
                    ++saves;
                }
                if (value > highest) {
                    highest = value;
                    winner = line.startsWith("S ") ? QStringLiteral("%1-%2").arg(QChar(u"AB"[i])).arg(value) : QString();
                }
            }
        }
        QVERIFY2(!winner.isEmpty(), "the highest score tried was not saved");
        const RecordLoad final = RecordStore(dir_->path()).load();
        QCOMPARE(final.pair.score, QString::number(highest) + QStringLiteral("\r\n"));
        QCOMPARE(final.pair.holder, winner + QStringLiteral("\r\n"));
        QVERIFY(saves > 20);
        QCOMPARE(pending(), QStringList());
    }

    // A saver killed with SIGKILL at random moments, 150 times: every file
    // is always a whole line; after the next load the pair belongs together,
    // nothing is left pending, and the record never went down.
    void killedSaverLeavesWholeRecords()
    {
        putRecord(kOldScore, kOldName);
        QRandomGenerator random(20260712);
        const QRegularExpression wholeScore(QStringLiteral("^\\d+\\r\\n$"));
        const QRegularExpression wholeName(QStringLiteral("^(Anna|Giocatore \\d+)\\r\\n$"));
        QString last = QString::fromLatin1(kOldScore);
        int changes = 0;
        for (int kill = 0; kill < 150; ++kill) {
            QProcess saver;
            saver.start(QStringLiteral(RECORD_SAVER_PATH), {QStringLiteral("climb"), dir_->path()});
            // Counted from its first sign of life, every other time from its
            // first finished save, so saves are cut at every stage.
            const QByteArray awaited = kill % 2 ? "pronto\n." : "pronto\n";
            QByteArray output;
            while (!output.startsWith(awaited) && saver.waitForReadyRead(10000))
                output += saver.readAllStandardOutput();
            QVERIFY2(output.startsWith(awaited), qPrintable(saver.errorString() + saver.readAllStandardError()));
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(20001)));
            saver.kill();
            QVERIFY(saver.waitForFinished(10000));

            const QByteArray s = get(score()), n = get(name());
            const QByteArray when = "kill " + QByteArray::number(kill) + ": " + s.toHex(' ') + " / " + n.toHex(' ');
            QVERIFY2(wholeScore.match(QString::fromLatin1(s)).hasMatch(), when.constData());
            QVERIFY2(wholeName.match(QString::fromLatin1(n)).hasMatch(), when.constData());
            const RecordPair pair = RecordStore(dir_->path()).load().pair;
            QVERIFY2(samePlayer(pair.score, pair.holder), when.constData());
            QVERIFY2(pending().isEmpty(), when.constData());
            QVERIFY2(pair.score.trimmed().toInt() >= last.trimmed().toInt(), when.constData());
            changes += pair.score != last;
            last = pair.score;
        }
        QVERIFY(changes >= 2);
    }

    // The save stopped before each of its steps, then the next load stopped
    // before each of its own, then a whole load: always one player's pair,
    // and the new one whenever the save got through.
    void crashAtEveryStep()
    {
        bool saveWhole = false;
        for (int saveCut = 0; !saveWhole; ++saveCut) {
            bool recoveryWhole = false;
            for (int recoveryCut = 0; !recoveryWhole; ++recoveryCut) {
                init();
                putRecord(kOldScore, kOldName);
                RecordStore(dir_->path()).load();
                RecordStore save(dir_->path()), recovery(dir_->path());
                int allowed = saveCut;
                bool saveStopped = false;
                save.setStepGate([&] { return allowed-- > 0 || !(saveStopped = true); });
                const SaveOutcome outcome =
                    save.saveIfBetter(QStringLiteral("22222"), QStringLiteral("Giocatore 22222")).outcome;
                saveWhole = !saveStopped;
                QCOMPARE(outcome == SaveOutcome::Saved, saveWhole);
                const QByteArray when = "save cut after " + QByteArray::number(saveCut) + ", recovery after "
                                        + QByteArray::number(recoveryCut) + ": " + get(score()) + get(name());
                QVERIFY2(QByteArrayList({kOldScore, "22222\r\n"}).contains(get(score())), when.constData());
                QVERIFY2(QByteArrayList({kOldName, "Giocatore 22222\r\n"}).contains(get(name())), when.constData());

                int recoveryAllowed = recoveryCut;
                bool recoveryStopped = false;
                recovery.setStepGate([&] { return recoveryAllowed-- > 0 || !(recoveryStopped = true); });
                recovery.load();
                recoveryWhole = !recoveryStopped;

                const RecordLoad loaded = RecordStore(dir_->path()).load();
                QVERIFY2(pending().isEmpty(), when.constData());
                QVERIFY2(samePlayer(loaded.pair.score, loaded.pair.holder), when.constData());
                QVERIFY2(get(score()) + get(name()) == (loaded.pair.score + loaded.pair.holder).toLatin1(), when.constData());
                QVERIFY2(!saveWhole || loaded.pair.score == QStringLiteral("22222\r\n"), when.constData());
            }
        }
    }

    // The helper takes a score of 1 to 5 digits and one UTF-8 line of at
    // most 1,000 characters, or refuses (4) before touching anything.
    void helperRefusesBadInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("input");
        const QStringList save5{QStringLiteral("save"), QStringLiteral("5")};
        QTest::newRow("no command") << QStringList() << QByteArray("Anna");
        QTest::newRow("other command") << QStringList{QStringLiteral("load"), QStringLiteral("5")} << QByteArray("Anna");
        QTest::newRow("no score") << QStringList{QStringLiteral("save")} << QByteArray("Anna");
        QTest::newRow("extra argument") << (save5 + QStringList{QStringLiteral("/tmp")}) << QByteArray("Anna");
        for (const char* score : {"", "123456", "12a", "-1", "1.5", " 7"})
            QTest::newRow(qPrintable(QStringLiteral("score '%1'").arg(QLatin1String(score))))
                << QStringList{QStringLiteral("save"), QString::fromLatin1(score)} << QByteArray("Anna");
        QTest::newRow("name not UTF-8") << save5 << QByteArray("Ann\xE0");
        QTest::newRow("name of two lines") << save5 << QByteArray("Anna\nBruno");
        QTest::newRow("name with CR") << save5 << QByteArray("Anna\r");
        QTest::newRow("name of 1,001 characters") << save5 << QString(1001, u'è').toUtf8();
    }
    void helperRefusesBadInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, input);
        const QString shared = QStringLiteral(TEST_SHARED_FOLDER);
        QVERIFY(QDir(shared).removeRecursively() && QDir().mkpath(shared));
        for (const char* helper : {RECORD_HELPER_PATH, TEST_HELPER_PATH})
            QCOMPARE(run(QString::fromLatin1(helper), args, input).first, helper::kBadInput);
        QCOMPARE(QDir(shared).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // The game finds the helper beside it only when it is setgid and the
    // shared folder exists; saves then go through it, and its exit status
    // becomes the outcome.
    void sharedRecordThroughTheHelper()
    {
        const QString shared = QStringLiteral(TEST_SHARED_FOLDER);
        QVERIFY(QDir(shared).removeRecursively() && QDir().mkpath(shared));
        const QString program = path(QStringLiteral("program")), perLogin = path(QStringLiteral("login"));
        const QString helperCopy = program + u'/' + kRecordHelperName;
        QVERIFY(QDir().mkpath(program) && QFile::copy(QStringLiteral(TEST_HELPER_PATH), helperCopy));
        QCOMPARE(makeRecordKeeper(program, perLogin, shared)->where(), perLogin);  // no setgid bit
        QCOMPARE(::chmod(QFile::encodeName(helperCopy).constData(), 02755), 0);
        QCOMPARE(makeRecordKeeper(program, perLogin, path(QStringLiteral("none")))->where(), perLogin);
        const auto keeper = makeRecordKeeper(program, perLogin, shared);
        QCOMPARE(keeper->where(), shared);

        QVERIFY(keeper->load().readable);
        SaveResult result = keeper->save(QStringLiteral("7"), QStringLiteral("Luca\nRossi"));
        QCOMPARE(result.outcome, SaveOutcome::Saved);
        QCOMPARE(result.onDisk.score + result.onDisk.holder, QStringLiteral("7\r\nLuca?Rossi\r\n"));
        QCOMPARE(keeper->save(QStringLiteral("7"), QStringLiteral("Pia")).outcome, SaveOutcome::NotBetter);
        result = keeper->save(QStringLiteral("8"), QString(1500, u'è'));  // cut to what the helper takes
        QCOMPARE(result.outcome, SaveOutcome::Saved);
        QCOMPARE(get(shared + u'/' + kNameFileName), QByteArray(helper::kMaxNameLength, '\xE8') + "\r\n");
        QCOMPARE(keeper->save(QStringLiteral("123456"), QStringLiteral("Pia")).outcome, SaveOutcome::Failed);

        put(shared + u'/' + kScoreFileName, QByteArray(kMaxRecordFileBytes + 1, '9'));
        result = keeper->save(QStringLiteral("9"), QStringLiteral("Pia"));
        QCOMPARE(result.outcome, SaveOutcome::Unreadable);
        QVERIFY(result.problem.contains(shared));
        QVERIFY(!QFileInfo::exists(perLogin));
    }

    // The per-login folder by the XDG rules, its bytes kept as they are.
    void dataFolder_data()
    {
        QTest::addColumn<QByteArray>("xdg");
        QTest::addColumn<QByteArray>("home");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("absolute XDG_DATA_HOME") << QByteArray("/srv/dati") << QByteArray("/home/a")
                                                << QByteArray("/srv/dati/numerella-del-dieci");
        QTest::newRow("relative one ignored") << QByteArray("dati") << QByteArray("/home/a")
                                              << QByteArray("/home/a/.local/share/numerella-del-dieci");
        QTest::newRow("empty") << QByteArray("") << QByteArray("/home/a")
                               << QByteArray("/home/a/.local/share/numerella-del-dieci");
        QTest::newRow("unset") << QByteArray() << QByteArray("/home/a")
                               << QByteArray("/home/a/.local/share/numerella-del-dieci");
        QTest::newRow("not UTF-8") << QByteArray("/srv/d\xE0ti\xC3") << QByteArray("/home/a")
                                   << QByteArray("/srv/d\xE0ti\xC3/numerella-del-dieci");
        QTest::newRow("no home") << QByteArray() << QByteArray() << QByteArray();
    }
    void dataFolder()
    {
        QFETCH(QByteArray, xdg);
        QFETCH(QByteArray, home);
        QFETCH(QByteArray, expected);
        const QString folder = perLoginDataFolder(xdg, home);
        QCOMPARE(encodePath(folder), expected);

        // The store works in a folder whose name is not UTF-8, and nowhere else.
        const QByteArray odd = QFile::encodeName(dir_->path()) + "/caf\xE9\xFF";
        QCOMPARE(::mkdir(odd.constData(), 0755), 0);
        PerLoginRecords records(decodePath(odd));
        QVERIFY(records.load().readable);
        QCOMPARE(records.save(QStringLiteral("4"), QStringLiteral("Zoe")).outcome, SaveOutcome::Saved);
        struct stat saved {};
        QVERIFY(::stat((odd + "/ntavrec10.txt").constData(), &saved) == 0 && saved.st_size == 5);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
        for (const char* file : {"/.lock", "/tavrec10.txt", "/ntavrec10.txt"})
            ::unlink((odd + file).constData());
        ::rmdir(odd.constData());  // a name Qt could not remove
    }
};

QTEST_GUILESS_MAIN(RecordStoreTest)
#include "test_recordstore.moc"
