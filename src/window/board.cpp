#include "board.h"

#include "quiz/shading.h"

#include <QPaintEvent>
#include <QPainter>

namespace numerella {

Board::Board(QWidget* parent)
    : QWidget(parent)
    , backColor_(palette().color(QPalette::Button))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Board::shade(std::int16_t tono)
{
    tono_ = tono;
    shaded_ = true;
    update();
}

void Board::setBackColor(const QColor& colour)
{
    backColor_ = colour;
    shaded_ = false;
    update();
}

void Board::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // The bands follow the board's present size, so a resize spreads them anew.
    if (shaded_)
        paintShading(painter, size(), event->rect(), tono_);
    else
        painter.fillRect(event->rect(), backColor_);
}

} // namespace numerella
