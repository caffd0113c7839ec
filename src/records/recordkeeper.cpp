#include "recordkeeper.h"

#include "platform/windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>

namespace numerella {

namespace {
// The helper waits at most 2 s for the lock; one silent past this is stuck.
constexpr int kHelperPatienceMs = 4000;
} // namespace

RecordKeeper::RecordKeeper(const QByteArray& folder, const QString& helperPath)
    : folder_(folder), helper_(helperPath), store_(folder.toStdString(), helperPath.isEmpty())
{
}

RecordResult RecordKeeper::load()
{
    return helper_.isEmpty() ? store_.load() : runHelper({QStringLiteral("show")}, {});
}

RecordResult RecordKeeper::save(const QString& score, const QString& name)
{
    const std::string line = recordName(name);
    if (helper_.isEmpty())
        return store_.saveIfBetter(score.toStdString(), line);
    return runHelper({QStringLiteral("save"), score}, QByteArray::fromStdString(line));
}

QString RecordKeeper::where() const
{
    return QFile::decodeName(folder_);
}

// The helper answers the score file's size, a line end and both files'
// bytes; its exit status is the outcome.
RecordResult RecordKeeper::runHelper(const QStringList& arguments, const QByteArray& input) const
{
    QProcess helper;
    helper.start(helper_, arguments);
    helper.write(input);
    helper.closeWriteChannel();
    const bool finished = helper.waitForFinished(kHelperPatienceMs);  // else stuck: a failed save
    const QByteArray said = helper.readAllStandardOutput();
    const std::string complaint = helper.readAllStandardError().trimmed().toStdString();
    const qsizetype newline = said.indexOf('\n');
    bool sized = false;
    const qsizetype scoreBytes = said.left(newline).toLongLong(&sized);
    const int status = finished && helper.exitStatus() == QProcess::NormalExit ? helper.exitCode() : -1;
    if (!sized || newline < 1 || scoreBytes < 0 || scoreBytes > said.size() - newline - 1 || status < 0
        || status > int(Outcome::Failed))
        return {Outcome::Failed, {}, (helper_ + QStringLiteral(": ") + helper.errorString()).toStdString() + complaint};
    const QByteArray files = said.mid(newline + 1);
    return {Outcome(status), {files.left(scoreBytes).toStdString(), files.mid(scoreBytes).toStdString()}, complaint};
}

std::string recordName(const QString& typed)
{
    QByteArray bytes = toWindows1252(typed.normalized(QString::NormalizationForm_C)).left(qsizetype(kMaxNameBytes));
    for (char& b : bytes) {
        if ((static_cast<unsigned char>(b) < 0x20 && b != '\t') || b == 0x7F)
            b = '?';
    }
    return bytes.toStdString();
}

std::unique_ptr<RecordKeeper> makeRecordKeeper(const QString& programFolder, const QByteArray& perLoginFolder)
{
    const QByteArray helper = QFile::encodeName(programFolder) + "/numerella-record";
    struct stat info {};
    if (::stat(helper.constData(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_ISGID)
        && QFileInfo(kSharedRecordFolder).isDir())
        return std::make_unique<RecordKeeper>(QFile::encodeName(kSharedRecordFolder), QFile::decodeName(helper));
    return std::make_unique<RecordKeeper>(perLoginFolder);
}

} // namespace numerella
