#include "recordfiles.h"

#include "platform/fileservice.h"
#include "platform/windows1252.h"

namespace numerella {

QString withTrailingSeparator(const QString& folder)
{
    if (folder.endsWith(kPathSeparator))
        return folder;
    return folder + kPathSeparator;
}

QString scoreFilePath(const QString& cartella)
{
    return cartella + kPathSeparator + QStringLiteral("tavrec10.txt");
}

QString nameFilePath(const QString& cartella)
{
    return cartella + kPathSeparator + QStringLiteral("ntavrec10.txt");
}

QString pendingPath(const QString& recordPath)
{
    return recordPath + QStringLiteral(".nuovo");
}

bool createIfMissing(FileService& files, std::int16_t number, const QString& path)
{
    if (!files.open(number, path, OpenMode::Append))
        return false;
    return files.close(number);
}

std::optional<QString> readWholeText(FileService& files, std::int16_t number, const QString& path)
{
    if (!files.open(number, path, OpenMode::Input))
        return std::nullopt;
    const std::optional<QByteArray> bytes = files.read(number, kMaxRecordFileBytes);
    files.close(number);
    if (!bytes)
        return std::nullopt;
    return fromWindows1252(*bytes);
}

QByteArray recordLineBytes(QStringView text)
{
    QByteArray bytes = toWindows1252(text);
    for (char& b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u < 0x20 || u == 0x7F)
            b = '?';
    }
    bytes.append("\r\n");
    return bytes;
}

bool writeRecordLine(FileService& files, std::int16_t number, const QString& path, QStringView text)
{
    if (!files.open(number, path, OpenMode::Output))
        return false;
    const bool written = files.write(number, recordLineBytes(text)) && files.sync(number);
    const bool closed = files.close(number);
    return written && closed;
}

bool commitPendingRecord(FileService& files, const QString& scorePath, const QString& namePath)
{
    // A folder standing where a record file belongs could never be replaced:
    // find that out before the score changes, not after.
    if (files.isFolder(scorePath) || files.isFolder(namePath))
        return false;
    if (!files.replace(pendingPath(scorePath), scorePath))
        return false;
    // From here the new score is in place; should the second step fail, the
    // next start brings the name in line with it.
    return files.replace(pendingPath(namePath), namePath);
}

void discardPendingRecord(FileService& files, const QString& scorePath, const QString& namePath)
{
    // The name goes first: a pending name left alone would be taken, at the
    // next start, for the second half of a save whose score is in place.
    if (files.remove(pendingPath(namePath)) || !files.isFile(pendingPath(namePath)))
        files.remove(pendingPath(scorePath));
}

void finishInterruptedSave(FileService& files, const QString& scorePath, const QString& namePath)
{
    const QString pendingScore = pendingPath(scorePath);
    const QString pendingName = pendingPath(namePath);
    if (files.isFile(pendingScore)) {
        discardPendingRecord(files, scorePath, namePath);
    } else if (files.isFile(pendingName)) {
        if (!files.replace(pendingName, namePath))
            files.remove(pendingName);
    }
}

} // namespace numerella
