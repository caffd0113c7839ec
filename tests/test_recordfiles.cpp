// The record files on a real disk: their paths, creating and reading them,
// the exact bytes of a saved line, the two-step save and its recovery, and
// the numbered file service underneath.
#include "faultyfiles.h"

#include "platform/diskfiles.h"
#include "platform/windows1252.h"
#include "records/recordfiles.h"

#include <QtTest>

#include <memory>

using namespace numerella;
using namespace numerella::testing;

class RecordFilesTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void withTrailingSeparator_data();
    void withTrailingSeparator();
    void pathsKeepTheDoubledSeparator();
    void createIfMissingNeverTouchesAnExistingFile();
    void readWholeTextKeepsLineEnds();
    void readWholeTextFailsOnMissingFileOrFolder();
    void readWholeTextIsBounded();
    void recordLineBytes_data();
    void recordLineBytes();
    void writeRecordLineWritesExactlyTheLine();
    void commitPendingRecordReplacesBoth();
    void finishInterruptedSave_data();
    void finishInterruptedSave();
    void failedWriteLeavesTheRecordsUntouched();
    void failedNameReplaceIsCompletedAtNextStart();
    void diskFilesNumbers();
    void diskFilesRefuseBadOpens();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    QString cartella() const { return numerella::withTrailingSeparator(dir_->path()); }
    QString score() const { return scoreFilePath(cartella()); }
    QString name() const { return nameFilePath(cartella()); }
    static void writeFile(const QString& path, const QByteArray& bytes);
    // The file's bytes, or a null array when it does not exist.
    static QByteArray readFile(const QString& path);

    std::unique_ptr<QTemporaryDir> dir_;
    DiskFiles disk_;
};

void RecordFilesTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void RecordFilesTest::cleanup()
{
    dir_.reset();
}

void RecordFilesTest::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray RecordFilesTest::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray bytes = file.readAll();
    return bytes.isNull() ? QByteArray("") : bytes;
}

void RecordFilesTest::withTrailingSeparator_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no separator") << QStringLiteral("/a") << QStringLiteral("/a/");
    QTest::newRow("one separator") << QStringLiteral("/a/") << QStringLiteral("/a/");
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
    QTest::newRow("nested") << QStringLiteral("/home/bimbo/.local") << QStringLiteral("/home/bimbo/.local/");
}

void RecordFilesTest::withTrailingSeparator()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(numerella::withTrailingSeparator(folder), expected);
}

void RecordFilesTest::pathsKeepTheDoubledSeparator()
{
    QCOMPARE(scoreFilePath(QStringLiteral("/r/")), QStringLiteral("/r//tavrec10.txt"));
    QCOMPARE(nameFilePath(QStringLiteral("/r/")), QStringLiteral("/r//ntavrec10.txt"));
    QCOMPARE(pendingPath(QStringLiteral("/r//tavrec10.txt")), QStringLiteral("/r//tavrec10.txt.nuovo"));

    // The doubled separator still reaches the files in the folder.
    writeFile(path(QStringLiteral("tavrec10.txt")), "45\r\n");
    writeFile(path(QStringLiteral("ntavrec10.txt")), "Anna\r\n");
    QCOMPARE(readWholeText(disk_, 1, score()), QStringLiteral("45\r\n"));
    QCOMPARE(readWholeText(disk_, 1, name()), QStringLiteral("Anna\r\n"));
    QVERIFY(writeRecordLine(disk_, 1, name(), u"Luca"));
    QCOMPARE(readFile(path(QStringLiteral("ntavrec10.txt"))), QByteArray("Luca\r\n"));
}

void RecordFilesTest::createIfMissingNeverTouchesAnExistingFile()
{
    QVERIFY(!QFile::exists(score()));
    QVERIFY(createIfMissing(disk_, 1, score()));
    QVERIFY(QFileInfo(score()).isFile());
    QCOMPARE(QFileInfo(score()).size(), qint64(0));
    QCOMPARE(disk_.freeFile(), std::int16_t(1));  // closed again

    const QByteArray existing = QByteArray("37\r\n\xE0") + '\0' + "\xFF tail without line end";
    writeFile(name(), existing);
    QVERIFY(createIfMissing(disk_, 1, name()));
    QCOMPARE(readFile(name()), existing);

    QVERIFY(!createIfMissing(disk_, 1, path(QStringLiteral("no/such/folder/file.txt"))));
    QVERIFY(!createIfMissing(disk_, 1, dir_->path()));
    QCOMPARE(disk_.freeFile(), std::int16_t(1));
}

