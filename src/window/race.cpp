// The race: its clock, a new race from the menu, the record and the end.
#include "tavola.h"

#include "clock/countdown.h"
#include "platform/conversions.h"
#include "platform/platform.h"
#include "platform/windows1252.h"
#include "records/recordkeeper.h"
#include "ui_tavola.h"

#include <algorithm>

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
    // Every race is the table of ten, whatever the limit given.
    if (askText(QStringLiteral("Tavola pitagorica fino al numero? ")).isEmpty())
        showMessage(QStringLiteral(" ") + state_.nome + QStringLiteral(" siccome non hai scelto arriviamo fino al 10."),
                    buttons::kOkOnly);
    // The abandoned race is never compared with the record.
    load();
}

namespace {

// Why the record could not be read or saved, in a child's words; the
// teacher's detail goes to standard error.
QString reasonFor(const RecordResult& result)
{
    qWarning("numerella-del-dieci: record: %s", result.detail.c_str());
    switch (result.outcome) {
    case Outcome::Unreadable: return QStringLiteral("il record di questo computer è rovinato o protetto");
    case Outcome::Busy: return QStringLiteral("un altro giocatore lo stava usando proprio adesso");
    case Outcome::ReadOnly: return QStringLiteral("il computer non mi lascia scriverlo");
    case Outcome::NoSpace: return QStringLiteral("il disco del computer è pieno");
    case Outcome::NoDescriptors: return QStringLiteral("il computer ha troppi file aperti");
    default: return QStringLiteral("qualcosa non ha funzionato");
    }
}

} // namespace

QString Tavola::prepareRecordFiles()
{
    records_ = makeRecordKeeper(platform_.programFolder(), platform_.recordFolder());
    const RecordResult record = records_->load();
    ui_->lblpunti->setCaption(fromWindows1252(record.pair.score));
    ui_->lblnome->setCaption(fromWindows1252(record.pair.name));
    if (record.outcome == Outcome::Done)
        return QString();
    return QStringLiteral("Non riesco a leggere il record: ") + reasonFor(record) + u'.';
}

void Tavola::FineGara()
{
    showMessage(QStringLiteral("Ciao a presto. Ore ") + QString::number(state_.tempo), buttons::kOkOnly,
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
    const RecordResult result = records_->save(ui_->lblScore->caption(), ui_->lblnome1->caption());
    if (result.outcome == Outcome::Done) {
        if (!result.detail.empty())
            qWarning("numerella-del-dieci: record: %s", result.detail.c_str());  // completed by the next game
        showMessage(QStringLiteral("Ok! Ho registrato il tuo record, C A M P I O N E"), buttons::kOkOnly);
    } else if (result.outcome == Outcome::NotBetter) {
        const auto points = static_cast<long long>(std::min(parseNumber(fromWindows1252(result.pair.score)), 1e15));
        showMessage(QStringLiteral("Peccato! Nel frattempo il record è salito a %1 %2.")
                        .arg(QString::number(points), points == 1 ? QStringLiteral("punto") : QStringLiteral("punti")),
                    buttons::kOkOnly);
    } else {
        showMessage(QStringLiteral("Questa volta non sono riuscito a registrare il tuo record: ") + reasonFor(result)
                        + u'.',
                    buttons::kOkOnly);
    }
    endProgram();
}

} // namespace numerella
