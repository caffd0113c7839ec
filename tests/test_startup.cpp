// Start-up through the scripted desktop: the prompts, the greeting, the
// board's first state and the record files.
#include "harness.h"

#include "window/boardlabel.h"

#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void asksTheNameThenGreets();
};

void StartupTest::asksTheNameThenGreets()
{
    Harness game;
    game.start(QStringLiteral("Giulia"));
    QCOMPARE(game.platform().inputPrompts, QStringList{QStringLiteral("Come ti chiami?")});
    QVERIFY(!game.platform().boxes.isEmpty());
    QCOMPARE(game.platform().boxes.first().prompt, QStringLiteral(" Giulia vediamo se sei un vero campione  "));
    QCOMPARE(game.platform().boxes.first().title, std::nullopt);
    QCOMPARE(game.controls().lblnome1->caption(), QStringLiteral("Giulia"));
    QCOMPARE(game.controls().lblconto->caption(), QStringLiteral("00:05:00"));
    QCOMPARE(game.window().state().tempo, std::int16_t(900));
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray());
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray());
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
