#include "recordkeeper.h"

#include "platform/windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>

namespace numerella {

namespace {

// The helper waits at most 2 s for the lock; a helper silent past this is
// stuck, and the child is told the record was not saved this time.
constexpr int kHelperPatienceMs = 4000;

class PerLoginRecords final : public RecordKeeper {
public:
    explicit PerLoginRecords(const QByteArray& folder) : store_(folder.toStdString(), true), folder_(folder) {}
    RecordResult load() override { return store_.load(); }
    RecordResult save(const QString& score, const QString& name) override
    {
        return store_.saveIfBetter(score.toStdString(), recordName(name));
    }
    QString where() const override { return QFile::decodeName(folder_); }

private:
    RecordStore store_;
    QByteArray folder_;
};

class SharedRecords final : public RecordKeeper {
public:
    SharedRecords(const QString& helper, const QString& folder) : helper_(helper), folder_(folder) {}
    RecordResult load() override { return run({QStringLiteral("show")}, {}); }
    RecordResult save(const QString& score, const QString& name) override
    {
        return run({QStringLiteral("save"), score}, QByteArray::fromStdString(recordName(name)));
    }
    QString where() const override { return folder_; }

private:
    RecordResult run(const QStringList& arguments, const QByteArray& input) const
    {
        QProcess helper;
        helper.start(helper_, arguments);
        helper.write(input);
        helper.closeWriteChannel();
        if (!helper.waitForFinished(kHelperPatienceMs)) {
            helper.kill();
            helper.waitForFinished(1000);
            const bool started = helper.error() != QProcess::FailedToStart;
            return {started ? Outcome::Busy : Outcome::Failed, {}, (helper_ + QStringLiteral(": ") + helper.errorString()).toStdString()};
        }
        const QByteArray said = helper.readAllStandardOutput();
        const std::string complaint = helper.readAllStandardError().trimmed().toStdString();
        // "SCORE-BYTES NAME-BYTES\n" then the bytes, exactly.
        const qsizetype newline = said.indexOf('\n');
        const QList<QByteArray> sizes = said.left(newline).split(' ');
        bool sized = newline > 0 && sizes.size() == 2;
        const qsizetype scoreBytes = sized ? sizes[0].toLongLong(&sized) : 0;
        const qsizetype nameBytes = sized ? sizes[1].toLongLong(&sized) : 0;
        const int status = helper.exitStatus() == QProcess::NormalExit ? helper.exitCode() : -1;
        if (!sized || scoreBytes < 0 || nameBytes < 0 || said.size() != newline + 1 + scoreBytes + nameBytes
            || status < 0 || status > int(Outcome::Failed))
            return {Outcome::Failed, {}, complaint.empty() ? (helper_ + QStringLiteral(": no answer")).toStdString() : complaint};
        const QByteArray score = said.mid(newline + 1, scoreBytes), name = said.mid(newline + 1 + scoreBytes);
        return {Outcome(status), {score.toStdString(), name.toStdString()}, complaint};
    }

    QString helper_;
    QString folder_;
};

} // namespace

std::string recordName(const QString& typed)
{
    QByteArray bytes = toWindows1252(typed.normalized(QString::NormalizationForm_C)).left(qsizetype(kMaxNameBytes));
    for (char& b : bytes) {
        if ((static_cast<unsigned char>(b) < 0x20 && b != '\t') || b == 0x7F)
            b = '?';
    }
    return bytes.toStdString();
}

std::unique_ptr<RecordKeeper> perLoginRecords(const QByteArray& folder)
{
    return std::make_unique<PerLoginRecords>(folder);
}

std::unique_ptr<RecordKeeper> sharedRecords(const QString& helperPath, const QString& folder)
{
    return std::make_unique<SharedRecords>(helperPath, folder);
}

std::unique_ptr<RecordKeeper> makeRecordKeeper(const QString& programFolder, const QByteArray& perLoginFolder)
{
    const QString helper = programFolder + u'/' + kRecordHelperName;
    struct stat info {};
    if (::stat(QFile::encodeName(helper).constData(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_ISGID)
        && QFileInfo(kSharedRecordFolder).isDir())
        return sharedRecords(helper);
    return perLoginRecords(perLoginFolder);
}

} // namespace numerella
