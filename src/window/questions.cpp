// The question button and the answer box.
#include "tavola.h"

#include "platform/conversions.h"
#include "platform/platform.h"
#include "quiz/answer.h"
#include "quiz/question.h"
#include "ui_tavola.h"

#include <QKeyEvent>

namespace numerella {

void Tavola::cmdNext_Click()
{
    // The tint continues the sequence of the previous question's reseed.
    const std::int16_t tono = tintFromDraw(platform_.nextRandom());
    ui_->txtAnswer->setText(QString());
    ui_->lblMessage->setCaption(QString());
    platform_.reseedRandomFromClock();
    const float factorDraw = platform_.nextRandom();
    const float replacementDraw = platform_.nextRandom();
    const Question question = questionFromDraws(factorDraw, replacementDraw);
    ui_->lblNum1->setCaption(formatPattern(kFixedFactor, u"#0"));
    ui_->lblNum2->setCaption(formatPattern(question.factor, u"#0"));
    // Read aloud as one sentence, not as "10", "X", "7", "=".
    ui_->lblNum1->setAccessibleName(ui_->lblNum1->caption() + QStringLiteral(" per ") + ui_->lblNum2->caption());
    ui_->cmdNext->setAccessibleDescription(QStringLiteral("Passa alla domanda successiva"));
    state_.risultato = question.product;
    ui_->cmdNext->setEnabled(false);
    ui_->board->shade(tono);
    ui_->txtAnswer->setFocus(Qt::OtherFocusReason);
}

bool Tavola::txtAnswer_KeyPress(const QKeyEvent& event)
{
    if (ended_)
        return true;
    const KeyAction action = answerKeyAction(event.key(), event.modifiers(), event.text());
    if (action == KeyAction::Judge)
        checkAnswer();  // the box then does nothing with Enter: its text stays
    if (action == KeyAction::Erase)
        ui_->txtAnswer->backspace();
    return action == KeyAction::Erase || action == KeyAction::Drop;
}

bool Tavola::answerBoxComposedText(const QInputMethodEvent& event)
{
    // Composed text is typed text: only its digits get in.
    QString digits = event.commitString();
    digits.removeIf([](QChar c) { return !isAnswerDigit(c); });
    if (digits == event.commitString())
        return false;
    QInputMethodEvent filtered(event.preeditString(), event.attributes());
    filtered.setCommitString(digits, event.replacementStart(), event.replacementLength());
    QCoreApplication::sendEvent(ui_->txtAnswer, &filtered);
    return true;
}

void Tavola::checkAnswer()
{
    const QString soundFolder = platform_.programFolder() + u'/';
    if (isRightAnswer(ui_->txtAnswer->text(), state_.risultato)) {
        state_.giuste = saturatingIncrement(state_.giuste);
        ui_->lblMessage->setCaption(praiseFor(state_.nome));
        platform_.playSound(soundFolder + QStringLiteral("suoni/Esatto.wav"));
    } else {
        state_.sbagliate = saturatingIncrement(state_.sbagliate);
        ui_->lblMessage->setCaption(correctionFor(state_.risultato));
        platform_.playSound(soundFolder + QStringLiteral("suoni/no.wav"));
        ui_->board->setBackColor(Qt::black);
        ui_->lblScore1->setCaption(formatPattern(state_.sbagliate, u"###0"));
    }
    ui_->lblScore->setCaption(formatPattern(state_.giuste, u"####0"));
    ui_->cmdNext->setEnabled(true);
    // A screen reader speaks when the focus arrives: the verdict must be
    // the button's description by then, and said once.
    if (ui_->cmdNext->accessibleDescription() != ui_->lblMessage->caption())
        ui_->cmdNext->setAccessibleDescription(ui_->lblMessage->caption());
    ui_->cmdNext->setFocus(Qt::OtherFocusReason);
    ui_->lblScore2->setCaption(formatPattern(saturatingSum(state_.sbagliate, state_.giuste), u"####0"));
}

} // namespace numerella
