// The race: its clock, a new race from the menu, the record and the end.
#include "tavola.h"

#include "clock/countdown.h"
#include "platform/conversions.h"
#include "platform/fileservice.h"
#include "platform/platform.h"
#include "records/recordfiles.h"
#include "ui_tavola.h"

#include <QDir>
#include <QTimer>

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
    if (ended_ || openBoxes_ > 0)
        return;
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
    const QString folder = platform_.recordFolder();
    return folder.isEmpty() ? QString() : withTrailingSeparator(folder);
}

bool Tavola::prepareRecordFiles()
{
    if (state_.cartella.isEmpty()) {
        ui_->lblpunti->setCaption(QString());
        ui_->lblnome->setCaption(QString());
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
    ui_->lblpunti->setCaption(score.value_or(QString()));
    ui_->lblnome->setCaption(holder.value_or(QString()));
    return created && score && holder;
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

    FileService& files = platform_.files();
    const QString scorePath = scoreFilePath(state_.cartella);
    const QString namePath = nameFilePath(state_.cartella);
    // Both new files are written in full before either replaces the old one,
    // so a failure or a crash never leaves a half record.
    bool saved = !state_.cartella.isEmpty();
    if (saved) {
        state_.numfile = files.freeFile();
        state_.riga = ui_->lblScore->caption();
        saved = writeRecordLine(files, state_.numfile, pendingPath(scorePath), state_.riga);
    }
    if (saved) {
        state_.numfile = files.freeFile();
        state_.riga = ui_->lblnome1->caption();
        saved = writeRecordLine(files, state_.numfile, pendingPath(namePath), state_.riga);
    }
    if (saved)
        saved = commitPendingRecord(files, scorePath, namePath);
    if (!saved && files.isFile(pendingPath(scorePath))) {
        discardPendingRecord(files, scorePath, namePath);
    } else if (!saved && !state_.cartella.isEmpty()) {
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
