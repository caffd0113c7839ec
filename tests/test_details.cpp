// The small things a player sees and types: the faces of the two picture
// buttons, the boxes that greet and warn, and the character codes of keys.

#include "platform/qtplatform.h"
#include "window/graphicalbutton.h"
#include "window/keycodes.h"

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>

// The pictures live in the window library's resources.
static void registerPictureResources()
{
    Q_INIT_RESOURCE(assets);
}

using namespace numerella;

namespace {

const QColor kTeal(0, 192, 192);
const QColor kPurple(192, 0, 192);
constexpr QChar kBreakChance(0x200B);

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Button, QColor(45, 45, 45));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Light, QColor(70, 70, 70));
    dark.setColor(QPalette::Midlight, QColor(60, 60, 60));
    dark.setColor(QPalette::Mid, QColor(40, 40, 40));
    dark.setColor(QPalette::Dark, QColor(15, 15, 15));
    dark.setColor(QPalette::Shadow, Qt::black);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    return dark;
}

// One of the board's two picture buttons, as the board builds it.
struct ButtonSpec {
    const char* caption;
    QSize size;
    QColor face;
    const char* picture;
    const char* disabledPicture;
    const char* downPicture;
};

const ButtonSpec kCmdNext{"&Nuovo calcolo", {121, 73}, kTeal, ":/assets/faccina_sorride.ico",
                          ":/assets/faccina_neutra.ico", ":/assets/faccina_ride.ico"};
const ButtonSpec kCmdExit{"E&xit", {137, 73}, kPurple, ":/assets/divieto.ico", nullptr, nullptr};

void build(GraphicalButton& button, const ButtonSpec& spec)
{
    QIcon icon;
    for (const auto& [path, mode] : {std::pair{spec.picture, QIcon::Normal}, std::pair{spec.disabledPicture, QIcon::Disabled},
                                     std::pair{spec.downPicture, QIcon::Selected}}) {
        if (path)
            icon.addFile(QString::fromLatin1(path), QSize(), mode);
    }
    button.setText(QString::fromUtf8(spec.caption));
    button.setFace(spec.face);
    button.setIcon(icon);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    button.setFont(font);
    button.resize(spec.size);
}

QColor pixelAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

QString rgb(const QColor& c)
{
    return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

// Pixels of the face that are not the face colour, inside the bevel and the
// focus ring, away from the picture and the caption.
QStringList faceFaults(const GraphicalButton& button, const QImage& image)
{
    const QRect inner = button.rect().adjusted(5, 5, -5, -5);
    const QRect picture = button.pictureRect().adjusted(-1, -1, 1, 1);
    // The disabled caption's etched shadow lies one pixel right and down.
    const QRect caption = button.captionRect().adjusted(-2, -2, 2, 2);
    QStringList faults;
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
            if (picture.contains(x, y) || caption.contains(x, y))
                continue;
            const QColor c = pixelAt(image, x, y);
            if (c != button.face() && faults.size() < 5)
                faults << QStringLiteral("%1,%2 is %3").arg(x).arg(y).arg(rgb(c));
        }
    }
    return faults;
}

// Black pixels along the top and left sides of the focus ring.
int ringPixels(const GraphicalButton& button, const QImage& image)
{
    const QRect ring = button.focusRingRect();
    int black = 0;
    for (int x = ring.left(); x <= ring.right(); ++x)
        black += pixelAt(image, x, ring.top()) == QColor(Qt::black) ? 1 : 0;
    for (int y = ring.top(); y <= ring.bottom(); ++y)
        black += pixelAt(image, ring.left(), y) == QColor(Qt::black) ? 1 : 0;
    return black;
}

// Runs `inspect` on the modal box once it is open, then lets the code
// under test go on.
void whenBoxOpens(std::function<void(QWidget*)> inspect)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, inspect] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        inspect(box);
    });
    poll->start();
}

QLabel* promptLabel(QWidget* box, const QString& prompt)
{
    for (QLabel* label : box->findChildren<QLabel*>()) {
        QString shown = label->text();
        shown.remove(kBreakChance);
        if (shown == prompt)
            return label;
    }
    return nullptr;
}

