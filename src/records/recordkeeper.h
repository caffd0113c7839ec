// The record as the game sees it: read at start-up, saved at the end, kept
// for the whole machine by the installed helper or for one login in-process.
#pragma once

#include "recordstore.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace numerella {

inline const QString kSharedRecordFolder = QStringLiteral("/var/games/numerella-del-dieci");
inline const QString kRecordHelperName = QStringLiteral("numerella-record");

class RecordKeeper {
public:
    virtual ~RecordKeeper() = default;
    virtual RecordResult load() = 0;
    // score: the board's digits; name: as typed (cleaned here).
    virtual RecordResult save(const QString& score, const QString& name) = 0;
    // The folder that holds the record, for the teacher's messages.
    virtual QString where() const = 0;
};

// The one rule for a name in both modes: composed (NFC), in Windows-1252
// with "?" for what it lacks and for control characters but the tab, cut
// to kMaxNameBytes.
std::string recordName(const QString& typed);

// A login's own record, in-process, in the folder given as raw bytes.
std::unique_ptr<RecordKeeper> perLoginRecords(const QByteArray& folder);
// The machine's record, read and saved by running the helper.
std::unique_ptr<RecordKeeper> sharedRecords(const QString& helperPath, const QString& folder = kSharedRecordFolder);

// Shared when the helper lies beside the program with its setgid bit and
// the shared folder exists (an installed package); per login otherwise.
std::unique_ptr<RecordKeeper> makeRecordKeeper(const QString& programFolder, const QByteArray& perLoginFolder);

} // namespace numerella
