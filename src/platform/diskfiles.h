// FileService on the real file system.
#pragma once

#include "fileservice.h"

#include <QFile>

#include <map>
#include <memory>

namespace numerella {

class DiskFiles final : public FileService {
public:
    static constexpr std::int16_t kHighestNumber = 511;

    std::int16_t freeFile() override;
    bool open(std::int16_t number, const QString& path, OpenMode mode) override;
    std::optional<QByteArray> read(std::int16_t number, qint64 maxBytes) override;
    bool write(std::int16_t number, QByteArrayView bytes) override;
    bool sync(std::int16_t number) override;
    bool close(std::int16_t number) override;
    bool replace(const QString& from, const QString& to) override;
    bool remove(const QString& path) override;
    bool isFile(const QString& path) override;
    bool isFolder(const QString& path) override;

private:
    QFile* fileFor(std::int16_t number) const;

    std::map<std::int16_t, std::unique_ptr<QFile>> open_;
};

} // namespace numerella
