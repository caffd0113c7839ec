#include "boardlabel.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QFontMetrics>

namespace numerella {

namespace {

class CaptionAccessible : public QAccessibleWidget {
public:
    explicit CaptionAccessible(BoardLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }
    QString text(QAccessible::Text kind) const override
    {
        const auto* label = static_cast<const BoardLabel*>(widget());
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        if (!label->accessiblePrefix().isEmpty())
            return label->accessiblePrefix() + label->text();
        return label->accessibleName().isEmpty() ? label->text() : label->accessibleName();
    }
};

QAccessibleInterface* captionAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("numerella::BoardLabel"))
        return new CaptionAccessible(static_cast<BoardLabel*>(object));
    return nullptr;
}

} // namespace

BoardLabel::BoardLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);  // a name like "<b>" is shown as typed
    setFocusPolicy(Qt::NoFocus);
    setMargin(0);
    setIndent(0);
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(captionAccessible), true);
}

void BoardLabel::setAccessiblePrefix(const QString& prefix)
{
    accessiblePrefix_ = prefix;
    // A label with a name of its own does not announce each new text.
    setAccessibleName(prefix);
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
