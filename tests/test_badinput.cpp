// Bad data through the only two ways in, on the real window: record files
// holding anything at all (or standing where they cannot be used), any
// name, any key and any pasted answer. The game never crashes, shows what
// it read, judges and saves as usual, and keeps the record files whole.
#include "harness.h"

#include "faultyfiles.h"
#include "window/boardlabel.h"
#include "window/graphicalbutton.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QtTest>

using namespace numerella;
using namespace numerella::testing;

namespace {

const QString kCongratulation = QStringLiteral("Ok! Ho registrato il tuo record, C A M P I O N E");
const QString kNotSaved = QStringLiteral("Non sono riuscito a registrare il record");
const QString kCannotPrepare = QStringLiteral("Non riesco a leggere o a creare i file del record");

QString recordFolder(Harness& game)
{
    return game.folder() + QStringLiteral("/records");
}

QStringList leftovers(Harness& game)
{
    return QDir(recordFolder(game)).entryList({QStringLiteral("*.nuovo")}, QDir::AllEntries | QDir::NoDotAndDotDot);
}

QStringList prompts(Harness& game)
{
    QStringList all;
    for (const ShownBox& box : game.platform().boxes)
        all << box.prompt;
    return all;
}

void answerRight(Harness& game, int n)
{
    for (int i = 0; i < n; ++i) {
        game.answer(QString::number(10 * game.controls().lblNum2->caption().toInt()));
        game.nextQuestion();
    }
}

void clickExit(Harness& game)
{
    QTest::mouseClick(game.controls().cmdExit, Qt::LeftButton);
    QVERIFY(game.window().ended());
}

// The file holds one record line: exactly one CR LF, at its end.
void checkOneLine(const QByteArray& bytes)
{
    QVERIFY2(bytes.endsWith("\r\n"), bytes.toHex(' ').constData());
    QCOMPARE(bytes.count('\r'), 1);
    QCOMPARE(bytes.count('\n'), 1);
}

// A caption as drawn holds no control character but line breaks and tabs.
void checkDrawable(const BoardLabel* label)
{
    for (const QChar c : label->text())
        QVERIFY2(c == u'\n' || c == u'\t' || (c.unicode() >= 0x20 && c.unicode() != 0x7F),
                 qPrintable(QString::number(c.unicode(), 16)));
}

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / qsizetype(sizeof(quint32)));
    return bytes;
}

// The three draws of each question, all giving 10 X 7.
QList<float> sevens(int questions)
{
    QList<float> values;
    for (int i = 0; i < questions; ++i)
        values << 0.0f << 0.75f << 0.0f;
    return values;
}

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT
private slots:
    void recordFilesWithNulBytes();
    void undefinedWindows1252Bytes();
    void fiftyMegabytesOfRandomBytes_data();
    void fiftyMegabytesOfRandomBytes();
    void directoriesInPlaceOfTheRecordFiles();
    void fileInPlaceOfTheRecordFolder();
    void recordFolderThatCannotBeWritten_data();
    void recordFolderThatCannotBeWritten();
    void extremeNames_data();
    void extremeNames();
    void everyKeyCodeThroughTheFilter();
    void realKeysIntoTheAnswerBox();
    void pastedAnswers_data();
    void pastedAnswers();
    void directoryInPlaceOfTheNameFileAtTheEnd();
    void unusualNumbersInTheScoreFile_data();
    void unusualNumbersInTheScoreFile();
};

