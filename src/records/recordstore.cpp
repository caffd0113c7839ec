#include "recordstore.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>

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

Outcome outcomeFor(int error)
{
    switch (error) {
    case EACCES: case EPERM: case EROFS: return Outcome::ReadOnly;
    case ENOSPC: case EDQUOT: case EFBIG: return Outcome::NoSpace;
    case EMFILE: case ENFILE: return Outcome::NoDescriptors;
    default: return Outcome::Failed;
    }
}

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
    return RecordPair{std::string(journal.substr(0, scoreEnd + 2)),
                      std::string(journal.substr(scoreEnd + 2, nameEnd - scoreEnd))};
}

// One load or one save: the open folder, the lock, and the steps on them.
class Session {
public:
    Session(const std::string& folder, bool create, const std::function<bool()>& gate)
        : folder_(folder), create_(create), gate_(gate)
    {
        // Made 0700 like the XDG base folders, from the bytes as given.
        for (std::size_t slash = folder_.find('/', 1); create_; slash = folder_.find('/', slash + 1)) {
            if (::mkdir(folder_.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST)
                fail(errno, folder_.substr(0, slash));
            if (slash == std::string::npos)
                break;
        }
        if ((dir_.fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) < 0)
            fail(errno, folder_);
        for (const char* file : {kScoreFile, kNameFile, kJournalFile}) {
            const Fd made{create_ ? ::openat(dir_.fd, file, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0664)
                                  : -1};
            if (create_ && made.fd < 0 && errno != EEXIST)
                fail(errno, path(file));
        }
    }

    // False when the lock file is missing and none may be made: no save can
    // run then, so reading without it is safe.
    bool lock()
    {
        lock_.fd = ::openat(dir_.fd, kLockFile, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY
                                                    | (create_ ? O_CREAT : 0), 0664);
        struct stat st {};
        if (lock_.fd < 0 && errno == ENOENT)
            return false;
        if (lock_.fd < 0 || ::fstat(lock_.fd, &st) != 0 || !S_ISREG(st.st_mode))
            fail(lock_.fd < 0 ? errno : EINVAL, path(kLockFile));
        // Never a blocking wait: a stopped holder must not stop us.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockPatienceMs);
        for (; ::flock(lock_.fd, LOCK_EX | LOCK_NB) != 0; ::usleep(2000)) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                fail(errno, path(kLockFile));
            if (std::chrono::steady_clock::now() > deadline)
                throw Failure{Outcome::Busy, path(kLockFile) + ": held by another save"};
        }
        return true;
    }

