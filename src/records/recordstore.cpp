#include "recordstore.h"

#include "platform/conversions.h"
#include "platform/datafolder.h"
#include "platform/windows1252.h"

#include <QByteArrayList>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace numerella {

namespace {

const QByteArray kScoreFile("tavrec10.txt");
const QByteArray kNameFile("ntavrec10.txt");
const QByteArray kPendingEnd(".nuovo");
const char* const kLockFile = ".lock";
constexpr mode_t kFileMode = 0664;  // less the umask: the helper's keeps shared files 0644
// Another copy holds the lock only for a few file operations; one that
// holds it longer is stuck or hostile, and the game must not wait for it.
constexpr qint64 kLockPatienceMs = 5000;

// Thrown when the step gate stops the store, and caught at its surface.
struct Stopped {
};

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

template <typename Call>
auto retryOnSignal(Call call)
{
    decltype(call()) result;
    do {
        result = call();
    } while (result == -1 && errno == EINTR);
    return result;
}

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = retryOnSignal([&] { return ::write(fd, data, size_t(size)); });
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// What reading one record file gave.
struct FileRead {
    enum Status { Read, Missing, Unreadable } status = Missing;
    QByteArray bytes;
    QString problem;
};

// Leftovers of saves that never finished, by their tag (the text between the
// record file's name and ".nuovo"; empty for the fixed names of older
// versions of the game).
struct Pending {
    QByteArrayList scoreTags;
    QByteArrayList nameTags;
    bool any() const { return !scoreTags.isEmpty() || !nameTags.isEmpty(); }
    QByteArrayList orphanNames() const
    {
        QByteArrayList orphans;
        for (const QByteArray& tag : nameTags) {
            if (!scoreTags.contains(tag))
                orphans << tag;
        }
        return orphans;
    }
};

QByteArray pendingName(const QByteArray& file, const QByteArray& tag)
{
    return file + tag + kPendingEnd;
}

// The tag of a pending file of `file`, or a null array when `entry` is not one.
QByteArray pendingTag(const QByteArray& entry, const QByteArray& file)
{
    if (!entry.startsWith(file) || !entry.endsWith(kPendingEnd)
        || entry.size() < file.size() + kPendingEnd.size())
        return QByteArray();
    const QByteArray tag = entry.mid(file.size(), entry.size() - file.size() - kPendingEnd.size());
    if (!tag.isEmpty() && !tag.startsWith('.'))
        return QByteArray();
    return tag.isEmpty() ? QByteArray("") : tag;
}

} // namespace

QByteArray recordLineBytes(QStringView text)
{
    QByteArray bytes = toWindows1252(text);
    for (char& b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if ((u < 0x20 && u != '\t') || u == 0x7F)
            b = '?';
    }
    bytes.append("\r\n");
    return bytes;
}

// One load or one save: the open folder, the lock, and the steps on them.
class RecordStore::Session {
public:
    Session(const QString& folder, const std::function<bool()>& gate) : folder_(folder), gate_(gate) {}

    RecordLoad load();
    SaveResult save(const QString& score, const QString& name);

private:
    enum class Lock { Held, NoLockFile, Failed };

    bool openFolder();
    Lock lock(int operation);
    void step() const
    {
        if (gate_ && !gate_())
            throw Stopped{};
    }
    QString shown(const QByteArray& file) const { return folder_ + u'/' + decodePath(file); }
    bool exists(const QByteArray& file) const;
    bool isPlainFile(const QByteArray& file) const;
    FileRead read(const QByteArray& file) const;
    bool createEmpty(const QByteArray& file);
    bool remove(const QByteArray& file);
    bool rename(const QByteArray& from, const QByteArray& to);
    bool syncFolder();
    Pending scan() const;
    bool recover(const Pending& pending);
    bool writeNew(const QByteArray& file, const QByteArray& bytes);

    QString folderProblem() const;
    QString lockProblem() const;

    const QString folder_;
    const std::function<bool()>& gate_;
    Descriptor dir_;
    Descriptor lock_;
};