// Lays the label's text out as the label does and reports what does not fit.
QString layoutFault(const QLabel& label)
{
    const int width = label.contentsRect().width();
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(label.wordWrap() ? QTextOption::WordWrap : QTextOption::ManualWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++lines;
        if (line.naturalTextWidth() > width + 0.5)
            return QStringLiteral("line %1 is %2 px wide in a label of %3").arg(lines).arg(line.naturalTextWidth()).arg(width);
        height += line.height();
    }
    layout.endLayout();
    if (height > label.contentsRect().height() + 1)
        return QStringLiteral("%1 lines need %2 px, the label has %3").arg(lines).arg(height).arg(label.contentsRect().height());
    return QString();
}

int titleWidth()
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(kApplicationTitle);
}

void press(QWidget* box, const QString& caption)
{
    for (QPushButton* button : box->findChildren<QPushButton*>()) {
        if (button->text() == caption) {
            button->click();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no button %1").arg(caption)));
}

QKeyEvent keyEvent(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    return QKeyEvent(QEvent::KeyPress, key, modifiers, text);
}

} // namespace

class DetailsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void buttonFaceIsOneFlatColour_data();
    void buttonFaceIsOneFlatColour();
    void captionStaysDarkOnADarkDesktop_data();
    void captionStaysDarkOnADarkDesktop();
    void bevelIsRaisedAndSinksWhenDown();
    void focusRingShowsOnlyWithFocus();

    void longWordsWrapInsideTheBox_data();
    void longWordsWrapInsideTheBox();
    void ordinaryPromptsAreShownAsGiven();
    void boxesAnswerWithTheButtonPressed();
    void boxesAreWideEnoughForTheirTitle();

    void keyCodes_data();
    void keyCodes();
    void boxActsOnItsOwnMatchesTheLineEdit_data();
    void boxActsOnItsOwnMatchesTheLineEdit();

private:
    QString originalStyle_;
    QPalette originalPalette_;
};

void DetailsTest::initTestCase()
{
    registerPictureResources();
    originalStyle_ = QApplication::style()->name();
    originalPalette_ = QApplication::palette();
}

void DetailsTest::cleanup()
{
    QApplication::setStyle(QStyleFactory::create(originalStyle_));
    QApplication::setPalette(originalPalette_);
}

void DetailsTest::buttonFaceIsOneFlatColour_data()
{
    QTest::addColumn<bool>("exitButton");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("cmdNext, Fusion") << false << false << true;
    QTest::newRow("cmdNext, Fusion, dark") << false << true << true;
    QTest::newRow("cmdNext disabled, Fusion") << false << false << false;
    QTest::newRow("cmdNext disabled, Fusion, dark") << false << true << false;
    QTest::newRow("cmdExit, Fusion") << true << false << true;
    QTest::newRow("cmdExit, Fusion, dark") << true << true << true;
}

void DetailsTest::buttonFaceIsOneFlatColour()
{
    QFETCH(bool, exitButton);
    QFETCH(bool, dark);
    QFETCH(bool, enabled);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (dark)
        QApplication::setPalette(darkPalette());

    GraphicalButton button;
    build(button, exitButton ? kCmdExit : kCmdNext);
    button.setEnabled(enabled);
    const QImage image = button.grab().toImage();

    const QStringList faults = faceFaults(button, image);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    // The centre column between the picture and the bevel, sampled.
    const QPoint sample(8, button.height() / 2);
    QCOMPARE(pixelAt(image, sample.x(), sample.y()), exitButton ? kPurple : kTeal);
    // The picture is there, and is not the face.
    const QRect picture = button.pictureRect();
    QVERIFY(!picture.isEmpty());
    QVERIFY(pixelAt(image, picture.center().x(), picture.center().y()) != button.face());
}

void DetailsTest::captionStaysDarkOnADarkDesktop_data()
{
    QTest::addColumn<bool>("exitButton");
    QTest::newRow("cmdNext") << false;
    QTest::newRow("cmdExit") << true;
}