void RecordFilesTest::readWholeTextKeepsLineEnds()
{
    const struct { QByteArray bytes; QString text; } cases[] = {
        {"12\r\n", QStringLiteral("12\r\n")},
        {"", QString()},
        {"J\xFCrgen\r\n", QStringLiteral("Jürgen\r\n")},
        {"\x80 5\n6", QStringLiteral("€ 5\n6")},
        {QByteArray("a\0b", 3), QStringLiteral("a") + QChar(0) + u'b'},
    };
    for (const auto& c : cases) {
        writeFile(score(), c.bytes);
        const std::optional<QString> text = readWholeText(disk_, 1, score());
        QVERIFY(text.has_value());
        QCOMPARE(*text, c.text);
        QCOMPARE(disk_.freeFile(), std::int16_t(1));
    }
}

void RecordFilesTest::readWholeTextFailsOnMissingFileOrFolder()
{
    QCOMPARE(readWholeText(disk_, 1, score()), std::nullopt);
    QCOMPARE(readWholeText(disk_, 1, dir_->path()), std::nullopt);
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("tavrec10.txt")));  // a folder in the file's place
    QCOMPARE(readWholeText(disk_, 1, score()), std::nullopt);
    QCOMPARE(disk_.freeFile(), std::int16_t(1));

    // A read that fails after the open still closes the file.
    FaultyFiles faulty;
    faulty.failWhen = [](FileOp op, const QString&) { return op == FileOp::Read; };
    writeFile(name(), "12\r\n");
    QCOMPARE(readWholeText(faulty, 1, name()), std::nullopt);
    QCOMPARE(faulty.failures, 1);
    QCOMPARE(faulty.freeFile(), std::int16_t(1));
}

void RecordFilesTest::readWholeTextIsBounded()
{
    QFile big(score());
    QVERIFY(big.open(QIODevice::WriteOnly));
    QByteArray chunk(1024 * 1024, 'x');
    for (int i = 0; i < chunk.size(); ++i)
        chunk[i] = char('0' + i % 10);
    for (int mb = 0; mb < 50; ++mb)
        QCOMPARE(big.write(chunk), chunk.size());
    big.close();
    QCOMPARE(big.size(), qint64(50) * 1024 * 1024);

    const std::optional<QString> text = readWholeText(disk_, 1, score());
    QVERIFY(text.has_value());
    QCOMPARE(text->size(), qsizetype(kMaxRecordFileBytes));
    QCOMPARE(kMaxRecordFileBytes, qint64(64 * 1024));
    QCOMPARE(*text, QString::fromLatin1(chunk.first(kMaxRecordFileBytes)));
}

void RecordFilesTest::recordLineBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("score") << QStringLiteral("12") << QByteArray("12\r\n");
    QTest::newRow("empty") << QString() << QByteArray("\r\n");
    QTest::newRow("control characters") << (QStringLiteral("A\rB\nC\tD") + QChar(0) + u'E' + QChar(0x7F))
                                        << QByteArray("A?B?C?D?E?\r\n");
    QTest::newRow("pasted line end") << QStringLiteral("Mario\r\n") << QByteArray("Mario??\r\n");
    QTest::newRow("umlaut") << QStringLiteral("Jürgen") << QByteArray("J\xFCrgen\r\n");
    QTest::newRow("accents") << QStringLiteral("Niccolò Zoë") << QByteArray("Niccol\xF2 Zo\xEB\r\n");
    QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\x80\r\n");
    QTest::newRow("emoji") << QStringLiteral("Ale😀") << QByteArray("Ale?\r\n");
    QTest::newRow("line separator") << (QStringLiteral("a") + QChar(0x2028) + u'b') << QByteArray("a?b\r\n");
    QTest::newRow("C1 next line") << (QStringLiteral("a") + QChar(0x85) + u'b') << QByteArray("a?b\r\n");
}

