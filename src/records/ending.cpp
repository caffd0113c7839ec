// The end of a game: the record check, the save of a better score, the end.
#include "window/tavola.h"

#include "platform/conversions.h"
#include "platform/platform.h"
#include "records/recordkeeper.h"
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
    // A score caption that is not a number (the game never writes one)
    // cannot be a record.
    if (!toDoubleStrict(c.lblScore->caption())) {
        endProgram();
        return;
    }
    // The record on disk decides, not the one read at start-up: another
    // copy of the game may have raised it since.
    state_.riga = c.lblScore->caption();
    const auto keeper = makeRecordKeeper(platform_.programFolder(), platform_.recordFolder());
    const SaveResult result = keeper->save(state_.riga, c.lblnome1->caption());
    switch (result.outcome) {
    case SaveOutcome::Saved:
        showMessage(QStringLiteral("Ok! Ho registrato il tuo record, C A M P I O N E"), buttons::kOkOnly);
        break;
    case SaveOutcome::NotBetter:
        break;
    case SaveOutcome::Unreadable:
    case SaveOutcome::Failed:
        showMessage(QStringLiteral("Non sono riuscito a registrare il record nella cartella \"%1\". %2")
                        .arg(QDir::toNativeSeparators(keeper->where()), result.problem),
                    buttons::kOkOnly);
        break;
    }
    endProgram();
}

} // namespace numerella