void DetailsTest::captionStaysDarkOnADarkDesktop()
{
    QFETCH(bool, exitButton);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());

    GraphicalButton button;
    build(button, exitButton ? kCmdExit : kCmdNext);
    const QImage image = button.grab().toImage();

    // Dark text blended onto the face is never lighter than the face in any
    // channel; white text would be.
    const QRect caption = button.captionRect();
    QVERIFY(!caption.isEmpty());
    int darkest = 255;
    for (int y = caption.top(); y <= caption.bottom(); ++y) {
        for (int x = caption.left(); x <= caption.right(); ++x) {
            const QColor c = pixelAt(image, x, y);
            QVERIFY2(c.red() <= button.face().red() && c.green() <= button.face().green()
                         && c.blue() <= button.face().blue(),
                     qPrintable(QStringLiteral("caption pixel %1,%2 is %3").arg(x).arg(y).arg(rgb(c))));
            darkest = std::min(darkest, std::max({c.red(), c.green(), c.blue()}));
        }
    }
    QVERIFY2(darkest < 40, "no dark caption pixel: the caption is missing");
}

void DetailsTest::bevelIsRaisedAndSinksWhenDown()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    GraphicalButton button;
    build(button, kCmdNext);
    const int midX = button.width() / 2;
    const int midY = button.height() / 2;
    const int right = button.width() - 1;
    const int bottom = button.height() - 1;

    QImage up = button.grab().toImage();
    QCOMPARE(pixelAt(up, midX, 0), QColor(Qt::white));
    QCOMPARE(pixelAt(up, 0, midY), QColor(Qt::white));
    QCOMPARE(pixelAt(up, midX, bottom), QColor(Qt::black));
    QCOMPARE(pixelAt(up, right, midY), QColor(Qt::black));
    QCOMPARE(pixelAt(up, midX, bottom - 1), QColor(128, 128, 128));

    button.setDown(true);
    QImage down = button.grab().toImage();
    QCOMPARE(pixelAt(down, midX, 0), QColor(Qt::black));
    QCOMPARE(pixelAt(down, 0, midY), QColor(Qt::black));
    QCOMPARE(pixelAt(down, midX, 1), QColor(128, 128, 128));
    QCOMPARE(pixelAt(down, midX, bottom), QColor(Qt::white));
    QCOMPARE(pixelAt(down, right, midY), QColor(Qt::white));
    // Held down, cmdNext laughs: the picture differs from the smiling one.
    const QRect picture = button.pictureRect().translated(1, 1);
    QVERIFY(down.copy(picture) != up.copy(button.pictureRect()));
    QCOMPARE(faceFaults(button, down).size(), 0);
}

void DetailsTest::focusRingShowsOnlyWithFocus()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* next = new GraphicalButton;
    auto* exit = new GraphicalButton;
    build(*next, kCmdNext);
    build(*exit, kCmdExit);
    for (GraphicalButton* b : {next, exit}) {
        b->setFixedSize(b->size());
        layout->addWidget(b);
    }
    auto* other = new QLineEdit;
    layout->addWidget(other);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    for (GraphicalButton* button : {next, exit}) {
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(ringPixels(*button, button->grab().toImage()), 0);

        button->setFocus();
        QTRY_VERIFY(button->hasFocus());
        const QRect ring = button->focusRingRect();
        const int length = ring.width() + ring.height();
        const int black = ringPixels(*button, button->grab().toImage());
        // A dotted ring: about every other pixel.
        QVERIFY2(black >= length / 3, qPrintable(QStringLiteral("%1 of %2 ring pixels are black").arg(black).arg(length)));
        QVERIFY2(black < length, "the ring is not dotted");
    }
}

void DetailsTest::longWordsWrapInsideTheBox_data()
{
    QTest::addColumn<QString>("prompt");
    const QString name(300, QLatin1Char('m'));
    QTest::newRow("greeting") << QStringLiteral(" ") + name + QStringLiteral(" vediamo se sei un vero campione  ");
    QTest::newRow("no time chosen") << QStringLiteral("Ciao ") + name
                                           + QStringLiteral(" siccome non hai scelto il tempo te lo do io");
    QTest::newRow("accented name") << QString(120, QChar(0x00E8)) + QStringLiteral(" gioca");
    QTest::newRow("combining marks") << QString(60, QLatin1Char('a')).replace(QLatin1String("a"), QStringLiteral("e\u0301"))
                                            + QStringLiteral(" gioca");
}

