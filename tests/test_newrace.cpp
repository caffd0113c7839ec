// The "nuovo" menu command: the confirmation, the table-limit prompt, and a
// reload that starts a clean race on new widgets without touching records.
#include "harness.h"

#include "window/board.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"
#include "window/layouttable.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <tuple>

using namespace numerella;
using namespace numerella::testing;
namespace L = numerella::layout;

namespace {

const QString kConfirm = QStringLiteral("INIZIAMO UNA NUOVA GARA  ?");
const QString kNamePrompt = QStringLiteral("Come ti chiami?");
const QString kLimitPrompt = QStringLiteral("Tavola pitagorica fino al numero? ");
constexpr int kYes = 6;

QString greeting(const QString& name)
{
    return QStringLiteral(" ") + name + QStringLiteral(" vediamo se sei un vero campione  ");
}

// What a player sees of the race in progress.
struct RaceView {
    QString num1, num2, answer, message, clock, score, wrong, total;
    std::int16_t giuste, sbagliate, tempo, risultato;
    bool nextEnabled;

    static RaceView of(Harness& game)
    {
        const Controls& c = game.controls();
        const GameState& s = game.window().state();
        return {c.lblNum1->caption(), c.lblNum2->caption(),   c.txtAnswer->text(),  c.lblMessage->caption(),
                c.lblconto->caption(), c.lblScore->caption(), c.lblScore1->caption(), c.lblScore2->caption(),
                s.giuste,              s.sbagliate,           s.tempo,              s.risultato,
                c.cmdNext->isEnabled()};
    }
    bool operator==(const RaceView& o) const
    {
        return std::tie(num1, num2, answer, message, clock, score, wrong, total, giuste, sbagliate, tempo, risultato,
                        nextEnabled)
               == std::tie(o.num1, o.num2, o.answer, o.message, o.clock, o.score, o.wrong, o.total, o.giuste,
                           o.sbagliate, o.tempo, o.risultato, o.nextEnabled);
    }
};

// Labels whose caption start-up and the first question never set show their
// design caption in their design place.
void checkDesignCaptions(const Controls& c)
{
    const QStringList setAtStart{"lblnome1", "lblpunti", "lblnome", "lblconto", "lblNum1", "lblNum2"};
    for (const L::Control& spec : L::controls()) {
        auto* label = qobject_cast<BoardLabel*>(c.byName.value(QString::fromLatin1(spec.name)));
        if (!label || setAtStart.contains(QString::fromLatin1(spec.name)))
            continue;
        QVERIFY2(label->caption() == QString::fromUtf8(spec.caption), spec.name);
        const QRect design(spec.left / 15, spec.top / 15, spec.width / 15, spec.height / 15);
        QVERIFY2(label->geometry() == design, spec.name);
    }
}

} // namespace

class NewRaceTest : public QObject {
    Q_OBJECT
private slots:
    void noKeepsTheRace();
    void confirmationBox();
    void yesStartsACleanRaceOnNewWidgets();
    void noLimitChosen_data();
    void noLimitChosen();
    void abandonedRecordIsNeverSaved();
    void oldTimerStops();
    void clockHoldsWhileAsking();
};

void NewRaceTest::noKeepsTheRace()
{
    Harness game;
    game.start();
    game.answer(QStringLiteral("3"));
    game.tick(3);
    const RaceView before = RaceView::of(game);
    Board* board = game.controls().board;

    game.platform().boxAnswers = {7};
    game.controls().Next->trigger();
    QCOMPARE(game.platform().boxes.size(), 2);
    QCOMPARE(game.platform().boxes.last().prompt, kConfirm);
    QVERIFY(RaceView::of(game) == before);
    QCOMPARE(game.controls().board, board);
    QCOMPARE(game.platform().inputPrompts, QStringList{kNamePrompt});
    QCOMPARE(game.platform().reseeds, 1);
    QCOMPARE(game.window().state().sceltalimite, QStringLiteral("9"));

    game.tick(2);
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:04:55"));
    QVERIFY(game.controls().Timer1->isActive());
}

