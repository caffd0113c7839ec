// How a game ends, by the clock or by Esci, and what the two record files
// hold afterwards, byte for byte: records beaten or equalled, any name, odd
// record files, and a record that cannot be read or written.
#include "harness.h"

#include "window/graphicalbutton.h"

#include <QtTest>

#include <sys/stat.h>

using namespace numerella;
using namespace numerella::testing;

namespace {

QStringList shownFrom(Harness& game, int first)
{
    QStringList prompts;
    for (const ShownBox& box : game.platform().boxes.mid(first))
        prompts << box.prompt;
    return prompts;
}

} // namespace

class EndingTest : public QObject {
    Q_OBJECT
private slots:
    void endings_data()
    {
        QTest::addColumn<bool>("byClock");
        QTest::addColumn<QByteArray>("score");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("player");
        QTest::addColumn<int>("right");
        QTest::addColumn<QByteArray>("nameAfter");  // "": the files stay as they were
        // Giulia answers right against a score file that counts as `record`.
        const auto race = [](const QByteArray& label, bool byClock, const QByteArray& score, int right, bool saved) {
            QTest::newRow(label.constData()) << byClock << score << QByteArray("Anna\r\n") << QStringLiteral("Giulia")
                                             << right << (saved ? QByteArray("Giulia\r\n") : QByteArray());
        };
        // An odd score file: equalling the number it reads as saves nothing, one more saves.
        const auto odd = [&](const char* label, const QByteArray& score, int record) {
            race(label + QByteArray(", equalled"), false, score, record, false);
            race(label + QByteArray(", beaten"), false, score, record + 1, true);
        };
        // Any name is saved as one Windows-1252 line.
        const auto named = [](const char* label, const QString& player, const QByteArray& nameAfter) {
            QTest::newRow(label) << false << QByteArray() << QByteArray() << player << 1 << nameAfter;
        };
        race("clock: 5 over empty files", true, "", 5, true);
        race("clock: 7 equals 7", true, "7\r\n", 7, false);
        race("exit: none right, empty files", false, "", 0, false);
        race("exit: 12 beaten by 13", false, "12\r\n", 13, true);
        race("exit: 4 not reached by 3", false, "4\r\n", 3, false);
        odd("NUL inside", QByteArray("3\0" "99\r\n", 6), 3);
        odd("NUL only", QByteArray(64, '\0'), 0);
        odd("undefined code-page byte", "5\x81\r\n", 5);
        odd("'1. e1' is 10", "1. e1\r\n", 10);
        odd("' 1 2 ' is 12", " 1 2 \r\n", 12);
        odd("'12abc' is 12", "12abc\r\n", 12);
        named("empty name", QString(), "\r\n");
        named("accent", QStringLiteral("Niccolò"), "Niccol\xF2\r\n");
        named("emoji, right to left", QStringLiteral("Ale😀 سارة") + QChar(0x202E), "Ale? ?????\r\n");
        named("tab kept; CR, LF, NUL, ESC as ?", QStringLiteral("a\tb\rc\nd") + QChar(0) + u'e' + QChar(0x1B),
              "a\tb?c?d?e?\r\n");
        named("10,000 characters", QString(5000, u'è') + QString(5000, u'a'),
              QByteArray(5000, '\xE8') + QByteArray(5000, 'a') + "\r\n");
    }
    void endings()
    {
        QFETCH(bool, byClock);
        QFETCH(QByteArray, score);
        QFETCH(QByteArray, name);
        QFETCH(QString, player);
        QFETCH(int, right);
        QFETCH(QByteArray, nameAfter);
        Harness game;
        Harness::writeFile(game.scorePath(), score);
        Harness::writeFile(game.namePath(), name);
        game.start(player);
        const Ui::Tavola& c = game.controls();
        QCOMPARE(game.platform().boxes.size(), 1);  // any such file is read without complaint
        QCOMPARE(c.lblpunti->caption() + c.lblnome->caption(), QString::fromLatin1(score + name));
        QVERIFY(c.lblnome1->caption() == player && c.lblnome1->textFormat() == Qt::PlainText);

        game.answerRight(right);
        game.answer(QStringLiteral("1"));  // a wrong answer counts for nothing
        if (byClock)
            game.tick(301);
        else
            QTest::mouseClick(c.cmdExit, Qt::LeftButton);
        const bool saved = !nameAfter.isEmpty();
        QStringList expected;
        if (byClock)
            expected << QStringLiteral("Ciao a presto. Ore 600");
        if (saved)
            expected << QStringLiteral("Ok! Ho registrato il tuo record, C A M P I O N E");
        QCOMPARE(shownFrom(game, 1), expected);
        if (byClock)
            QCOMPARE(game.platform().boxes[1].title, std::optional(QStringLiteral("Data 07/12/26")));
        QCOMPARE(game.platform().ends, 1);
        QCOMPARE(Harness::readFile(game.scorePath()), saved ? QByteArray::number(right) + "\r\n" : score);
        QCOMPARE(Harness::readFile(game.namePath()), saved ? nameAfter : name);
        QCOMPARE(QDir(game.records()).entryList({"*.nuovo"}, QDir::AllEntries | QDir::System), QStringList());
    }

    // A record that cannot be read at start-up shows no score and no holder
    // and one box says why; a game scoring above zero then saves nothing,
    // says so, and leaves every file as it was.
    void unreadableRecord_data()
    {
        QTest::addColumn<QString>("what");
        for (const char* what : {"fifo as the score file", "score file over 64 KiB", "folder as the name file",
                                 "file as the record folder"})
            QTest::newRow(what) << QString::fromLatin1(what);
    }
    void unreadableRecord()
    {
        QFETCH(QString, what);
        Harness game;
        const QByteArray big(64 * 1024 + 1, '9');
        const QString blocked = what.contains(u"record folder") ? game.records()
                                : what.contains(u"name") ? game.namePath() : game.scorePath();
        if (!what.contains(u"record folder"))
            Harness::writeFile(game.scorePath(), "2\r\n"), Harness::writeFile(game.namePath(), "Anna\r\n");
        QFile::remove(blocked);
        if (what.startsWith(u"fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(blocked).constData(), 0644), 0);
        else if (what.startsWith(u"folder"))
            QVERIFY(QDir().mkpath(blocked));
        else
            Harness::writeFile(blocked, what.startsWith(u"score") ? big : QByteArray("2\r\n"));
        game.start();
        const Ui::Tavola& c = game.controls();
        QCOMPARE(c.lblpunti->caption() + c.lblnome->caption(), QString());
        const QStringList shown = shownFrom(game, 1);
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].contains(game.records()) && shown[0].endsWith(u"con il record a zero."), qPrintable(shown[0]));

        game.answerRight(3);
        QTest::mouseClick(c.cmdExit, Qt::LeftButton);
        QCOMPARE(shownFrom(game, 2).size(), 1);
        QVERIFY(shownFrom(game, 2)[0].startsWith(QStringLiteral("Non sono riuscito a registrare il record")));
        QCOMPARE(game.platform().ends, 1);
        QFileInfo after(blocked);
        QVERIFY(what.startsWith(u"fifo") ? !after.isFile() : what.startsWith(u"folder") ? after.isDir()
                : Harness::readFile(blocked) == (what.startsWith(u"score") ? big : QByteArray("2\r\n")));
        if (!what.contains(u"record folder"))
            QCOMPARE(Harness::readFile(what.contains(u"name") ? game.scorePath() : game.namePath()),
                     QByteArray(what.contains(u"name") ? "2\r\n" : "Anna\r\n"));
    }
};

QTEST_MAIN(EndingTest)
#include "test_ending.moc"
