// The window as built and as started: every control against the layout
// table, keyboard and menu, start-up with its record files, the close box,
// and the "nuovo" command's reload.
#include "harness.h"

#include "window/board.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"
#include "window/layouttable.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;
namespace L = numerella::layout;

namespace {

const QString kNamePrompt = QStringLiteral("Come ti chiami?");
const QString kLimitPrompt = QStringLiteral("Tavola pitagorica fino al numero? ");
const QString kConfirm = QStringLiteral("INIZIAMO UNA NUOVA GARA  ?");
const QStringList kSetAtStart{"lblnome1", "lblpunti", "lblnome", "lblconto", "lblNum1", "lblNum2"};
const char* const kFaces[] = {"MS Sans Serif", "MS Sans Serif", "Arial", "Arial Black", "Times New Roman"};

QString greeting(const QString& name) { return " " + name + " vediamo se sei un vero campione  "; }
QColor rgb(const L::Rgb& c) { return QColor(c.r, c.g, c.b); }

// Every control against its row. Labels outside `setByGame` must show their
// design caption; auto-sized labels whose caption changed may have grown.
void checkAgainstTable(const Controls& c, const QStringList& setByGame)
{
    const char* const classes[] = {"QTimer", "QLineEdit", "numerella::GraphicalButton", "QPushButton",
                                   "numerella::BoardLabel", "QLabel"};  // by L::Kind
    QCOMPARE(c.byName.size(), L::kControlCount);
    for (const L::Control& entry : L::controls()) {
        const char* n = entry.name;
        QObject* object = c.byName.value(QString::fromLatin1(n));
        QVERIFY2(object && object->objectName() == QLatin1String(n), n);
        QVERIFY2(object->metaObject()->className() == QByteArray(classes[int(entry.kind)]), n);
        if (auto* timer = qobject_cast<QTimer*>(object)) {
            QCOMPARE(timer->interval(), entry.timerInterval);
            continue;
        }
        auto* w = static_cast<QWidget*>(object);
        auto* label = qobject_cast<BoardLabel*>(w);
        const QString design = QString::fromUtf8(entry.caption);
        QVERIFY2(!label || setByGame.contains(QLatin1String(n)) || label->caption() == design, n);
        QVERIFY2(w->parentWidget() == static_cast<QWidget*>(c.board), n);
        if (!(label && (entry.options & L::kAutoSize) && label->caption() != design))
            QVERIFY2(w->geometry() == QRect(entry.left / 15, entry.top / 15, entry.width / 15, entry.height / 15), n);
        const QFont f = w->font();
        QVERIFY2(f.families().value(0) == QLatin1String(kFaces[int(entry.font.face)]), n);
        QVERIFY2(f.families().value(1).startsWith(QLatin1String("Liberation")), n);
        QVERIFY2(f.pointSizeF() == entry.font.points && f.bold() == entry.font.bold && f.italic() == entry.font.italic, n);
        QVERIFY2(w->toolTip() == (entry.tooltip ? QString::fromUtf8(entry.tooltip) : QString()), n);
        if (entry.kind == L::Kind::Image)
            QVERIFY2(!static_cast<QLabel*>(w)->pixmap().isNull() && w->focusPolicy() == Qt::NoFocus, n);
        if (label) {
            const QPalette p = label->palette();
            QVERIFY2(label->focusPolicy() == Qt::NoFocus && label->autoSize() == bool(entry.options & L::kAutoSize), n);
            QVERIFY2(!entry.text.isSet() || p.color(QPalette::WindowText) == rgb(entry.text), n);
            QVERIFY2(label->autoFillBackground() == bool(entry.options & L::kOpaque), n);
            QVERIFY2(!(entry.options & L::kOpaque) || p.color(QPalette::Window) == rgb(entry.back), n);
        }
        if (auto* button = qobject_cast<GraphicalButton*>(w))
            QVERIFY2(button->face() == rgb(entry.back), n);
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            QCOMPARE(box->maxLength(), entry.maxLength);
            QVERIFY(box->palette().color(QPalette::Text) == rgb(entry.text)
                    && box->palette().color(QPalette::Base) == rgb(entry.back));
        }
    }
}

