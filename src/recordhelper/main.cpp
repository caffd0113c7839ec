// numerella-record: keeps the machine's record on the players' behalf.
//
//   numerella-record show          prints the record
//   numerella-record save SCORE    the name, already clean, on standard input
//
// Installed root-owned and setgid to the group that alone may open the
// record's files. It links the C and C++ runtime only, clears the caller's
// environment first, takes nothing but the command, a score of 1 to 5 digits
// and one clean name line of at most 1,000 bytes, and always works in its
// compiled-in folder. Standard output: "SCORE-BYTES NAME-BYTES\n" and the two
// files' bytes. Exit status: the Outcome, or 64 for a refused call.
#include "records/recordstore.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace numerella;

namespace {

#ifdef NUMERELLA_TEST_RECORD_FOLDER
// A build for the tests only, never installed: a folder of the build tree.
constexpr const char* kFolder = NUMERELLA_TEST_RECORD_FOLDER;
#else
constexpr const char* kFolder = "/var/games/numerella-del-dieci";
#endif
constexpr int kRefused = 64;

// Standard input whole, or "" with `ok` false past the longest name.
std::string readInput(bool& ok)
{
    std::string bytes;
    char buffer[512];
    for (ssize_t n; (n = ::read(STDIN_FILENO, buffer, sizeof buffer)) != 0 && bytes.size() <= kMaxNameBytes;) {
        if (n < 0 && errno != EINTR)
            break;
        bytes.append(buffer, n > 0 ? std::size_t(n) : 0);
    }
    ok = bytes.size() <= kMaxNameBytes;
    return bytes;
}

int answer(const RecordResult& result)
{
    std::printf("%zu %zu\n", result.pair.score.size(), result.pair.name.size());
    std::fwrite(result.pair.score.data(), 1, result.pair.score.size(), stdout);
    std::fwrite(result.pair.name.data(), 1, result.pair.name.size(), stdout);
    if (!result.detail.empty())
        std::fprintf(stderr, "numerella-record: %s\n", result.detail.c_str());
    return std::fflush(stdout) == 0 ? int(result.outcome) : int(Outcome::Failed);
}

} // namespace

int main(int argc, char* argv[])
{
    ::clearenv();
    ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
    ::umask(077);
    std::signal(SIGXFSZ, SIG_IGN);  // a tiny file-size limit fails a write, cleanly
    std::signal(SIGPIPE, SIG_IGN);
    // Descriptors 0 to 2 stay taken, so no record file can stand in for an
    // output the caller closed.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", O_RDWR) != fd)
            return kRefused;
    }

    RecordStore store(kFolder, false);
    if (argc == 2 && std::strcmp(argv[1], "show") == 0)
        return answer(store.load());
    bool ok = false;
    const std::string name = argc == 3 && std::strcmp(argv[1], "save") == 0 && isScore(argv[2]) ? readInput(ok) : "";
    if (!ok || !isCleanName(name)) {
        std::fprintf(stderr, "uso: numerella-record show | save PUNTI  (il nome sullo standard input)\n");
        return kRefused;
    }
    return answer(store.saveIfBetter(argv[2], name));
}
