// The built window against its layout table: every control's kind, place,
// font, colours and options, at start-up and after a reload, plus the spots
// of the design that the game's look depends on.
#include "harness.h"

#include "window/board.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"
#include "window/layouttable.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <set>

using namespace numerella;
using namespace numerella::testing;
namespace L = numerella::layout;

namespace {

QString nameOf(const L::Control& spec)
{
    return QString::fromLatin1(spec.name);
}

QRect designRect(const L::Control& spec)
{
    return {spec.left / 15, spec.top / 15, spec.width / 15, spec.height / 15};
}

QString faceName(L::Face face)
{
    switch (face) {
    case L::Face::Arial:
        return QStringLiteral("Arial");
    case L::Face::ArialBlack:
        return QStringLiteral("Arial Black");
    case L::Face::TimesNewRoman:
        return QStringLiteral("Times New Roman");
    case L::Face::Default:
    case L::Face::MsSansSerif:
        break;
    }
    return QStringLiteral("MS Sans Serif");
}

QColor rgb(const L::Rgb& c)
{
    return QColor(c.r, c.g, c.b);
}

bool hasKind(QObject* object, L::Kind kind)
{
    switch (kind) {
    case L::Kind::Timer:
        return qobject_cast<QTimer*>(object);
    case L::Kind::TextBox:
        return qobject_cast<QLineEdit*>(object);
    case L::Kind::GraphicalButton:
        return qobject_cast<GraphicalButton*>(object);
    case L::Kind::Button:
        return qobject_cast<QPushButton*>(object) && !qobject_cast<GraphicalButton*>(object);
    case L::Kind::Label:
        return qobject_cast<BoardLabel*>(object);
    case L::Kind::Image: {
        auto* image = qobject_cast<QLabel*>(object);
        return image && !qobject_cast<BoardLabel*>(image) && !image->pixmap().isNull();
    }
    }
    return false;
}

// Every control of the table as built: kind, name, place (unless an
// automatically sized caption has changed), font, tooltip, focus, colours.
void checkAgainstTable(const Controls& c)
{
    for (const L::Control& spec : L::controls()) {
        const QString name = nameOf(spec);
        QObject* object = c.byName.value(name);
        QVERIFY2(object, qPrintable(name));
        QCOMPARE(object->objectName(), name);
        QVERIFY2(hasKind(object, spec.kind), qPrintable(name));
        if (spec.kind == L::Kind::Timer) {
            QCOMPARE(static_cast<QTimer*>(object)->interval(), spec.timerInterval);
            continue;
        }
        auto* widget = static_cast<QWidget*>(object);
        QCOMPARE(widget->parentWidget(), static_cast<QWidget*>(c.board));
        auto* label = qobject_cast<BoardLabel*>(widget);
        const bool resized = label && (spec.options & L::kAutoSize)
                             && label->caption() != QString::fromUtf8(spec.caption);
        if (!resized)
            QVERIFY2(widget->geometry() == designRect(spec), qPrintable(name));

        const QFont font = widget->font();
        QVERIFY2(!font.families().isEmpty() && font.families().first() == faceName(spec.font.face), qPrintable(name));
        QVERIFY2(font.families().value(1).startsWith(QStringLiteral("Liberation")), qPrintable(name));
        QCOMPARE(font.pointSizeF(), spec.font.points);
        QVERIFY2(font.bold() == spec.font.bold, qPrintable(name));
        QVERIFY2(font.italic() == spec.font.italic, qPrintable(name));
        QCOMPARE(widget->toolTip(), spec.tooltip ? QString::fromUtf8(spec.tooltip) : QString());

        if (label || spec.kind == L::Kind::Image)
            QVERIFY2(widget->focusPolicy() == Qt::NoFocus, qPrintable(name));
        if (label) {
            if (spec.text.isSet())
                QVERIFY2(label->palette().color(QPalette::WindowText) == rgb(spec.text), qPrintable(name));
            QVERIFY2(label->autoFillBackground() == bool(spec.options & L::kOpaque), qPrintable(name));
            if (spec.options & L::kOpaque)
                QVERIFY2(label->palette().color(QPalette::Window) == rgb(spec.back), qPrintable(name));
            QCOMPARE(label->autoSize(), bool(spec.options & L::kAutoSize));
        }
        if (auto* button = qobject_cast<GraphicalButton*>(widget))
            QVERIFY2(button->face() == rgb(spec.back), qPrintable(name));
        if (auto* box = qobject_cast<QLineEdit*>(widget))
            QCOMPARE(box->maxLength(), spec.maxLength);
    }
}

// Focusable controls in the order Tab visits them, starting at `first`.
QList<QWidget*> tabCycle(const Controls& c, QWidget* first)
{
    QSet<QWidget*> focusable;
    for (QObject* object : c.byName) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget && (widget->focusPolicy() & Qt::TabFocus))
            focusable.insert(widget);
    }
    QList<QWidget*> cycle{first};
    for (QWidget* w = first->nextInFocusChain(); w && w != first && cycle.size() < 100; w = w->nextInFocusChain()) {
        if (focusable.contains(w))
            cycle.append(w);
    }
    return cycle;
}

