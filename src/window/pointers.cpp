#include "pointers.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace numerella {

QCursor boardPointer()
{
    const QPixmap picture = QIcon(QStringLiteral(":/assets/puntatore.ico")).pixmap(48, 48);
    if (picture.isNull())
        return QCursor(Qt::ArrowCursor);
    return QCursor(picture, 0, 0);
}

QCursor iconPointer()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRect(QRect(6, 6, 19, 19));
    painter.drawRect(QRect(12, 12, 7, 7));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(QRect(6, 6, 19, 19));
    painter.drawRect(QRect(12, 12, 7, 7));
    painter.end();
    return QCursor(picture, 16, 16);
}

} // namespace numerella
