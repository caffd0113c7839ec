#include "recordstore.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace numerella {

namespace {

// A save holds the lock for a few small writes; one that holds it longer is
// stuck or stopped, and a child must not wait for it.
constexpr long kLockPatienceMs = 2000;
// The journal's last line: without it the journal was cut while written.
constexpr std::string_view kJournalEnd = "fine\r\n";

struct Stopped {};  // the step gate stopped the store
struct Failure {
    Outcome outcome;
    std::string detail;
};

Outcome outcomeFor(int error)
{
    switch (error) {
    case EACCES: case EPERM: case EROFS: return Outcome::ReadOnly;
    case ENOSPC: case EDQUOT: case EFBIG: return Outcome::NoSpace;
    case EMFILE: case ENFILE: return Outcome::NoDescriptors;
    default: return Outcome::Failed;
    }
}

long nowMs()
{
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return long(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// The pair a whole journal holds: score line, name line, end line.
std::optional<RecordPair> journalPair(std::string_view journal)
{
    const std::size_t scoreEnd = journal.find("\r\n");
    const std::size_t nameEnd = journal.find("\r\n", scoreEnd + 2);
    if (scoreEnd == std::string_view::npos || nameEnd == std::string_view::npos
        || journal.substr(nameEnd + 2) != kJournalEnd || !isScore(journal.substr(0, scoreEnd))
        || !isCleanName(journal.substr(scoreEnd + 2, nameEnd - scoreEnd - 2)))
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
        if (create_)
            makeFolder();
        dir_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir_ < 0)
            fail(errno, folder_);
    }
    ~Session()
    {
        for (const int fd : {lock_, dir_})
            if (fd >= 0)
                ::close(fd);
    }

    // False when the lock file is missing and none may be made: no save can
    // run then, so reading without it is safe.
    bool lock()
    {
        lock_ = ::openat(dir_, kLockFile, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY
                                              | (create_ ? O_CREAT : 0), 0664);
        if (lock_ < 0 && errno == ENOENT)
            return false;
        struct stat st {};
        if (lock_ < 0 || ::fstat(lock_, &st) != 0)
            fail(errno, path(kLockFile));
        if (!S_ISREG(st.st_mode))
            throw Failure{Outcome::Failed, path(kLockFile) + ": not a plain file"};
        // Never a blocking wait: a stopped holder must not stop us.
        for (const long start = nowMs(); ::flock(lock_, LOCK_EX | LOCK_NB) != 0;) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                fail(errno, path(kLockFile));
            if (nowMs() - start > kLockPatienceMs)
                throw Failure{Outcome::Busy, path(kLockFile) + ": held by another save"};
            const timespec pause{0, 2 * 1000 * 1000};
            ::nanosleep(&pause, nullptr);
        }
        return true;
    }

    void createMissing()
    {
        for (const char* file : {kScoreFile, kNameFile, kJournalFile}) {
            const int fd = ::openat(dir_, file, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0664);
            if (fd < 0 && errno != EEXIST)
                fail(errno, path(file));
            if (fd >= 0)
                ::close(fd);
        }
    }

    // The whole file, or no value when it is missing. Looked at before it is
    // opened: a FIFO or device is never opened, a link never followed.
    std::optional<std::string> read(const char* file)
    {
        struct stat st {};
        if (::fstatat(dir_, file, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                return std::nullopt;
            unreadable(errno, file);
        }
        if (!S_ISREG(st.st_mode))
            throw Failure{Outcome::Unreadable, path(file) + (S_ISLNK(st.st_mode) ? ": a link" : ": not a plain file")};
        const int fd = ::openat(dir_, file, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            unreadable(errno, file);
        std::string bytes(kMaxRecordFileBytes + 1, '\0');
        std::size_t got = 0;
        // Checked again on what was opened: it may have been swapped.
        int error = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EINVAL;
        for (ssize_t n = 1; error == 0 && n != 0 && got < bytes.size();) {
            n = ::read(fd, bytes.data() + got, bytes.size() - got);
            got += n > 0 ? std::size_t(n) : 0;
            error = n < 0 && errno != EINTR ? errno : 0;
        }
        ::close(fd);
        if (error != 0)
            unreadable(error, file);
        if (got > kMaxRecordFileBytes)
            throw Failure{Outcome::Unreadable, path(file) + ": too big for a record"};
        bytes.resize(got);
        return bytes;
    }

    // Rewrites an existing plain file in place and flushes it.
    void rewrite(const char* file, std::string_view bytes)
    {
        step();
        const int fd = ::openat(dir_, file, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY
                                                | (create_ ? O_CREAT : 0), 0664);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            const int error = errno;
            if (fd >= 0)
                ::close(fd);
            fail(error, path(file));
        }
        const std::size_t half = bytes.size() / 2;
        const bool written = S_ISREG(st.st_mode) && ::ftruncate(fd, 0) == 0 && writeAll(fd, bytes.substr(0, half))
                             && (step(), writeAll(fd, bytes.substr(half))) && (step(), ::fsync(fd) == 0);
        const int error = S_ISREG(st.st_mode) ? errno : EINVAL;
        ::close(fd);
        if (!written)
            fail(error, path(file));
    }

    // Completes a save that was cut after its journal, forgets one cut
    // before; the journal is empty afterwards.
    void recover(const std::optional<RecordPair>& due)
    {
        if (due) {
            rewrite(kScoreFile, due->score);
            rewrite(kNameFile, due->name);
        }
        rewrite(kJournalFile, {});
    }

    std::string path(const char* file) const { return folder_ + '/' + file; }
    [[noreturn]] void fail(int error, const std::string& what) const
    {
        throw Failure{outcomeFor(error), what + ": " + std::strerror(error)};
    }

private:
    static bool writeAll(int fd, std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            bytes.remove_prefix(std::size_t(n));
        }
        return true;
    }
    [[noreturn]] void unreadable(int error, const char* file) const
    {
        const Outcome outcome = outcomeFor(error) == Outcome::NoDescriptors ? Outcome::NoDescriptors : Outcome::Unreadable;
        throw Failure{outcome, path(file) + ": " + std::strerror(error)};
    }
    void step() const
    {
        if (gate_ && !gate_())
            throw Stopped{};
    }
    // Made 0700 like the XDG base folders, from the bytes as given.
    void makeFolder() const
    {
        for (std::size_t slash = folder_.find('/', 1);; slash = folder_.find('/', slash + 1)) {
            if (::mkdir(folder_.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST)
                fail(errno, folder_.substr(0, slash));
            if (slash == std::string::npos)
                return;
        }
    }

    const std::string& folder_;
    const bool create_;
    const std::function<bool()>& gate_;
    int dir_ = -1;
    int lock_ = -1;
};

template <typename Call>
RecordResult guarded(Call call)
{
    try {
        return call();
    } catch (const Failure& failure) {
        return {failure.outcome, {}, failure.detail};
    } catch (const Stopped&) {
        return {Outcome::Failed, {}, "stopped"};
    }
}

} // namespace