template <typename T>
T* control(const Controls& c, const char* name)
{
    return qobject_cast<T*>(c.byName.value(QString::fromLatin1(name)));
}

// A new race confirmed with a limit, played by "Marco".
void reload(Harness& game)
{
    game.platform().boxAnswers = {6};
    game.platform().inputAnswers = {QStringLiteral("7"), QStringLiteral("Marco")};
    game.window().Next_Click();
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlMatchesTheTable();
    void everyControlMatchesTheTableAfterAReload();
    void designPlacesFontsAndColours();
    void designCaptionsBeforeStartUp();
    void tooltipsAndOptions();
    void answerBoxTakesFourCharacters();
    void tabOrderAndFocus();
    void menuAndWindow();
    void autoSizedLabelsGrowRight();
    void escapePressesTheQuestionButtonOnlyWhenEnabled();
    void questionButtonShowsAnotherPictureWhenDisabled();
};

void LayoutTest::everyControlMatchesTheTable()
{
    Harness game;
    game.start();
    QCOMPARE(game.controls().byName.size(), L::kControlCount);
    checkAgainstTable(game.controls());
}

void LayoutTest::everyControlMatchesTheTableAfterAReload()
{
    Harness game;
    game.start();
    game.answer(QStringLiteral("3"));  // a wrong answer resizes the score captions
    reload(game);
    QCOMPARE(game.platform().inputPrompts.size(), 3);
    QCOMPARE(game.controls().byName.size(), L::kControlCount);
    checkAgainstTable(game.controls());
}

