// A record file holding any bytes, read through the record store as the
// game's start-up reads it, its number read as the board reads it, then
// saved back as a holder's name: the read never fails on a plain file within
// the size cap and gives one character per byte, and the name written is
// exactly one line ending in CR LF with no other control byte.
#include "platform/conversions.h"
#include "records/recordstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace numerella;

#define CHECK(condition)                                                   \
    do {                                                                   \
        if (!(condition)) {                                                \
            std::fprintf(stderr, "fuzz check failed: %s\n", #condition);   \
            std::abort();                                                  \
        }                                                                  \
    } while (false)

static void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // In memory where possible: every save is flushed with fsync.
    static const QTemporaryDir dir((QFile::exists("/dev/shm") ? QStringLiteral("/dev/shm") : QDir::tempPath())
                                     + QStringLiteral("/numerella-fuzz-XXXXXX"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    write(dir.filePath(kScoreFileName), bytes);
    write(dir.filePath(kNameFileName), QByteArray());

    RecordStore store(dir.path());
    const RecordLoad loaded = store.load();
    CHECK(loaded.readable == (bytes.size() <= kMaxRecordFileBytes));
    if (!loaded.readable)
        return 0;
    const QString text = loaded.pair.score;
    CHECK(text.size() == bytes.size() && loaded.problem.isEmpty());
    const double value = parseNumber(text);
    const std::optional<double> whole = toDoubleStrict(text);
    CHECK(!whole || *whole == value || (std::isnan(*whole) && std::isnan(value)));

    write(dir.filePath(kScoreFileName), QByteArray());
    CHECK(store.saveIfBetter(QStringLiteral("1"), text).outcome == SaveOutcome::Saved);
    QFile name(dir.filePath(kNameFileName));
    CHECK(name.open(QIODevice::ReadOnly));
    const QByteArray line = name.readAll();
    CHECK(line.size() == bytes.size() + 2 && line.endsWith("\r\n"));
    for (qsizetype i = 0; i + 2 < line.size(); ++i)
        CHECK((static_cast<unsigned char>(line[i]) >= 0x20 || line[i] == '\t') && line[i] != 0x7F);
    return 0;
}
