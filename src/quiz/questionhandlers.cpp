// Putting a new question on the board.
#include "window/tavola.h"

#include "platform/conversions.h"
#include "platform/platform.h"
#include "quiz/question.h"
#include "window/board.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QLineEdit>

namespace numerella {

void Tavola::cmdNext_Click()
{
    const Controls& c = controls_;
    // The tint continues the sequence of the previous question's reseed.
    state_.tono = tintFromDraw(platform_.nextRandom());
    c.txtAnswer->setText(QString());
    c.lblMessage->setCaption(QString());
    platform_.reseedRandomFromClock();
    const std::int16_t drawn = factorFromDraw(platform_.nextRandom());
    const std::int16_t replacement = replacementFromDraw(platform_.nextRandom());
    const std::int16_t factor = replaceDrawnZero(drawn, replacement);
    c.lblNum1->setCaption(formatPattern(kFixedFactor, u"#0"));
    c.lblNum2->setCaption(formatPattern(factor, u"#0"));
    state_.risultato = static_cast<std::int16_t>(factor * kFixedFactor);
    c.cmdNext->setEnabled(false);
    c.board->shade(state_.tono);
    c.txtAnswer->setFocus(Qt::OtherFocusReason);
}

} // namespace numerella