void DetailsTest::longWordsWrapInsideTheBox()
{
    QFETCH(QString, prompt);
    QtPlatform platform;
    QString fault = QStringLiteral("the box never opened");
    whenBoxOpens([&](QWidget* box) {
        fault.clear();
        QLabel* label = promptLabel(box, prompt);
        if (!label) {
            fault = QStringLiteral("no label shows the prompt");
        } else if (box->frameGeometry().width() > 1280) {
            fault = QStringLiteral("the box is %1 px wide").arg(box->frameGeometry().width());
        } else if (label->geometry().right() >= box->width()) {
            fault = QStringLiteral("the label runs past the box");
        } else {
            fault = layoutFault(*label);
        }
        // A break chance never splits a character from its accent.
        const QString shown = label ? label->text() : QString();
        for (qsizetype i = 1; i < shown.size(); ++i) {
            if (shown.at(i - 1) == kBreakChance && shown.at(i).category() == QChar::Mark_NonSpacing)
                fault = QStringLiteral("a break chance before a combining mark at %1").arg(i);
        }
        press(box, QStringLiteral("OK"));
    });
    QCOMPARE(platform.messageBox(prompt, buttons::kOkOnly, std::nullopt), answers::kOk);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void DetailsTest::ordinaryPromptsAreShownAsGiven()
{
    QtPlatform platform;
    const QString prompt = QStringLiteral(" Maria vediamo se sei un vero campione  ");
    QString shown;
    whenBoxOpens([&](QWidget* box) {
        if (QLabel* label = promptLabel(box, prompt))
            shown = label->text();
        press(box, QStringLiteral("OK"));
    });
    platform.messageBox(prompt, buttons::kOkOnly, std::nullopt);
    QCOMPARE(shown, prompt);
}

void DetailsTest::boxesAnswerWithTheButtonPressed()
{
    QtPlatform platform;
    whenBoxOpens([](QWidget* box) { press(box, QStringLiteral("&Sì")); });
    QCOMPARE(platform.messageBox(QStringLiteral("Vuoi salvare?"), buttons::kYesNoQuestionNoDefault, std::nullopt),
             answers::kYes);
    whenBoxOpens([](QWidget* box) { press(box, QStringLiteral("&No")); });
    QCOMPARE(platform.messageBox(QStringLiteral("Vuoi salvare?"), buttons::kYesNoQuestionNoDefault, std::nullopt),
             answers::kNo);
    // Escape answers No, the default.
    whenBoxOpens([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QCOMPARE(platform.messageBox(QStringLiteral("Vuoi salvare?"), buttons::kYesNoQuestionNoDefault, std::nullopt),
             answers::kNo);

    whenBoxOpens([](QWidget* box) {
        auto* dialog = qobject_cast<QInputDialog*>(box);
        QVERIFY(dialog);
        dialog->setTextValue(QStringLiteral("Luca"));
        press(box, QStringLiteral("OK"));
    });
    QCOMPARE(platform.inputBox(QStringLiteral("Come ti chiami?")), QStringLiteral("Luca"));
    whenBoxOpens([](QWidget* box) {
        qobject_cast<QInputDialog*>(box)->setTextValue(QStringLiteral("Luca"));
        press(box, QStringLiteral("Annulla"));
    });
    QCOMPARE(platform.inputBox(QStringLiteral("Come ti chiami?")), QString());
}

void DetailsTest::boxesAreWideEnoughForTheirTitle()
{
    // The title in a bold title-bar font, and room for the title bar's
    // buttons beside it.
    const int needed = titleWidth() + 100;
    QtPlatform platform;
    int messageWidth = 0;
    QString messageTitle;
    whenBoxOpens([&](QWidget* box) {
        messageWidth = box->width();
        messageTitle = box->windowTitle();
        press(box, QStringLiteral("OK"));
    });
    platform.messageBox(QStringLiteral("Ciao"), buttons::kOkOnly, std::nullopt);
    QCOMPARE(messageTitle, kApplicationTitle);
    QVERIFY2(messageWidth >= needed, qPrintable(QStringLiteral("%1 < %2").arg(messageWidth).arg(needed)));

    int inputWidth = 0;
    QString inputTitle;
    whenBoxOpens([&](QWidget* box) {
        inputWidth = box->width();
        inputTitle = box->windowTitle();
        press(box, QStringLiteral("OK"));
    });
    platform.inputBox(QStringLiteral("Come ti chiami?"));
    QCOMPARE(inputTitle, kApplicationTitle);
    QVERIFY2(inputWidth >= needed, qPrintable(QStringLiteral("%1 < %2").arg(inputWidth).arg(needed)));
}

void DetailsTest::keyCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");  // -1: no character typed
    QTest::addColumn<bool>("boxActs");

    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    const int alt = Qt::AltModifier;
    const int keypad = Qt::KeypadModifier;

    QTest::newRow("0") << int(Qt::Key_0) << none << "0" << 48 << true;
    QTest::newRow("5") << int(Qt::Key_5) << none << "5" << 53 << true;
    QTest::newRow("9") << int(Qt::Key_9) << none << "9" << 57 << true;
    QTest::newRow("keypad 7") << int(Qt::Key_7) << keypad << "7" << 55 << true;
    QTest::newRow("a") << int(Qt::Key_A) << none << "a" << 97 << true;
    QTest::newRow("Shift+A") << int(Qt::Key_A) << shift << "A" << 65 << true;
    QTest::newRow("z") << int(Qt::Key_Z) << none << "z" << 122 << true;
    QTest::newRow("space") << int(Qt::Key_Space) << none << " " << 32 << true;
    QTest::newRow("comma") << int(Qt::Key_Comma) << none << "," << 44 << true;
    QTest::newRow("Shift+1, Italian") << int(Qt::Key_Exclam) << shift << "!" << 33 << true;
    QTest::newRow("Shift+3, Italian") << int(Qt::Key_sterling) << shift << QStringLiteral("\u00A3") << 163 << true;
    QTest::newRow("Shift+0, Italian") << int(Qt::Key_Equal) << shift << "=" << 61 << true;
    QTest::newRow("è") << int(Qt::Key_Egrave) << none << QStringLiteral("\u00E8") << 232 << true;
    QTest::newRow("euro, AltGr+E") << int(Qt::Key_E) << (ctrl | alt) << QStringLiteral("\u20AC") << 128 << true;
    QTest::newRow("Greek alpha") << 0x391 << none << QStringLiteral("\u03B1") << 63 << true;
    QTest::newRow("emoji") << 0 << none << QStringLiteral("\U0001F600") << 63 << true;

    QTest::newRow("Enter") << int(Qt::Key_Return) << none << "\r" << 13 << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << keypad << "\r" << 13 << true;
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << shift << "\r" << 13 << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "\b" << 8 << true;
    QTest::newRow("Shift+Backspace") << int(Qt::Key_Backspace) << shift << "\b" << 8 << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << "\x1b" << 27 << true;

    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << "\x01" << 1 << false;
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << ctrl << "\x03" << 3 << false;
    QTest::newRow("Ctrl+H") << int(Qt::Key_H) << ctrl << "\x08" << 8 << false;
    QTest::newRow("Ctrl+J") << int(Qt::Key_J) << ctrl << "\n" << 10 << false;
    QTest::newRow("Ctrl+M") << int(Qt::Key_M) << ctrl << "\r" << 13 << true;
    QTest::newRow("Ctrl+Shift+M") << int(Qt::Key_M) << (ctrl | shift) << "\r" << 13 << true;
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << ctrl << "\x16" << 22 << false;
    QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl << "\x1a" << 26 << false;
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << ctrl << "\r" << 10 << false;
    QTest::newRow("Ctrl+keypad Enter") << int(Qt::Key_Enter) << (ctrl | keypad) << "\r" << 10 << false;
    QTest::newRow("Ctrl+Backspace") << int(Qt::Key_Backspace) << ctrl << "\b" << 127 << false;
    QTest::newRow("Ctrl+[") << int(Qt::Key_BracketLeft) << ctrl << "\x1b" << 27 << false;
    QTest::newRow("Ctrl+]") << int(Qt::Key_BracketRight) << ctrl << "\x1d" << 29 << false;
    QTest::newRow("Ctrl+Space") << int(Qt::Key_Space) << ctrl << " " << 32 << false;
    QTest::newRow("Ctrl+5") << int(Qt::Key_5) << ctrl << "5" << -1 << false;
    QTest::newRow("Ctrl+Escape") << int(Qt::Key_Escape) << ctrl << "\x1b" << -1 << false;

    QTest::newRow("Alt+Enter") << int(Qt::Key_Return) << alt << "\r" << -1 << false;
    QTest::newRow("Alt+N") << int(Qt::Key_N) << alt << "n" << -1 << false;
    QTest::newRow("Alt+5") << int(Qt::Key_5) << alt << "5" << -1 << false;
    QTest::newRow("Alt+Backspace") << int(Qt::Key_Backspace) << alt << "\b" << -1 << false;
    QTest::newRow("Windows key+E") << int(Qt::Key_E) << int(Qt::MetaModifier) << "e" << -1 << false;

    QTest::newRow("Left") << int(Qt::Key_Left) << none << "" << -1 << false;
    QTest::newRow("Shift+Right") << int(Qt::Key_Right) << shift << "" << -1 << false;
    QTest::newRow("Home") << int(Qt::Key_Home) << none << "" << -1 << false;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << "\x7f" << -1 << false;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << none << "\t" << -1 << false;
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << shift << "" << -1 << false;
    QTest::newRow("F5") << int(Qt::Key_F5) << none << "" << -1 << false;
}

void DetailsTest::keyCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, code);
    QFETCH(bool, boxActs);
    const QKeyEvent event = keyEvent(key, Qt::KeyboardModifiers(modifiers), text);
    const std::optional<std::int16_t> typed = typedCharacterCode(event);
    if (code < 0)
        QVERIFY2(!typed, qPrintable(QStringLiteral("gave %1").arg(typed ? *typed : 0)));
    else {
        QVERIFY(typed);
        QCOMPARE(int(*typed), code);
    }
    QCOMPARE(boxActsOnItsOwn(event), boxActs);
}