// NUL bytes inside and at the start of the record files.
void BadInputTest::recordFilesWithNulBytes()
{
    Harness game;
    const QByteArray score("3\0" "99\r\n", 6);
    const QByteArray name("An\0na\r\n", 7);
    game.writeFile(game.scorePath(), score);
    game.writeFile(game.namePath(), name);
    game.start();
    const Controls& c = game.controls();
    QCOMPARE(game.platform().boxes.size(), 1);  // no complaint: the files were read
    QCOMPARE(c.lblpunti->caption(), QString::fromLatin1(score));
    QCOMPARE(c.lblnome->caption(), QString::fromLatin1(name));
    checkDrawable(c.lblpunti);
    checkDrawable(c.lblnome);
    QCOMPARE(Harness::readFile(game.scorePath()), score);

    // The record is the 3 before the NUL: 3 is no record, 4 is.
    answerRight(game, 3);
    clickExit(game);
    QCOMPARE(Harness::readFile(game.scorePath()), score);
    QCOMPARE(Harness::readFile(game.namePath()), name);

    Harness again;
    again.writeFile(again.scorePath(), score);
    again.writeFile(again.namePath(), name);
    again.start(QStringLiteral("Zoe"));
    answerRight(again, 4);
    clickExit(again);
    QCOMPARE(prompts(again).last(), kCongratulation);
    QCOMPARE(Harness::readFile(again.scorePath()), QByteArray("4\r\n"));
    QCOMPARE(Harness::readFile(again.namePath()), QByteArray("Zoe\r\n"));

    // A score file that starts with NUL bytes holds no number: record 0.
    Harness third;
    third.writeFile(third.scorePath(), QByteArray(64, '\0'));
    third.start();
    answerRight(third, 1);
    clickExit(third);
    QCOMPARE(Harness::readFile(third.scorePath()), QByteArray("1\r\n"));
}

// The five bytes Windows-1252 leaves undefined are read as they are and the
// files are left untouched.
void BadInputTest::undefinedWindows1252Bytes()
{
    Harness game;
    const QByteArray score("5\x81\r\n");
    const QByteArray name("\x81\x8D\x8F\x90\x9D\r\n");
    game.writeFile(game.scorePath(), score);
    game.writeFile(game.namePath(), name);
    game.start();
    const Controls& c = game.controls();
    QCOMPARE(game.platform().boxes.size(), 1);
    QCOMPARE(c.lblnome->caption(), (QString(QChar(0x81)) + QChar(0x8D) + QChar(0x8F) + QChar(0x90) + QChar(0x9D)
                                    + QStringLiteral("\r\n")));
    QCOMPARE(c.lblpunti->caption(), QString(QStringLiteral("5") + QChar(0x81) + QStringLiteral("\r\n")));
    checkDrawable(c.lblnome);
    answerRight(game, 5);  // equals the record 5: not saved
    clickExit(game);
    QCOMPARE(prompts(game).size(), 1);
    QCOMPARE(Harness::readFile(game.scorePath()), score);
    QCOMPARE(Harness::readFile(game.namePath()), name);
}

void BadInputTest::fiftyMegabytesOfRandomBytes_data()
{
    QTest::addColumn<QByteArray>("lead");  // what the score file starts with
    QTest::addColumn<int>("record");       // the record read from it
    QTest::newRow("random after 2") << QByteArray(" 2\xFF") << 2;
    QTest::newRow("random after 0 and a CR") << QByteArray("0\r") << 0;
}

// Start-up reads only the head of a huge file, shows a bounded caption, and
// the record check and the save still work.
void BadInputTest::fiftyMegabytesOfRandomBytes()
{
    QFETCH(QByteArray, lead);
    QFETCH(int, record);
    constexpr qsizetype kSize = 50 * 1024 * 1024;
    Harness game;
    QByteArray score = randomBytes(kSize, 4242);
    score.replace(0, lead.size(), lead);
    const QByteArray name = randomBytes(kSize, 4343);
    game.writeFile(game.scorePath(), score);
    game.writeFile(game.namePath(), name);
    game.start(QStringLiteral("Irene"));

    const Controls& c = game.controls();
    QVERIFY(!game.window().ended());
    QCOMPARE(game.platform().boxes.size(), 1);
    QVERIFY(c.lblpunti->caption().size() <= 64 * 1024);
    QVERIFY(c.lblnome->caption().size() <= 64 * 1024);
    QVERIFY(c.lblpunti->caption().startsWith(QString::fromLatin1(lead.left(2))));
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00:05:00"));

    // Equal to the record: nothing written.
    answerRight(game, record);
    Harness same;
    same.writeFile(same.scorePath(), score);
    same.start();
    answerRight(same, record);
    clickExit(same);
    QCOMPARE(same.platform().boxes.size(), 1);  // the greeting only
    QCOMPARE(QFileInfo(same.scorePath()).size(), kSize);

    // One more is a record: both huge files give way to one line each.
    answerRight(game, 1);
    clickExit(game);
    QCOMPARE(prompts(game).last(), kCongratulation);
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray::number(record + 1) + "\r\n");
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Irene\r\n"));
    QVERIFY(leftovers(game).isEmpty());
}

