// The small things a player sees and types: the faces of the board's two
// picture buttons, the boxes that greet and warn, and the codes of keys.
#include "harness.h"

#include "platform/qtplatform.h"
#include "window/graphicalbutton.h"
#include "window/keycodes.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

// Pixels off the face colour inside the bevel, away from picture and caption.
int faceFaults(const GraphicalButton& button, const QImage& image)
{
    const QRect picture = button.pictureRect().adjusted(-1, -1, 1, 1), caption = button.captionRect().adjusted(-2, -2, 2, 2);
    int faults = 0;
    for (int y = 5; y < button.height() - 5; ++y)
        for (int x = 5; x < button.width() - 5; ++x)
            faults += !picture.contains(x, y) && !caption.contains(x, y) && QColor(image.pixel(x, y)) != button.face();
    return faults;
}

// Black pixels along the top of the focus ring.
int ringPixels(GraphicalButton* button)
{
    const QImage image = button->grab().toImage();
    const QRect ring = button->focusRingRect();
    int black = 0;
    for (int x = ring.left(); x <= ring.right(); ++x)
        black += image.pixel(x, ring.top()) == qRgb(0, 0, 0);
    return black;
}

// Opens a box through the real desktop and hands it over once shown; OK closes it.
void withBox(QtPlatform& platform, const QString& prompt, const std::function<void(QWidget*)>& inspect)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !box->isVisible())
            return;
        poll.stop();
        inspect(box);
        for (QPushButton* button : box->findChildren<QPushButton*>())
            if (button->text() == "OK") button->click();
    });
    poll.start(10);
    platform.messageBox(prompt, buttons::kOkOnly, std::nullopt);
}

} // namespace

class DetailsTest : public QObject {
    Q_OBJECT
private slots:
    // Flat faces of exactly their colour, enabled or not, on a light or a
    // dark desktop; the caption stays dark on the dark one; the dotted
    // focus ring shows on the button with the focus only.
    void buttonFaces()
    {
        for (const bool dark : {false, true}) {
            QApplication::setPalette(dark ? QPalette(QColor(45, 45, 45), QColor(30, 30, 30)) : QPalette());
            Harness game;
            game.start();
            game.window().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&game.window()));
            GraphicalButton* next = game.controls().cmdNext;
            GraphicalButton* exit = game.controls().cmdExit;
            QCOMPARE(next->face(), QColor(0, 192, 192));
            QCOMPARE(exit->face(), QColor(192, 0, 192));
            QCOMPARE(faceFaults(*next, next->grab().toImage()), 0);  // disabled
            QVERIFY(ringPixels(next) == 0 && ringPixels(exit) == 0);
            game.answer(QStringLiteral("1"));
            for (GraphicalButton* button : {next, exit}) {
                const QImage image = button->grab().toImage();
                QCOMPARE(faceFaults(*button, image), 0);
                const QRect caption = button->captionRect();
                int darkest = 255;
                for (int y = caption.top(); y <= caption.bottom(); ++y)
                    for (int x = caption.left(); x <= caption.right(); ++x)
                        darkest = std::min(darkest, qGray(image.pixel(x, y)));
                QVERIFY2(darkest < 40, qPrintable(button->objectName()));
            }
            QVERIFY(next->hasFocus());
            const int ring = ringPixels(next);
            QVERIFY2(ring >= next->focusRingRect().width() / 3 && ring < next->focusRingRect().width(), "not dotted");
            QCOMPARE(ringPixels(exit), 0);
        }
        QApplication::setPalette(QPalette());
    }

    // A 300-character name's greeting is laid out whole inside a box that
    // fits the screen; every box is wide enough for its title.
    void boxesFitTheirText()
    {
        QtPlatform platform;
        const QString prompt = " " + QString(300, u'm') + " vediamo se sei un vero campione  ";
        QString fault = QStringLiteral("the box never opened");
        withBox(platform, prompt, [&](QWidget* box) {
            QLabel* label = nullptr;
            for (QLabel* candidate : box->findChildren<QLabel*>())
                if (QString(candidate->text()).remove(QChar(0x200B)) == prompt) label = candidate;
            if (!label)
                return void(fault = QStringLiteral("no label shows the prompt"));
            const QRect room = label->contentsRect();
            QTextLayout layout(label->text(), label->font());
            QTextOption option;
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            qreal height = 0, widest = 0;
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(room.width());
                height += line.height();
                widest = std::max(widest, line.naturalTextWidth());
            }
            layout.endLayout();
            fault = box->frameGeometry().width() > 1280 || label->geometry().right() >= box->width() ? "box too wide"
                    : widest > room.width() + 0.5 || height > room.height() + 1 ? "text cut" : "";
        });
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QFont bold = QApplication::font();
        bold.setBold(true);
        int width = 0;
        withBox(platform, QStringLiteral("Ciao"), [&](QWidget* box) { width = box->width(); });
        QVERIFY(width >= QFontMetrics(bold).horizontalAdvance(kApplicationTitle) + 100);
    }

    // The code a classic Windows keyboard types for a key; -1: none.
    void keyCodes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        const int ctrl = Qt::ControlModifier, alt = Qt::AltModifier, shift = Qt::ShiftModifier;
        const struct { const char* row; int key, modifiers; const char16_t* text; int code; } rows[] = {
            {"5", Qt::Key_5, 0, u"5", 53}, {"keypad 7", Qt::Key_7, Qt::KeypadModifier, u"7", 55},
            {"Shift+A", Qt::Key_A, shift, u"A", 65}, {"è", Qt::Key_Egrave, 0, u"è", 232},
            {"euro, AltGr+E", Qt::Key_E, ctrl | alt, u"€", 128}, {"emoji", 0, 0, u"😀", 63},
            {"Enter", Qt::Key_Return, 0, u"\r", 13}, {"Backspace", Qt::Key_Backspace, 0, u"\b", 8},
            {"Escape", Qt::Key_Escape, 0, u"\x1b", 27}, {"Ctrl+Enter", Qt::Key_Return, ctrl, u"\r", 10},
            {"Ctrl+H", Qt::Key_H, ctrl, u"\b", 8}, {"Ctrl+M", Qt::Key_M, ctrl, u"\r", 13},
            {"Ctrl+V", Qt::Key_V, ctrl, u"\x16", 22}, {"Ctrl+Backspace", Qt::Key_Backspace, ctrl, u"\b", 127},
            {"Ctrl+5", Qt::Key_5, ctrl, u"5", -1}, {"Alt+Enter", Qt::Key_Return, alt, u"\r", -1},
            {"Alt+N", Qt::Key_N, alt, u"n", -1}, {"Left", Qt::Key_Left, 0, u"", -1},
            {"Delete", Qt::Key_Delete, 0, u"\x7f", -1}, {"Tab", Qt::Key_Tab, 0, u"\t", -1},
        };
        for (const auto& r : rows)
            QTest::newRow(r.row) << r.key << r.modifiers << QString::fromUtf16(r.text) << r.code;
    }
    void keyCodes()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, code);
        const auto typed = typedCharacterCode(QKeyEvent(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text));
        QCOMPARE(typed ? int(*typed) : -1, code);
    }
};

QTEST_MAIN(DetailsTest)
#include "test_details.moc"
