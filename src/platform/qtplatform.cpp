#include "qtplatform.h"

#include <QDate>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

namespace numerella {

namespace {

// A box sizes itself to its text: cut in the middle, with an ellipsis, a word
// too wide for a short line (an endless name, a deep folder) and a text of
// more than a few lines, so that no box outgrows the screen.
QString fitForBox(const QString& text, const QFont& font)
{
    constexpr int kWordWidth = 250;
    const QFontMetrics metrics(font);
    QStringList words = text.split(u' ');
    for (QString& word : words)
        word = metrics.elidedText(word, Qt::ElideMiddle, kWordWidth);
    return metrics.elidedText(words.join(u' '), Qt::ElideMiddle, 8 * kWordWidth);
}

} // namespace

int QtPlatform::messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title)
{
    QMessageBox box(visibleParent());
    box.setWindowTitle(title.value_or(kApplicationTitle));
    box.setTextFormat(Qt::PlainText);
    box.setText(fitForBox(prompt, box.font()));
    QPushButton* yes = nullptr;
    QPushButton* answer = nullptr;
    if (buttonSet == buttons::kYesNoQuestionNoDefault) {
        box.setIcon(QMessageBox::Question);
        yes = box.addButton(QStringLiteral("&Sì"), QMessageBox::YesRole);
        answer = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    } else {
        answer = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    }
    box.setDefaultButton(answer);
    box.setEscapeButton(answer);
    box.exec();
    if (yes)
        return box.clickedButton() == yes ? answers::kYes : answers::kNo;
    return answers::kOk;
}

QString QtPlatform::inputBox(const QString& prompt)
{
    QInputDialog dialog(visibleParent());
    dialog.setWindowTitle(kApplicationTitle);
    dialog.setLabelText(fitForBox(prompt, dialog.font()));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annulla"));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

// $XDG_DATA_HOME/numerella-del-dieci when that variable holds an absolute path
// (a relative one is to be ignored), else under $HOME/.local/share; empty
// without a home. Bytes as the environment holds them, so the folder made is
// the one opened.
QByteArray QtPlatform::recordFolder()
{
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME"), home = qgetenv("HOME");
    if (dataHome.startsWith('/'))
        return dataHome + "/numerella-del-dieci";
    return home.startsWith('/') ? home + "/.local/share/numerella-del-dieci" : QByteArray();
}

QString QtPlatform::shortDate()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

} // namespace numerella
