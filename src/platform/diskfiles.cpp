#include "diskfiles.h"

#include <QFileInfo>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace numerella {

namespace {

#ifdef Q_OS_UNIX
// After a rename the directory entry itself must reach the disk too.
void syncFolderOf(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

} // namespace

std::int16_t DiskFiles::freeFile()
{
    for (std::int16_t n = 1; n <= kHighestNumber; ++n) {
        if (open_.find(n) == open_.end())
            return n;
    }
    return 0;
}

bool DiskFiles::open(std::int16_t number, const QString& path, OpenMode mode)
{
    if (number <= 0 || open_.count(number) != 0)
        return false;
    // Opening a folder for reading succeeds on some systems; it is never a record.
    if (QFileInfo(path).isDir())
        return false;
    auto file = std::make_unique<QFile>(path);
    QIODevice::OpenMode flags;
    switch (mode) {
    case OpenMode::Input:
        flags = QIODevice::ReadOnly;
        break;
    case OpenMode::Output:
        flags = QIODevice::WriteOnly | QIODevice::Truncate;
        break;
    case OpenMode::Append:
        flags = QIODevice::WriteOnly | QIODevice::Append;
        break;
    }
    if (!file->open(flags))
        return false;
    open_[number] = std::move(file);
    return true;
}

QFile* DiskFiles::fileFor(std::int16_t number) const
{
    const auto it = open_.find(number);
    return it == open_.end() ? nullptr : it->second.get();
}

std::optional<QByteArray> DiskFiles::read(std::int16_t number, qint64 maxBytes)
{
    QFile* file = fileFor(number);
    if (!file || !file->isReadable() || !file->seek(0))
        return std::nullopt;
    QByteArray bytes = file->read(maxBytes);
    if (bytes.isNull() && file->error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool DiskFiles::write(std::int16_t number, QByteArrayView bytes)
{
    QFile* file = fileFor(number);
    return file && file->isWritable() && file->write(bytes.data(), bytes.size()) == bytes.size();
}

bool DiskFiles::sync(std::int16_t number)
{
    QFile* file = fileFor(number);
    if (!file || !file->flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(file->handle()) == 0;
#else
    return true;
#endif
}

bool DiskFiles::close(std::int16_t number)
{
    const auto it = open_.find(number);
    if (it == open_.end())
        return false;
    QFile* file = it->second.get();
    bool ok = true;
    if (file->isWritable())
        ok = file->flush();
    file->close();
    ok = ok && file->error() == QFileDevice::NoError;
    open_.erase(it);
    return ok;
}

bool DiskFiles::replace(const QString& from, const QString& to)
{
    if (QFileInfo(to).isDir())
        return false;
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()), reinterpret_cast<const wchar_t*>(to.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
           != 0;
#else
    // rename() replaces the target in one step: a reader sees old or new.
    const bool ok = std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
    if (ok)
        syncFolderOf(to);
    return ok;
#endif
}

bool DiskFiles::remove(const QString& path)
{
    return QFile::remove(path);
}

bool DiskFiles::isFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

bool DiskFiles::isFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

} // namespace numerella
