#include "boardlabel.h"

#include <QFontMetrics>

#include <algorithm>

namespace numerella {

namespace {

bool isDigitsOnly(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

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
    const QString shown = displayText(caption);
    QSize text;
    if (shown.contains(u'\n') || shown.contains(u'\t')) {
        text = metrics.boundingRect(QRect(0, 0, QWIDGETSIZE_MAX / 4, QWIDGETSIZE_MAX / 4),
                                    Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, shown)
                   .size();
    } else if (isDigitsOnly(shown)) {
        // Scores change at every answer: adding up the digits' own advances
        // (digits do not kern) spares shaping the text each time.
        int width = 0;
        for (const QChar digit : shown)
            width += metrics.horizontalAdvance(digit);
        text = QSize(width, metrics.height());
    } else {
        // One line (names): the advance is enough, cheaper than a full layout.
        text = QSize(metrics.horizontalAdvance(shown), metrics.height());
    }
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
    if (autoSize_)
        resize(fittedSize(caption));
}

} // namespace numerella
