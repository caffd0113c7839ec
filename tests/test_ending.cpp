// How a game ends, by the clock or by Esci, and the record files afterwards
// byte for byte; a record that cannot be read or saved, in a child's words.
#include "harness.h"

#include "window/graphicalbutton.h"

#include <QtTest>

#include <sys/stat.h>

using namespace numerella;
using namespace numerella::testing;

class EndingTest : public QObject {
    Q_OBJECT
    static QStringList shown(Harness& game, int from)
    {
        QStringList prompts;
        for (const ShownBox& box : game.platform().boxes.mid(from))
            prompts << box.prompt + (box.title ? " | " + *box.title : QString());
        return prompts;
    }
private slots:
    void endings_data()
    {
        QTest::addColumn<bool>("byClock");
        QTest::addColumn<QByteArray>("score");
        QTest::addColumn<int>("right");
        QTest::addColumn<QString>("player");
        QTest::addColumn<QByteArray>("nameAfter");  // "": not a record, the files stay
        QTest::newRow("clock: 5 over empty files") << true << QByteArray() << 5 << "Giulia" << QByteArray("Giulia\r\n");
        QTest::newRow("clock: 7 equals 7") << true << QByteArray("7\r\n") << 7 << "Giulia" << QByteArray();
        QTest::newRow("exit: none right, empty files") << false << QByteArray() << 0 << "Giulia" << QByteArray();
        QTest::newRow("exit: 4 not reached by 3") << false << QByteArray("4\r\n") << 3 << "Giulia" << QByteArray();
        QTest::newRow("' 1 2 ' is 12, equalled") << false << QByteArray(" 1 2 \r\n") << 12 << "Giulia" << QByteArray();
        QTest::newRow("'1. e1' is 10, beaten") << false << QByteArray("1. e1\r\n") << 11 << "Giulia"
                                               << QByteArray("Giulia\r\n");
        // Any name is saved as one Windows-1252 line.
        const auto named = [](const char* label, const QString& player, const QByteArray& nameAfter) {
            QTest::newRow(label) << false << QByteArray() << 1 << player << nameAfter;
        };
        named("empty name", "", "\r\n");
        named("accent, emoji, right to left", QStringLiteral("Niccolò😀 سارة\u202E"), "Niccol\xF2? ?????\r\n");
        named("tab kept; CR, LF, NUL, ESC as ?", QStringLiteral("a\tb\rc\nd") + QChar(0) + QStringLiteral("e\x1B"),
              "a\tb?c?d?e?\r\n");
        named("10,000 characters cut to 1,000", QString(10000, u'è'), QByteArray(1000, '\xE8') + "\r\n");
        named("combining accent composed", QStringLiteral("Jose\u0301"), "Jos\xE9\r\n");
    }
    void endings()
    {
        QFETCH(bool, byClock);
        QFETCH(QByteArray, score);
        QFETCH(int, right);
        QFETCH(QString, player);
        QFETCH(QByteArray, nameAfter);
        Harness game;
        writeFile(game.scorePath(), score);
        writeFile(game.namePath(), "Anna\r\n");
        game.start(player);
        const Ui::Tavola& c = game.controls();
        QCOMPARE(c.lblpunti->caption() + c.lblnome->caption(), QString::fromLatin1(score + "Anna\r\n"));
        game.answerRight(right);
        game.answer("1");  // a wrong answer counts for nothing
        if (byClock)
            game.tick(301);
        else
            QTest::mouseClick(c.cmdExit, Qt::LeftButton);
        const bool saved = !nameAfter.isEmpty();  // the clock's box, then the record's
        const QStringList boxes{"Ciao a presto. Ore 600 | Data 07/12/26",
                                "Ok! Ho registrato il tuo record, C A M P I O N E"};
        QCOMPARE(shown(game, 1), boxes.mid(byClock ? 0 : 1, int(byClock) + int(saved)));
        QCOMPARE(game.platform().ends, 1);
        QCOMPARE(game.recordFiles(), saved ? QByteArray::number(right) + "\r\n" + nameAfter : score + "Anna\r\n");
    }

    // A record that cannot be read at start-up shows no score and no holder
    // and one box says why in a child's words, with no path; a game scoring
    // above zero then saves nothing, says so once, and leaves the files be.
    void unreadableRecord_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("reason");
        QTest::newRow("fifo as the score file") << "fifo" << "il record di questo computer è rovinato o protetto";
        QTest::newRow("file as the record folder") << "file" << "qualcosa non ha funzionato";
    }
    void unreadableRecord()
    {
        QFETCH(QString, what);
        QFETCH(QString, reason);
        Harness game;
        const QString blocked = what == "file" ? game.records() : game.scorePath();
        writeFile(blocked, "2\r\n");
        QVERIFY2(what != "fifo" || (QFile::remove(blocked) && ::mkfifo(QFile::encodeName(blocked), 0644) == 0), "fifo");
        game.start();
        const Ui::Tavola& c = game.controls();
        QCOMPARE(c.lblpunti->caption() + c.lblnome->caption(), QString());
        QCOMPARE(shown(game, 1), QStringList{"Non riesco a leggere il record: " + reason
                                             + ". Si gioca lo stesso, con il record a zero."});
        game.answerRight(3);
        QTest::mouseClick(c.cmdExit, Qt::LeftButton);
        QCOMPARE(shown(game, 2), QStringList{"Questa volta non sono riuscito a registrare il tuo record: " + reason
                                             + "."});
        QCOMPARE(game.platform().ends, 1);
        QVERIFY2(QFileInfo::exists(blocked), "removed");
        QCOMPARE(QFileInfo(blocked).isFile() ? readFile(blocked) : "FIFO", what == "file" ? "2\r\n" : "FIFO");
    }

    // Another copy raised the record during the race: the child is told the
    // new record, "1 punto" in the singular.
    void raisedMeanwhile()
    {
        for (const int raised : {1, 3}) {
            Harness game;
            game.start();
            game.answerRight(1);
            writeFile(game.scorePath(), QByteArray::number(raised) + "\r\n");
            QTest::mouseClick(game.controls().cmdExit, Qt::LeftButton);
            QCOMPARE(shown(game, 1), QStringList{QStringLiteral("Peccato! Nel frattempo il record è salito a %1.")
                                                     .arg(raised == 1 ? "1 punto" : "3 punti")});
        }
    }
};

QTEST_MAIN(EndingTest)
#include "test_ending.moc"
