#include "recordstore.h"

#include "platform/numberscan.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace numerella {

namespace {

// A save holds the lock for a few small writes; one that holds it longer is
// stuck or stopped, and a child must not wait for it.
constexpr long kLockPatienceMs = 2000;

struct Failure { Outcome outcome; std::string detail; };
struct Fd { int fd; ~Fd() { if (fd >= 0) ::close(fd); } };

bool writeAll(int fd, std::string_view bytes)
{
    for (ssize_t n = 0; !bytes.empty(); bytes.remove_prefix(n > 0 ? std::size_t(n) : 0)) {
        if ((n = ::write(fd, bytes.data(), bytes.size())) <= 0 && errno != EINTR)
            return false;
    }
    return true;
}

// The pair a whole journal holds: a score line and a name line, nothing
// after. Neither holds a CR or LF, so no cut journal looks whole.
std::optional<RecordPair> journalPair(std::string_view journal)
{
    const std::size_t scoreEnd = journal.find("\r\n"), nameEnd = journal.find("\r\n", scoreEnd + 2);
    if (nameEnd == std::string_view::npos || nameEnd + 2 != journal.size()
        || !isScore(journal.substr(0, scoreEnd)) || !isCleanName(journal.substr(scoreEnd + 2, nameEnd - scoreEnd - 2)))
        return std::nullopt;
    return RecordPair{std::string(journal.substr(0, scoreEnd + 2)), std::string(journal.substr(scoreEnd + 2))};
}

// One load or one save: the open folder, the lock, and the steps on them.
class Session {
public:
    // Locked when the lock file exists or may be made (for writing where it
    // may be: NFS locks need it); without it a load reads, a save fails.
    Session(const std::string& folder, bool create, const std::function<bool()>& gate, bool saving)
        : folder_(folder), create_(create ? O_CREAT : 0), gate_(gate)
    {
        // Made 0700 like the XDG base folders, from the bytes as given.
        for (std::size_t slash = 0; create && slash != std::string::npos;) {
            slash = folder_.find('/', slash + 1);
            if (::mkdir(folder_.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST)
                fail(errno, "");
        }
        if ((dir_.fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) < 0)
            fail(errno, "");
        if ((lock_.fd = open(kLockFile, O_RDWR | create_)) < 0 && saving)
            fail(errno, kLockFile);
        // Never a blocking wait: a stopped holder must not stop us.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockPatienceMs);
        for (; lock_.fd >= 0 && ::flock(lock_.fd, LOCK_EX | LOCK_NB) != 0; ::usleep(2000)) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                fail(errno, kLockFile);
            if (std::chrono::steady_clock::now() > deadline)
                throw Failure{Outcome::Busy, path(kLockFile) + ": held by another save"};
        }
    }

    // The record as it stands. Locked, a save cut after its journal was
    // whole is completed, one cut before forgotten; a load that may not
    // write still reads the pair that is due.
    RecordPair settle(bool saving)
    {
        const std::string journal = read(kJournalFile).value_or("");
        const std::optional<RecordPair> due = journalPair(journal);
        try {
            if (lock_.fd >= 0 && !journal.empty())
                recover(due);
        } catch (const Failure&) {
            if (saving)
                throw;
        }
        const std::optional<std::string> score = read(kScoreFile), name = read(kNameFile);
        if (saving && !create_ && (!score || !name))
            fail(ENOENT, score ? kNameFile : kScoreFile);
        return due.value_or(RecordPair{score.value_or(""), name.value_or("")});
    }

    // The whole file, or no value when it is missing (a login's own is made).
    std::optional<std::string> read(const char* file)
    {
        const Fd in{open(file, O_RDONLY | create_)};
        if (in.fd < 0)
            return std::nullopt;
        std::string bytes(kMaxRecordFileBytes + 1, '\0');
        std::size_t got = 0;
        for (ssize_t n = 1; n != 0 && got < bytes.size(); got += n > 0 ? std::size_t(n) : 0) {
            if ((n = ::read(in.fd, bytes.data() + got, bytes.size() - got)) < 0 && errno != EINTR)
                fail(errno, file, true);
        }
        if (got > kMaxRecordFileBytes)
            throw Failure{Outcome::Unreadable, path(file) + ": too big for a record"};
        bytes.resize(got);
        return bytes;
    }