// Folders where the two files should be: one message at start-up, play
// goes on, and the end reports that the record could not be saved.
void BadInputTest::directoriesInPlaceOfTheRecordFiles()
{
    Harness game;
    QVERIFY(QDir().mkpath(game.scorePath()));
    QVERIFY(QDir().mkpath(game.namePath()));
    game.start();
    QCOMPARE(game.platform().boxes.size(), 2);
    QVERIFY(prompts(game)[1].startsWith(kCannotPrepare));
    QVERIFY(prompts(game)[1].contains(recordFolder(game)));
    QCOMPARE(game.controls().lblpunti->caption(), QString());
    QCOMPARE(game.controls().lblnome->caption(), QString());

    answerRight(game, 2);
    clickExit(game);
    QCOMPARE(game.platform().boxes.size(), 3);
    QVERIFY2(prompts(game)[2].startsWith(kNotSaved), qPrintable(prompts(game)[2]));
    QVERIFY(prompts(game)[2].contains(recordFolder(game)));
    QVERIFY(QFileInfo(game.scorePath()).isDir());
    QVERIFY(QFileInfo(game.namePath()).isDir());
    QVERIFY(leftovers(game).isEmpty());
    QCOMPARE(game.platform().ends, 1);
}

// A plain file where the record folder should be: one clear message naming
// the folder, play goes on, and the ending admits the record was not saved.
void BadInputTest::fileInPlaceOfTheRecordFolder()
{
    Harness game;
    game.writeFile(recordFolder(game), "just a file");
    game.start();
    QCOMPARE(game.platform().boxes.size(), 2);
    QVERIFY(prompts(game)[1].startsWith(kCannotPrepare));
    QVERIFY(prompts(game)[1].contains(recordFolder(game)));
    QVERIFY(!game.window().ended());

    answerRight(game, 3);
    QCOMPARE(game.controls().lblScore->caption(), QStringLiteral("3"));
    game.tick(301);  // the clock runs out: farewell, then the record check
    QVERIFY(game.window().ended());
    const QStringList shown = prompts(game);
    QCOMPARE(shown.size(), 4);
    QVERIFY(shown[2].startsWith(QStringLiteral("Ciao a presto")));
    QVERIFY2(shown[3].startsWith(kNotSaved), qPrintable(shown[3]));
    QVERIFY(shown[3].contains(recordFolder(game)));
    QVERIFY(!shown.contains(kCongratulation));
    QCOMPARE(Harness::readFile(recordFolder(game)), QByteArray("just a file"));
    QCOMPARE(game.platform().ends, 1);
}

void BadInputTest::recordFolderThatCannotBeWritten_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("nothing can be created, renamed or removed") << false;
    QTest::newRow("full disk: every write stops half-way") << true;
}

