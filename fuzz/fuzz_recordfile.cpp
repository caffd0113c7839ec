// A record file holding any bytes, read the way start-up reads it and
// written back as a record line: the read never fails on a plain file
// within the size cap, gives one character per byte, and any text written
// out makes exactly one line ending in CR LF.
#include "fuzz_support.h"

#include "platform/windows1252.h"
#include "records/recordstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace numerella;
using namespace numerella::fuzz;

namespace {

// In memory where the system offers it: every record line is pushed to the
// disk with fsync, which on a real disk would slow the fuzzer a hundredfold.
const QTemporaryDir& folder()
{
    static const QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                       ? QStringLiteral("/dev/shm/numerella-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/numerella-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        std::abort();
    }
    return dir;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qsizetype surrogatePairs(const QString& text)
{
    qsizetype pairs = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
            ++pairs;
            ++i;
        }
    }
    return pairs;
}

// One line: no control bytes but the CR LF at its end.
void checkLine(const QByteArray& line, const QString& text)
{
    FUZZ_CHECK(line.endsWith("\r\n"), text);
    FUZZ_CHECK(line.count('\r') == 1 && line.count('\n') == 1, text);
    for (qsizetype i = 0; i + 2 < line.size(); ++i) {
        const auto b = static_cast<unsigned char>(line[i]);
        FUZZ_CHECK((b >= 0x20 || b == '\t') && b != 0x7F, text);
    }
    FUZZ_CHECK(line.size() == text.size() - surrogatePairs(text) + 2, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString recordPath = folder().filePath(kScoreFileName);
    writeFile(recordPath, bytes);
    writeFile(folder().filePath(kNameFileName), QByteArray());

    RecordStore store(folder().path());
    const RecordLoad loaded = store.load();
    const QString& text = loaded.pair.score;
    FUZZ_CHECK(loaded.readable == (bytes.size() <= kMaxRecordFileBytes), text);
    if (!loaded.readable)
        return 0;
    FUZZ_CHECK(loaded.problem.isEmpty() && text == fromWindows1252(bytes), text);

    const QByteArray line = recordLineBytes(text);
    checkLine(line, text);
    checkLine(recordLineBytes(utf16Text(data, size)), utf16Text(data, size));

    // Saved as the holder of a record and read back: the same line, the
    // same text but for the characters that became "?".
    writeFile(recordPath, QByteArray());
    const SaveResult saved = store.saveIfBetter(QStringLiteral("1"), text);
    FUZZ_CHECK(saved.outcome == SaveOutcome::Saved, text);
    FUZZ_CHECK(readFile(folder().filePath(kNameFileName)) == line, text);
    FUZZ_CHECK(store.load().pair.holder == fromWindows1252(line), text);
    return 0;
}
