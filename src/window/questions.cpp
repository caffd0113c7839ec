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
    // Read aloud as one sentence, not as "10", "X", "7", "=".
    ui_->lblNum1->setAccessibleName(ui_->lblNum1->caption() + QStringLiteral(" per ") + ui_->lblNum2->caption());
    ui_->cmdNext->setAccessibleDescription(QStringLiteral("Passa alla domanda successiva"));
    state_.risultato = question.product;
    ui_->cmdNext->setEnabled(false);
    ui_->board->shade(state_.tono);
    ui_->txtAnswer->setFocus(Qt::OtherFocusReason);
}

bool Tavola::answerBoxKeyPress(const QKeyEvent& event)
{
    const std::optional<std::int16_t> typed = typedCharacterCode(event);
    if (!typed) {
        // Keys that type no character go to the box (arrows, Delete, a paste
        // with Shift+Insert), except one that would still type text there:
        // Alt with a letter types nothing on the classic keyboard.
        return !event.text().isEmpty() && event.text().front().isPrint();
    }
    if (ended_)
        return true;
    std::int16_t keyAscii = *typed;
    txtAnswer_KeyPress(keyAscii);
    if (keyAscii == keys::kBackspace && !boxActsOnItsOwn(event)) {
        ui_->txtAnswer->backspace();  // Ctrl+H erases as Backspace does
        return true;
    }
    return keyAscii == keys::kDropped;
}

bool Tavola::answerBoxComposedText(const QInputMethodEvent& event)
{
    // Composed text is typed text: only what the key filter lets in gets in.
    QString passed;
    for (const QChar c : event.commitString()) {
        std::int16_t keyAscii = static_cast<std::int16_t>(c.unicode());
        if (classifyKey(keyAscii) == KeyAction::Pass && keyAscii != keys::kBackspace)
            passed += c;
    }
    if (passed == event.commitString())
        return false;
    QInputMethodEvent filtered(event.preeditString(), event.attributes());
    filtered.setCommitString(passed, event.replacementStart(), event.replacementLength());
    QCoreApplication::sendEvent(ui_->txtAnswer, &filtered);
    return true;
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
        Suona(soundFolder + QStringLiteral("suoni/Esatto.wav"));
    } else {
        state_.sbagliate = saturatingIncrement(state_.sbagliate);
        ui_->lblMessage->setCaption(correctionFor(state_.risultato));
        Suona(soundFolder + QStringLiteral("suoni/no.wav"));
        ui_->board->setBackColor(Qt::black);
        ui_->lblScore1->setCaption(formatPattern(state_.sbagliate, u"###0"));
        enableAndFocusNext();
    }
    ui_->lblScore->setCaption(formatPattern(state_.giuste, u"####0"));
    enableAndFocusNext();
    ui_->lblScore2->setCaption(formatPattern(saturatingSum(state_.sbagliate, state_.giuste), u"####0"));
}

void Tavola::enableAndFocusNext()
{
    ui_->cmdNext->setEnabled(true);
    // A screen reader speaks when the focus arrives: the verdict must be
    // the button's description by then, and said once.
    if (ui_->cmdNext->accessibleDescription() != ui_->lblMessage->caption())
        ui_->cmdNext->setAccessibleDescription(ui_->lblMessage->caption());
    ui_->cmdNext->setFocus(Qt::OtherFocusReason);
}

void Tavola::Suona(const QString& path)
{
    platform_.playSound(path);
}

} // namespace numerella
