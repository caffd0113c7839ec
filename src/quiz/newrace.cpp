// The menu command that abandons the race and starts a new one.
#include "window/tavola.h"

#include "platform/platform.h"

namespace numerella {

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

} // namespace numerella
