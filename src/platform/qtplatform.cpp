#include "qtplatform.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLocale>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>
#include <QSoundEffect>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace numerella {

// Which sound files the game asked for, for whoever installs it:
// QT_LOGGING_RULES="numerella.sound.debug=true" shows them.
Q_LOGGING_CATEGORY(soundLog, "numerella.sound", QtWarningMsg)

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() = default;

void QtPlatform::setDialogParent(QWidget* window)
{
    parent_ = window;
}

QWidget* QtPlatform::visibleParent() const
{
    return parent_ && parent_->isVisible() ? parent_.data() : nullptr;
}

int QtPlatform::messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title)
{
    QMessageBox box(visibleParent());
    box.setWindowTitle(title.value_or(kApplicationTitle));
    box.setText(prompt);
    box.setTextFormat(Qt::PlainText);
    if (buttonSet == buttons::kYesNoQuestionNoDefault) {
        box.setIcon(QMessageBox::Question);
        QPushButton* yes = box.addButton(QStringLiteral("&Sì"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? answers::kYes : answers::kNo;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return answers::kOk;
}

QString QtPlatform::inputBox(const QString& prompt)
{
    QInputDialog dialog(visibleParent());
    dialog.setWindowTitle(kApplicationTitle);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annulla"));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

void QtPlatform::playSound(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        qCDebug(soundLog) << "missing, staying silent:" << path;
        return;
    }
    qCDebug(soundLog) << "playing:" << path;
    std::unique_ptr<QSoundEffect>& effect = sounds_[path];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(path));
    }
    // Played as soon as it is loaded, when that is not yet the case.
    effect->play();
}

QString QtPlatform::recordFolder()
{
#ifdef Q_OS_WIN
    // Where records written by earlier versions of the game already lie.
    char buffer[128];
    const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return QString();
    return QString::fromLocal8Bit(buffer, static_cast<qsizetype>(length));
#else
    // No Windows directory here: the player's own data folder.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        return QString();
    QDir().mkpath(folder);
    return folder;
#endif
}

QString QtPlatform::programFolder()
{
    return QCoreApplication::applicationDirPath();
}

void QtPlatform::endProgram()
{
    QCoreApplication::exit(0);
}

float QtPlatform::nextRandom()
{
    return random_.next();
}

void QtPlatform::reseedRandomFromClock()
{
    random_.reseedFromClock();
}

QString QtPlatform::shortDate()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

FileService& QtPlatform::files()
{
    return files_;
}

} // namespace numerella
