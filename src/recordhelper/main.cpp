// numerella-record: keeps the machine's record on the players' behalf.
//   numerella-record show          prints the record
//   numerella-record save SCORE    the name, already clean, on standard input
// Root's and setgid to the group that alone may open the record's files, it
// links the C and C++ runtime only, clears the caller's environment first and
// works in its compiled-in folder. It answers the score file's size, a line
// end and both files' bytes; its exit status is the Outcome, 64 if refused.
#include "records/recordstore.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

using namespace numerella;

#ifdef NUMERELLA_TEST_RECORD_FOLDER
constexpr const char* kFolder = NUMERELLA_TEST_RECORD_FOLDER;  // a build for the tests, never installed
#else
constexpr const char* kFolder = "/var/games/numerella-del-dieci";
#endif

static int answer(const RecordResult& result)
{
    const std::string said = std::to_string(result.pair.score.size()) + '\n' + result.pair.score + result.pair.name;
    std::fwrite(said.data(), 1, said.size(), stdout);
    if (!result.detail.empty())
        std::fprintf(stderr, "numerella-record: %s\n", result.detail.c_str());
    return std::fflush(stdout) == 0 ? int(result.outcome) : int(Outcome::Failed);
}

int main(int argc, char* argv[])
{
    ::clearenv();
    ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
    std::signal(SIGXFSZ, SIG_IGN);  // a tiny file-size limit fails a write, cleanly
    // Descriptors 0 to 2 stay taken, so no record file stands in for one.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && ::open("/dev/null", O_RDWR) != fd)
            return 64;
    }
    RecordStore store(kFolder, false);
    if (argc == 2 && std::strcmp(argv[1], "show") == 0)
        return answer(store.load());
    // The name: standard input whole, never waited for under the lock.
    std::string name;
    char buffer[512];
    for (ssize_t n = 1; argc == 3 && n != 0 && name.size() <= kMaxNameBytes;) {
        if ((n = ::read(STDIN_FILENO, buffer, sizeof buffer)) < 0 && errno != EINTR)
            return 64;
        name.append(buffer, n > 0 ? std::size_t(n) : 0);
    }
    if (argc != 3 || std::strcmp(argv[1], "save") != 0 || !isScore(argv[2]) || !isCleanName(name)) {
        std::fprintf(stderr, "uso: numerella-record show | save PUNTI  (il nome sullo standard input)\n");
        return 64;
    }
    return answer(store.saveIfBetter(argv[2], name));
}