// A fresh race: a question open, the clock running from the full time.
void checkPlaying(Harness& game)
{
    const Controls& c = game.controls();
    const GameState& s = game.window().state();
    QVERIFY(!game.window().ended() && !c.cmdNext->isEnabled() && c.Timer1->isActive());
    QVERIFY(c.lblNum1->caption() == "10" && !c.lblNum2->caption().isEmpty());
    QVERIFY(s.tempo == 900 && s.giuste == 0 && s.sbagliate == 0);
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00:05:00"));
    QCOMPARE(game.window().focusWidget(), static_cast<QWidget*>(c.txtAnswer));
}

// "nuovo" answered Yes, then the limit and name prompts answered in turn.
void newRace(Harness& game, const QStringList& inputs)
{
    game.platform().boxAnswers = {6};
    game.platform().inputAnswers = inputs;
    game.controls().Next->trigger();
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void designBeforeStartUp();
    void windowKeyboardAndMenu();
    void startUp_data();
    void startUp();
    void recordFilesAtStartUp_data();
    void recordFilesAtStartUp();
    void recordFolderIsAFile();
    void closeBoxEndsWithoutRecordCheck();
    void newRaceDeclinedChangesNothing();
    void newRaceReloads_data();
    void newRaceReloads();
};

void WindowTest::designBeforeStartUp()
{
    Controls c = buildControls();
    const std::unique_ptr<QWidget> board(c.board);
    const std::unique_ptr<QMenuBar> menuBar(c.menuBar);
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00.00.00"));
    QCOMPARE(qobject_cast<BoardLabel*>(c.byName.value("Label12"))->text(), QStringLiteral("Il record  è di "));
    QVERIFY(c.cmdNext->text() == "&Nuovo calcolo" && c.cmdExit->text() == "E&xit");
    QVERIFY(!c.cmdNext->isEnabled() && c.cmdExit->isEnabled());
    checkAgainstTable(c, {});
}

void WindowTest::windowKeyboardAndMenu()
{
    Harness game;
    const QString longName(30, QLatin1Char('W'));
    game.platform().randomValues = {0.0f, 0.75f, 0.0f, 0.0f, 0.25f, 0.0f};  // 10 X 7, then 10 X 2
    game.start(longName);
    Tavola& w = game.window();
    const Controls& c = game.controls();
    QCOMPARE(w.windowTitle(), QStringLiteral("Gioca con la numerella del dieci"));
    QVERIFY(w.isVisible() && (w.windowState() & Qt::WindowMaximized));
    QCOMPARE(w.menuBar(), c.menuBar);
    const QList<QAction*> menus = c.menuBar->actions();
    QVERIFY(menus.size() == 2 && menus[0]->menu() && menus[1]->menu());
    QAction* last = menus[1]->menu()->actions().last();
    QVERIFY(last->text() == "nuovo" && last->objectName() == "Next" && last == c.Next);

    // Tab visits exactly the focusable controls, in this order.
    QList<QWidget*> cycle{c.cmdExit};
    for (QWidget* x = c.cmdExit->nextInFocusChain(); x != c.cmdExit && cycle.size() < 50; x = x->nextInFocusChain()) {
        if ((x->focusPolicy() & Qt::TabFocus) && !c.byName.key(x).isEmpty())
            cycle << x;
    }
    QCOMPARE(cycle, (QList<QWidget*>{c.cmdExit, c.cmdNext, c.txtAnswer, c.Command1}));

    // Four characters at most; Escape does nothing while a question is open,
    // and draws the next one once the question button is enabled.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const QImage disabledPicture = c.cmdNext->currentPicture().toImage();
    QTest::keyClicks(c.txtAnswer, QStringLiteral("12345"));
    QTest::keyClick(c.txtAnswer, Qt::Key_Escape);
    QCOMPARE(c.txtAnswer->text(), QStringLiteral("1234"));
    QVERIFY(!c.cmdNext->isEnabled() && !c.cmdNext->isDown() && game.platform().reseeds == 1);
    QTest::keyClick(c.txtAnswer, Qt::Key_Return);
    QVERIFY(c.cmdNext->isEnabled() && c.cmdNext->currentPicture().toImage() != disabledPicture);
    QTest::keyClick(c.cmdNext, Qt::Key_Escape);
    QTRY_VERIFY(!c.cmdNext->isEnabled());
    QVERIFY(game.platform().reseeds == 2 && c.lblNum2->caption() == "2" && c.txtAnswer->text().isEmpty());

    // Auto-sized labels grow right from their left edge; Label12 is clipped.
    QCOMPARE(c.lblnome1->pos(), QPoint(8, 432));
    QVERIFY(c.lblnome1->width() > 11 && c.lblnome1->width() >= c.lblnome1->fontMetrics().horizontalAdvance(longName));
    QCOMPARE(c.lblScore->geometry(), QRect(72, 272, 37, 59));
    c.lblScore->setCaption(QStringLiteral("123"));
    QVERIFY(c.lblScore->pos() == QPoint(72, 272) && c.lblScore->width() > 37);
    auto* label12 = qobject_cast<BoardLabel*>(c.byName.value("Label12"));
    label12->setCaption(QStringLiteral("Il record  è di moltissimi punti davvero tanti"));
    QCOMPARE(label12->geometry(), QRect(8, 504, 193, 41));

    // Minimised the caption changes, and stays so once restored.
    w.setWindowState(Qt::WindowMinimized);
    QCOMPARE(w.windowTitle(), QStringLiteral("Giocare con la tavola pitagorica"));
    w.showMaximized();
    QCOMPARE(w.windowTitle(), QStringLiteral("Giocare con la tavola pitagorica"));
}

