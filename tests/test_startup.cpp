// Start-up through the scripted desktop: the prompts, the greeting, the
// board's first state, the record files (and their faults), the window
// events and the close box.
#include "harness.h"

#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QDir>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

const QString kNamePrompt = QStringLiteral("Come ti chiami?");

// A question is on the board and the race clock runs.
void checkGameStarted(Harness& game)
{
    const Controls& c = game.controls();
    QVERIFY(!game.window().ended());
    QVERIFY(!c.cmdNext->isEnabled());
    QCOMPARE(c.lblNum1->caption(), QStringLiteral("10"));
    QVERIFY(!c.lblNum2->caption().isEmpty());
    QVERIFY(c.Timer1->isActive());
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00:05:00"));
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void asksTheNameThenGreets_data();
    void asksTheNameThenGreets();
    void boardAndStateAfterStart();
    void existingRecordsAreShownAndKept();
    void recordFileInWindows1252();
    void minimisedCaption();
    void closeBoxEndsWithoutSaving();
    void recordFolderIsAFile();
    void recordFileIsAFolder();
    void hugeRandomRecordFile();
    void interruptedSaveBeforeTheScoreIsUndone();
    void interruptedSaveAfterTheScoreIsCompleted();
};

void StartupTest::asksTheNameThenGreets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("greeting");
    QTest::newRow("plain") << QStringLiteral("Giulia") << QStringLiteral(" Giulia vediamo se sei un vero campione  ");
    QTest::newRow("empty") << QString() << QStringLiteral("  vediamo se sei un vero campione  ");
    QTest::newRow("accents") << QStringLiteral("Niccolò") << QStringLiteral(" Niccolò vediamo se sei un vero campione  ");
    QTest::newRow("beyond 1252") << QStringLiteral("Δημήτρης 😀")
                                 << QStringLiteral(" Δημήτρης 😀 vediamo se sei un vero campione  ");
}

void StartupTest::asksTheNameThenGreets()
{
    QFETCH(QString, name);
    QFETCH(QString, greeting);
    Harness game;
    int promptsBeforeFirstBox = -1;
    game.platform().whileBoxOpen = [&](const ShownBox&) {
        if (promptsBeforeFirstBox < 0)
            promptsBeforeFirstBox = game.platform().inputPrompts.size();
    };
    game.start(name);
    QCOMPARE(game.platform().inputPrompts, QStringList{kNamePrompt});
    QCOMPARE(promptsBeforeFirstBox, 1);
    QCOMPARE(game.platform().boxes.size(), 1);
    const ShownBox& box = game.platform().boxes.first();
    QCOMPARE(box.prompt, greeting);
    QCOMPARE(box.title, std::nullopt);
    QCOMPARE(box.buttonSet, 0);
    QCOMPARE(game.controls().lblnome1->caption(), name);
    QCOMPARE(game.controls().lblnome1->text(), name);
    QCOMPARE(game.window().state().nome, name);
}

void StartupTest::boardAndStateAfterStart()
{
    Harness game;
    game.start();
    const GameState& s = game.window().state();
    const Controls& c = game.controls();
    checkGameStarted(game);
    QCOMPARE(s.tempo, std::int16_t(900));
    QCOMPARE(s.giuste, std::int16_t(0));
    QCOMPARE(s.sbagliate, std::int16_t(0));
    QCOMPARE(s.sceltalimite, QStringLiteral("9"));
    QCOMPARE(s.ore, std::int16_t(0));
    QCOMPARE(s.minuti, std::int16_t(5));
    QCOMPARE(s.secondi, 0.0f);
    QCOMPARE(s.cartella, game.folder() + QStringLiteral("/records/"));
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray());
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray());
    QCOMPARE(c.lblpunti->caption(), QString());
    QCOMPARE(c.lblnome->caption(), QString());
    QCOMPARE(game.platform().reseeds, 1);  // the first question, drawn once
    QCOMPARE(game.window().focusWidget(), static_cast<QWidget*>(c.txtAnswer));
    QCOMPARE(c.txtAnswer->text(), QString());
}

void StartupTest::existingRecordsAreShownAndKept()
{
    Harness game;
    game.writeFile(game.scorePath(), "12\r\n");
    game.writeFile(game.namePath(), "Anna\r\n");
    game.start();
    QCOMPARE(game.platform().boxes.size(), 1);
    QCOMPARE(game.controls().lblpunti->caption(), QStringLiteral("12\r\n"));
    QCOMPARE(game.controls().lblnome->caption(), QStringLiteral("Anna\r\n"));
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("12\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Anna\r\n"));
}

void StartupTest::recordFileInWindows1252()
{
    Harness game;
    game.writeFile(game.scorePath(), "30\r\n");
    game.writeFile(game.namePath(), "Niccol\xF2\r\n");
    game.start();
    QCOMPARE(game.controls().lblnome->caption(), QStringLiteral("Niccolò\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Niccol\xF2\r\n"));
}

