// The two record files: the best score and the name of who made it, one
// line each, ending in CR LF, in the Windows-1252 code page.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace numerella {

class FileService;

#ifdef Q_OS_WIN
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// The real files hold a few bytes; anything longer is cut here, so a huge or
// binary file cannot stall start-up.
inline constexpr qint64 kMaxRecordFileBytes = 64 * 1024;

// The folder with exactly one separator at its end.
QString withTrailingSeparator(const QString& folder);

// The folder followed by the separator and the file name, joined as they are.
QString scoreFilePath(const QString& cartella);
QString nameFilePath(const QString& cartella);

// Where a save writes the new content before it replaces the file.
QString pendingPath(const QString& recordPath);

// Opens the file for appending and closes it: a missing file then exists,
// empty; an existing one is left as it was.
bool createIfMissing(FileService& files, std::int16_t number, const QString& path);

// The whole text of a file (at most kMaxRecordFileBytes), line ends kept;
// no value when it cannot be opened or read.
std::optional<QString> readWholeText(FileService& files, std::int16_t number, const QString& path);

// The bytes of a record line: the text in Windows-1252, control characters
// (line ends included) as "?", so the file keeps its one-line form; then CR LF.
QByteArray recordLineBytes(QStringView text);

// Writes one record line into a new file and pushes it to the disk.
bool writeRecordLine(FileService& files, std::int16_t number, const QString& path, QStringView text);

// Puts both pending files in place, the score first. Refuses, changing
// nothing, when a folder stands where either record file belongs.
bool commitPendingRecord(FileService& files, const QString& scorePath, const QString& namePath);
void discardPendingRecord(FileService& files, const QString& scorePath, const QString& namePath);

// Completes or undoes a save that was cut short. A pending score file means
// the save stopped before its first replace: both new files are dropped.
// A pending name file alone means the score was already replaced: the name
// follows it, so score and holder always belong together.
void finishInterruptedSave(FileService& files, const QString& scorePath, const QString& namePath);

} // namespace numerella
