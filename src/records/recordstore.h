// The record on disk: the best score and the name of who made it, in two
// one-line files of a folder. This is the only code that touches them.
//
// Every copy of the game, and the shared record's helper, goes through here:
// readers take a shared lock, a save takes the exclusive one, compares with
// the record on disk at that moment and puts two complete, flushed new files
// in place; a save cut short is completed or undone by whoever comes next.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

namespace numerella {

inline const QString kScoreFileName = QStringLiteral("tavrec10.txt");
inline const QString kNameFileName = QStringLiteral("ntavrec10.txt");

// The real files hold a few bytes; a longer one is not a record.
inline constexpr qint64 kMaxRecordFileBytes = 64 * 1024;

// The two files' texts as read, line ends kept (the board shows them as
// they are).
struct RecordPair {
    QString score;
    QString holder;
};

struct RecordLoad {
    RecordPair pair;
    // False when a record file is there but could not be read whole (no
    // permission, too big, not a plain file, a link): a save then refuses.
    bool readable = true;
    // One Italian sentence for a box; empty when all went well.
    QString problem;
};

// In this order: the values are also the record helper's exit statuses.
enum class SaveOutcome {
    Saved,       // this save's own files are in place
    NotBetter,   // the record on disk is at least as high; nothing written
    Unreadable,  // the record on disk cannot be read; nothing written
    Failed,      // the old record stays (or a cut save is completed later)
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Failed;
    QString problem;    // Italian, for a box; empty when saved or not better
    RecordPair onDisk;  // the record as it stands after the call
};

class RecordStore {
public:
    explicit RecordStore(QString folder);

    // Reads the pair under the shared lock. Missing files are created empty
    // when the folder allows it; a save cut short is completed or undone
    // first, under the exclusive lock.
    RecordLoad load();

    // Under the exclusive lock, saves score and name when the score (read
    // the forgiving way the board is read) is strictly greater than the
    // record on disk now: an equal score is not a record.
    SaveResult saveIfBetter(const QString& score, const QString& name);

    QString folder() const { return folder_; }

    // For the crash tests: asked before every step that changes the disk;
    // answering false stops the store right there, as a killed program
    // would stop, with nothing cleaned up.
    void setStepGate(std::function<bool()> gate) { stepGate_ = std::move(gate); }

private:
    class Session;

    QString folder_;
    std::function<bool()> stepGate_;
};

// The bytes of a record line: the text in Windows-1252, then CR LF. Line
// breaks and other control characters (a tab excepted, it keeps the line
// whole) and characters the code page lacks become "?".
QByteArray recordLineBytes(QStringView text);

} // namespace numerella
