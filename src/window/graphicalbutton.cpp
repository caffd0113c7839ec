#include "graphicalbutton.h"

#include <QPainter>
#include <qdrawutil.h>

namespace numerella {

namespace {
constexpr int kGap = 2;
constexpr int kFocusInset = 4;
constexpr int kContentInset = 4;

// The classic 3D colours: they frame any face colour.
const QColor kHighlight(255, 255, 255);
const QColor kShadow(128, 128, 128);
const QColor kDarkShadow(0, 0, 0);

constexpr int kCaptionFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;

struct Placement {
    QRect picture;
    QRect caption;
};

Placement place(const QRect& whole, const QPixmap& picture, const QFont& font, const QString& text)
{
    const QFontMetrics metrics(font);
    const QRect area = whole.adjusted(kContentInset, kContentInset, -kContentInset, -kContentInset);
    const QSize pictureSize = picture.isNull() ? QSize() : picture.deviceIndependentSize().toSize();
    const int contentHeight = pictureSize.height() + kGap + metrics.height();
    int top = area.top() + (area.height() - contentHeight) / 2;
    Placement result;
    if (!picture.isNull()) {
        result.picture = QRect(QPoint(area.left() + (area.width() - pictureSize.width()) / 2, top), pictureSize);
        top += pictureSize.height() + kGap;
    }
    const QRect line(area.left(), top, area.width(), metrics.height());
    result.caption = metrics.boundingRect(line, kCaptionFlags, text);
    return result;
}
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
    pal.setColor(QPalette::Button, face);
    setPalette(pal);
    update();
}

QPixmap GraphicalButton::currentPicture() const
{
    const QIcon picture = icon();
    if (isDown() && !picture.availableSizes(QIcon::Selected).isEmpty())
        return picture.pixmap(iconSize(), QIcon::Selected);
    return picture.pixmap(iconSize(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
}

QRect GraphicalButton::pictureRect() const
{
    return place(rect(), currentPicture(), font(), text()).picture;
}

QRect GraphicalButton::captionRect() const
{
    return place(rect(), currentPicture(), font(), text()).caption;
}

QRect GraphicalButton::focusRingRect() const
{
    return rect().adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
}

void GraphicalButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QPalette bevel;
    bevel.setColor(QPalette::Light, kHighlight);
    bevel.setColor(QPalette::Button, face_);
    bevel.setColor(QPalette::Dark, kShadow);
    bevel.setColor(QPalette::Shadow, kDarkShadow);
    const QBrush fill(face_);
    qDrawWinButton(&painter, rect(), bevel, isDown(), &fill);

    const QPixmap picture = currentPicture();
    const Placement placement = place(rect(), picture, font(), text());
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    if (!picture.isNull())
        painter.drawPixmap(placement.picture.topLeft() + shift, picture);
    painter.setFont(font());
    const QRect caption = placement.caption.translated(shift);
    if (!isEnabled()) {
        // The classic etched look of a disabled caption.
        painter.setPen(kHighlight);
        painter.drawText(caption.translated(1, 1), kCaptionFlags, text());
    }
    painter.setPen(isEnabled() ? QColor(Qt::black) : kShadow);
    painter.drawText(caption, kCaptionFlags, text());

    if (hasFocus()) {
        painter.setPen(QPen(kDarkShadow, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        // A pen outline covers one pixel more than the rectangle's own.
        painter.drawRect(focusRingRect().adjusted(0, 0, -1, -1));
    }
}

} // namespace numerella
