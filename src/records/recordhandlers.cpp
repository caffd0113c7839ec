// Finding, creating and reading the record files at start-up.
#include "window/tavola.h"

#include "platform/fileservice.h"
#include "platform/platform.h"
#include "records/recordfiles.h"
#include "window/boardlabel.h"

namespace numerella {

QString Tavola::GetSystemDir()
{
    const QString folder = platform_.recordFolder();
    return folder.isEmpty() ? QString() : withTrailingSeparator(folder);
}

QString Tavola::Leggifiletxt(const QString& nomefile)
{
    FileService& files = platform_.files();
    return readWholeText(files, files.freeFile(), nomefile).value_or(QString());
}

bool Tavola::prepareRecordFiles()
{
    const Controls& c = controls_;
    if (state_.cartella.isEmpty()) {
        c.lblpunti->setCaption(QString());
        c.lblnome->setCaption(QString());
        return false;
    }
    FileService& files = platform_.files();
    const QString scorePath = scoreFilePath(state_.cartella);
    const QString namePath = nameFilePath(state_.cartella);
    finishInterruptedSave(files, scorePath, namePath);

    state_.numfile = files.freeFile();
    const bool created = createIfMissing(files, state_.numfile, scorePath)
                         && createIfMissing(files, state_.numfile, namePath);
    const std::optional<QString> score = readWholeText(files, files.freeFile(), scorePath);
    const std::optional<QString> holder = readWholeText(files, files.freeFile(), namePath);
    // An unreadable file counts as an empty record.
    c.lblpunti->setCaption(score.value_or(QString()));
    c.lblnome->setCaption(holder.value_or(QString()));
    return created && score && holder;
}

} // namespace numerella
