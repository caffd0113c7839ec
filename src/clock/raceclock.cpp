// The race clock on the board.
#include "window/tavola.h"

#include "clock/countdown.h"
#include "window/boardlabel.h"

#include <QTimer>

namespace numerella {

void Tavola::AvviaTempo()
{
    controls_.Timer1->start();
    state_.ore = 0;
    state_.minuti = 5;
    state_.secondi = 0.0f;
    state_.tempo = 300;
}

void Tavola::Timer1_Timer()
{
    // The label, not the fields, tells that time is up: the clock rests on
    // 00:00:00 for one tick before the race ends.
    if (controls_.lblconto->caption() == kClockAtZero) {
        FineGara();
        return;
    }
    countDownOneSecond(state_.minuti, state_.secondi, state_.tempo);
    controls_.lblconto->setCaption(clockText(state_.ore, state_.minuti, state_.secondi));
}

void Tavola::deliverTick()
{
    if (ended_ || openBoxes_ > 0)
        return;
    Timer1_Timer();
}

} // namespace numerella
