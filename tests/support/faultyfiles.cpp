#include "faultyfiles.h"

namespace numerella::testing {

bool FaultyFiles::fails(FileOp op, const QString& path)
{
    if (failWhen && failWhen(op, path)) {
        ++failures;
        return true;
    }
    return false;
}

bool FaultyFiles::open(std::int16_t number, const QString& path, OpenMode mode)
{
    if (fails(FileOp::Open, path))
        return false;
    if (!disk_.open(number, path, mode))
        return false;
    paths_.insert(number, path);
    return true;
}

std::optional<QByteArray> FaultyFiles::read(std::int16_t number, qint64 maxBytes)
{
    if (fails(FileOp::Read, paths_.value(number)))
        return std::nullopt;
    return disk_.read(number, maxBytes);
}

bool FaultyFiles::write(std::int16_t number, QByteArrayView bytes)
{
    if (fails(FileOp::Write, paths_.value(number))) {
        // A full disk may take part of the bytes before it refuses the rest.
        disk_.write(number, bytes.first(bytes.size() / 2));
        return false;
    }
    return disk_.write(number, bytes);
}

bool FaultyFiles::sync(std::int16_t number)
{
    if (fails(FileOp::Sync, paths_.value(number)))
        return false;
    return disk_.sync(number);
}

bool FaultyFiles::close(std::int16_t number)
{
    const QString path = paths_.take(number);
    const bool ok = disk_.close(number);
    return !fails(FileOp::Close, path) && ok;
}

bool FaultyFiles::replace(const QString& from, const QString& to)
{
    if (fails(FileOp::Replace, to))
        return false;
    return disk_.replace(from, to);
}

bool FaultyFiles::remove(const QString& path)
{
    if (fails(FileOp::Remove, path))
        return false;
    return disk_.remove(path);
}

} // namespace numerella::testing