void RecordFilesTest::recordLineBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    const QByteArray bytes = numerella::recordLineBytes(text);
    QCOMPARE(bytes, expected);
    // One line: the only CR and LF are the final pair.
    QCOMPARE(bytes.count('\r'), 1);
    QCOMPARE(bytes.count('\n'), 1);
}

void RecordFilesTest::writeRecordLineWritesExactlyTheLine()
{
    writeFile(score(), "123456789 a longer old record\r\n");
    QVERIFY(writeRecordLine(disk_, 1, score(), u"12"));
    QCOMPARE(readFile(score()), QByteArray("12\r\n"));
    const QString tricky = QStringLiteral("Jürgen\t😀\r\n");
    QVERIFY(writeRecordLine(disk_, 1, name(), tricky));
    QCOMPARE(readFile(name()), numerella::recordLineBytes(tricky));
    QCOMPARE(disk_.freeFile(), std::int16_t(1));
    QVERIFY(!writeRecordLine(disk_, 1, dir_->path(), u"12"));
    QCOMPARE(disk_.freeFile(), std::int16_t(1));
}

void RecordFilesTest::commitPendingRecordReplacesBoth()
{
    writeFile(score(), "30\r\n");
    writeFile(name(), "Anna\r\n");
    QVERIFY(writeRecordLine(disk_, 1, pendingPath(score()), u"45"));
    QVERIFY(writeRecordLine(disk_, 1, pendingPath(name()), u"Luca"));
    QVERIFY(commitPendingRecord(disk_, score(), name()));
    QCOMPARE(readFile(score()), QByteArray("45\r\n"));
    QCOMPARE(readFile(name()), QByteArray("Luca\r\n"));
    QVERIFY(!QFile::exists(pendingPath(score())));
    QVERIFY(!QFile::exists(pendingPath(name())));

    // Nothing pending: the commit fails and the records stay.
    QVERIFY(!commitPendingRecord(disk_, score(), name()));
    QCOMPARE(readFile(score()), QByteArray("45\r\n"));
    QCOMPARE(readFile(name()), QByteArray("Luca\r\n"));
}

void RecordFilesTest::finishInterruptedSave_data()
{
    QTest::addColumn<bool>("pendingScore");
    QTest::addColumn<bool>("pendingName");
    QTest::addColumn<QByteArray>("expectedScore");
    QTest::addColumn<QByteArray>("expectedName");
    QTest::newRow("both pending: undone") << true << true << QByteArray("30\r\n") << QByteArray("Anna\r\n");
    QTest::newRow("score pending: undone") << true << false << QByteArray("30\r\n") << QByteArray("Anna\r\n");
    QTest::newRow("name pending: completed") << false << true << QByteArray("30\r\n") << QByteArray("Luca\r\n");
    QTest::newRow("nothing pending") << false << false << QByteArray("30\r\n") << QByteArray("Anna\r\n");
}

void RecordFilesTest::finishInterruptedSave()
{
    QFETCH(bool, pendingScore);
    QFETCH(bool, pendingName);
    QFETCH(QByteArray, expectedScore);
    QFETCH(QByteArray, expectedName);
    writeFile(score(), "30\r\n");
    writeFile(name(), "Anna\r\n");
    if (pendingScore)
        writeFile(pendingPath(score()), "45\r\n");
    if (pendingName)
        writeFile(pendingPath(name()), "Luca\r\n");
    const QStringList before = QDir(dir_->path()).entryList(QDir::Files, QDir::Name);

    numerella::finishInterruptedSave(disk_, score(), name());

    QCOMPARE(readFile(score()), expectedScore);
    QCOMPARE(readFile(name()), expectedName);
    QVERIFY(!QFile::exists(pendingPath(score())));
    QVERIFY(!QFile::exists(pendingPath(name())));
    if (!pendingScore && !pendingName)
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files, QDir::Name), before);
}

