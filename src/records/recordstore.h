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

inline constexpr const char* kSharedRecordFolder = "/var/games/numerella-del-dieci";
inline constexpr const char* kScoreFile = "tavrec10.txt";
inline constexpr const char* kNameFile = "ntavrec10.txt";
inline constexpr const char* kJournalFile = "journal";
inline constexpr const char* kLockFile = ".lock";
inline constexpr std::size_t kMaxRecordFileBytes = 64 * 1024;  // longer is not a record
inline constexpr std::size_t kMaxNameBytes = 1000;

// In this order: the values are also the helper's exit statuses. NotBetter:
// the record on disk is at least as high, nothing written; Unreadable: not a
// plain file we may read whole; Busy: another save held the lock past our
// patience; Failed: anything else (a file missing where none may be made).
enum class Outcome { Done, NotBetter, Unreadable, Busy, ReadOnly, NoSpace, NoDescriptors, Failed };

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
    // Saves when the score beats the record on disk now, read as the board
    // reads it; an equal score is not a record.
    RecordResult saveIfBetter(std::string_view score, std::string_view name);
    // For the crash tests: asked before every step that changes the disk;
    // false stops the store right there, as a kill would.
    std::function<bool()> stepGate;

private:
    std::string folder_;
    bool createMissing_;
};

// One to five digits, as many as the board can count to.
bool isScore(std::string_view text);
// Control bytes but the tab cannot stand in a one-line name.
inline bool isNameControl(char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F; }
// At most kMaxNameBytes bytes, none of them a control.
bool isCleanName(std::string_view bytes);

} // namespace numerella