void NewRaceTest::confirmationBox()
{
    Harness game;
    game.start();
    game.window().Next_Click();  // unanswered: a Yes/No box answers No
    QCOMPARE(game.platform().boxes.size(), 2);
    const ShownBox& box = game.platform().boxes.last();
    QCOMPARE(box.prompt, kConfirm);
    QCOMPARE(box.buttonSet, 292);
    QCOMPARE(box.title, std::optional<QString>(QStringLiteral("INIZIARE NUOVA GARA")));
}

void NewRaceTest::yesStartsACleanRaceOnNewWidgets()
{
    Harness game;
    game.writeFile(game.scorePath(), "40\r\n");
    game.writeFile(game.namePath(), "Anna\r\n");
    game.start(QStringLiteral("Giulia"));
    game.answer(QStringLiteral("3"));  // wrong: black board, error count, correction
    game.tick(4);
    const Controls old = game.controls();
    QVERIFY(!old.board->isShaded());
    QCOMPARE(old.lblScore1->caption(), QStringLiteral("1"));

    QString limitAtGreeting;
    game.platform().whileBoxOpen = [&](const ShownBox& box) {
        if (box.prompt == greeting(QStringLiteral("Marco")))
            limitAtGreeting = game.window().state().sceltalimite;
    };
    game.platform().boxAnswers = {kYes};
    game.platform().randomValues = {0.0f, 0.75f, 0.0f};  // 10 X 7
    game.platform().inputAnswers = {QStringLiteral("7"), QStringLiteral("Marco")};
    old.Next->trigger();  // the menu item, which goes away with the reload

    QCOMPARE(game.platform().inputPrompts, (QStringList{kNamePrompt, kLimitPrompt, kNamePrompt}));
    const QList<ShownBox>& boxes = game.platform().boxes;
    QCOMPARE(boxes.size(), 3);
    QCOMPARE(boxes[1].prompt, kConfirm);
    QCOMPARE(boxes[2].prompt, greeting(QStringLiteral("Marco")));
    QCOMPARE(limitAtGreeting, QStringLiteral("7"));

    const Controls& c = game.controls();
    const GameState& s = game.window().state();
    QVERIFY(c.board != old.board && c.txtAnswer != old.txtAnswer && c.Timer1 != old.Timer1);
    QVERIFY(c.menuBar != old.menuBar && c.Next != old.Next);
    QCOMPARE(game.window().menuBar(), c.menuBar);
    QCOMPARE(game.window().centralWidget(), static_cast<QWidget*>(c.board));
    QCOMPARE(s.nome, QStringLiteral("Marco"));
    QCOMPARE(c.lblnome1->caption(), QStringLiteral("Marco"));
    QCOMPARE(s.sceltalimite, QStringLiteral("9"));
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00:05:00"));
    QCOMPARE(s.tempo, std::int16_t(900));
    QCOMPARE(s.giuste, std::int16_t(0));
    QCOMPARE(s.sbagliate, std::int16_t(0));
    for (BoardLabel* score : {c.lblScore, c.lblScore1, c.lblScore2})
        QCOMPARE(score->caption(), QStringLiteral("0"));
    QCOMPARE(c.lblpunti->caption(), QStringLiteral("40\r\n"));
    QCOMPARE(c.lblnome->caption(), QStringLiteral("Anna\r\n"));
    QCOMPARE(c.lblMessage->caption(), QString());
    QCOMPARE(c.lblNum2->caption(), QStringLiteral("7"));
    QCOMPARE(s.risultato, std::int16_t(70));
    QVERIFY(!c.cmdNext->isEnabled());
    QCOMPARE(c.txtAnswer->text(), QString());
    QCOMPARE(game.window().focusWidget(), static_cast<QWidget*>(c.txtAnswer));
    QVERIFY(c.board->isShaded());
    QVERIFY(c.Timer1->isActive());
    QCOMPARE(game.platform().reseeds, 2);
    checkDesignCaptions(c);
    QVERIFY(!game.window().ended());
    QCOMPARE(game.platform().ends, 0);

    // The new race plays.
    game.answer(QStringLiteral("70"));
    QCOMPARE(c.lblScore->caption(), QStringLiteral("1"));
    QCOMPARE(c.lblMessage->caption(), QStringLiteral("Esatto! Marco sei forte!"));
}

