#include "fakeplatform.h"

#include <QDir>

namespace numerella::testing {

FakePlatform::FakePlatform(QString recordFolder, QString programFolder)
    : recordFolder_(std::move(recordFolder))
    , programFolder_(std::move(programFolder))
{
}

int FakePlatform::messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title)
{
    const ShownBox box{prompt, buttonSet, title};
    boxes.append(box);
    if (whileBoxOpen)
        whileBoxOpen(box);
    if (!boxAnswers.isEmpty())
        return boxAnswers.takeFirst();
    return buttonSet == buttons::kYesNoQuestionNoDefault ? answers::kNo : answers::kOk;
}

QString FakePlatform::inputBox(const QString& prompt)
{
    inputPrompts.append(prompt);
    return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
}

void FakePlatform::playSound(const QString& path)
{
    sounds.append(path);
}

QString FakePlatform::recordFolder()
{
    if (!recordFolder_.isEmpty())
        QDir().mkpath(recordFolder_);
    return recordFolder_;
}

QString FakePlatform::programFolder()
{
    return programFolder_;
}

void FakePlatform::endProgram()
{
    ++ends;
}

float FakePlatform::nextRandom()
{
    if (!randomValues.isEmpty())
        return randomValues.takeFirst();
    return random_.next();
}

void FakePlatform::reseedRandomFromClock()
{
    ++reseeds;
    random_.reseedFromClock();
}

QString FakePlatform::shortDate()
{
    return date;
}

} // namespace numerella::testing
