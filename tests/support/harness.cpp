#include "harness.h"

#include "window/graphicalbutton.h"

#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace numerella::testing {

Harness::Harness()
    : platform_(std::make_unique<FakePlatform>(dir_.path() + QStringLiteral("/records")))
    , window_(std::make_unique<Tavola>(*platform_))
{
}

QString Harness::scorePath() const
{
    return dir_.path() + QStringLiteral("/records/tavrec10.txt");
}

QString Harness::namePath() const
{
    return dir_.path() + QStringLiteral("/records/ntavrec10.txt");
}

void Harness::writeFile(const QString& path, const QByteArray& bytes) const
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray Harness::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Harness::start(const QString& name)
{
    platform_->inputAnswers.prepend(name);
    window_->load();
}

void Harness::answer(const QString& typed)
{
    QLineEdit* box = controls().txtAnswer;
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
}

void Harness::nextQuestion()
{
    QTest::keyClick(controls().cmdNext, Qt::Key_Space);
}

void Harness::tick(int times)
{
    for (int i = 0; i < times; ++i)
        window_->deliverTick();
}

} // namespace numerella::testing
