// The record as the game sees it: the machine's, kept by the installed
// helper, or a login's own, kept in-process.
#pragma once

#include "recordstore.h"

#include <QString>

#include <memory>

namespace numerella {

class RecordKeeper {
public:
    // No helper: the login's own record in `folder` (the system's bytes).
    // A helper: the machine's record in `folder`, read and saved by it.
    explicit RecordKeeper(const QByteArray& folder, const QString& helperPath = QString())
        : helper_(helperPath), store_(folder.toStdString(), helperPath.isEmpty()) {}
    RecordResult load();
    // score: the board's digits; name: as typed.
    RecordResult save(const QString& score, const QString& name);

private:
    QString helper_;
    RecordStore store_;
};

// The one rule for a name in both modes: composed (NFC), in Windows-1252 with
// "?" for what it lacks and for controls but the tab, cut to kMaxNameBytes.
std::string recordName(const QString& typed);

// The machine's record when the helper lies beside the program with its
// setgid bit and the shared folder exists (the package); else the login's.
std::unique_ptr<RecordKeeper> makeRecordKeeper(const QString& programFolder, const QByteArray& perLoginFolder);

} // namespace numerella
