#include "qtplatform.h"

#include "datafolder.h"
#include "eventsound.h"

#include <QApplication>
#include <QDate>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBoundaryFinder>

namespace numerella {

void QtPlatform::setDialogParent(QWidget* window)
{
    parent_ = window;
}

QWidget* QtPlatform::visibleParent() const
{
    return parent_ && parent_->isVisible() ? parent_.data() : nullptr;
}

namespace {

// Longer words get a break chance between every two characters: a box's
// label wraps only at spaces, and one endless name would run off its edge.
constexpr int kLongestUnbrokenWord = 20;

QString breakableText(const QString& text)
{
    constexpr QChar kBreakChance(0x200B);
    QString result;
    QStringList word;  // its characters, each a whole grapheme
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype start = 0, end = graphemes.toNextBoundary(); end != -1; start = end, end = graphemes.toNextBoundary()) {
        const QString character = text.mid(start, end - start);
        const bool space = character.front().isSpace();
        if (!space)
            word.append(character);
        if (space || end == text.size()) {
            result += word.join(word.size() > kLongestUnbrokenWord ? QString(kBreakChance) : QString());
            word.clear();
        }
        if (space)
            result += character;
    }
    return result;
}

// Wide enough for the whole title in the title bar, with the window
// manager's buttons beside it.
int widthForTitle(const QString& title)
{
    constexpr int kTitleBarButtons = 120;
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    return QFontMetrics(titleFont).horizontalAdvance(title) + kTitleBarButtons;
}

} // namespace

int QtPlatform::messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title)
{
    QMessageBox box(visibleParent());
    box.setWindowTitle(title.value_or(kApplicationTitle));
    box.setText(breakableText(prompt));
    box.setTextFormat(Qt::PlainText);
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
    // Added last: the box rebuilds its layout whenever its parts change.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(widthForTitle(box.windowTitle()), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
    if (yes)
        return box.clickedButton() == yes ? answers::kYes : answers::kNo;
    return answers::kOk;
}

QString QtPlatform::inputBox(const QString& prompt)
{
    QInputDialog dialog(visibleParent());
    dialog.setWindowTitle(kApplicationTitle);
    dialog.setLabelText(breakableText(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annulla"));
    // The dialog's size follows its layout, so the label carries the width.
    if (auto* label = dialog.findChild<QLabel*>()) {
        label->setWordWrap(true);
        label->setMinimumWidth(widthForTitle(dialog.windowTitle()));
    }
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

void QtPlatform::playSound(const QString& path)
{
    playEventSound(path);
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