RecordStore::RecordStore(std::string folder, bool createMissing)
    : folder_(std::move(folder)), createMissing_(createMissing)
{
}

RecordResult RecordStore::load()
{
    return guarded([&] {
        Session session(folder_, createMissing_, stepGate);
        const bool locked = session.lock();
        if (createMissing_)
            session.createMissing();
        const std::string journal = session.read(kJournalFile).value_or("");
        const std::optional<RecordPair> due = journalPair(journal);
        if (locked && !journal.empty()) {
            try {
                session.recover(due);
            } catch (const Failure&) {
                // A reader that may not write still reads the pair that is due.
            }
        }
        if (due)
            return RecordResult{Outcome::Done, *due, {}};
        return RecordResult{Outcome::Done, {session.read(kScoreFile).value_or(""), session.read(kNameFile).value_or("")}, {}};
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

        const RecordPair after{std::string(score) + "\r\n", std::string(name) + "\r\n"};
        try {
            session.rewrite(kJournalFile, after.score + after.name + std::string(kJournalEnd));
        } catch (const Failure&) {
            // Not written whole: the pair on disk stays the record.
            try {
                session.rewrite(kJournalFile, {});
            } catch (const Failure&) {
            }
            throw;
        }
        // The journal holds the new pair now: it is the record for every
        // reader, even when the files below are completed only by the next.
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
    std::string number;
    std::size_t i = 0;
    const auto skip = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n'))
            ++i;
    };
    const auto digits = [&](std::string& into) {
        const std::size_t before = into.size();
        for (skip(); i < text.size() && text[i] >= '0' && text[i] <= '9'; skip())
            into += text[i++];
        return into.size() > before;
    };
    skip();
    const bool negative = i < text.size() && text[i] == '-';
    i += i < text.size() && (text[i] == '+' || negative) ? 1 : 0;
    bool mantissa = digits(number);
    if (i < text.size() && text[i] == '.') {
        std::string fraction = ".";
        ++i;
        mantissa = digits(fraction) ? (number += fraction, true) : mantissa;
    }
    if (!mantissa)
        return 0.0;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        skip();
        const bool below = i < text.size() && text[i] == '-';
        i += i < text.size() && (text[i] == '+' || below) ? 1 : 0;
        std::string power;
        if (digits(power)) {
            // Past six digits the value is out of any double's range anyway.
            power.erase(0, std::min(power.find_first_not_of('0'), power.size()));
            exponent = power.empty() ? 0 : power.size() > 6 ? 999999 : std::stoll(power);
            exponent = below ? -exponent : exponent;
        }
    }
    double value = 0.0;
    const std::string whole = number + 'e' + std::to_string(exponent);
    if (std::from_chars(whole.data(), whole.data() + whole.size(), value).ec == std::errc::result_out_of_range) {
        // Infinite when the first significant digit stands at a positive
        // power of ten, else too small: 0.
        const auto dot = static_cast<long long>(std::min(number.find('.'), number.size()));
        const auto first = static_cast<long long>(number.find_first_not_of("0."));
        const long long magnitude = first < dot ? dot - first - 1 : dot - first;
        value = magnitude + exponent < 0 ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

} // namespace numerella