bool RecordStore::Session::openFolder()
{
    // The folder itself is never reached through a link either.
    dir_.reset(retryOnSignal([&] {
        return ::open(encodePath(folder_).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }));
    return dir_.valid();
}

RecordStore::Session::Lock RecordStore::Session::lock(int operation)
{
    if (!lock_.valid()) {
        const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
        int fd = retryOnSignal([&] { return ::openat(dir_.get(), kLockFile, O_RDWR | O_CREAT | flags, kFileMode); });
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
            fd = retryOnSignal([&] { return ::openat(dir_.get(), kLockFile, O_RDONLY | flags); });
        if (fd < 0)
            return errno == ENOENT || errno == EACCES || errno == EROFS ? Lock::NoLockFile : Lock::Failed;
        lock_.reset(fd);
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            lock_.reset();
            return Lock::Failed;
        }
    }
    QElapsedTimer waited;
    waited.start();
    while (::flock(lock_.get(), operation | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited.hasExpired(kLockPatienceMs))
            return Lock::Failed;
        ::usleep(5000);
    }
    return Lock::Held;
}

bool RecordStore::Session::exists(const QByteArray& file) const
{
    struct stat st {};
    return ::fstatat(dir_.get(), file.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT;
}

bool RecordStore::Session::isPlainFile(const QByteArray& file) const
{
    struct stat st {};
    return ::fstatat(dir_.get(), file.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
}

FileRead RecordStore::Session::read(const QByteArray& file) const
{
    FileRead result;
    const QString path = shown(file);
    const auto unreadable = [&](const QString& sentence) {
        result.status = FileRead::Unreadable;
        result.problem = sentence.arg(path);
        return result;
    };
    const QString cannotRead = QStringLiteral("Non riesco a leggere il file del record \"%1\".");

    // Looked at before it is opened: opening a FIFO or a device could block
    // or disturb it, and a link is never followed.
    struct stat st {};
    if (::fstatat(dir_.get(), file.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return result;
        return unreadable(cannotRead);
    }
    if (S_ISLNK(st.st_mode))
        return unreadable(QStringLiteral("Il file del record \"%1\" è un collegamento: non lo leggo e non lo cambio."));
    if (!S_ISREG(st.st_mode))
        return unreadable(QStringLiteral("Il file del record \"%1\" non è un file normale."));

    const Descriptor fd(retryOnSignal([&] {
        return ::openat(dir_.get(), file.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    }));
    if (!fd.valid()) {
        if (errno == EACCES || errno == EPERM)
            return unreadable(QStringLiteral("Non ho il permesso di leggere il file del record \"%1\"."));
        return unreadable(cannotRead);
    }
    // Swapped between the look and the open: check what was opened.
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return unreadable(QStringLiteral("Il file del record \"%1\" non è un file normale."));
    const QString tooBig = QStringLiteral("Il file del record \"%1\" è troppo grande per essere un record.");
    if (st.st_size > kMaxRecordFileBytes)
        return unreadable(tooBig);
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);

    QByteArray bytes(kMaxRecordFileBytes + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = retryOnSignal([&] { return ::read(fd.get(), bytes.data() + got, size_t(bytes.size() - got)); });
        if (n < 0)
            return unreadable(cannotRead);
        if (n == 0)
            break;
        got += n;
    }
    if (got > kMaxRecordFileBytes)
        return unreadable(tooBig);
    bytes.truncate(got);
    result.status = FileRead::Read;
    result.bytes = bytes;
    return result;
}

bool RecordStore::Session::createEmpty(const QByteArray& file)
{
    step();
    // O_EXCL: a dangling link in the file's place is an existing name, so
    // nothing is ever created at the place it points to.
    const Descriptor fd(retryOnSignal([&] {
        return ::openat(dir_.get(), file.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                        kFileMode);
    }));
    return fd.valid() || errno == EEXIST;
}

bool RecordStore::Session::remove(const QByteArray& file)
{
    step();
    return ::unlinkat(dir_.get(), file.constData(), 0) == 0 || errno == ENOENT;
}

bool RecordStore::Session::rename(const QByteArray& from, const QByteArray& to)
{
    step();
    // Replaces the name in one step: a reader sees the old file or the new.
    return ::renameat(dir_.get(), from.constData(), dir_.get(), to.constData()) == 0;
}

bool RecordStore::Session::syncFolder()
{
    step();
    return retryOnSignal([&] { return ::fsync(dir_.get()); }) == 0;
}

Pending RecordStore::Session::scan() const
{
    Pending pending;
    const int fd = ::openat(dir_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!listing) {
        if (fd >= 0)
            ::close(fd);
        return pending;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (!name.endsWith(kPendingEnd))
            continue;
        // A folder is nothing a save leaves; leave it alone.
        struct stat st {};
        if (::fstatat(dir_.get(), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
            continue;
        if (const QByteArray tag = pendingTag(name, kScoreFile); !tag.isNull())
            pending.scoreTags << tag;
        else if (const QByteArray tag = pendingTag(name, kNameFile); !tag.isNull())
            pending.nameTags << tag;
    }
    ::closedir(listing);
    return pending;
}

// A save writes its new score, then its new name, beside the record; puts
// the score in place, then the name. So a pending score means the save
// replaced nothing: both its files go, the name first (a pending name left
// alone would mean the opposite). A pending name alone means the score is
// already in place: the name follows it.
bool RecordStore::Session::recover(const Pending& pending)
{
    bool ok = true;
    for (const QByteArray& tag : pending.scoreTags) {
        ok = remove(pendingName(kNameFile, tag)) && ok;
        ok = remove(pendingName(kScoreFile, tag)) && ok;
    }
    const QByteArrayList orphans = pending.orphanNames();
    if (orphans.size() == 1) {
        const QByteArray waiting = pendingName(kNameFile, orphans.first());
        if (!isPlainFile(waiting))
            ok = remove(waiting) && ok;
        else if (exists(kNameFile) && !isPlainFile(kNameFile))
            ok = false;  // never replaced: the record stays unreadable instead
        else
            ok = rename(waiting, kNameFile) && ok;
    } else {
        // Only one save can be cut at a time; more are not the game's.
        for (const QByteArray& tag : orphans)
            ok = remove(pendingName(kNameFile, tag)) && ok;
    }
    return syncFolder() && ok;
}

bool RecordStore::Session::writeNew(const QByteArray& file, const QByteArray& bytes)
{
    step();
    const Descriptor fd(retryOnSignal([&] {
        return ::openat(dir_.get(), file.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                        kFileMode);
    }));
    if (!fd.valid())
        return false;
    const qsizetype half = bytes.size() / 2;
    if (!writeAll(fd.get(), bytes.constData(), half))
        return false;
    step();  // a crash here leaves a cut file behind
    if (!writeAll(fd.get(), bytes.constData() + half, bytes.size() - half))
        return false;
    step();
    return retryOnSignal([&] { return ::fsync(fd.get()); }) == 0;
}

QString RecordStore::Session::folderProblem() const
{
    return QStringLiteral("Non riesco ad aprire la cartella del record \"%1\".").arg(folder_);
}

QString RecordStore::Session::lockProblem() const
{
    return QStringLiteral("Il record nella cartella \"%1\" è occupato da un'altra copia del gioco o non si può "
                          "bloccare.")
        .arg(folder_);
}

RecordLoad RecordStore::Session::load()
{
    RecordLoad result;
    if (!openFolder())
        return {{}, false, folderProblem()};
    const Lock shared = lock(LOCK_SH);
    if (shared == Lock::Failed)
        return {{}, false, lockProblem()};

    Pending pending = scan();
    const bool missing = !exists(kScoreFile) || !exists(kNameFile);
    if (shared == Lock::Held && (pending.any() || missing)) {
        // Changes need the exclusive lock; a reader that may not take it
        // (or write here) still reads, below.
        if (lock(LOCK_EX) == Lock::Held) {
            if (pending.any() && recover(pending))
                pending = {};
            if (missing && !(createEmpty(kScoreFile) && createEmpty(kNameFile) && syncFolder()))
                result.problem = QStringLiteral("Non riesco a creare i file del record nella cartella \"%1\".")
                                     .arg(folder_);
        } else if (lock(LOCK_SH) != Lock::Held) {
            return {{}, false, lockProblem()};  // a failed switch may have dropped the shared lock
        }
    } else if (missing) {
        result.problem = QStringLiteral("Non riesco a creare i file del record nella cartella \"%1\".").arg(folder_);
    }

    const FileRead score = read(kScoreFile);
    // A save cut between its two replaces that nobody here could complete:
    // its waiting name belongs with the score already in place.
    const QByteArrayList orphans = pending.orphanNames();
    const FileRead holder = read(orphans.size() == 1 ? pendingName(kNameFile, orphans.first()) : kNameFile);
    for (const FileRead* file : {&score, &holder}) {
        if (file->status == FileRead::Unreadable) {
            result.readable = false;
            result.problem = file->problem;
            break;
        }
    }
    result.pair = {fromWindows1252(score.bytes), fromWindows1252(holder.bytes)};
    return result;
}

SaveResult RecordStore::Session::save(const QString& score, const QString& name)
{
    SaveResult result;
    const QString failed = QStringLiteral("Non sono riuscito a scrivere il record nella cartella \"%1\".").arg(folder_);
    if (!openFolder())
        return {SaveOutcome::Failed, folderProblem(), {}};
    if (lock(LOCK_EX) != Lock::Held)
        return {SaveOutcome::Failed, lockProblem(), {}};
    if (const Pending pending = scan(); pending.any() && !recover(pending))
        return {SaveOutcome::Failed, failed, {}};

    const FileRead oldScore = read(kScoreFile);
    const FileRead oldName = read(kNameFile);
    result.onDisk = {fromWindows1252(oldScore.bytes), fromWindows1252(oldName.bytes)};
    for (const FileRead* file : {&oldScore, &oldName}) {
        if (file->status == FileRead::Unreadable)
            return {SaveOutcome::Unreadable, file->problem, result.onDisk};
    }
    if (!(parseNumber(score) > parseNumber(result.onDisk.score))) {
        result.outcome = SaveOutcome::NotBetter;
        return result;
    }

    // Names of this save alone, so no other copy's files are ever taken for
    // ours, and a file planted under a guessable name is never written.
    const QByteArray tag = '.' + QByteArray::number(qint64(::getpid())) + '.'
                           + QByteArray::number(QRandomGenerator::system()->generate64(), 16);
    const QByteArray newScore = pendingName(kScoreFile, tag);
    const QByteArray newName = pendingName(kNameFile, tag);
    const QByteArray scoreLine = recordLineBytes(score);
    const QByteArray nameLine = recordLineBytes(name);
    const bool written = writeNew(newScore, scoreLine) && writeNew(newName, nameLine) && syncFolder();
    // Durable between the two replaces, so the name's can never land alone.
    if (!written || !rename(newScore, kScoreFile) || !syncFolder()) {
        remove(newName);
        remove(newScore);
        return {SaveOutcome::Failed, failed, result.onDisk};
    }
    const RecordPair saved{fromWindows1252(scoreLine), fromWindows1252(nameLine)};
    if (!rename(newName, kNameFile)) {
        // The new score is in place and its name waits beside it: readers
        // already see the pair, and the next load puts the name in place.
        return {SaveOutcome::Failed, failed + QStringLiteral(" Sarà completato alla prossima partita."), saved};
    }
    syncFolder();  // both replaces are done; this only hurries them to the disk
    return {SaveOutcome::Saved, QString(), saved};
}

RecordStore::RecordStore(QString folder) : folder_(std::move(folder)) {}

RecordLoad RecordStore::load()
{
    try {
        return Session(folder_, stepGate_).load();
    } catch (const Stopped&) {
        return {{}, false, QStringLiteral("Interrotto.")};
    }
}

SaveResult RecordStore::saveIfBetter(const QString& score, const QString& name)
{
    try {
        return Session(folder_, stepGate_).save(score, name);
    } catch (const Stopped&) {
        return {SaveOutcome::Failed, QStringLiteral("Interrotto."), {}};
    }
}

} // namespace numerella
