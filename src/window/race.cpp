// The race: its clock, a new race from the menu, the record and the end.
#include "tavola.h"

#include "clock/countdown.h"
#include "platform/conversions.h"
#include "platform/platform.h"
#include "records/recordkeeper.h"
#include "ui_tavola.h"

namespace numerella {

void Tavola::AvviaTempo()
{
    Timer1->start();
    state_.ore = 0;
    state_.minuti = 5;
    state_.secondi = 0.0f;
    state_.tempo = 300;
}

void Tavola::Timer1_Timer()
{
    // The label, not the fields, tells that time is up: the clock rests on
    // 00:00:00 for one tick before the race ends.
    if (ui_->lblconto->caption() == kClockAtZero) {
        FineGara();
        return;
    }
    countDownOneSecond(state_.minuti, state_.secondi, state_.tempo);
    ui_->lblconto->setCaption(clockText(state_.ore, state_.minuti, state_.secondi));
}

void Tavola::deliverTick()
{
    if (!ended_ && openBoxes_ == 0)
        Timer1_Timer();
}

void Tavola::Next_Click()
{
    if (showMessage(QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"), buttons::kYesNoQuestionNoDefault,
                    QStringLiteral("INIZIARE NUOVA GARA"))
        == answers::kNo)
        return;
    state_.sceltalimite = askText(QStringLiteral("Tavola pitagorica fino al numero? "));
    if (state_.sceltalimite.isEmpty()) {
        showMessage(QStringLiteral(" ") + state_.nome + QStringLiteral(" siccome non hai scelto arriviamo fino al 10."),
                    buttons::kOkOnly);
        state_.sceltalimite = QStringLiteral("10");
    }
    // The abandoned race is never compared with the record.
    load();
}

QString Tavola::GetSystemDir()
{
    records_ = makeRecordKeeper(platform_.programFolder(), platform_.recordFolder());
    const QString folder = records_->where();
    return folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
}

QString Tavola::prepareRecordFiles()
{
    const RecordLoad record = records_->load();
    // A record that cannot be read whole shows as none, score and holder
    // alike, as the box about it says.
    ui_->lblpunti->setCaption(record.readable ? record.pair.score : QString());
    ui_->lblnome->setCaption(record.readable ? record.pair.holder : QString());
    if (record.readable && record.problem.isEmpty())
        return QString();
    return record.problem.isEmpty() ? QStringLiteral("Non riesco a leggere il record.") : record.problem;
}

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
    const double record = parseNumber(ui_->lblpunti->caption());
    const std::optional<double> score = toDoubleStrict(ui_->lblScore->caption());
    // An equal score is not a record; a score caption that is not a number
    // (the game never writes one) cannot be one either.
    if (!score || record >= *score) {
        endProgram();
        return;
    }

    // The record on disk decides, not the one read at start-up: another
    // copy of the game may have raised it since.
    state_.riga = ui_->lblScore->caption();
    const SaveResult result = records_->save(state_.riga, ui_->lblnome1->caption());
    switch (result.outcome) {
    case SaveOutcome::Saved:
        showMessage(QStringLiteral("Ok! Ho registrato il tuo record, C A M P I O N E"), buttons::kOkOnly);
        break;
    case SaveOutcome::NotBetter:
        showMessage(QStringLiteral("Peccato! Nel frattempo il record è salito a %1 punti.")
                        .arg(intToText(static_cast<long long>(parseNumber(result.onDisk.score)))),
                    buttons::kOkOnly);
        break;
    case SaveOutcome::Unreadable:
    case SaveOutcome::Failed:
        showMessage(QStringLiteral("Non sono riuscito a registrare il record. ") + result.problem, buttons::kOkOnly);
        break;
    }
    endProgram();
}

} // namespace numerella