void LayoutTest::designPlacesFontsAndColours()
{
    Harness game;
    game.start();
    const Controls& c = game.controls();

    const std::pair<const char*, QRect> places[] = {
        {"txtAnswer", {544, 0, 185, 80}},    {"cmdNext", {280, 352, 121, 73}}, {"cmdExit", {512, 352, 137, 73}},
        {"Command1", {312, 376, 57, 41}},    {"Label12", {8, 504, 193, 41}},   {"Label5", {136, 144, 441, 41}},
        {"lblMessage", {112, 136, 441, 41}}, {"Image1", {32, 112, 32, 32}},
    };
    for (const auto& [name, rect] : places)
        QVERIFY2(control<QWidget>(c, name)->geometry() == rect, name);

    struct FontSpot {
        const char* name;
        const char* family;
        double points;
        bool bold, italic;
    };
    const FontSpot fonts[] = {
        {"txtAnswer", "Arial", 48, true, false},         {"Label2", "Arial", 48, false, false},
        {"lblMessage", "MS Sans Serif", 24, true, true}, {"Label5", "MS Sans Serif", 24, true, true},
        {"lblconto", "Arial Black", 12, true, false},    {"lblScore", "Times New Roman", 36, true, false},
        {"cmdNext", "MS Sans Serif", 8.25, true, false}, {"Label11", "MS Sans Serif", 9.75, false, false},
    };
    for (const FontSpot& spot : fonts) {
        const QFont font = control<QWidget>(c, spot.name)->font();
        QVERIFY2(font.families().first() == QLatin1String(spot.family), spot.name);
        QVERIFY2(font.families().contains(QStringLiteral("Liberation Sans"))
                     || font.families().contains(QStringLiteral("Liberation Serif")),
                 spot.name);
        QVERIFY2(qFuzzyCompare(font.pointSizeF(), spot.points), spot.name);
        QVERIFY2(font.bold() == spot.bold && font.italic() == spot.italic, spot.name);
    }
    std::set<double> sizes;
    for (QObject* object : c.byName) {
        if (auto* widget = qobject_cast<QWidget*>(object))
            sizes.insert(widget->font().pointSizeF());
    }
    QCOMPARE(sizes, (std::set<double>{8.25, 9.75, 12, 13.5, 18, 24, 36, 48}));

    QCOMPARE(c.txtAnswer->palette().color(QPalette::Text), QColor(0, 0, 255));
    QCOMPARE(c.txtAnswer->palette().color(QPalette::Base), QColor(255, 255, 128));
    for (BoardLabel* number : {c.lblNum1, c.lblNum2}) {
        QVERIFY(number->autoFillBackground());
        QCOMPARE(number->palette().color(QPalette::Window), QColor(255, 255, 0));
        QCOMPARE(number->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }
    for (const L::Control& spec : L::controls()) {
        if (spec.options & L::kTransparent)
            QVERIFY2(!control<QWidget>(c, spec.name)->autoFillBackground(), spec.name);
    }
    QCOMPARE(c.cmdNext->face(), QColor(0, 192, 192));
    QCOMPARE(c.cmdNext->palette().color(QPalette::Button), QColor(0, 192, 192));
    QCOMPARE(c.cmdExit->face(), QColor(192, 0, 192));
    const std::pair<const char*, QColor> textColours[] = {
        {"lblnome1", {0, 128, 0}}, {"Label6", {0, 255, 255}}, {"Label14", {0, 255, 255}},
        {"lblScore1", {255, 0, 0}}, {"Label1", {255, 0, 0}},  {"lblMessage", {255, 0, 0}},
    };
    for (const auto& [name, colour] : textColours)
        QVERIFY2(control<QWidget>(c, name)->palette().color(QPalette::WindowText) == colour, name);
}

void LayoutTest::designCaptionsBeforeStartUp()
{
    Controls c = buildControls();
    const std::unique_ptr<QWidget> board(c.board);
    const std::unique_ptr<QMenuBar> menuBar(c.menuBar);

    const std::pair<const char*, const char*> captions[] = {
        {"Label12", "Il record  è di "}, {"Label13", "con punti"},      {"Label14", "Sfidante"},
        {"Label11", "Tempo restante"},   {"Label6", "Risposte esatte"}, {"Label1", "Risposte errate"},
        {"Label3", "Risposte totali"},   {"Label4", "="},               {"Label2", "X"},
        {"lblconto", "00.00.00"},
    };
    for (const auto& [name, caption] : captions) {
        BoardLabel* label = control<BoardLabel>(c, name);
        QVERIFY2(label && label->caption() == QString::fromUtf8(caption), name);
        QVERIFY2(label->text() == QString::fromUtf8(caption), name);
    }
    QCOMPARE(c.cmdNext->text(), QStringLiteral("&Nuovo calcolo"));
    QCOMPARE(c.cmdExit->text(), QStringLiteral("E&xit"));
    QVERIFY(!c.cmdNext->isEnabled());
    QVERIFY(c.cmdExit->isEnabled());
    QCOMPARE(c.Timer1->interval(), 1000);
    checkAgainstTable(c);
}

void LayoutTest::tooltipsAndOptions()
{
    Harness game;
    game.start();
    const Controls& c = game.controls();
    QCOMPARE(c.txtAnswer->toolTip(), QStringLiteral("Inserisci il risultato e  premi il tasto  Invio"));
    QCOMPARE(c.cmdNext->toolTip(), QStringLiteral("Go"));
    QCOMPARE(c.cmdExit->toolTip(), QStringLiteral("Ti prego resta ancora, forse riuscirai a farmi uscire "));
    QCOMPARE(c.Image1->toolTip(), QStringLiteral("Clicca sotto di me per impostare il Timer"));
    QCOMPARE(c.lblScore->toolTip(), QStringLiteral("Questo è il tuo punteggio. Forza con il  record"));
    QVERIFY(!c.cmdNext->isEnabled());  // a question is open
    QCOMPARE(c.Timer1->interval(), 1000);
    QCOMPARE(c.txtAnswer->maxLength(), 4);
}

void LayoutTest::answerBoxTakesFourCharacters()
{
    Harness game;
    game.start();
    QTest::keyClicks(game.controls().txtAnswer, QStringLiteral("12345"));
    QCOMPARE(game.controls().txtAnswer->text(), QStringLiteral("1234"));
    QTest::keyClick(game.controls().txtAnswer, Qt::Key_9);
    QCOMPARE(game.controls().txtAnswer->text(), QStringLiteral("1234"));
}

void LayoutTest::tabOrderAndFocus()
{
    Harness game;
    game.start();
    const Controls& c = game.controls();
    const QList<QWidget*> expected{c.cmdExit, c.cmdNext, c.txtAnswer, c.Command1};
    QCOMPARE(tabCycle(c, c.cmdExit), expected);
    for (const L::Control& spec : L::controls()) {
        if (spec.kind == L::Kind::Label || spec.kind == L::Kind::Image)
            QVERIFY2(control<QWidget>(c, spec.name)->focusPolicy() == Qt::NoFocus, spec.name);
    }
}

void LayoutTest::menuAndWindow()
{
    Harness game;
    game.start();
    const Controls& c = game.controls();
    QMenuBar* bar = game.window().menuBar();
    QCOMPARE(bar, c.menuBar);
    const QList<QAction*> menus = bar->actions();
    QCOMPARE(menus.size(), 2);
    QVERIFY(menus[0]->menu() && menus[1]->menu());
    const QList<QAction*> items = menus[1]->menu()->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.last()->text(), QStringLiteral("nuovo"));
    QCOMPARE(items.last()->objectName(), QStringLiteral("Next"));
    QCOMPARE(items.last(), c.Next);
    QCOMPARE(game.window().windowTitle(), QStringLiteral("Gioca con la numerella del dieci"));
    QVERIFY(game.window().windowState() & Qt::WindowMaximized);
    QVERIFY(game.window().isVisible());
    QCOMPARE(game.window().centralWidget(), static_cast<QWidget*>(c.board));
}