void WindowTest::startUp_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("Giulia");
    QTest::newRow("empty") << QString();
    QTest::newRow("accents") << QStringLiteral("Niccolò");
    QTest::newRow("beyond 1252") << QStringLiteral("Δημήτρης 😀");
}

// The name prompt comes first, then the greeting; the board starts fresh.
void WindowTest::startUp()
{
    QFETCH(QString, name);
    Harness game;
    QList<qsizetype> promptsAtBox;
    game.platform().whileBoxOpen = [&](const ShownBox&) { promptsAtBox << game.platform().inputPrompts.size(); };
    game.start(name);
    QCOMPARE(promptsAtBox, QList<qsizetype>{1});  // one box, after the name prompt
    QCOMPARE(game.platform().inputPrompts, QStringList{kNamePrompt});
    const ShownBox& box = game.platform().boxes.first();
    QCOMPARE(box.prompt, greeting(name));
    QVERIFY(box.buttonSet == 0 && !box.title);
    QCOMPARE(game.controls().lblnome1->caption(), name);
    QCOMPARE(game.window().state().sceltalimite, QStringLiteral("9"));
    QCOMPARE(game.platform().reseeds, 1);  // the first question, drawn once
    checkPlaying(game);
    checkAgainstTable(game.controls(), kSetAtStart);
}

void WindowTest::recordFilesAtStartUp_data()
{
    QTest::addColumn<QByteArray>("before");  // score|name|score.nuovo|name.nuovo, "-": no file
    QTest::addColumn<QByteArray>("nameAfter");
    QTest::addColumn<QString>("shownName");
    QTest::newRow("missing") << QByteArray("-|-|-|-") << QByteArray("") << QString();
    QTest::newRow("kept") << QByteArray("12\r\n|Anna\r\n|-|-") << QByteArray("Anna\r\n") << "Anna\r\n";
    QTest::newRow("1252") << QByteArray("30\r\n|Niccol\xF2\r\n|-|-") << QByteArray("Niccol\xF2\r\n") << "Niccolò\r\n";
    QTest::newRow("both pending") << QByteArray("12\r\n|Anna\r\n|40\r\n|Luca\r\n") << QByteArray("Anna\r\n")
                                  << "Anna\r\n";
    QTest::newRow("name pending") << QByteArray("40\r\n|Anna\r\n|-|Luca\r\n") << QByteArray("Luca\r\n") << "Luca\r\n";
}

