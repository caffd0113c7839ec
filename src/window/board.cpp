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
    const QSize area = size().expandedTo(QSize(1, 1));
    if (backing_.size() != area)
        backing_ = QImage(area, QImage::Format_RGB32);
    paintShading(backing_, tono_);
    update();
}

void Board::setBackColor(const QColor& colour)
{
    backColor_ = colour;
    backing_ = QImage();
    update();
}

void Board::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (backing_.isNull())
        painter.fillRect(event->rect(), backColor_);
    else
        painter.drawImage(event->rect(), backing_, event->rect());
}

void Board::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A kept shading follows the new size: same tint, bands spread anew.
    if (isShaded())
        shade(tono_);
}

} // namespace numerella
