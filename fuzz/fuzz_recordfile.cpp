// Any bytes as the score file, read as start-up reads them: a plain file
// within the size cap always reads whole, and the store's number is the
// board's. Then the bytes as a typed name: the game's one name rule gives
// a line the helper accepts, saved as one line ending in CR LF.
#include "platform/conversions.h"
#include "platform/windows1252.h"
#include "records/recordkeeper.h"

#include <QDir>
#include <QTemporaryDir>

using namespace numerella;

// An abort keeps the input, and the stack names the failed line.
static void check(bool ok) { if (!ok) std::abort(); }

static void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // In memory where possible: every save is flushed with fsync.
    static const QTemporaryDir dir((QFile::exists("/dev/shm") ? QStringLiteral("/dev/shm") : QDir::tempPath())
                                   + QStringLiteral("/numerella-fuzz-XXXXXX"));
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    write(dir.filePath(kScoreFile), QByteArray::fromStdString(bytes));
    write(dir.filePath(kNameFile), QByteArray());

    RecordStore store(QFile::encodeName(dir.path()).toStdString(), true);
    const RecordResult loaded = store.load();
    check((loaded.outcome == Outcome::Done) == (size <= kMaxRecordFileBytes));
    if (loaded.outcome != Outcome::Done)
        return 0;
    check(loaded.pair.score == bytes);
    const QString text = fromWindows1252(QByteArray::fromStdString(bytes));
    check(recordValue(bytes) == parseNumber(text));

    const std::string name = recordName(text);
    check(isCleanName(name) && name.size() == std::min(std::size_t(text.size()), kMaxNameBytes));
    write(dir.filePath(kScoreFile), QByteArray());
    check(store.saveIfBetter("1", name).outcome == Outcome::Done);
    check(store.load().pair.name == name + "\r\n");
    return 0;
}
