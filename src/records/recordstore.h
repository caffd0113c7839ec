// The record on disk: the best score and its holder, two one-line files of a
// folder. Plain C++ on POSIX calls, shared by the game (a login's own record)
// and the setgid helper (the machine's record, linking nothing else).
// A save rewrites both in place under an exclusive lock on `.lock`, after the
// new pair is flushed to `journal`; emptied at the end, a whole journal tells
// whoever comes next to complete the save. Readers never see a mixed pair.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace numerella {

inline constexpr const char* kScoreFile = "tavrec10.txt";
inline constexpr const char* kNameFile = "ntavrec10.txt";
inline constexpr const char* kJournalFile = "journal";
inline constexpr const char* kLockFile = ".lock";
inline constexpr std::size_t kMaxRecordFileBytes = 64 * 1024;  // longer is not a record
inline constexpr std::size_t kMaxNameBytes = 1000;
inline constexpr std::size_t kMaxScoreDigits = 5;

// In this order: the values are also the helper's exit statuses.
enum class Outcome {
    Done,           // read, or this save's pair is the record now
    NotBetter,      // the record on disk is at least as high; nothing written
    Unreadable,     // a record file is not a plain file we may read whole
    Busy,           // another save held the lock past our patience
    ReadOnly,       // no permission, or a read-only disk
    NoSpace,        // disk or quota full
    NoDescriptors,  // too many open files
    Failed,         // anything else (a file missing where none may be made)
};

// The files' bytes (Windows-1252), line ends kept; empty: no record yet.
struct RecordPair { std::string score, name; };

struct RecordResult {
    Outcome outcome = Outcome::Failed;
    RecordPair pair;     // the record as it stands after the call
    std::string detail;  // for the teacher: the file and the system's reason
};

class RecordStore {
public:
    // A login's own store makes its folder and missing files; the shared one
    // never creates anything, so every file keeps the package's owner.
    RecordStore(std::string folder, bool createMissing) : folder_(std::move(folder)), createMissing_(createMissing) {}

    RecordResult load();
    // Saves when the score (isScore) beats the record on disk now; an equal
    // score is not a record. The name: isCleanName, no line end.
    RecordResult saveIfBetter(std::string_view score, std::string_view name);

    // For the crash tests: asked before every step that changes the disk;
    // false stops the store right there, as a kill would.
    std::function<bool()> stepGate;

private:
    std::string folder_;
    bool createMissing_;
};

bool isScore(std::string_view text);
// At most kMaxNameBytes bytes and no control byte but the tab.
bool isCleanName(std::string_view bytes);
// A record file's number, read the forgiving way the board reads captions.
double recordValue(std::string_view bytes);

} // namespace numerella
