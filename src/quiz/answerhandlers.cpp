// Judging a typed answer and keeping the score.
#include "window/tavola.h"

#include "platform/conversions.h"
#include "platform/platform.h"
#include "quiz/answer.h"
#include "window/board.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QLineEdit>

namespace numerella {

namespace {
const QString kRightSound = QStringLiteral("suoni/Esatto.wav");
const QString kWrongSound = QStringLiteral("suoni/no.wav");
} // namespace

void Tavola::txtAnswer_KeyPress(std::int16_t& keyAscii)
{
    switch (classifyKey(keyAscii)) {
    case KeyAction::Pass:
        return;
    case KeyAction::Drop:
        keyAscii = keys::kDropped;
        return;
    case KeyAction::Judge:
        break;
    }

    const Controls& c = controls_;
    const QString soundFolder = platform_.programFolder() + u'/';
    if (isRightAnswer(c.txtAnswer->text(), state_.risultato)) {
        state_.giuste = saturatingIncrement(state_.giuste);
        c.lblMessage->setCaption(praiseFor(state_.nome));
        Suona(soundFolder + kRightSound);
    } else {
        state_.sbagliate = saturatingIncrement(state_.sbagliate);
        c.lblMessage->setCaption(correctionFor(state_.risultato));
        Suona(soundFolder + kWrongSound);
        c.board->setBackColor(Qt::black);
        c.lblScore1->setCaption(formatPattern(state_.sbagliate, u"###0"));
        enableAndFocusNext();
    }
    c.lblScore->setCaption(formatPattern(state_.giuste, u"####0"));
    enableAndFocusNext();
    c.lblScore2->setCaption(formatPattern(saturatingSum(state_.sbagliate, state_.giuste), u"####0"));
    enableAndFocusNext();
}

void Tavola::enableAndFocusNext()
{
    controls_.cmdNext->setEnabled(true);
    controls_.cmdNext->setFocus(Qt::OtherFocusReason);
}

void Tavola::Suona(const QString& path)
{
    platform_.playSound(path);
}

} // namespace numerella
