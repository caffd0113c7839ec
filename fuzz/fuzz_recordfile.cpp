// Any bytes as the score file, read as start-up and the board read them, then
// saved back as a holder's name: a plain file within the size cap always reads,
// one character a byte; the name is one line ending in CR LF, no other control.
#include "platform/conversions.h"
#include "records/recordstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>

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
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    write(dir.filePath(kScoreFileName), bytes);
    write(dir.filePath(kNameFileName), QByteArray());

    RecordStore store(dir.path());
    const RecordLoad loaded = store.load();
    check(loaded.readable == (bytes.size() <= kMaxRecordFileBytes));
    if (!loaded.readable)
        return 0;
    const QString text = loaded.pair.score;
    const double value = parseNumber(text);
    const std::optional<double> whole = toDoubleStrict(text);
    check(text.size() == bytes.size() && loaded.problem.isEmpty());
    check(!whole || *whole == value || (std::isnan(*whole) && std::isnan(value)));

    write(dir.filePath(kScoreFileName), QByteArray());
    check(store.saveIfBetter(QStringLiteral("1"), text).outcome == SaveOutcome::Saved);
    const QString line = store.load().pair.holder;
    check(line.size() == text.size() + 2 && line.endsWith(u"\r\n"));
    for (qsizetype i = 0; i + 2 < line.size(); ++i)
        check((line[i] >= u' ' || line[i] == u'\t') && line[i] != u'\x7f');
    return 0;
}
