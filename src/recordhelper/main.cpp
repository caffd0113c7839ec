// numerella-record show | save SCORE (the clean name on standard input)
// keeps the machine's record. Root's, setgid to the group that alone may
// write it, it links only the C and C++ runtime and clears the caller's
// environment first. It answers the score file's size, a line end and both
// files' bytes; its exit status is the Outcome, 64 if refused.
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

#ifndef NUMERELLA_TEST_RECORD_FOLDER  // given to a build for the tests alone, never installed
#define NUMERELLA_TEST_RECORD_FOLDER kSharedRecordFolder
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
    RecordStore store(NUMERELLA_TEST_RECORD_FOLDER, false);
    if (argc == 2 && std::strcmp(argv[1], "show") == 0)
        return answer(store.load());
    // The name: standard input whole, read before the lock is taken.
    char name[kMaxNameBytes + 2];
    const std::size_t got = argc == 3 ? std::fread(name, 1, sizeof name, stdin) : 0;
    if (argc != 3 || std::ferror(stdin) || std::strcmp(argv[1], "save") != 0 || !isScore(argv[2])
        || !isCleanName({name, got})) {
        std::fprintf(stderr, "uso: numerella-record show | save PUNTI  (il nome sullo standard input)\n");
        return 64;
    }
    return answer(store.saveIfBetter(argv[2], {name, got}));
}
