// The window as built and as started: the form against the board's design,
// keyboard and menu, start-up with its record files, the close box, and the
// "nuovo" command's reload.
#include "harness.h"

#include "window/board.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QAccessible>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

const QString kNamePrompt = QStringLiteral("Come ti chiami?");
const QString kLimitPrompt = QStringLiteral("Tavola pitagorica fino al numero? ");
const QString kConfirm = QStringLiteral("INIZIAMO UNA NUOVA GARA  ?");

QString greeting(const QString& name) { return " " + name + " vediamo se sei un vero campione  "; }

// A handful of controls against the board's design, written out: place,
// face, size, colours, caption and tooltip.
void checkForm(const Ui::Tavola& c)
{
    struct Row {
        QWidget* widget;
        QRect rect;
        const char* family;
        double points;
        bool bold, italic;
        QColor text;
        const char* tooltip;
    };
    const QColor none;
    const Row rows[] = {
        {c.txtAnswer, {544, 0, 185, 80}, "Arial", 48, true, false, QColor(0, 0, 255), "Inserisci il risultato e  premi il tasto  Invio"},
        {c.cmdNext, {280, 352, 121, 73}, "MS Sans Serif", 8.25, true, false, none, "Go"},
        {c.cmdExit, {512, 352, 137, 73}, "MS Sans Serif", 8.25, true, false, none, "Ti prego resta ancora, forse riuscirai a farmi uscire "},
        {c.lblconto, {0, 152, 105, 33}, "Arial Black", 12, true, false, QColor(255, 255, 0), ""},
        {c.Label11, {0, 88, 105, 25}, "MS Sans Serif", 9.75, false, false, QColor(255, 255, 0), ""},
        {c.Label14, {0, 368, 95, 28}, "MS Sans Serif", 13.5, false, false, QColor(0, 255, 255), ""},
        {c.lblScore1, {322, 272, 36, 59}, "Times New Roman", 36, true, false, QColor(255, 0, 0), ""},
        {c.lblMessage, {112, 136, 441, 41}, "MS Sans Serif", 24, true, true, QColor(255, 0, 0), ""},
        {c.lblScore, {72, 272, 37, 59}, "Times New Roman", 36, true, false, none, "Questo è il tuo punteggio. Forza con il  record"},
        {c.Image1, {32, 112, 32, 32}, nullptr, 0, false, false, none, "Clicca sotto di me per impostare il Timer"},
    };
    for (const Row& row : rows) {
        const QByteArray name = row.widget->objectName().toLatin1();
        QVERIFY2(row.widget->parentWidget() == c.board, name);
        QVERIFY2(row.widget->geometry() == row.rect, name);
        QVERIFY2(row.widget->toolTip() == QString::fromUtf8(row.tooltip), name);
        if (row.family) {
            const QFont f = row.widget->font();
            QVERIFY2(f.family() == QLatin1String(row.family) && f.pointSizeF() == row.points, name);
            QVERIFY2(f.bold() == row.bold && f.italic() == row.italic, name);
            QVERIFY2(QFontInfo(f).family().startsWith(QLatin1String("Liberation")), name);
        }
        const QPalette::ColorRole role = qobject_cast<QLineEdit*>(row.widget) ? QPalette::Text : QPalette::WindowText;
        QVERIFY2(!row.text.isValid() || row.widget->palette().color(role) == row.text, name);
    }
    QCOMPARE(c.txtAnswer->palette().color(QPalette::Base), QColor(255, 255, 128));
    QCOMPARE(c.txtAnswer->maxLength(), 4);
    QVERIFY(c.lblNum1->autoFillBackground() && c.lblNum1->palette().color(QPalette::Window) == QColor(255, 255, 0));
    QCOMPARE(c.cmdNext->face(), QColor(0, 192, 192));
    QCOMPARE(c.cmdExit->face(), QColor(192, 0, 192));
    QVERIFY(c.cmdNext->text() == "&Nuovo calcolo" && c.cmdExit->text() == "E&xit");
    QVERIFY(!c.Image1->pixmap().isNull());
    QCOMPARE(c.Label12->caption(), QStringLiteral("Il record  è di "));
}

// A fresh race: a question open, the clock running from the full time.
void checkPlaying(Harness& game)
{
    const Ui::Tavola& c = game.controls();
    const GameState& s = game.window().state();
    QVERIFY(!game.window().ended() && !c.cmdNext->isEnabled() && game.window().timer()->isActive());
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
    void pointers();
    void screenReaderReadsTheBoardInOrder();
    void newRaceDeclinedChangesNothing();
    void newRaceReloads_data();
    void newRaceReloads();
};