void RecordFilesTest::failedWriteLeavesTheRecordsUntouched()
{
    writeFile(score(), "30\r\n");
    writeFile(name(), "Anna\r\n");
    FaultyFiles faulty;
    const QString pendingScore = pendingPath(score());
    faulty.failWhen = [&](FileOp op, const QString& p) { return op == FileOp::Write && p == pendingScore; };

    QVERIFY(!writeRecordLine(faulty, 1, pendingScore, u"45"));
    QCOMPARE(faulty.failures, 1);
    QCOMPARE(faulty.freeFile(), std::int16_t(1));  // the number was given back
    discardPendingRecord(faulty, score(), name());

    QCOMPARE(readFile(score()), QByteArray("30\r\n"));
    QCOMPARE(readFile(name()), QByteArray("Anna\r\n"));
    QVERIFY(!QFile::exists(pendingScore));
    QVERIFY(!QFile::exists(pendingPath(name())));
}

void RecordFilesTest::failedNameReplaceIsCompletedAtNextStart()
{
    writeFile(score(), "30\r\n");
    writeFile(name(), "Anna\r\n");
    FaultyFiles faulty;
    faulty.failWhen = [&](FileOp op, const QString& p) { return op == FileOp::Replace && p == name(); };
    QVERIFY(writeRecordLine(faulty, 1, pendingPath(score()), u"45"));
    QVERIFY(writeRecordLine(faulty, 1, pendingPath(name()), u"Luca"));
    QVERIFY(!commitPendingRecord(faulty, score(), name()));
    QCOMPARE(readFile(score()), QByteArray("45\r\n"));
    QCOMPARE(readFile(name()), QByteArray("Anna\r\n"));

    // The next start brings the holder in line with the score.
    numerella::finishInterruptedSave(disk_, score(), name());
    QCOMPARE(readFile(score()), QByteArray("45\r\n"));
    QCOMPARE(readFile(name()), QByteArray("Luca\r\n"));
    QVERIFY(!QFile::exists(pendingPath(name())));
}

void RecordFilesTest::diskFilesNumbers()
{
    DiskFiles files;
    QCOMPARE(files.freeFile(), std::int16_t(1));
    QVERIFY(files.open(1, path(QStringLiteral("a.txt")), OpenMode::Output));
    QCOMPARE(files.freeFile(), std::int16_t(2));
    QVERIFY(!files.open(1, path(QStringLiteral("b.txt")), OpenMode::Output));  // number in use
    QVERIFY(files.open(2, path(QStringLiteral("b.txt")), OpenMode::Output));
    QCOMPARE(files.freeFile(), std::int16_t(3));
    QVERIFY(files.close(1));
    QCOMPARE(files.freeFile(), std::int16_t(1));
    QVERIFY(!files.close(1));  // already closed
    QVERIFY(files.close(2));
    QVERIFY(!files.open(0, path(QStringLiteral("c.txt")), OpenMode::Output));
    QVERIFY(!files.open(-1, path(QStringLiteral("c.txt")), OpenMode::Output));

    // Reading a file opened for writing gives nothing; writing one opened
    // for reading fails.
    QVERIFY(files.open(1, path(QStringLiteral("a.txt")), OpenMode::Append));
    QCOMPARE(files.read(1, 10), std::nullopt);
    QVERIFY(files.close(1));
    QVERIFY(files.open(1, path(QStringLiteral("a.txt")), OpenMode::Input));
    QVERIFY(!files.write(1, "x"));
    QCOMPARE(files.read(1, 10), QByteArray(""));
    QVERIFY(files.close(1));
    QCOMPARE(files.read(1, 10), std::nullopt);  // no longer open
}

void RecordFilesTest::diskFilesRefuseBadOpens()
{
    DiskFiles files;
    for (const OpenMode mode : {OpenMode::Input, OpenMode::Output, OpenMode::Append})
        QVERIFY(!files.open(1, dir_->path(), mode));
    QVERIFY(!files.open(1, path(QStringLiteral("missing.txt")), OpenMode::Input));
    QVERIFY(!QFile::exists(path(QStringLiteral("missing.txt"))));  // Input never creates
    QCOMPARE(files.freeFile(), std::int16_t(1));  // failed opens take no number
    QVERIFY(!files.replace(path(QStringLiteral("missing.txt")), path(QStringLiteral("x.txt"))));
    QVERIFY(!files.remove(path(QStringLiteral("missing.txt"))));
    QVERIFY(!files.isFile(dir_->path()));
}

QTEST_APPLESS_MAIN(RecordFilesTest)
#include "test_recordfiles.moc"
