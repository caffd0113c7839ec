// The end of a game: the record check, the save of a better score, the end.
#include "window/tavola.h"

#include "platform/conversions.h"
#include "platform/fileservice.h"
#include "platform/platform.h"
#include "records/recordfiles.h"
#include "window/boardlabel.h"

#include <QDir>

namespace numerella {

void Tavola::FineGara()
{
    showMessage(QStringLiteral("Ciao a presto. Ore ") + intToText(state_.tempo), buttons::kOkOnly,
                QStringLiteral("Data ") + platform_.shortDate());
    SalvaRecord();
}

void Tavola::cmdExit_Click()
{
    SalvaRecord();
}

void Tavola::SalvaRecord()
{
    const Controls& c = controls_;
    const double record = parseNumber(c.lblpunti->caption());
    const std::optional<double> score = toDoubleStrict(c.lblScore->caption());
    // An equal score is not a record; a score caption that is not a number
    // (the game never writes one) cannot be one either.
    if (!score || record >= *score) {
        endProgram();
        return;
    }

    FileService& files = platform_.files();
    const QString scorePath = scoreFilePath(state_.cartella);
    const QString namePath = nameFilePath(state_.cartella);
    // Both new files are written in full before either replaces the old one,
    // so a failure or a crash never leaves a half record.
    bool saved = !state_.cartella.isEmpty();
    if (saved) {
        state_.numfile = files.freeFile();
        state_.riga = c.lblScore->caption();
        saved = writeRecordLine(files, state_.numfile, pendingPath(scorePath), state_.riga);
    }
    if (saved) {
        state_.numfile = files.freeFile();
        state_.riga = c.lblnome1->caption();
        saved = writeRecordLine(files, state_.numfile, pendingPath(namePath), state_.riga);
    }
    if (saved)
        saved = commitPendingRecord(files, scorePath, namePath);
    if (!saved && files.isFile(pendingPath(scorePath))) {
        discardPendingRecord(files, scorePath, namePath);
    } else if (!saved && !state_.cartella.isEmpty()) {
        // The score is in place and the new name waits beside it, complete:
        // the next start puts it in place, so the record is kept.
        saved = files.isFile(pendingPath(namePath));
    }

    if (saved) {
        showMessage(QStringLiteral("Ok! Ho registrato il tuo record, C A M P I O N E"), buttons::kOkOnly);
    } else {
        showMessage(QStringLiteral("Non sono riuscito a registrare il record nella cartella \"%1\". "
                                   "Il record di prima resta com'era.")
                        .arg(QDir::toNativeSeparators(state_.cartella)),
                    buttons::kOkOnly);
    }
    endProgram();
}

} // namespace numerella
