// A file service on the real disk that fails chosen operations, so tests can
// provoke a full disk or a vanished folder even when running as root.
#pragma once

#include "platform/diskfiles.h"

#include <QHash>

#include <functional>

namespace numerella::testing {

enum class FileOp { Open, Read, Write, Sync, Close, Replace, Remove };

class FaultyFiles final : public FileService {
public:
    // Returns true for an operation (on the given path) that must fail.
    std::function<bool(FileOp, const QString& path)> failWhen;
    int failures = 0;

    std::int16_t freeFile() override { return disk_.freeFile(); }
    bool open(std::int16_t number, const QString& path, OpenMode mode) override;
    std::optional<QByteArray> read(std::int16_t number, qint64 maxBytes) override;
    bool write(std::int16_t number, QByteArrayView bytes) override;
    bool sync(std::int16_t number) override;
    bool close(std::int16_t number) override;
    bool replace(const QString& from, const QString& to) override;
    bool remove(const QString& path) override;
    bool isFile(const QString& path) override { return disk_.isFile(path); }
    bool isFolder(const QString& path) override { return disk_.isFolder(path); }

private:
    bool fails(FileOp op, const QString& path);

    DiskFiles disk_;
    QHash<std::int16_t, QString> paths_;
};

} // namespace numerella::testing
