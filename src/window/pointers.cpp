#include "pointers.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace numerella {

QCursor boardPointer()
{
    const QPixmap picture = QIcon(QStringLiteral(":/assets/puntatore.ico")).pixmap(48, 48);
    return picture.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(picture, 0, 0);
}

QCursor iconPointer()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    // Black lines on a white halo show on any background.
    for (const QPen& pen : {QPen(Qt::white, 3), QPen(Qt::black, 1)}) {
        painter.setPen(pen);
        painter.drawRect(QRect(6, 6, 19, 19));
        painter.drawRect(QRect(12, 12, 7, 7));
    }
    painter.end();
    return QCursor(picture, 16, 16);
}

} // namespace numerella
