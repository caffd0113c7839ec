#include "qtplatform.h"

#include "datafolder.h"

#include <QApplication>
#include <QDate>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

namespace numerella {

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
    sounds_.play(path);
}

QString QtPlatform::recordFolder()
{
    return perLoginDataFolder();
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

} // namespace numerella