void WindowTest::designBeforeStartUp()
{
    QMainWindow window;
    Ui::Tavola c;
    c.setupUi(&window);
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00.00.00"));
    QVERIFY(!c.cmdNext->isEnabled() && c.cmdExit->isEnabled());
    QCOMPARE(c.lblnome1->caption(), QString());
    QCOMPARE(c.Label12->caption(), QStringLiteral("Il record  è di "));
}

void WindowTest::windowKeyboardAndMenu()
{
    Harness game;
    const QString longName(30, QLatin1Char('W'));
    game.platform().randomValues = {0.0f, 0.75f, 0.0f, 0.0f, 0.25f, 0.0f};  // 10 X 7, then 10 X 2
    game.start(longName);
    Tavola& w = game.window();
    const Ui::Tavola& c = game.controls();
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
        if ((x->focusPolicy() & Qt::TabFocus) && x->parentWidget() == c.board)
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
    BoardLabel* label12 = c.Label12;
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
    checkForm(game.controls());
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
    const Ui::Tavola& c = game.controls();
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

// The cartoon pointer over the board's own surface and the controls that
// name a pointer; the plain arrow everywhere else, the text beam in the box.
void WindowTest::pointers()
{
    Harness game;
    game.start();
    const Ui::Tavola& c = game.controls();
    QCOMPARE(c.board->cursor().shape(), Qt::BitmapCursor);
    for (QWidget* iconPointer : {static_cast<QWidget*>(c.cmdNext), static_cast<QWidget*>(c.lblMessage)})
        QCOMPARE(iconPointer->cursor().shape(), Qt::BitmapCursor);
    QVERIFY(c.cmdNext->cursor().pixmap().toImage() != c.board->cursor().pixmap().toImage());
    for (QWidget* plain : std::initializer_list<QWidget*>{c.Label6, c.lblScore, c.lblNum1, c.Image1, c.cmdExit, c.lblconto})
        QVERIFY2(plain->cursor().shape() == Qt::ArrowCursor, qPrintable(plain->objectName()));
    QCOMPARE(c.txtAnswer->cursor().shape(), Qt::IBeamCursor);
}

// What a screen reader gets from the board, in reading order: the question
// as one sentence, the answer box, the verdict, the counters with what they
// count, the buttons, the player and the record; never the hidden button.
void WindowTest::screenReaderReadsTheBoardInOrder()
{
    Harness game;
    game.platform().randomValues = {0.0f, 0.75f, 0.0f};  // 10 X 7
    game.start(QStringLiteral("Sofia"));
    const Ui::Tavola& c = game.controls();
    game.answer(QStringLiteral("70"));
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(c.board);
    QVERIFY(board);
    QStringList names;
    for (int i = 0; i < board->childCount(); ++i) {
        QAccessibleInterface* child = board->child(i);
        QCOMPARE(board->indexOfChild(child), i);
        names << child->text(QAccessible::Name);
    }
    QCOMPARE(names, (QStringList{"10 per 7", "Risposta", "Esatto! Sofia sei forte!", "Tempo restante: 00:05:00",
                                 "Risposte esatte: 1", "Risposte errate: 0", "Risposte totali: 1", "Nuovo calcolo",
                                 "Exit", "Sfidante: Sofia", "Il record  è di ", "", "con punti", ""}));
    QAccessibleInterface* next = QAccessible::queryAccessibleInterface(c.cmdNext);
    QCOMPARE(next->text(QAccessible::Description), QStringLiteral("Esatto! Sofia sei forte!"));
    QCOMPARE(QAccessible::queryAccessibleInterface(c.txtAnswer)->text(QAccessible::Description),
             QStringLiteral("Scrivi il risultato e premi Invio"));
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
        for (const BoardLabel* label : game.controls().board->findChildren<BoardLabel*>())
            v << label->caption();
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
    const Ui::Tavola old = game.controls();
    QPointer<QTimer> oldTimer = game.window().timer();
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

    const Ui::Tavola& c = game.controls();
    QVERIFY(c.board != old.board && c.txtAnswer != old.txtAnswer && game.window().timer() != oldTimer && c.Next != old.Next);
    QCOMPARE(game.window().centralWidget(), static_cast<QWidget*>(c.board));
    QVERIFY(oldTimer.isNull() || !oldTimer->isActive());
    QVERIFY(c.lblnome1->caption() == name && c.lblNum2->caption() == "7" && c.board->isShaded());
    QVERIFY(c.lblpunti->caption() == "0\r\n" && c.lblnome->caption() == "Anna\r\n");
    QCOMPARE(game.window().state().sceltalimite, QStringLiteral("9"));
    QCOMPARE(game.platform().reseeds, 3);
    checkPlaying(game);
    checkForm(c);
    game.tick();
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00:04:59"));
}

QTEST_MAIN(WindowTest)
#include "test_window.moc"
