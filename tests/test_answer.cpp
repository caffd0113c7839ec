// Reading a typed answer: which keys reach the box, how the text is judged,
// and the two messages the board shows.
#include "quiz/answer.h"

#include <QtTest>

using namespace numerella;

class AnswerTest : public QObject {
    Q_OBJECT
private slots:
    void everyByteCodeIsClassified();
    void codesOutsideTheBytesAreDropped_data();
    void codesOutsideTheBytesAreDropped();
    void answerValue_data();
    void answerValue();
    void messages();
};

void AnswerTest::everyByteCodeIsClassified()
{
    for (int code = 0; code <= 255; ++code) {
        const KeyAction expected = code == 8 || (code >= '0' && code <= '9') ? KeyAction::Pass
                                   : code == 13                              ? KeyAction::Judge
                                                                             : KeyAction::Drop;
        QVERIFY2(classifyKey(std::int16_t(code)) == expected, qPrintable(QStringLiteral("code %1").arg(code)));
    }
    // The keys a child is most likely to press by mistake, named for clarity.
    for (const int code : {27, 3, 22, 24, 32, 45, 46, 44, 43, 101, 69, 10, 9, 127, 0})
        QCOMPARE(classifyKey(std::int16_t(code)), KeyAction::Drop);
}

void AnswerTest::codesOutsideTheBytesAreDropped_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("-1") << -1;
    QTest::newRow("most negative") << int(INT16_MIN);
    QTest::newRow("most positive") << int(INT16_MAX);
    QTest::newRow("arabic-indic zero") << int(static_cast<std::int16_t>(0x0660));
    QTest::newRow("arabic-indic nine") << int(static_cast<std::int16_t>(0x0669));
    QTest::newRow("full-width zero") << int(static_cast<std::int16_t>(0xFF10));
    QTest::newRow("full-width five") << int(static_cast<std::int16_t>(0xFF15));
    // Low byte of a digit, Backspace or Enter with a high byte set.
    QTest::newRow("0x0130") << 0x0130;
    QTest::newRow("0x0108") << 0x0108;
    QTest::newRow("0x010D") << 0x010D;
    QTest::newRow("0xFF08") << int(static_cast<std::int16_t>(0xFF08));
    QTest::newRow("0xFF0D") << int(static_cast<std::int16_t>(0xFF0D));
    QTest::newRow("0xFF35") << int(static_cast<std::int16_t>(0xFF35));
}

void AnswerTest::codesOutsideTheBytesAreDropped()
{
    QFETCH(int, code);
    QCOMPARE(classifyKey(std::int16_t(code)), KeyAction::Drop);
}

void AnswerTest::answerValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasValue");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("rightFor");  // the one product it matches, -1 for none
    const struct { const char16_t* text; bool hasValue; int value; int rightFor; } cases[] = {
        {u"070", true, 70, 70},     {u"70", true, 70, 70},     {u"", true, 0, 0},
        {u"0", true, 0, 0},         {u"9E99", false, 0, -1},   {u"-1", true, -1, -1},
        {u"1e4", true, 10000, -1},  {u"1e1", true, 10, 10},    {u" 7", true, 7, 7},
        {u"12ab", true, 12, 12},    {u"7 0", true, 70, 70},    {u"69.5", true, 70, 70},
        {u"70.5", true, 70, 70},    {u"30.5", true, 30, 30},   {u"40.49", true, 40, 40},
        {u"32767.5", false, 0, -1}, {u"-32768", true, -32768, -1}, {u"1e400", false, 0, -1},
        {u"ab", true, 0, 0},        {u"\r70", true, 0, 0},     {u"\u0667\u0660", true, 0, 0},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        QTest::newRow(qPrintable(text.toUtf8().toPercentEncoding())) << text << c.hasValue << c.value << c.rightFor;
    }
}

void AnswerTest::answerValue()
{
    QFETCH(QString, text);
    QFETCH(bool, hasValue);
    QFETCH(int, value);
    QFETCH(int, rightFor);
    const auto read = numerella::answerValue(text);
    QCOMPARE(read.has_value(), hasValue);
    if (hasValue)
        QCOMPARE(int(*read), value);
    // Against every product the game can ask for, and a little beyond.
    for (int product = 0; product <= 100; ++product)
        QCOMPARE(isRightAnswer(text, std::int16_t(product)), product == rightFor);
}

void AnswerTest::messages()
{
    QCOMPARE(praiseFor(QStringLiteral("Giulia")), QStringLiteral("Esatto! Giulia sei forte!"));
    QCOMPARE(praiseFor(QString()), QStringLiteral("Esatto!  sei forte!"));
    QCOMPARE(praiseFor(QStringLiteral("Jürgen 😀")), QStringLiteral("Esatto! Jürgen 😀 sei forte!"));
    QCOMPARE(correctionFor(70), QStringLiteral("Sbagliato!! 70"));
    QCOMPARE(correctionFor(0), QStringLiteral("Sbagliato!! 0"));
    QCOMPARE(correctionFor(90), QStringLiteral("Sbagliato!! 90"));
    QCOMPARE(correctionFor(10), QStringLiteral("Sbagliato!! 10"));
}

QTEST_APPLESS_MAIN(AnswerTest)
#include "test_answer.moc"
