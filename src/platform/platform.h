// Everything the game asks of the desktop goes through this one interface:
// the real one talks to Qt, the tests script a fake one.
#pragma once

#include <QString>

#include <optional>

namespace numerella {

// Button sets of a message box, and what it answers.
namespace buttons {
inline constexpr int kOkOnly = 0;
inline constexpr int kYesNoQuestionNoDefault = 292;  // Yes/No, question icon, No preselected
} // namespace buttons

namespace answers {
inline constexpr int kOk = 1;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
} // namespace answers

inline const QString kApplicationTitle = QStringLiteral("Numerella del dieci");

class Platform {
public:
    virtual ~Platform() = default;

    // Modal box; with no title the application title is shown.
    virtual int messageBox(const QString& prompt, int buttonSet, const std::optional<QString>& title) = 0;
    // Modal box with OK and Cancel and an empty field; Cancel gives "".
    virtual QString inputBox(const QString& prompt) = 0;
    // Starts playing a WAV file and returns at once; silent when the file is
    // missing or cannot be played.
    virtual void playSound(const QString& path) = 0;
    // The login's own folder for the record, by the XDG base-directory rules,
    // as the system's bytes, without a trailing separator; empty when there is
    // none. It may not exist yet.
    virtual QByteArray recordFolder() = 0;
    // The folder of the program's executable, without a trailing separator.
    virtual QString programFolder() = 0;
    // Ends the program: nothing of the game runs after it.
    virtual void endProgram() = 0;
    // Uniform values in [0, 1); the same sequence from every program start
    // until the first reseed.
    virtual float nextRandom() = 0;
    virtual void reseedRandomFromClock() = 0;
    // Today's date in the system's short form.
    virtual QString shortDate() = 0;
};

} // namespace numerella