// Running as root ignores permission bits, so the failures come from a file
// service that refuses them.
void BadInputTest::recordFolderThatCannotBeWritten()
{
    QFETCH(bool, fullDisk);
    Harness game;
    game.writeFile(game.scorePath(), "2\r\n");
    game.writeFile(game.namePath(), "Anna\r\n");
    FaultyFiles faulty;
    faulty.failWhen = [&](FileOp op, const QString& path) {
        if (fullDisk)
            return op == FileOp::Write;
        return (op == FileOp::Open && path.endsWith(QStringLiteral(".nuovo"))) || op == FileOp::Replace
               || op == FileOp::Remove;
    };
    game.platform().useFiles(&faulty);
    game.start();
    QCOMPARE(game.platform().boxes.size(), 1);  // the files are there and readable
    QCOMPARE(game.controls().lblpunti->caption(), QStringLiteral("2\r\n"));

    answerRight(game, 3);
    clickExit(game);
    QVERIFY(faulty.failures > 0);
    QCOMPARE(game.platform().boxes.size(), 2);
    QVERIFY2(prompts(game)[1].startsWith(kNotSaved), qPrintable(prompts(game)[1]));
    QVERIFY(prompts(game)[1].contains(recordFolder(game)));
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("2\r\n"));
    QCOMPARE(Harness::readFile(game.namePath()), QByteArray("Anna\r\n"));
    QVERIFY(leftovers(game).isEmpty());
}

void BadInputTest::extremeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("saved");  // the name file afterwards
    const QString longName = QString(5000, u'è') + QString(5000, u'a');
    QTest::newRow("10,000 characters") << longName
                                       << QByteArray(5000, '\xE8') + QByteArray(5000, 'a') + QByteArray("\r\n");
    QTest::newRow("emoji") << QStringLiteral("Ale😀🦄") << QByteArray("Ale??\r\n");
    QTest::newRow("arabic") << QStringLiteral("سارة") << QByteArray("????\r\n");
    QTest::newRow("hebrew with a digit") << QStringLiteral("דנה 2") << QByteArray("??? 2\r\n");
    QTest::newRow("mixed direction marks") << (QStringLiteral("a") + QChar(0x202E) + QStringLiteral("bc") + QChar(0x200F))
                                           << QByteArray("a?bc?\r\n");
    QTest::newRow("tab, CR, LF, NUL, ESC")
        << (QStringLiteral("a\tb\rc\nd") + QChar(0) + QStringLiteral("e") + QChar(0x1B) + QStringLiteral("f"))
        << QByteArray("a?b?c?d?e?f\r\n");
    QTest::newRow("pasted line end") << QStringLiteral("Mario\r\n") << QByteArray("Mario??\r\n");
    QTest::newRow("markup") << QStringLiteral("<b>x</b>") << QByteArray("<b>x</b>\r\n");
    QTest::newRow("entity and quote") << QStringLiteral("&amp; \"Lu\" 'ca'") << QByteArray("&amp; \"Lu\" 'ca'\r\n");
    QTest::newRow("lone surrogate") << (QStringLiteral("x") + QChar(0xD800)) << QByteArray("x?\r\n");
    QTest::newRow("only blanks") << QStringLiteral("   ") << QByteArray("   \r\n");
}

// Any name is shown as typed, the window is built around it, and saved it
// keeps the record file one line long.
void BadInputTest::extremeNames()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, saved);
    Harness game;
    game.start(name);
    const Controls& c = game.controls();
    QVERIFY(!game.window().ended());
    QCOMPARE(game.platform().boxes.first().prompt,
             QStringLiteral(" ") + name + QStringLiteral(" vediamo se sei un vero campione  "));
    QCOMPARE(c.lblnome1->caption(), name);
    QCOMPARE(c.lblnome1->textFormat(), Qt::PlainText);
    checkDrawable(c.lblnome1);
    if (!name.contains(u'\r') && !name.contains(u'\n') && name.contains(u'<'))
        QCOMPARE(c.lblnome1->text(), name);  // markup shown literally
    QVERIFY(c.lblNum2->isVisible());
    QCOMPARE(c.lblconto->caption(), QStringLiteral("00:05:00"));

    // The praise carries the name; the record is saved with it.
    game.answer(QString::number(10 * c.lblNum2->caption().toInt()));
    QCOMPARE(c.lblMessage->caption(), QStringLiteral("Esatto! ") + name + QStringLiteral(" sei forte!"));
    game.nextQuestion();
    clickExit(game);
    QCOMPARE(prompts(game).last(), kCongratulation);
    const QByteArray bytes = Harness::readFile(game.namePath());
    checkOneLine(bytes);
    QCOMPARE(bytes, saved);
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("1\r\n"));
}

