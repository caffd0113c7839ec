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

QPixmap GraphicalButton::currentPicture() const
{
    const QSize size(kPictureSize, kPictureSize);
    const QIcon picture = icon();
    const auto has = [&picture](QIcon::Mode mode) { return !picture.availableSizes(mode).isEmpty(); };
    if (isDown() && has(QIcon::Selected))
        return picture.pixmap(size, QIcon::Selected);
    return picture.pixmap(size, isEnabled() ? QIcon::Normal : QIcon::Disabled);
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