void NewRaceTest::noLimitChosen_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::newRow("empty limit") << QStringList{QString(), QStringLiteral("Marco")};
    QTest::newRow("cancel") << QStringList{};  // both boxes cancelled
}

void NewRaceTest::noLimitChosen()
{
    QFETCH(QStringList, inputs);
    Harness game;
    game.start(QStringLiteral("Giulia"));
    QString limitAtGreeting;
    game.platform().whileBoxOpen = [&](const ShownBox& box) {
        if (box.prompt.endsWith(QStringLiteral(" vediamo se sei un vero campione  ")))
            limitAtGreeting = game.window().state().sceltalimite;
    };
    game.platform().boxAnswers = {kYes};
    game.platform().inputAnswers = inputs;
    game.window().Next_Click();

    const QList<ShownBox>& boxes = game.platform().boxes;
    QCOMPARE(boxes.size(), 4);
    QCOMPARE(boxes[2].prompt, QStringLiteral(" Giulia siccome non hai scelto arriviamo fino al 10."));
    QCOMPARE(boxes[2].buttonSet, 0);
    QCOMPARE(boxes[2].title, std::nullopt);
    QCOMPARE(limitAtGreeting, QStringLiteral("10"));
    QCOMPARE(game.platform().inputPrompts, (QStringList{kNamePrompt, kLimitPrompt, kNamePrompt}));
    QCOMPARE(game.window().state().sceltalimite, QStringLiteral("9"));
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:05:00"));
    QVERIFY(!game.controls().cmdNext->isEnabled());
}

void NewRaceTest::abandonedRecordIsNeverSaved()
{
    Harness game;
    game.platform().randomValues = {0.0f, 0.75f, 0.0f, 0.0f, 0.25f, 0.0f};  // 10 X 7, then 10 X 2
    game.start();
    game.answer(QStringLiteral("70"));
    game.nextQuestion();
    game.answer(QStringLiteral("20"));
    QCOMPARE(game.controls().lblScore->caption(), QStringLiteral("2"));

    game.platform().boxAnswers = {kYes};
    game.platform().inputAnswers = {QStringLiteral("7"), QStringLiteral("Marco")};
    game.window().Next_Click();
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray());
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray());
    QVERIFY(!QFile::exists(game.scorePath() + QStringLiteral(".nuovo")));
    QVERIFY(!QFile::exists(game.namePath() + QStringLiteral(".nuovo")));
    QCOMPARE(game.platform().ends, 0);
    QVERIFY(!game.window().ended());
    QCOMPARE(game.platform().boxes.size(), 3);  // greeting, question, greeting: no record box
    QCOMPARE(game.controls().lblScore->caption(), QStringLiteral("0"));
}

void NewRaceTest::oldTimerStops()
{
    Harness game;
    game.start();
    QPointer<QTimer> oldTimer = game.controls().Timer1;
    QPointer<Board> oldBoard = game.controls().board;
    QVERIFY(oldTimer->isActive());

    game.platform().boxAnswers = {kYes};
    game.platform().inputAnswers = {QStringLiteral("7"), QStringLiteral("Marco")};
    game.window().Next_Click();
    QVERIFY(oldTimer.isNull() || !oldTimer->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(oldTimer.isNull() || !oldTimer->isActive());
    QVERIFY(oldBoard.isNull() || oldBoard != game.controls().board);
    QVERIFY(game.controls().Timer1->isActive());
    QCOMPARE(game.controls().Timer1->interval(), 1000);

    // The new clock runs from the full time.
    game.tick();
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:04:59"));
}

void NewRaceTest::clockHoldsWhileAsking()
{
    Harness game;
    game.start();
    game.tick(2);
    QString clockInBox;
    game.platform().whileBoxOpen = [&](const ShownBox& box) {
        if (box.prompt != kConfirm)
            return;
        game.tick(5);
        clockInBox = game.controls().lblconto->caption();
    };
    game.window().Next_Click();  // answered No
    QCOMPARE(clockInBox, QStringLiteral("00:04:58"));
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:04:58"));
    QCOMPARE(game.window().state().tempo, std::int16_t(898));
    game.tick();
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:04:57"));
}

QTEST_MAIN(NewRaceTest)
#include "test_newrace.moc"
