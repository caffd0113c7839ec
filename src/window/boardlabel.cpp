#include "boardlabel.h"

#include <QEvent>
#include <QFontMetrics>

namespace numerella {

BoardLabel::BoardLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);  // a name like "<b>" is shown as typed
    setFocusPolicy(Qt::NoFocus);
    setMargin(0);
    setIndent(0);
}

QString BoardLabel::displayText(const QString& caption)
{
    QString shown = caption;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    for (QChar& c : shown) {
        if ((c.unicode() < 0x20 && c != u'\n' && c != u'\t') || c.unicode() == 0x7F)
            c = QChar(0xFFFD);
    }
    return shown;
}

QSize BoardLabel::fittedSize(const QString& caption) const
{
    const QFontMetrics metrics(font());
    const QSize text = metrics
                           .boundingRect(QRect(0, 0, QWIDGETSIZE_MAX / 4, QWIDGETSIZE_MAX / 4),
                                         Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, displayText(caption))
                           .size();
    const int frame = 2 * frameWidth();
    return {qMin(text.width() + frame + 2, QWIDGETSIZE_MAX),
            qMin(qMax(text.height(), metrics.height()) + frame, QWIDGETSIZE_MAX)};
}

void BoardLabel::setCaption(const QString& caption)
{
    // The same caption again (a score that did not change) costs nothing.
    if (caption == caption_)
        return;
    caption_ = caption;
    setText(displayText(caption));
    if (autoSize_) {
        fitted_ = true;
        resize(fittedSize(caption));
    }
}

void BoardLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && fitted_)
        resize(fittedSize(caption_));
}

} // namespace numerella
