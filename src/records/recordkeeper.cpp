#include "recordkeeper.h"

#include "platform/datafolder.h"

#include <QDir>
#include <QProcess>

#include <sys/stat.h>

namespace numerella {

namespace {

constexpr int kHelperPatienceMs = 15000;

QString folderProblem(const QString& folder)
{
    return QStringLiteral("Non sono riuscito a registrare il record nella cartella \"%1\".").arg(folder);
}

} // namespace

PerLoginRecords::PerLoginRecords(const QString& folder) : store_(folder) {}

RecordLoad PerLoginRecords::load()
{
    // The data folder is the player's own; it may not exist yet.
    if (!store_.folder().isEmpty())
        QDir().mkpath(store_.folder());
    return store_.load();
}

SaveResult PerLoginRecords::save(const QString& score, const QString& name)
{
    return store_.saveIfBetter(score, name);
}

SharedRecords::SharedRecords(QString helperPath, const QString& folder)
    : helperPath_(std::move(helperPath))
    , store_(folder)
{
}

RecordLoad SharedRecords::load()
{
    return store_.load();
}

SaveResult SharedRecords::save(const QString& score, const QString& name)
{
    // The helper takes one line of bounded length: line breaks become "?"
    // as they would in the file, and an endless name is cut, not refused.
    QString line = name;
    line.replace(u'\r', u'?').replace(u'\n', u'?');
    if (line.size() > helper::kMaxNameLength) {
        const bool splitsPair = line[helper::kMaxNameLength - 1].isHighSurrogate();
        line.truncate(helper::kMaxNameLength - (splitsPair ? 1 : 0));
    }

    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(helperPath_, {QStringLiteral("save"), score});
    bool finished = process.waitForStarted(kHelperPatienceMs);
    if (finished) {
        process.write(line.toUtf8());
        process.closeWriteChannel();
        finished = process.waitForFinished(kHelperPatienceMs);
    }
    if (!finished) {
        process.kill();
        process.waitForFinished(1000);
    }
    const QString said = QString::fromUtf8(process.readAllStandardOutput()).trimmed();

    SaveResult result;
    result.onDisk = store_.load().pair;
    const int status = finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    // Anything but 0..2 (bad input, a crash, no answer) is a failed save.
    result.outcome = status >= 0 && status < helper::kFailed ? static_cast<SaveOutcome>(status) : SaveOutcome::Failed;
    if (result.outcome == SaveOutcome::Unreadable)
        result.problem = said;
    else if (result.outcome == SaveOutcome::Failed)
        result.problem = said.isEmpty() ? folderProblem(where()) : said;
    return result;
}

std::unique_ptr<RecordKeeper> makeRecordKeeper(const QString& programFolder, const QString& perLoginFolder,
                                               const QString& sharedFolder)
{
    const QString helperPath = programFolder + u'/' + kRecordHelperName;
    struct stat helperInfo {};
    struct stat folderInfo {};
    const bool installed = ::stat(encodePath(helperPath).constData(), &helperInfo) == 0
                           && S_ISREG(helperInfo.st_mode) && (helperInfo.st_mode & (S_ISUID | S_ISGID)) != 0
                           && ::stat(encodePath(sharedFolder).constData(), &folderInfo) == 0
                           && S_ISDIR(folderInfo.st_mode);
    if (installed)
        return std::make_unique<SharedRecords>(helperPath, sharedFolder);
    return std::make_unique<PerLoginRecords>(perLoginFolder);
}

} // namespace numerella
