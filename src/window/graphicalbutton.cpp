#include "graphicalbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace numerella {

namespace {
constexpr int kPictureSize = 32;
constexpr int kGap = 2;
} // namespace

GraphicalButton::GraphicalButton(QWidget* parent)
    : QPushButton(parent)
{
    // Enter on the focused button presses it, as Space does.
    setAutoDefault(true);
}

void GraphicalButton::setFace(const QColor& face)
{
    face_ = face;
    QPalette pal = palette();
    pal.setColor(QPalette::Button, face);
    setPalette(pal);
    update();
}

void GraphicalButton::setPictures(const QIcon& normal, const QIcon& disabled, const QIcon& down)
{
    normal_ = normal;
    disabled_ = disabled;
    down_ = down;
    update();
}

QPixmap GraphicalButton::currentPicture() const
{
    const QSize size(kPictureSize, kPictureSize);
    if (!isEnabled())
        return disabled_.isNull() ? normal_.pixmap(size, QIcon::Disabled) : disabled_.pixmap(size);
    if (isDown() && !down_.isNull())
        return down_.pixmap(size);
    return normal_.pixmap(size);
}

void GraphicalButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QPixmap picture = currentPicture();
    const QFontMetrics metrics(font());
    const QRect area = rect().adjusted(4, 4, -4, -4);
    const int pictureHeight = picture.isNull() ? 0 : picture.height() / picture.devicePixelRatio();
    const int contentHeight = pictureHeight + kGap + metrics.height();
    int top = area.top() + (area.height() - contentHeight) / 2;
    const int shift = isDown() ? 1 : 0;
    if (!picture.isNull()) {
        const int pictureWidth = picture.width() / picture.devicePixelRatio();
        painter.drawPixmap(area.left() + (area.width() - pictureWidth) / 2 + shift, top + shift, picture);
        top += pictureHeight + kGap;
    }
    const QRect textRect(area.left() + shift, top + shift, area.width(), metrics.height());
    painter.drawItemText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, palette(), isEnabled(),
                         text(), QPalette::ButtonText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace numerella