void WindowTest::recordFilesAtStartUp()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, nameAfter);
    QFETCH(QString, shownName);
    Harness game;
    const QByteArrayList bytes = before.split('|');
    const QString nuovo = QStringLiteral(".nuovo");
    const QStringList paths{game.scorePath(), game.namePath(), game.scorePath() + nuovo, game.namePath() + nuovo};
    for (int i = 0; i < 4; ++i) {
        if (bytes[i] != "-")
            game.writeFile(paths[i], bytes[i]);
    }
    game.start();
    const QByteArray score = bytes[0] == "-" ? QByteArray("") : bytes[0];
    QCOMPARE(Harness::readFile(paths[0]), score);
    QCOMPARE(Harness::readFile(paths[1]), nameAfter);
    QVERIFY(!QFile::exists(paths[2]) && !QFile::exists(paths[3]));
    QCOMPARE(game.controls().lblpunti->caption(), QString::fromLatin1(score));
    QCOMPARE(game.controls().lblnome->caption(), shownName);
    QCOMPARE(game.platform().boxes.size(), 1);
}

void WindowTest::recordFolderIsAFile()
{
    Harness game;
    const QString folder = game.folder() + QStringLiteral("/records");
    game.writeFile(folder, "not a folder");
    game.start();
    const QList<ShownBox>& boxes = game.platform().boxes;
    QCOMPARE(boxes.size(), 2);  // the greeting, then the one about the folder
    QVERIFY2(boxes[1].prompt.contains(folder), qPrintable(boxes[1].prompt));
    QVERIFY(game.controls().lblpunti->caption().isEmpty() && game.controls().lblnome->caption().isEmpty());
    QCOMPARE(Harness::readFile(folder), QByteArray("not a folder"));
    checkPlaying(game);
}

void WindowTest::closeBoxEndsWithoutRecordCheck()
{
    Harness game;
    game.platform().randomValues = {0.0f, 0.75f, 0.0f};  // 10 X 7
    game.start();
    game.answer(QStringLiteral("70"));
    const Controls& c = game.controls();
    QCOMPARE(c.lblScore->caption(), QStringLiteral("1"));  // above the empty record
    const int boxes = game.platform().boxes.size();
    game.window().close();
    QVERIFY(game.platform().ends == 1 && game.window().ended());
    QCOMPARE(Harness::readFile(game.scorePath()) + Harness::readFile(game.namePath()), QByteArray());
    QVERIFY(!QFile::exists(game.scorePath() + QStringLiteral(".nuovo")));

    // Nothing runs any more.
    game.tick(3);
    c.cmdNext->click();
    game.window().close();
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00:05:00"));
    QVERIFY(game.platform().reseeds == 1 && c.lblNum2->caption() == "7");
    QVERIFY(game.platform().ends == 1 && game.platform().boxes.size() == boxes);
}

void WindowTest::newRaceDeclinedChangesNothing()
{
    Harness game;
    game.start();
    game.answer(QStringLiteral("3"));
    game.tick(2);
    const auto view = [&] {
        const GameState& s = game.window().state();
        QStringList v{game.controls().txtAnswer->text(), s.sceltalimite, QString::number(s.sbagliate),
                      QString::number(s.risultato)};
        for (QObject* o : game.controls().byName)
            v << (qobject_cast<BoardLabel*>(o) ? static_cast<BoardLabel*>(o)->caption() : QString());
        return v << QString::number(game.controls().cmdNext->isEnabled());
    };
    const QStringList before = view();
    Board* board = game.controls().board;
    QString clockInBox;
    game.platform().whileBoxOpen = [&](const ShownBox&) {
        game.tick(5);  // ignored while the box is open
        clockInBox = game.controls().lblconto->caption();
    };
    game.platform().boxAnswers = {7};
    game.controls().Next->trigger();

    QCOMPARE(game.platform().boxes.size(), 2);
    const ShownBox& box = game.platform().boxes.last();
    QVERIFY(box.prompt == kConfirm && box.buttonSet == 292);
    QCOMPARE(box.title, std::optional<QString>(QStringLiteral("INIZIARE NUOVA GARA")));
    QCOMPARE(clockInBox, QStringLiteral("00:04:58"));
    QCOMPARE(view(), before);
    QVERIFY(game.controls().board == board && game.platform().reseeds == 1);
    QCOMPARE(game.platform().inputPrompts, QStringList{kNamePrompt});
    game.tick(2);
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:04:56"));
}