// The box's own handling of a key, checked against a real line edit holding
// "12" with the cursor at its end: where the box acts on its own its text
// ends as the classic box's does for the key's code; where it does not, the
// two part ways and the window has the work to do.
void DetailsTest::boxActsOnItsOwnMatchesTheLineEdit_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("classicText");  // the box's text after the code

    QTest::newRow("3") << int(Qt::Key_3) << int(Qt::NoModifier) << "3" << "123";
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << "\b" << "1";
    QTest::newRow("Shift+Backspace") << int(Qt::Key_Backspace) << int(Qt::ShiftModifier) << "\b" << "1";
    QTest::newRow("Ctrl+H") << int(Qt::Key_H) << int(Qt::ControlModifier) << "\x08" << "1";
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << "\r" << "12";
    QTest::newRow("Ctrl+M") << int(Qt::Key_M) << int(Qt::ControlModifier) << "\r" << "12";
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << "\x1b" << "12";
}

void DetailsTest::boxActsOnItsOwnMatchesTheLineEdit()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, classicText);
    QLineEdit box(QStringLiteral("12"));
    box.setMaxLength(4);
    QKeyEvent event = keyEvent(key, Qt::KeyboardModifiers(modifiers), text);
    const bool acts = boxActsOnItsOwn(event);
    QApplication::sendEvent(&box, &event);
    QCOMPARE(box.text() == classicText, acts);
}

QTEST_MAIN(DetailsTest)
#include "test_details.moc"
