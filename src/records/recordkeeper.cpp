#include "recordkeeper.h"

#include "platform/windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

#include <sys/stat.h>

namespace numerella {

namespace {

// The helper answers the score file's size, a line end and both files'
// bytes; its exit status is the outcome.
RecordResult runHelper(const QString& path, const QStringList& arguments, const QByteArray& input)
{
    QProcess helper;
    helper.start(path, arguments);
    helper.write(input);
    helper.closeWriteChannel();
    // The helper waits at most 2 s for the lock, then flushes the files, which
    // a slow disk may take seconds over: one silent past 10 s is stuck.
    const bool finished = helper.waitForFinished(10000);
    const QByteArray said = helper.readAllStandardOutput();
    const std::string complaint = helper.readAllStandardError().trimmed().toStdString();
    const qsizetype newline = said.indexOf('\n');
    bool sized = false;
    const qsizetype scoreBytes = said.left(newline).toLongLong(&sized);
    const int status = finished && helper.exitStatus() == QProcess::NormalExit ? helper.exitCode() : -1;
    if (!sized || newline < 1 || scoreBytes < 0 || scoreBytes > said.size() - newline - 1 || status < 0
        || status > int(Outcome::Failed))
        return {Outcome::Failed, {}, (path + QStringLiteral(": ") + helper.errorString()).toStdString()
                                         + (complaint.empty() ? "" : "; ") + complaint};
    const QByteArray files = said.mid(newline + 1);
    return {Outcome(status), {files.left(scoreBytes).toStdString(), files.mid(scoreBytes).toStdString()}, complaint};
}

} // namespace

RecordResult RecordKeeper::load()
{
    return helper_.isEmpty() ? store_.load() : runHelper(helper_, {QStringLiteral("show")}, {});
}

RecordResult RecordKeeper::save(const QString& score, const QString& name)
{
    const std::string line = recordName(name);
    if (helper_.isEmpty())
        return store_.saveIfBetter(score.toStdString(), line);
    return runHelper(helper_, {QStringLiteral("save"), score}, QByteArray::fromStdString(line));
}

std::string recordName(const QString& typed)
{
    std::string bytes = toWindows1252(typed.normalized(QString::NormalizationForm_C)).left(kMaxNameBytes).toStdString();
    std::replace_if(bytes.begin(), bytes.end(), isNameControl, '?');
    return bytes;
}

std::unique_ptr<RecordKeeper> makeRecordKeeper(const QString& programFolder, const QByteArray& perLoginFolder)
{
    const QByteArray helper = QFile::encodeName(programFolder) + "/numerella-record";
    struct stat info {};
    if (::stat(helper.constData(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_ISGID)
        && QFileInfo(kSharedRecordFolder).isDir())
        return std::make_unique<RecordKeeper>(kSharedRecordFolder, QFile::decodeName(helper));
    return std::make_unique<RecordKeeper>(perLoginFolder);
}

} // namespace numerella
