// The small things a player sees and types: the faces of the board's two
// picture buttons and boxes holding a long text.
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
    // On a dark desktop: flat faces of exactly their colour inside the bevel, around the picture and caption;
    // a dark caption; the dotted focus ring on the button with the focus only.
    void buttonFaces()
    {
        QApplication::setPalette(QPalette(QColor(45, 45, 45), QColor(30, 30, 30)));
        Harness game;
        game.start();
        game.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game.window()));
        game.answer("1");
        for (GraphicalButton* button : {game.controls().cmdNext, game.controls().cmdExit}) {
            const QImage image = button->grab().toImage();
            const int w = button->width(), h = button->height();
            int offFace = 0, darkest = 255, ring = 0;
            for (int i = 6; i < std::max(w, h) - 6; ++i) {
                for (const QPoint p : {QPoint(6, i), QPoint(w - 7, i), QPoint(i, 6), QPoint(i, h - 7)})
                    offFace += p.x() < w - 6 && p.y() < h - 6 && image.pixel(p) != button->face().rgb();
                ring += i < w - 5 && image.pixel(i, 4) == qRgb(0, 0, 0);
            }
            for (int y = h - 22; y < h - 12; ++y)  // the caption's line
                for (int x = w / 4; x < 3 * w / 4; ++x)
                    darkest = std::min(darkest, qGray(image.pixel(x, y)));
            const QByteArray name = button->objectName().toLatin1();
            QVERIFY2(offFace == 0, name + ": the face is not flat");
            QVERIFY2(darkest < 40, name + ": no dark caption");
            QVERIFY2(button->hasFocus() ? ring >= w / 4 && ring < w - 10 : ring == 0, name + ": focus ring");
        }
        QApplication::setPalette(QPalette());
    }

    // Whatever the text, a box fits the screen with its text laid out whole inside; a long text is cut in the
    // middle with an ellipsis, so its start and end still show.
    void boxesFitTheScreen_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<bool>("shortened");
        const QString greeting = " vediamo se sei un vero campione  ";
        QTest::newRow("short") << "Ok! Ho registrato il tuo record, C A M P I O N E" << false;
        QTest::newRow("name of one word") << " " + QString(32767, u'm') + greeting << true;
        QTest::newRow("name of words") << " " + QStringLiteral("Anna ").repeated(6553) + greeting << true;
        const QString folder = QStringLiteral("/cartella").repeated(450);
        QTest::newRow("deep folder") << "Non riesco a leggere \"" + folder + "\"." << true;
    }
    void boxesFitTheScreen()
    {
        QFETCH(QString, prompt);
        QFETCH(bool, shortened);
        QtPlatform platform;
        QStringList faults{"the box never opened"};
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            faults.clear();
            auto* label = box ? box->findChild<QLabel*>("qt_msgbox_label") : nullptr;
            auto* button = box ? box->findChild<QPushButton*>() : nullptr;
            if (!label || !button) {
                faults << "no box, label or button";
                return;
            }
            const QString shown = label->text();
            if (!box->screen()->availableGeometry().contains(box->frameGeometry()))
                faults << "box larger than the screen";
            if (label->heightForWidth(label->width()) > label->height())
                faults << "text cut";
            const bool ends = shown.startsWith(prompt.left(5)) && shown.endsWith(prompt.right(9));
            if (shown.contains(u'…') != shortened || !ends)
                faults << "shown as " + shown.left(40) + "…" + shown.right(40);
            button->click();
        });
        platform.messageBox(prompt, buttons::kOkOnly, std::nullopt);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }
};

QTEST_MAIN(DetailsTest)
#include "test_details.moc"