void StartupTest::minimisedCaption()
{
    Harness game;
    game.start();
    game.window().setWindowState(Qt::WindowMinimized);
    QCOMPARE(game.window().windowTitle(), QStringLiteral("Giocare con la tavola pitagorica"));
    game.window().showMaximized();
    QCOMPARE(game.window().windowTitle(), QStringLiteral("Giocare con la tavola pitagorica"));
    QVERIFY(!game.window().ended());
}

void StartupTest::closeBoxEndsWithoutSaving()
{
    Harness game;
    game.platform().randomValues = {0.0f, 0.75f, 0.0f};  // 10 X 7
    game.start();
    game.answer(QStringLiteral("70"));
    const Controls& c = game.controls();
    QCOMPARE(c.lblScore->caption(), QStringLiteral("1"));  // above the empty record
    const int boxes = game.platform().boxes.size();

    game.window().close();
    QCOMPARE(game.platform().ends, 1);
    QVERIFY(game.window().ended());
    QCOMPARE(game.platform().boxes.size(), boxes);
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray());
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray());
    QVERIFY(!QFile::exists(game.scorePath() + QStringLiteral(".nuovo")));

    // Nothing of the game runs any more.
    const QString clock = c.lblconto->caption();
    game.tick(3);
    QCOMPARE(c.lblconto->caption(), clock);
    QVERIFY(c.cmdNext->isEnabled());
    c.cmdNext->click();
    QCOMPARE(game.platform().reseeds, 1);
    QCOMPARE(c.lblNum2->caption(), QStringLiteral("7"));
    game.window().close();
    QCOMPARE(game.platform().ends, 1);
    QCOMPARE(game.platform().boxes.size(), boxes);
}

void StartupTest::recordFolderIsAFile()
{
    Harness game;
    const QString folder = game.folder() + QStringLiteral("/records");
    game.writeFile(folder, "not a folder");
    game.start();
    const QList<ShownBox>& boxes = game.platform().boxes;
    QCOMPARE(boxes.size(), 2);  // the greeting, then the one about the folder
    QVERIFY2(boxes[1].prompt.contains(folder), qPrintable(boxes[1].prompt));
    QCOMPARE(boxes[1].buttonSet, 0);
    QCOMPARE(game.controls().lblpunti->caption(), QString());
    QCOMPARE(game.controls().lblnome->caption(), QString());
    QCOMPARE(Harness::readFile(folder), QByteArray("not a folder"));
    checkGameStarted(game);
}

void StartupTest::recordFileIsAFolder()
{
    Harness game;
    QVERIFY(QDir().mkpath(game.scorePath()));
    game.writeFile(game.namePath(), "Anna\r\n");
    game.start();
    QCOMPARE(game.platform().boxes.size(), 2);
    QVERIFY(game.platform().boxes[1].prompt.contains(game.folder() + QStringLiteral("/records")));
    QCOMPARE(game.controls().lblpunti->caption(), QString());
    QVERIFY(QFileInfo(game.scorePath()).isDir());
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Anna\r\n"));
    checkGameStarted(game);
}

void StartupTest::hugeRandomRecordFile()
{
    Harness game;
    QByteArray bytes(50 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(12345);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / int(sizeof(quint32)));
    game.writeFile(game.scorePath(), bytes);
    game.start();
    QVERIFY(game.controls().lblpunti->caption().size() <= 65536);
    QVERIFY(!game.controls().lblpunti->caption().isEmpty());
    QCOMPARE(QFileInfo(game.scorePath()).size(), qint64(bytes.size()));
    checkGameStarted(game);
}

void StartupTest::interruptedSaveBeforeTheScoreIsUndone()
{
    Harness game;
    game.writeFile(game.scorePath(), "12\r\n");
    game.writeFile(game.namePath(), "Anna\r\n");
    game.writeFile(game.scorePath() + QStringLiteral(".nuovo"), "40\r\n");
    game.writeFile(game.namePath() + QStringLiteral(".nuovo"), "Luca\r\n");
    game.start();
    QVERIFY(!QFile::exists(game.scorePath() + QStringLiteral(".nuovo")));
    QVERIFY(!QFile::exists(game.namePath() + QStringLiteral(".nuovo")));
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("12\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Anna\r\n"));
    QCOMPARE(game.controls().lblpunti->caption(), QStringLiteral("12\r\n"));
    QCOMPARE(game.controls().lblnome->caption(), QStringLiteral("Anna\r\n"));
    QCOMPARE(game.platform().boxes.size(), 1);
}

void StartupTest::interruptedSaveAfterTheScoreIsCompleted()
{
    Harness game;
    game.writeFile(game.scorePath(), "40\r\n");
    game.writeFile(game.namePath(), "Anna\r\n");
    game.writeFile(game.namePath() + QStringLiteral(".nuovo"), "Luca\r\n");
    game.start();
    QVERIFY(!QFile::exists(game.namePath() + QStringLiteral(".nuovo")));
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("40\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Luca\r\n"));
    QCOMPARE(game.controls().lblnome->caption(), QStringLiteral("Luca\r\n"));
    QCOMPARE(game.platform().boxes.size(), 1);
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
