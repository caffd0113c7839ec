#include "boardlabel.h"

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
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c == u'\r') {
            if (i + 1 < caption.size() && caption[i + 1] == u'\n')
                ++i;
            shown.append(u'\n');
        } else if (c == u'\n' || c == u'\t') {
            shown.append(c);
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            shown.append(QChar(0xFFFD));
        } else {
            shown.append(c);
        }
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
    const int width = qMin(text.width() + frame + 2, QWIDGETSIZE_MAX);
    const int height = qMin(qMax(text.height(), metrics.height()) + frame, QWIDGETSIZE_MAX);
    return {width, height};
}

void BoardLabel::setCaption(const QString& caption)
{
    // The same caption again (a score that did not change) costs nothing.
    if (caption == caption_)
        return;
    caption_ = caption;
    setText(displayText(caption));
    if (!accessiblePrefix_.isEmpty())
        setAccessibleName(accessiblePrefix_ + text());
    if (autoSize_)
        resize(fittedSize(caption));
}

} // namespace numerella
