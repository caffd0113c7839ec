// The record as the game sees it: read at start-up, saved at the end, kept
// either for the whole machine or for one login.
#pragma once

#include "recordstore.h"

#include <QString>

#include <memory>

namespace numerella {

// Where the package keeps the machine's record, writable by the helper's
// user alone.
inline const QString kSharedRecordFolder = QStringLiteral("/var/games/numerella-del-dieci");
// The setuid helper that alone may write there, installed beside the game.
inline const QString kRecordHelperName = QStringLiteral("numerella-record");

// The helper's command line is `numerella-record save SCORE` with the name
// on standard input; its exit status says what became of the save.
namespace helper {
// Exit statuses 0..3 are the SaveOutcome itself, so both ends read one table.
inline constexpr int exitStatusFor(SaveOutcome outcome) { return static_cast<int>(outcome); }
inline constexpr int kFailed = exitStatusFor(SaveOutcome::Failed);
inline constexpr int kBadInput = kFailed + 1;
inline constexpr int kMaxScoreDigits = 5;
inline constexpr int kMaxNameLength = 1000;
} // namespace helper

class RecordKeeper {
public:
    virtual ~RecordKeeper() = default;
    virtual RecordLoad load() = 0;
    virtual SaveResult save(const QString& score, const QString& name) = 0;
    // The folder that holds the record, for messages.
    virtual QString where() const = 0;
};

// The record of one login, in that login's data folder.
class PerLoginRecords final : public RecordKeeper {
public:
    explicit PerLoginRecords(const QString& folder);
    RecordLoad load() override;
    SaveResult save(const QString& score, const QString& name) override;
    QString where() const override { return store_.folder(); }

private:
    RecordStore store_;
};

// The machine's record: read here, under the shared lock like any reader;
// saved by the helper, which alone may write the folder.
class SharedRecords final : public RecordKeeper {
public:
    SharedRecords(QString helperPath, const QString& folder);
    RecordLoad load() override;
    SaveResult save(const QString& score, const QString& name) override;
    QString where() const override { return store_.folder(); }

private:
    QString helperPath_;
    RecordStore store_;
};

// Shared when the helper lies beside the program with its set-id bit and
// the shared folder exists (an installed package); per login otherwise (a
// build tree, or a copy without the package).
std::unique_ptr<RecordKeeper> makeRecordKeeper(const QString& programFolder, const QString& perLoginFolder,
                                               const QString& sharedFolder = kSharedRecordFolder);

} // namespace numerella