    // The whole file, or no value when it is missing. A FIFO opens without
    // waiting and is refused with anything else that is not a plain file;
    // a link is never followed.
    std::optional<std::string> read(const char* file)
    {
        const Fd in{::openat(dir_.fd, file, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
        struct stat st {};
        if (in.fd < 0 && errno == ENOENT)
            return std::nullopt;
        if (in.fd < 0 || ::fstat(in.fd, &st) != 0)
            throw Failure{errno == EMFILE || errno == ENFILE ? Outcome::NoDescriptors : Outcome::Unreadable,
                          path(file) + ": " + std::strerror(errno)};
        if (!S_ISREG(st.st_mode))
            throw Failure{Outcome::Unreadable, path(file) + ": not a plain file"};
        std::string bytes(kMaxRecordFileBytes + 1, '\0');
        std::size_t got = 0;
        for (ssize_t n = 1; n != 0 && got < bytes.size(); got += n > 0 ? std::size_t(n) : 0) {
            if ((n = ::read(in.fd, bytes.data() + got, bytes.size() - got)) < 0 && errno != EINTR)
                throw Failure{Outcome::Unreadable, path(file) + ": " + std::strerror(errno)};
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
        const Fd out{::openat(dir_.fd, file, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY
                                                  | (create_ ? O_CREAT : 0), 0664)};
        struct stat st {};
        if (out.fd < 0 || ::fstat(out.fd, &st) != 0)
            fail(errno, path(file));
        if (!S_ISREG(st.st_mode))
            fail(EINVAL, path(file));
        const std::size_t half = bytes.size() / 2;
        if (::ftruncate(out.fd, 0) != 0 || !writeAll(out.fd, bytes.substr(0, half)) || (step(), false)
            || !writeAll(out.fd, bytes.substr(half)) || (step(), false) || ::fsync(out.fd) != 0)
            fail(errno, path(file));
    }

    // Completes a save that was cut after its journal was whole, forgets
    // one cut before; the journal is empty afterwards.
    void recover(const std::optional<RecordPair>& due)
    {
        if (due)
            rewrite(kScoreFile, due->score), rewrite(kNameFile, due->name);
        rewrite(kJournalFile, {});
    }

    std::string path(const char* file) const { return folder_ + '/' + file; }
    [[noreturn]] void fail(int error, const std::string& what) const
    {
        throw Failure{outcomeFor(error), what + ": " + std::strerror(error)};
    }

private:
    void step() const
    {
        if (gate_ && !gate_())
            throw Failure{Outcome::Failed, "stopped"};
    }

    const std::string& folder_;
    const bool create_;
    const std::function<bool()>& gate_;
    Fd dir_{-1};
    Fd lock_{-1};
};

template <typename Call>
RecordResult guarded(Call call)
{
    try {
        return call();
    } catch (const Failure& failure) {
        return {failure.outcome, {}, failure.detail};
    }
}

} // namespace

RecordResult RecordStore::load()
{
    return guarded([&] {
        Session session(folder_, createMissing_, stepGate);
        const bool locked = session.lock();
        const std::string journal = session.read(kJournalFile).value_or("");
        const std::optional<RecordPair> due = journalPair(journal);
        try {
            if (locked && !journal.empty())
                session.recover(due);
        } catch (const Failure&) {
            // A reader that may not write still reads the pair that is due.
        }
        return RecordResult{Outcome::Done,
                            due.value_or(RecordPair{session.read(kScoreFile).value_or(""),
                                                    session.read(kNameFile).value_or("")}), {}};
    });
}

RecordResult RecordStore::saveIfBetter(std::string_view score, std::string_view name)
{
    if (!isScore(score) || !isCleanName(name))
        return {Outcome::Failed, {}, "not a score and a clean name"};
    return guarded([&] {
        Session session(folder_, createMissing_, stepGate);
        if (!session.lock())
            session.fail(ENOENT, session.path(kLockFile));
        if (const std::string journal = session.read(kJournalFile).value_or(""); !journal.empty())
            session.recover(journalPair(journal));
        const std::optional<std::string> oldScore = session.read(kScoreFile), oldName = session.read(kNameFile);
        if (!createMissing_ && (!oldScore || !oldName))
            session.fail(ENOENT, session.path(oldScore ? kNameFile : kScoreFile));
        const RecordPair before{oldScore.value_or(""), oldName.value_or("")};
        if (recordValue(before.score) >= recordValue(score))
            return RecordResult{Outcome::NotBetter, before, {}};

        // A journal cut while written is no pair: the next forgets it. Whole,
        // its pair is the record for every reader, even when the files are
        // completed only by the next.
        const RecordPair after{std::string(score) + "\r\n", std::string(name) + "\r\n"};
        session.rewrite(kJournalFile, after.score + after.name);
        try {
            session.recover(after);
        } catch (const Failure& late) {
            return RecordResult{Outcome::Done, after, late.detail};
        }
        return RecordResult{Outcome::Done, after, {}};
    });
}

bool isScore(std::string_view text)
{
    return !text.empty() && text.size() <= kMaxScoreDigits
           && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isCleanName(std::string_view bytes)
{
    return bytes.size() <= kMaxNameBytes && std::none_of(bytes.begin(), bytes.end(), [](char c) {
               return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
           });
}

double recordValue(std::string_view text)
{
    std::string s;  // blanks, tabs and line feeds count nowhere
    std::copy_if(text.begin(), text.end(), std::back_inserter(s),
                 [](char c) { return c != ' ' && c != '\t' && c != '\n'; });
    const auto digitsFrom = [&](std::size_t i) {
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
        return i;
    };
    const bool negative = !s.empty() && s[0] == '-';
    const std::size_t start = !s.empty() && (negative || s[0] == '+') ? 1 : 0, whole = digitsFrom(start);
    const std::size_t mantissa = whole < s.size() && s[whole] == '.' ? digitsFrom(whole + 1) : whole;
    if (mantissa - start - (mantissa > whole ? 1 : 0) == 0)
        return 0.0;  // no digit at all: nothing readable
    // An exponent counts only with digits.
    const bool signed_ = mantissa + 1 < s.size() && (s[mantissa + 1] == '+' || s[mantissa + 1] == '-');
    const std::size_t sign = mantissa + 1 + (signed_ ? 1 : 0);
    const bool hasExponent = mantissa < s.size() && (s[mantissa] | 0x20) == 'e' && digitsFrom(sign) > sign;
    const std::size_t end = hasExponent ? digitsFrom(sign) : mantissa;
    double value = 0.0;
    if (std::from_chars(s.data() + start, s.data() + end, value).ec == std::errc::result_out_of_range) {
        // Infinite when the first significant digit stands at a power of
        // ten >= 0 once the exponent is added, else too small: 0.
        long long power = 0;
        if (hasExponent && std::from_chars(s.data() + sign, s.data() + end, power).ec != std::errc())
            power = 999999;
        power = hasExponent && s[sign - 1] == '-' ? -power : power;
        const auto first = static_cast<long long>(s.find_first_not_of("0.", start));
        value = static_cast<long long>(whole) - first - (first < static_cast<long long>(whole) ? 1 : 0) + power < 0
                    ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

} // namespace numerella
