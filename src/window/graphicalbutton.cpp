#include "graphicalbutton.h"

#include <QPainter>
#include <qdrawutil.h>

namespace numerella {

namespace {
constexpr int kGap = 2;
constexpr int kFocusInset = 4;
constexpr int kContentInset = 4;
} // namespace

GraphicalButton::GraphicalButton(QWidget* parent)
    : QPushButton(parent)
{
    // Enter on the focused button presses it, as Space does.
    setAutoDefault(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setIconSize(QSize(32, 32));  // the pictures' own size, shrunk with a shrunken board
}

void GraphicalButton::setFace(const QColor& face)
{
    face_ = face;
    QPalette pal = palette();
    pal.setColor(QPalette::Button, face);  // what the button tells of its colour
    setPalette(pal);
    update();
}

void GraphicalButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The classic 3D colours: they frame any face colour.
    QPalette bevel;
    bevel.setColor(QPalette::Light, Qt::white);
    bevel.setColor(QPalette::Button, face_);
    bevel.setColor(QPalette::Dark, Qt::darkGray);
    bevel.setColor(QPalette::Shadow, Qt::black);
    const QBrush fill(face_);
    qDrawWinButton(&painter, rect(), bevel, isDown(), &fill);

    // The picture centred above the caption, the two centred on the face;
    // held down, both move one pixel right and down.
    const QIcon::Mode mode = !isEnabled()                                                   ? QIcon::Disabled
                             : isDown() && !icon().availableSizes(QIcon::Selected).isEmpty() ? QIcon::Selected
                                                                                             : QIcon::Normal;
    const QPixmap picture = icon().pixmap(iconSize(), mode);
    const QSize pictureSize = picture.deviceIndependentSize().toSize();
    const QFontMetrics metrics(font());
    const QRect area = rect().adjusted(kContentInset, kContentInset, -kContentInset, -kContentInset)
                           .translated(isDown() ? QPoint(1, 1) : QPoint());
    const int top = area.top() + (area.height() - pictureSize.height() - kGap - metrics.height()) / 2;
    painter.drawPixmap(area.left() + (area.width() - pictureSize.width()) / 2, top, picture);
    const QRect caption(area.left(), top + pictureSize.height() + kGap, area.width(), metrics.height());
    constexpr int kCaptionFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;
    painter.setFont(font());
    if (!isEnabled()) {
        // The classic etched look of a disabled caption.
        painter.setPen(Qt::white);
        painter.drawText(caption.translated(1, 1), kCaptionFlags, text());
    }
    painter.setPen(isEnabled() ? Qt::black : Qt::darkGray);
    painter.drawText(caption, kCaptionFlags, text());

    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        // A pen outline covers one pixel more than the rectangle's own.
        painter.drawRect(rect().adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
    }
}

} // namespace numerella
