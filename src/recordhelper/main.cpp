// numerella-record: saves a new record into the machine's shared record.
//
//   numerella-record save SCORE     (the player's name on standard input)
//
// Installed beside the game, setuid to the record's own system user
// (_numerella), it is the only program that may write the shared folder: the
// files it puts there belong to that user, never to the player who saved. SCORE is 1 to 5 decimal digits; the name is UTF-8,
// one line, at most 1,000 characters, and comes on standard input so that
// no other user sees it in the process list and no argument quoting can
// change it. It always works in its compiled-in folder, never in one given
// by the caller. Exit status: 0 saved, 1 not better than the record on disk,
// 2 the record there cannot be read, 3 the save failed, 4 bad input. A
// sentence for the player, when there is one, goes to standard output.
#include "records/recordkeeper.h"
#include "records/recordstore.h"

#include <QStringDecoder>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace numerella;

namespace {

#ifdef NUMERELLA_TEST_RECORD_FOLDER
// A build for the tests only, never installed: same code, a folder of the
// build tree.
const QString kFolder = QStringLiteral(NUMERELLA_TEST_RECORD_FOLDER);
#else
const QString kFolder = kSharedRecordFolder;
#endif

// Descriptors 0 to 2 stay taken, so no file opened here can stand in for
// the output a caller closed.
void keepStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", O_RDWR) != fd)
            std::_Exit(helper::kFailed);
    }
}

bool isScore(const char* text)
{
    const std::size_t length = std::strlen(text);
    if (length == 0 || length > std::size_t(helper::kMaxScoreDigits))
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

// The whole of standard input as a name, or no value when it is too long,
// not UTF-8, or more than one line.
std::optional<QString> readName()
{
    constexpr qsizetype kMaxBytes = helper::kMaxNameLength * 4;
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        bytes.append(buffer, n);
        if (bytes.size() > kMaxBytes)
            return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString name = utf8.decode(bytes);
    if (utf8.hasError() || name.size() > helper::kMaxNameLength || name.contains(u'\r') || name.contains(u'\n'))
        return std::nullopt;
    return name;
}

void say(const QString& sentence)
{
    if (!sentence.isEmpty())
        std::printf("%s\n", sentence.toUtf8().constData());
}

} // namespace

int main(int argc, char* argv[])
{
    // Nothing of the caller's environment reaches the code that runs as the
    // record's user: no locale, no library or plug-in paths. Players read the
    // files; only this user writes them.
    ::clearenv();
    ::umask(022);
    std::signal(SIGXFSZ, SIG_IGN);  // a tiny file-size limit fails a write, cleanly
    keepStandardDescriptors();

    if (argc != 3 || std::strcmp(argv[1], "save") != 0 || !isScore(argv[2])) {
        std::fprintf(stderr, "uso: numerella-record save PUNTI  (il nome sullo standard input)\n");
        return helper::kBadInput;
    }
    const std::optional<QString> name = readName();
    if (!name) {
        std::fprintf(stderr, "numerella-record: il nome deve essere una riga UTF-8 di al massimo %d caratteri\n",
                     helper::kMaxNameLength);
        return helper::kBadInput;
    }

    RecordStore store(kFolder);
    const SaveResult result = store.saveIfBetter(QString::fromLatin1(argv[2]), *name);
    say(result.problem);
    return helper::exitStatusFor(result.outcome);
}