    // Rewrites a plain file in place and flushes it; cut between its steps,
    // it is left empty or half written.
    void rewrite(const char* file, std::string_view bytes)
    {
        step();
        const Fd out{open(file, O_WRONLY | create_)};
        const std::size_t half = bytes.size() / 2;
        if (out.fd < 0 || ::ftruncate(out.fd, 0) != 0 || !writeAll(out.fd, bytes.substr(0, half)) || (step(), false)
            || !writeAll(out.fd, bytes.substr(half)) || (step(), false) || ::fsync(out.fd) != 0)
            fail(errno, file);
    }

    // Completes a save that was cut after its journal was whole, forgets
    // one cut before; the journal is empty afterwards.
    void recover(const std::optional<RecordPair>& due)
    {
        if (due)
            rewrite(kScoreFile, due->score), rewrite(kNameFile, due->name);
        rewrite(kJournalFile, {});
    }

    // Reading, a refusal means the record cannot be read, whatever the cause.
    [[noreturn]] void fail(int error, const char* file, bool reading = false) const
    {
        const Outcome outcome = error == EMFILE || error == ENFILE ? Outcome::NoDescriptors
                                : reading ? Outcome::Unreadable
                                : error == EACCES || error == EPERM || error == EROFS ? Outcome::ReadOnly
                                : error == ENOSPC || error == EDQUOT || error == EFBIG ? Outcome::NoSpace
                                : Outcome::Failed;
        throw Failure{outcome, path(file) + ": " + std::strerror(error)};
    }

private:
    // A file of the folder that must be a plain one, or -1 when it is missing
    // (errno: why it was not made). A link is never followed, a FIFO opened
    // without waiting; a reader opens what is there where it may not write.
    int open(const char* file, int flags) const
    {
        constexpr int kAlways = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        Fd opened{::openat(dir_.fd, file, flags | kAlways, 0664)};
        const int refused = errno;
        if (opened.fd < 0 && (refused == EACCES || refused == EPERM || refused == EROFS) && flags != O_RDONLY
            && (flags & O_ACCMODE) != O_WRONLY)
            opened.fd = ::openat(dir_.fd, file, (flags = O_RDONLY) | kAlways);
        struct stat st {};
        if (opened.fd < 0 && errno == ENOENT)
            return errno = refused, -1;
        if (opened.fd < 0 || ::fstat(opened.fd, &st) != 0)
            fail(errno, file, (flags & O_ACCMODE) != O_WRONLY);
        if (!S_ISREG(st.st_mode))
            throw Failure{Outcome::Unreadable, path(file) + ": not a plain file"};
        return std::exchange(opened.fd, -1);
    }

    std::string path(const char* file) const { return *file ? folder_ + '/' + file : folder_; }
    void step() const { if (gate_ && !gate_()) throw Failure{Outcome::Failed, "stopped"}; }

    const std::string& folder_;
    const int create_;
    const std::function<bool()>& gate_;
    Fd dir_{-1};
    Fd lock_{-1};
};

} // namespace

RecordResult RecordStore::load()
{
    try {
        return {Outcome::Done, Session(folder_, createMissing_, stepGate, false).settle(false), {}};
    } catch (const Failure& failure) {
        return {failure.outcome, {}, failure.detail};
    }
}

RecordResult RecordStore::saveIfBetter(std::string_view score, std::string_view name)
{
    if (!isScore(score) || !isCleanName(name))
        return {Outcome::Failed, {}, "not a score and a clean name"};
    try {
        Session session(folder_, createMissing_, stepGate, true);
        const RecordPair before = session.settle(true);
        if (scanNumber(before.score) >= scanNumber(score))
            return {Outcome::NotBetter, before, {}};
        // A journal cut while written is no pair: the next forgets it. Whole,
        // its pair is the record for every reader, even when the files are
        // completed only by the next.
        const RecordPair after{std::string(score) + "\r\n", std::string(name) + "\r\n"};
        session.rewrite(kJournalFile, after.score + after.name);
        std::string late;
        try { session.recover(after); } catch (const Failure& failure) { late = failure.detail; }
        return {Outcome::Done, after, late};
    } catch (const Failure& failure) {
        return {failure.outcome, {}, failure.detail};
    }
}

bool isScore(std::string_view text)
{
    return !text.empty() && text.size() <= 5
           && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isCleanName(std::string_view bytes)
{
    return bytes.size() <= kMaxNameBytes && std::none_of(bytes.begin(), bytes.end(), isNameControl);
}

} // namespace numerella