// Every 16-bit key code through the key handler: Backspace and the digits
// pass unchanged, Enter judges, everything else is dropped.
void BadInputTest::everyKeyCodeThroughTheFilter()
{
    Harness game;
    game.start();
    const Controls& c = game.controls();
    c.txtAnswer->setText(QStringLiteral("5"));
    int passed = 0;
    int dropped = 0;
    for (int code = 0; code <= 0xFFFF; ++code) {
        if (code == 13)
            continue;  // judged below, once the rest has been seen
        auto key = static_cast<std::int16_t>(code);
        game.window().txtAnswer_KeyPress(key);
        if (code == 8 || (code >= '0' && code <= '9')) {
            QCOMPARE(key, static_cast<std::int16_t>(code));
            ++passed;
        } else {
            if (key != 0)
                QFAIL(qPrintable(QStringLiteral("code %1 became %2").arg(code).arg(key)));
            ++dropped;
        }
    }
    QCOMPARE(passed, 11);
    QCOMPARE(dropped, 65536 - 12);
    // None of them judged or changed anything.
    QCOMPARE(game.window().state().giuste, std::int16_t(0));
    QCOMPARE(game.window().state().sbagliate, std::int16_t(0));
    QCOMPARE(c.txtAnswer->text(), QStringLiteral("5"));
    QCOMPARE(c.lblMessage->caption(), QString());
    QVERIFY(game.platform().sounds.isEmpty());

    std::int16_t enter = 13;
    game.window().txtAnswer_KeyPress(enter);
    QCOMPARE(enter, std::int16_t(13));
    QCOMPARE(game.window().state().giuste + game.window().state().sbagliate, 1);
    QVERIFY(!c.lblMessage->caption().isEmpty());
    QCOMPARE(game.platform().sounds.size(), 1);
}

// A sample of real key events into the box: only digits and Backspace
// change it, Enter judges, control keys and pastes by Ctrl+V never get in.
// (The box takes four characters at most, so each digit that gets in is
// taken out again with Backspace.)
void BadInputTest::realKeysIntoTheAnswerBox()
{
    Harness game;
    game.platform().randomValues = sevens(1);
    game.start();
    QLineEdit* box = game.controls().txtAnswer;
    QCOMPARE(game.controls().lblNum2->caption(), QStringLiteral("7"));

    int events = 0;
    QString digitsIn;
    auto type = [&](const QString& text, Qt::Key key = Qt::Key_unknown,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::sendKeyEvent(QTest::Click, box, key, text, modifiers);
        ++events;
        const bool digit = text.size() == 1 && text[0] >= u'0' && text[0] <= u'9';
        const QString hex = QString::number(text.isEmpty() ? 0 : text[0].unicode(), 16);
        if (!digit) {
            QVERIFY2(box->text().isEmpty(), qPrintable(QStringLiteral("U+%1 got in: %2").arg(hex, box->text())));
            return;
        }
        QVERIFY2(box->text() == text, qPrintable(QStringLiteral("digit U+%1 gave %2").arg(hex, box->text())));
        digitsIn += text;
        QTest::keyClick(box, Qt::Key_Backspace);
        ++events;
        QVERIFY(box->text().isEmpty());
    };
    for (char16_t u = 0x20; u <= 0x7E; ++u)
        type(QString(QChar(u)));
    const QStringList others = {
        QStringLiteral("è"), QStringLiteral("€"), QStringLiteral("٣"), QStringLiteral("０"),
        QStringLiteral("😀"), QString(QChar(0xFFFF)), QString(QChar(0x7F)), QString(QChar(0x85)),
        QString(QChar(0x1B)), QString(QChar(0)), QString(QChar(0x0A)), QString(QChar(0xD800)),
    };
    for (const QString& text : others)
        type(text);
    QCOMPARE(game.window().state().giuste + game.window().state().sbagliate, 0);
    // Control characters from Ctrl+letter, among them Ctrl+V with "99" on
    // the clipboard and Ctrl+A; Ctrl+M types a carriage return, which judges
    // (the empty box, wrongly) like Enter.
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    for (char16_t letter = 1; letter <= 26; ++letter)
        type(QString(QChar(letter)), Qt::Key(Qt::Key_A + letter - 1), Qt::ControlModifier);
    QCOMPARE(digitsIn, QStringLiteral("0123456789"));
    QCOMPARE(game.window().state().giuste, std::int16_t(0));
    QCOMPARE(game.window().state().sbagliate, std::int16_t(1));

    // Keys without a character still edit: the arrows, Home, End, Delete.
    QTest::keyClicks(box, QStringLiteral("1234"));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Backspace);
    events += 9;
    QCOMPARE(box->text(), QStringLiteral("24"));

    QTest::keyClick(box, Qt::Key_Return);
    ++events;
    QCOMPARE(game.controls().lblMessage->caption(), QStringLiteral("Sbagliato!! 70"));
    QCOMPARE(game.window().state().sbagliate, std::int16_t(2));
    QVERIFY(!game.window().ended());
    qInfo("%d key events sent to the answer box", events);
}

