// The small things a player sees and types: the faces of the board's two
// picture buttons and a box holding a long name.
#include "harness.h"

#include "platform/qtplatform.h"
#include "window/graphicalbutton.h"

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
};

QTEST_MAIN(DetailsTest)
#include "test_details.moc"