void LayoutTest::autoSizedLabelsGrowRight()
{
    Harness game;
    const QString longName(30, QLatin1Char('W'));
    game.start(longName);
    const Controls& c = game.controls();

    const QRect nameDesign(8, 432, 11, 28);
    QCOMPARE(c.lblnome1->caption(), longName);
    QCOMPARE(c.lblnome1->pos(), nameDesign.topLeft());
    QVERIFY(c.lblnome1->width() > nameDesign.width());
    QVERIFY(c.lblnome1->width() >= c.lblnome1->fontMetrics().horizontalAdvance(longName));

    const QRect scoreDesign(72, 272, 37, 59);
    QCOMPARE(c.lblScore->geometry(), scoreDesign);
    c.lblScore->setCaption(QStringLiteral("123"));
    QCOMPARE(c.lblScore->pos(), scoreDesign.topLeft());
    QVERIFY(c.lblScore->width() > scoreDesign.width());

    const QRect recordDesign(8, 504, 193, 41);
    // Label12 has no automatic size: a long caption is clipped, not grown.
    BoardLabel* label12 = control<BoardLabel>(c, "Label12");
    label12->setCaption(QStringLiteral("Il record  è di moltissimi punti davvero tanti"));
    QCOMPARE(label12->geometry(), recordDesign);
}

void LayoutTest::escapePressesTheQuestionButtonOnlyWhenEnabled()
{
    Harness game;
    game.platform().randomValues = {0.0f, 0.75f, 0.0f, 0.0f, 0.25f, 0.0f};  // 10 X 7, then 10 X 2
    game.start();
    game.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&game.window()));
    const Controls& c = game.controls();
    QSignalSpy pressed(c.cmdNext, &QAbstractButton::pressed);

    // A question is open: Escape in the answer box changes nothing.
    QTest::keyClicks(c.txtAnswer, QStringLiteral("70"));
    QTest::keyClick(c.txtAnswer, Qt::Key_Escape);
    QCOMPARE(pressed.count(), 0);
    QVERIFY(!c.cmdNext->isDown());
    QCOMPARE(c.txtAnswer->text(), QStringLiteral("70"));
    QCOMPARE(c.lblNum2->caption(), QStringLiteral("7"));
    QCOMPARE(game.platform().reseeds, 1);

    // Answered: the question button is the cancel button.
    QTest::keyClick(c.txtAnswer, Qt::Key_Return);
    QVERIFY(c.cmdNext->isEnabled());
    QTest::keyClick(c.cmdNext, Qt::Key_Escape);
    QCOMPARE(pressed.count(), 1);
    QTRY_VERIFY(!c.cmdNext->isEnabled());
    QCOMPARE(game.platform().reseeds, 2);
    QCOMPARE(c.lblNum2->caption(), QStringLiteral("2"));
    QCOMPARE(c.txtAnswer->text(), QString());
    QCOMPARE(c.lblMessage->caption(), QString());
}

void LayoutTest::questionButtonShowsAnotherPictureWhenDisabled()
{
    Harness game;
    game.start();
    GraphicalButton* next = game.controls().cmdNext;
    QVERIFY(!next->isEnabled());
    const QImage disabled = next->currentPicture().toImage();
    game.answer(QStringLiteral("0"));
    QVERIFY(next->isEnabled());
    const QImage enabled = next->currentPicture().toImage();
    QVERIFY(!disabled.isNull() && !enabled.isNull());
    QVERIFY(disabled != enabled);
    QVERIFY(!game.controls().cmdExit->currentPicture().isNull());
}

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