void WindowTest::newRaceReloads_data()
{
    QTest::addColumn<QStringList>("inputs");  // the limit, then the name
    QTest::addColumn<QString>("limit");       // sceltalimite while greeting
    QTest::newRow("limit 7") << QStringList{"7", "Marco"} << "7";
    QTest::newRow("empty limit") << QStringList{"", "Marco"} << "10";
    QTest::newRow("cancel") << QStringList{} << "10";  // both boxes cancelled
}

// Yes: a clean race on new widgets; the records are re-read, never saved.
void WindowTest::newRaceReloads()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, limit);
    const QString name = inputs.value(1);
    Harness game;
    game.writeFile(game.scorePath(), "0\r\n");
    game.writeFile(game.namePath(), "Anna\r\n");
    game.platform().randomValues = {0.0f, 0.75f, 0.0f, 0.0f, 0.25f, 0.0f, 0.0f, 0.75f, 0.0f};  // 10 X 7, 2, 7
    game.start(QStringLiteral("Giulia"));
    game.answer(QStringLiteral("70"));  // score 1, above the record 0
    game.nextQuestion();
    game.answer(QStringLiteral("3"));  // wrong: black board, correction shown
    game.tick(4);
    const Controls old = game.controls();
    QPointer<QTimer> oldTimer = old.Timer1;
    QVERIFY(!old.board->isShaded());
    QString limitAtGreeting;
    game.platform().whileBoxOpen = [&](const ShownBox& box) {
        if (box.prompt == greeting(name))
            limitAtGreeting = game.window().state().sceltalimite;
    };
    newRace(game, inputs);  // through the menu item, which goes away with the reload

    QStringList shown;  // after the greeting and the confirmation; "+": not a plain OK box
    for (const ShownBox& box : game.platform().boxes.mid(2))
        shown << box.prompt + (box.buttonSet || box.title ? "+" : "");
    const QString noLimit = " Giulia siccome non hai scelto arriviamo fino al 10.";
    QCOMPARE(shown, (limit == "10" ? QStringList{noLimit, greeting(name)} : QStringList{greeting(name)}));
    QCOMPARE(limitAtGreeting, limit);
    QCOMPARE(game.platform().inputPrompts, (QStringList{kNamePrompt, kLimitPrompt, kNamePrompt}));
    QCOMPARE(Harness::readFile(game.scorePath()) + Harness::readFile(game.namePath()), QByteArray("0\r\nAnna\r\n"));
    QVERIFY(!QFile::exists(game.scorePath() + QStringLiteral(".nuovo")) && game.platform().ends == 0);

    const Controls& c = game.controls();
    QVERIFY(c.board != old.board && c.txtAnswer != old.txtAnswer && c.Timer1 != old.Timer1 && c.Next != old.Next);
    QCOMPARE(game.window().centralWidget(), static_cast<QWidget*>(c.board));
    QVERIFY(oldTimer.isNull() || !oldTimer->isActive());
    QVERIFY(c.lblnome1->caption() == name && c.lblNum2->caption() == "7" && c.board->isShaded());
    QVERIFY(c.lblpunti->caption() == "0\r\n" && c.lblnome->caption() == "Anna\r\n");
    QCOMPARE(game.window().state().sceltalimite, QStringLiteral("9"));
    QCOMPARE(game.platform().reseeds, 3);
    checkPlaying(game);
    checkAgainstTable(c, kSetAtStart);
    game.tick();
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00:04:59"));
}

QTEST_MAIN(WindowTest)
#include "test_window.moc"
