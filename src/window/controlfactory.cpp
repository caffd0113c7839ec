#include "board.h"
#include "boardlabel.h"
#include "controls.h"
#include "graphicalbutton.h"
#include "layouttable.h"
#include "pointers.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace numerella {

namespace {

QStringList familiesFor(layout::Face face)
{
    switch (face) {
    case layout::Face::Arial:
        return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("sans-serif")};
    case layout::Face::ArialBlack:
        return {QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"), QStringLiteral("sans-serif")};
    case layout::Face::TimesNewRoman:
        return {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"), QStringLiteral("serif")};
    case layout::Face::Default:
    case layout::Face::MsSansSerif:
        break;
    }
    return {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("sans-serif")};
}

QFont fontFor(const layout::Font& entry)
{
    QFont font;
    font.setFamilies(familiesFor(entry.face));
    font.setPointSizeF(entry.points);
    font.setWeight(entry.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(entry.italic);
    return font;
}

QColor colourOf(layout::Rgb rgb)
{
    return QColor(rgb.r, rgb.g, rgb.b);
}

QRect rectOf(const layout::Control& entry)
{
    return {layout::toPixels(entry.left), layout::toPixels(entry.top), layout::toPixels(entry.width),
            layout::toPixels(entry.height)};
}

QIcon pictureOf(const char* path)
{
    return path ? QIcon(QString::fromLatin1(path)) : QIcon();
}

void applyCommon(QWidget* widget, const layout::Control& entry)
{
    widget->setObjectName(QString::fromLatin1(entry.name));
    widget->setGeometry(rectOf(entry));
    widget->setFont(fontFor(entry.font));
    if (entry.tooltip)
        widget->setToolTip(QString::fromUtf8(entry.tooltip));
    if (entry.options & layout::kIconPointer)
        widget->setCursor(iconPointer());
    if (entry.options & layout::kDisabled)
        widget->setEnabled(false);
}

BoardLabel* makeLabel(QWidget* board, const layout::Control& entry)
{
    auto* label = new BoardLabel(board);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, entry.text.isSet() ? colourOf(entry.text) : pal.color(QPalette::ButtonText));
    if (entry.options & layout::kOpaque) {
        pal.setColor(QPalette::Window, colourOf(entry.back));
        label->setAutoFillBackground(true);
    } else {
        label->setAutoFillBackground(false);
    }
    label->setPalette(pal);
    if (entry.options & layout::kBorder) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
    }
    label->setAlignment((entry.options & layout::kCentred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    applyCommon(label, entry);
    label->setCaption(QString::fromUtf8(entry.caption));
    label->setGeometry(rectOf(entry));  // the design size holds until the caption changes
    label->setAutoSize(entry.options & layout::kAutoSize);
    return label;
}

QLineEdit* makeTextBox(QWidget* board, const layout::Control& entry)
{
    auto* box = new QLineEdit(board);
    applyCommon(box, entry);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Text, colourOf(entry.text));
    pal.setColor(QPalette::Base, colourOf(entry.back));
    box->setPalette(pal);
    box->setMaxLength(entry.maxLength);
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Composed input would reach the box without passing the key filter.
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->setText(QString::fromUtf8(entry.caption));
    return box;
}

GraphicalButton* makeGraphicalButton(QWidget* board, const layout::Control& entry)
{
    auto* button = new GraphicalButton(board);
    button->setText(QString::fromUtf8(entry.caption));
    button->setFace(colourOf(entry.back));
    button->setPictures(pictureOf(entry.picture), pictureOf(entry.disabledPicture), pictureOf(entry.downPicture));
    applyCommon(button, entry);
    return button;
}

QPushButton* makeButton(QWidget* board, const layout::Control& entry)
{
    auto* button = new QPushButton(QString::fromUtf8(entry.caption), board);
    applyCommon(button, entry);
    return button;
}

QLabel* makeImage(QWidget* board, const layout::Control& entry)
{
    auto* image = new QLabel(board);
    applyCommon(image, entry);
    image->setFocusPolicy(Qt::NoFocus);
    image->setScaledContents(false);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setPixmap(pictureOf(entry.picture).pixmap(32, 32));
    return image;
}

template <typename T>
T* find(const QHash<QString, QObject*>& byName, const char* name)
{
    return qobject_cast<T*>(byName.value(QString::fromLatin1(name)));
}

void buildMenu(Controls& c)
{
    c.menuBar = new QMenuBar;
    QMenu* wp = c.menuBar->addMenu(QStringLiteral("Numerella del dieci"));
    wp->setObjectName(QStringLiteral("wp"));
    c.wp = wp->menuAction();
    c.v = wp->addAction(QStringLiteral("Un gioco libero per imparare la tabellina del dieci"));
    c.v->setObjectName(QStringLiteral("v"));

    QMenu* ciao = c.menuBar->addMenu(QStringLiteral("Ciao"));
    ciao->setObjectName(QStringLiteral("Ciao"));
    c.Ciao = ciao->menuAction();
    c.a = ciao->addAction(QStringLiteral("Realizzato dal progetto Numerella del dieci"));
    c.a->setObjectName(QStringLiteral("a"));
    c.Next = ciao->addAction(QStringLiteral("nuovo"));
    c.Next->setObjectName(QStringLiteral("Next"));
}

} // namespace

Controls buildControls()
{
    Controls c;
    c.board = new Board;
    c.board->setObjectName(QStringLiteral("Tavola"));
    c.board->setCursor(boardPointer());

    std::vector<std::pair<int, QWidget*>> tabOrder;
    std::vector<QWidget*> windowed;  // buttons and text box lie above the captions
    for (const layout::Control& entry : layout::controls()) {
        QObject* made = nullptr;
        QWidget* widget = nullptr;
        switch (entry.kind) {
        case layout::Kind::Timer: {
            auto* timer = new QTimer(c.board);
            timer->setObjectName(QString::fromLatin1(entry.name));
            timer->setInterval(entry.timerInterval);
            timer->start();
            made = timer;
            break;
        }
        case layout::Kind::TextBox:
            widget = makeTextBox(c.board, entry);
            windowed.push_back(widget);
            break;
        case layout::Kind::GraphicalButton:
            widget = makeGraphicalButton(c.board, entry);
            windowed.push_back(widget);
            break;
        case layout::Kind::Button:
            widget = makeButton(c.board, entry);
            windowed.push_back(widget);
            break;
        case layout::Kind::Label:
            widget = makeLabel(c.board, entry);
            break;
        case layout::Kind::Image:
            widget = makeImage(c.board, entry);
            break;
        }
        if (widget) {
            made = widget;
            if (entry.tabIndex >= 0 && widget->focusPolicy() != Qt::NoFocus)
                tabOrder.emplace_back(entry.tabIndex, widget);
        }
        c.byName.insert(QString::fromLatin1(entry.name), made);
    }

    for (QWidget* w : windowed)
        w->raise();
    std::sort(tabOrder.begin(), tabOrder.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    c.Timer1 = find<QTimer>(c.byName, "Timer1");
    c.txtAnswer = find<QLineEdit>(c.byName, "txtAnswer");
    c.cmdNext = find<GraphicalButton>(c.byName, "cmdNext");
    c.cmdExit = find<GraphicalButton>(c.byName, "cmdExit");
    c.Command1 = find<QPushButton>(c.byName, "Command1");
    c.lblpunti = find<BoardLabel>(c.byName, "lblpunti");
    c.lblnome = find<BoardLabel>(c.byName, "lblnome");
    c.lblnome1 = find<BoardLabel>(c.byName, "lblnome1");
    c.lblconto = find<BoardLabel>(c.byName, "lblconto");
    c.lblScore = find<BoardLabel>(c.byName, "lblScore");
    c.lblScore1 = find<BoardLabel>(c.byName, "lblScore1");
    c.lblScore2 = find<BoardLabel>(c.byName, "lblScore2");
    c.lblNum1 = find<BoardLabel>(c.byName, "lblNum1");
    c.lblNum2 = find<BoardLabel>(c.byName, "lblNum2");
    c.lblMessage = find<BoardLabel>(c.byName, "lblMessage");
    c.Image1 = find<QLabel>(c.byName, "Image1");

    // Command1 lies wholly inside the question button: keep it behind, so the
    // button's face and picture stay whole.
    c.Command1->stackUnder(c.cmdNext);

    buildMenu(c);
    return c;
}

} // namespace numerella
