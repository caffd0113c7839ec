// Text files opened by number, the way the game's record code uses them:
// take the next free number, open a path under it, use it, close it.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace numerella {

enum class OpenMode {
    Input,   // the file must exist; reading starts at its first byte
    Output,  // creates the file, or empties an existing one
    Append,  // creates a missing file, leaves an existing one unchanged
};

class FileService {
public:
    virtual ~FileService() = default;

    // The lowest number not in use, or 0 when every number is taken.
    virtual std::int16_t freeFile() = 0;
    virtual bool open(std::int16_t number, const QString& path, OpenMode mode) = 0;
    // Reads from the start of the file, at most maxBytes.
    virtual std::optional<QByteArray> read(std::int16_t number, qint64 maxBytes) = 0;
    virtual bool write(std::int16_t number, QByteArrayView bytes) = 0;
    // Pushes what was written through to the disk.
    virtual bool sync(std::int16_t number) = 0;
    virtual bool close(std::int16_t number) = 0;

    // Puts `from` in the place of `to` in one step, so a reader sees either
    // the old file or the new one, and makes the change durable.
    virtual bool replace(const QString& from, const QString& to) = 0;
    virtual bool remove(const QString& path) = 0;
    virtual bool isFile(const QString& path) = 0;
    virtual bool isFolder(const QString& path) = 0;
};

} // namespace numerella
