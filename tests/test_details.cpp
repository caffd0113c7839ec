// The small things a player sees and types: the faces of the board's two
// picture buttons, a box holding a long name, and the codes of keys.
#include "harness.h"

#include "platform/qtplatform.h"
#include "window/graphicalbutton.h"
#include "window/keycodes.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

class DetailsTest : public QObject {
    Q_OBJECT
private slots:
    // Flat faces of exactly their colour inside the bevel (picture and
    // caption aside), the caption dark even on a dark desktop, the dotted
    // focus ring on the button with the focus only.
    void buttonFaces()
    {
        for (const bool dark : {false, true}) {
            QApplication::setPalette(dark ? QPalette(QColor(45, 45, 45), QColor(30, 30, 30)) : QPalette());
            Harness game;
            game.start();
            game.window().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&game.window()));
            game.answer("1");
            for (GraphicalButton* button : {game.controls().cmdNext, game.controls().cmdExit}) {
                const QImage image = button->grab().toImage();
                const QRect picture = button->pictureRect().adjusted(-1, -1, 1, 1), caption = button->captionRect();
                int offFace = 0, darkest = 255, ring = 0;
                for (int y = 5; y < button->height() - 5; ++y)
                    for (int x = 5; x < button->width() - 5; ++x)
                        offFace += !picture.contains(x, y) && !caption.adjusted(-2, -2, 2, 2).contains(x, y)
                                   && image.pixel(x, y) != (button == game.controls().cmdNext ? qRgb(0, 192, 192) : qRgb(192, 0, 192));
                for (int y = caption.top(); y <= caption.bottom(); ++y)
                    for (int x = caption.left(); x <= caption.right(); ++x)
                        darkest = std::min(darkest, qGray(image.pixel(x, y)));
                const QRect ringRect = button->focusRingRect();
                for (int x = ringRect.left(); x <= ringRect.right(); ++x)
                    ring += image.pixel(x, ringRect.top()) == qRgb(0, 0, 0);
                QCOMPARE(offFace, 0);
                QVERIFY2(darkest < 40, "no dark caption");
                QVERIFY2(button->hasFocus() ? ring >= ringRect.width() / 3 && ring < ringRect.width() : ring == 0, "ring");
            }
        }
        QApplication::setPalette(QPalette());
    }

    // A 300-character name's greeting is laid out whole inside a box that
    // fits the screen, and the box is wide enough for its title.
    void longNameFitsTheBox()
    {
        QtPlatform platform;
        const QString prompt = " " + QString(300, u'm') + " vediamo se sei un vero campione  ";
        QString fault = "the box never opened";
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || !box->isVisible())
                return;
            poll.stop();
            fault = "no label shows the prompt";
            for (QLabel* label : box->findChildren<QLabel*>()) {
                if (QString(label->text()).remove(QChar(0x200B)) != prompt)
                    continue;
                const QRect room = label->contentsRect();
                const QRect need = label->fontMetrics().boundingRect(QRect(0, 0, room.width(), 100000), Qt::TextWordWrap, label->text());
                QFont bold = QApplication::font();
                bold.setBold(true);
                fault = box->frameGeometry().width() > 1280 || label->geometry().right() >= box->width() ? "box too wide"
                        : need.width() > room.width() || need.height() > room.height() ? "text cut"
                        : box->width() < QFontMetrics(bold).horizontalAdvance(kApplicationTitle) + 100 ? "title cut" : "";
            }
            for (QPushButton* button : box->findChildren<QPushButton*>())
                button->click();
        });
        poll.start(10);
        platform.messageBox(prompt, buttons::kOkOnly, std::nullopt);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // The code a classic Windows keyboard types for a key; -1: none.
    void keyCodes()
    {
        const int ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
        const struct { int key, modifiers; const char16_t* text; int code; } rows[] = {
            {Qt::Key_5, 0, u"5", 53}, {Qt::Key_7, Qt::KeypadModifier, u"7", 55}, {Qt::Key_A, Qt::ShiftModifier, u"A", 65},
            {Qt::Key_Egrave, 0, u"è", 232}, {Qt::Key_E, ctrl | alt, u"€", 128}, {0, 0, u"😀", 63},
            {Qt::Key_Return, 0, u"\r", 13}, {Qt::Key_Backspace, 0, u"\b", 8}, {Qt::Key_Escape, 0, u"\x1b", 27},
            {Qt::Key_Return, ctrl, u"\r", 10}, {Qt::Key_H, ctrl, u"\b", 8}, {Qt::Key_M, ctrl, u"\r", 13},
            {Qt::Key_V, ctrl, u"\x16", 22}, {Qt::Key_Backspace, ctrl, u"\b", 127}, {Qt::Key_5, ctrl, u"5", -1},
            {Qt::Key_Return, alt, u"\r", -1}, {Qt::Key_N, alt, u"n", -1}, {Qt::Key_Left, 0, u"", -1},
            {Qt::Key_Delete, 0, u"\x7f", -1}, {Qt::Key_Tab, 0, u"\t", -1},
        };
        for (const auto& r : rows) {
            const QString text = QString::fromUtf16(r.text);
            const auto typed = typedCharacterCode(QKeyEvent(QEvent::KeyPress, r.key, Qt::KeyboardModifiers(r.modifiers), text));
            QVERIFY2((typed ? int(*typed) : -1) == r.code,
                     qPrintable(QStringLiteral("key %1 modifiers %2 gave %3").arg(r.key, 0, 16).arg(r.modifiers, 0, 16).arg(typed ? *typed : -1)));
        }
    }
};

QTEST_MAIN(DetailsTest)
#include "test_details.moc"