void BadInputTest::pastedAnswers_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<bool>("right");  // the question is 10 X 7
    QTest::newRow("9E99") << QStringLiteral("9E99") << false;
    QTest::newRow("-1") << QStringLiteral("-1") << false;
    QTest::newRow("1e4") << QStringLiteral("1e4") << false;
    QTest::newRow("blank and 7") << QStringLiteral(" 7") << false;
    QTest::newRow("arabic-indic 3") << QStringLiteral("٣") << false;
    QTest::newRow("four blanks") << QStringLiteral("    ") << false;
    QTest::newRow("1e400") << QStringLiteral("1e400") << false;
    QTest::newRow("-70") << QStringLiteral("-70") << false;
    QTest::newRow("7e1") << QStringLiteral("7e1") << true;
    QTest::newRow("blanks around 70") << QStringLiteral(" 7 0 ") << true;
    QTest::newRow("70 and a line end") << QStringLiteral("70\r\n99") << true;
    QTest::newRow("69.5 rounds to even 70") << QStringLiteral("69.5") << true;
    QTest::newRow("70.5 rounds to even 70") << QStringLiteral("70.5") << true;
    QTest::newRow("71.5 rounds to even 72") << QStringLiteral("71.5") << false;
    QTest::newRow("70 then letters") << QStringLiteral("70abc") << true;
}

