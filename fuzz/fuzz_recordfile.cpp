// Any bytes as the score file: a plain file within the size cap reads whole. Then the bytes as a typed name: the
// one name rule gives a line the helper accepts, saved as one line ending in CR LF.
#include "platform/windows1252.h"
#include "records/recordkeeper.h"

#include <QDir>
#include <QTemporaryDir>

#include <fstream>

using namespace numerella;

static void check(bool ok) { if (!ok) std::abort(); }  // keeps the input; the stack names the check

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // In memory where possible: every save is flushed with fsync.
    static const QTemporaryDir dir((QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath())
                                   + "/numerella-fuzz-XXXXXX");
    const std::string folder = QFile::encodeName(dir.path()).toStdString(), bytes(data, data + size);
    std::ofstream(folder + '/' + kScoreFile, std::ios::binary | std::ios::trunc) << bytes;
    std::ofstream(folder + '/' + kNameFile, std::ios::trunc);
    RecordStore store(folder, true);
    const RecordResult loaded = store.load();
    check((loaded.outcome == Outcome::Done) == (size <= kMaxRecordFileBytes));
    check(loaded.outcome != Outcome::Done || loaded.pair.score == bytes);
    const std::string name = recordName(fromWindows1252(QByteArray::fromStdString(bytes)));
    check(isCleanName(name) && name.size() == std::min(size, kMaxNameBytes));
    std::ofstream(folder + '/' + kScoreFile, std::ios::trunc);
    check(store.saveIfBetter("1", name).outcome == Outcome::Done && store.load().pair.name == name + "\r\n");
    return 0;
}
