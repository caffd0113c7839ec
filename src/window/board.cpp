#include "board.h"

#include "boardlabel.h"
#include "quiz/shading.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace numerella {

namespace {

// What a screen reader finds on the board: the controls in reading order,
// top to bottom and left to right, without those marked accessibleHidden on
// the form (the parts of the question read as one sentence, headings the
// counters already say, pictures, the button no one can reach).
class BoardAccessible : public QAccessibleWidget {
public:
    explicit BoardAccessible(QWidget* board)
        : QAccessibleWidget(board, QAccessible::Client)
    {
    }

    int childCount() const override { return int(readable().size()); }
    QAccessibleInterface* child(int index) const override
    {
        return QAccessible::queryAccessibleInterface(readable().value(index));  // none past the end
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? int(readable().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    QList<QWidget*> readable() const
    {
        QList<QWidget*> children;
        for (QWidget* control : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!control->property("accessibleHidden").toBool())
                children << control;
        }
        std::stable_sort(children.begin(), children.end(), [](const QWidget* a, const QWidget* b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        return children;
    }
};

// A caption with a prefix is read when the reader asks, as its prefix and its
// present text: set as a name on each change it would be announced, the
// clock every second.
class CaptionAccessible : public QAccessibleWidget {
public:
    explicit CaptionAccessible(BoardLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }
    QString text(QAccessible::Text kind) const override
    {
        const auto* label = static_cast<const BoardLabel*>(widget());
        if (kind != QAccessible::Name || (label->accessiblePrefix().isEmpty() && !label->accessibleName().isEmpty()))
            return QAccessibleWidget::text(kind);
        return label->accessiblePrefix() + label->text();
    }
};

QAccessibleInterface* boardAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("numerella::Board") && object->isWidgetType())
        return new BoardAccessible(static_cast<QWidget*>(object));
    if (className == QLatin1String("numerella::BoardLabel"))
        return new CaptionAccessible(static_cast<BoardLabel*>(object));
    return nullptr;
}

} // namespace

Board::Board(QWidget* parent)
    : QWidget(parent)
    , backColor_(palette().color(QPalette::Button))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    [[maybe_unused]] static const bool installed = (QAccessible::installFactory(boardAccessible), true);
}

void Board::shade(std::int16_t tono)
{
    tono_ = tono;
    shaded_ = true;
    update();
}

void Board::setBackColor(const QColor& colour)
{
    backColor_ = colour;
    shaded_ = false;
    update();
}

void Board::keepDesign()
{
    design_.clear();
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const auto* button = qobject_cast<QAbstractButton*>(control);
        design_.append({control, control->geometry(), control->font(), button ? button->iconSize() : QSize()});
    }
}

void Board::resizeEvent(QResizeEvent*)
{
    const double scale = std::min({1.0, width() / qreal(kDesignSize.width()), height() / qreal(kDesignSize.height())});
    if (scale == scale_)
        return;
    scale_ = scale;
    // Rounded down, so that no control reaches past the board's edge.
    const auto scaled = [scale](int length) { return int(length * scale); };
    for (const auto& [control, place, font, picture] : std::as_const(design_)) {
        control->setGeometry(scaled(place.x()), scaled(place.y()), scaled(place.width()), scaled(place.height()));
        QFont shrunk = font;
        shrunk.setPointSizeF(font.pointSizeF() * scale);
        control->setFont(shrunk);  // after the geometry: a label sized by its caption fits it anew
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setIconSize(QSize(scaled(picture.width()), scaled(picture.height())));
    }
}

void Board::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // The bands follow the board's present size, so a resize spreads them anew.
    if (shaded_)
        paintShading(painter, size(), event->rect(), tono_);
    else
        painter.fillRect(event->rect(), backColor_);
}

} // namespace numerella