// Text put into the box by other means than typing (a paste from the
// context menu) is judged by its leading number, with the usual messages.
void BadInputTest::pastedAnswers()
{
    QFETCH(QString, pasted);
    QFETCH(bool, right);
    Harness game;
    game.platform().randomValues = sevens(1);
    game.start();
    const Controls& c = game.controls();
    QCOMPARE(c.lblNum2->caption(), QStringLiteral("7"));
    const QString untouchedWrong = c.lblScore1->caption();
    c.txtAnswer->setText(pasted);
    QVERIFY(c.txtAnswer->text().size() <= 4);  // the box keeps four characters
    QTest::keyClick(c.txtAnswer, Qt::Key_Return);

    const GameState& s = game.window().state();
    QVERIFY(!game.window().ended());
    QCOMPARE(s.giuste, std::int16_t(right ? 1 : 0));
    QCOMPARE(s.sbagliate, std::int16_t(right ? 0 : 1));
    QCOMPARE(c.lblScore->caption(), right ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(c.lblScore1->caption(), right ? untouchedWrong : QStringLiteral("1"));
    QCOMPARE(c.lblScore2->caption(), QStringLiteral("1"));
    QCOMPARE(c.lblMessage->caption(), right ? QStringLiteral("Esatto! Giulia sei forte!") : QStringLiteral("Sbagliato!! 70"));
    QCOMPARE(game.platform().sounds.size(), 1);
    QVERIFY(game.platform().sounds.first().endsWith(right ? QStringLiteral("Esatto.wav") : QStringLiteral("no.wav")));
    QVERIFY(c.cmdNext->isEnabled());
}

// Known fault (reported): with a folder where the name file should be, the
// new score replaces the old one, the name cannot follow, and the game says
// the record was saved; the next start then drops the name, so the score
// stands without its holder. The save should instead fail as a whole: the
// old pair kept and the failure message shown.
void BadInputTest::directoryInPlaceOfTheNameFileAtTheEnd()
{
    Harness game;
    game.writeFile(game.scorePath(), "1\r\n");
    QVERIFY(QDir().mkpath(game.namePath()));
    game.start(QStringLiteral("Bruno"));
    QCOMPARE(game.platform().boxes.size(), 2);  // the name file cannot be read
    answerRight(game, 2);
    clickExit(game);
    const QString last = prompts(game).last();
    qInfo("last box: %s; score file: %s; left over: %s", qPrintable(last),
          Harness::readFile(game.scorePath()).toHex(' ').constData(), qPrintable(leftovers(game).join(u' ')));
    QVERIFY2(last.startsWith(kNotSaved), qPrintable(last));
    QCOMPARE(Harness::readFile(game.scorePath()), QByteArray("1\r\n"));
    QVERIFY(leftovers(game).isEmpty());
}

void BadInputTest::unusualNumbersInTheScoreFile_data()
{
    QTest::addColumn<QByteArray>("score");
    QTest::addColumn<int>("right");   // answers right in the game
    QTest::addColumn<bool>("beaten");
    QTest::newRow("0.000...1 is about 0") << QByteArray("0." + QByteArray(400, '0') + "1\r\n") << 1 << true;
    QTest::newRow("1000...e-5 is about 1e395") << QByteArray("1" + QByteArray(400, '0') + "e-5\r\n") << 1 << false;
    QTest::newRow("1e400 is infinite") << QByteArray("1e400\r\n") << 1 << false;
    QTest::newRow("9E99") << QByteArray("9E99\r\n") << 1 << false;
    QTest::newRow("blanks inside: 1 2 is 12") << QByteArray(" 1 2 \r\n") << 2 << false;
    QTest::newRow("blank after a bare dot: 1. e1 is 10") << QByteArray("1. e1\r\n") << 2 << false;
    QTest::newRow("1.e1 is 10") << QByteArray("1.e1\r\n") << 2 << false;
    QTest::newRow("a lone dot is 0") << QByteArray(".\r\n") << 1 << true;
}

// Score files with numbers the game never writes are read the forgiving
// way: blanks count nowhere, and a value out of the range of a double is
// about 0 or huge by its real size.
void BadInputTest::unusualNumbersInTheScoreFile()
{
    QFETCH(QByteArray, score);
    QFETCH(int, right);
    QFETCH(bool, beaten);
    Harness game;
    game.writeFile(game.scorePath(), score);
    game.writeFile(game.namePath(), "Anna\r\n");
    game.start();
    answerRight(game, right);
    clickExit(game);
    const QByteArray expected = beaten ? QByteArray::number(right) + "\r\n" : score;
    // Known fault (reported): a blank after a "." without digits ends the
    // number before its exponent, so "1. e1" reads 1 where "1.e1" reads 10.
    QCOMPARE(Harness::readFile(game.scorePath()), expected);
}

QTEST_MAIN(BadInputTest)
#include "test_badinput.moc"
