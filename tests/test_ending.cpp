// How a game ends (clock or Esci), the record files after it byte for byte, and a record not saved, in a child's words.
#include "harness.h"

#include <sys/stat.h>

using namespace numerella;
using namespace numerella::testing;

class EndingTest : public QObject {
    Q_OBJECT
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
        byClock ? game.tick(301) : QTest::mouseClick(c.cmdExit, Qt::LeftButton);
        const bool saved = !nameAfter.isEmpty();  // the clock's box, then the record's
        const QStringList boxes{"Ciao a presto. Ore 600 | Data 07/12/26",
                                "Ok! Ho registrato il tuo record, C A M P I O N E"};
        QCOMPARE(game.platform().boxes.mid(1), boxes.mid(byClock ? 0 : 1, int(byClock) + int(saved)));
        QCOMPARE(game.platform().ends, 1);
        QCOMPARE(game.recordFiles(), saved ? QByteArray::number(right) + "\r\n" + nameAfter : score + "Anna\r\n");
    }

    // Not saved: a record unreadable at start-up shows no score nor holder, a box says why (no path), the end says so
    // once and leaves the files be; one raised by another copy during the race is told, "1 punto" in the singular.
    void notSaved_data()
    {
        QTest::addColumn<QString>("setUp");  // fifo or file in the record's place, or the score another copy saved
        QTest::addColumn<QStringList>("boxes");
        const QString unreadable = "Non riesco a leggere il record: %1. Si gioca lo stesso, con il record a zero.";
        const QString lost = "Questa volta non sono riuscito a registrare il tuo record: %1.";
        for (const auto& [setUp, reason] : {std::pair("fifo", "il record di questo computer è rovinato o protetto"),
                                            {"file", "qualcosa non ha funzionato"}})
            QTest::newRow(setUp) << setUp << QStringList{unreadable.arg(reason), lost.arg(reason)};
        QTest::newRow("raised to 1") << "1" << QStringList{"Peccato! Nel frattempo il record è salito a 1 punto."};
        QTest::newRow("raised to 3") << "3" << QStringList{"Peccato! Nel frattempo il record è salito a 3 punti."};
    }
    void notSaved()
    {
        QFETCH(QString, setUp);
        Harness game;
        const bool raised = setUp[0].isDigit();
        const QString blocked = setUp == "file" ? game.records() : game.scorePath();
        if (!raised)
            writeFile(blocked, "2\r\n");
        QVERIFY2(setUp != "fifo" || (QFile::remove(blocked) && ::mkfifo(QFile::encodeName(blocked), 0644) == 0),
                 "FIFO not made");
        game.start();
        const Ui::Tavola& c = game.controls();
        QCOMPARE(c.lblpunti->caption() + c.lblnome->caption(), QString());
        game.answerRight(1);
        if (raised)
            writeFile(blocked, setUp.toLatin1() + "\r\n");
        QTest::mouseClick(c.cmdExit, Qt::LeftButton);
        QTEST(game.platform().boxes.mid(1), "boxes");
        QCOMPARE(game.platform().ends, 1);
        const QFileInfo left(blocked);
        QCOMPARE(left.isFile() ? readFile(blocked) : QByteArray(left.exists() ? "FIFO" : "removed"),
                 setUp == "fifo" ? "FIFO" : setUp == "file" ? "2\r\n" : setUp.toLatin1() + "\r\n");
    }
};

QTEST_MAIN(EndingTest)
#include "test_ending.moc"
