// The question button and the answer box.
#include "tavola.h"

#include "keycodes.h"
#include "platform/conversions.h"
#include "platform/platform.h"
#include "quiz/answer.h"
#include "quiz/question.h"
#include "ui_tavola.h"

#include <QKeyEvent>

namespace numerella {

namespace {
const QString kRightSound = QStringLiteral("suoni/Esatto.wav");
const QString kWrongSound = QStringLiteral("suoni/no.wav");
} // namespace

void Tavola::cmdNext_Click()
{
    // The tint continues the sequence of the previous question's reseed.
    state_.tono = tintFromDraw(platform_.nextRandom());
    ui_->txtAnswer->setText(QString());
    ui_->lblMessage->setCaption(QString());
    platform_.reseedRandomFromClock();
    const float factorDraw = platform_.nextRandom();
    const float replacementDraw = platform_.nextRandom();
    const Question question = questionFromDraws(factorDraw, replacementDraw);
    ui_->lblNum1->setCaption(formatPattern(kFixedFactor, u"#0"));
    ui_->lblNum2->setCaption(formatPattern(question.factor, u"#0"));
    state_.risultato = question.product;
    ui_->cmdNext->setEnabled(false);
    ui_->board->shade(state_.tono);
    ui_->txtAnswer->setFocus(Qt::OtherFocusReason);
}

bool Tavola::answerBoxKeyPress(const QKeyEvent& event)
{
    const std::optional<std::int16_t> typed = typedCharacterCode(event);
    if (!typed)
        return false;
    if (ended_)
        return true;
    std::int16_t keyAscii = *typed;
    txtAnswer_KeyPress(keyAscii);
    return keyAscii == keys::kDropped;
}

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

    const QString soundFolder = platform_.programFolder() + u'/';
    if (isRightAnswer(ui_->txtAnswer->text(), state_.risultato)) {
        state_.giuste = saturatingIncrement(state_.giuste);
        ui_->lblMessage->setCaption(praiseFor(state_.nome));
        Suona(soundFolder + kRightSound);
    } else {
        state_.sbagliate = saturatingIncrement(state_.sbagliate);
        ui_->lblMessage->setCaption(correctionFor(state_.risultato));
        Suona(soundFolder + kWrongSound);
        ui_->board->setBackColor(Qt::black);
        ui_->lblScore1->setCaption(formatPattern(state_.sbagliate, u"###0"));
        enableAndFocusNext();
    }
    ui_->lblScore->setCaption(formatPattern(state_.giuste, u"####0"));
    enableAndFocusNext();
    ui_->lblScore2->setCaption(formatPattern(saturatingSum(state_.sbagliate, state_.giuste), u"####0"));
    enableAndFocusNext();
}

void Tavola::enableAndFocusNext()
{
    ui_->cmdNext->setEnabled(true);
    ui_->cmdNext->setFocus(Qt::OtherFocusReason);
}

void Tavola::Suona(const QString& path)
{
    platform_.playSound(path);
}

} // namespace numerella
