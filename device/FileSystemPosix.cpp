#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <iterator>
#include <mutex>

#include "device/FileSystem.h"

namespace device::filesystem {

std::intptr_t SystemCreate(const QString& path, QString& reason) {
    // 0666 less the umask, as any program's new file.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) reason = ErrnoReason(errno);
    return fd;
}

long long SystemWrite(std::intptr_t file, const char* data, long long size, QString& reason) {
    for (;;) {
        const ssize_t written = ::write(static_cast<int>(file), data, static_cast<size_t>(size));
        if (written >= 0) return written;
        if (errno == EINTR) continue;
        reason = ErrnoReason(errno);
        return -1;
    }
}

int SystemSync(std::intptr_t file, QString& reason) {
    if (::fsync(static_cast<int>(file)) == 0) return 0;
    reason = ErrnoReason(errno);
    return -1;
}

int SystemClose(std::intptr_t file, QString& reason) {
    if (::close(static_cast<int>(file)) == 0) return 0;
    reason = ErrnoReason(errno);
    return -1;
}

int SystemReplace(const QString& from, const QString& to, QString& reason) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        reason = ErrnoReason(errno);
        return -1;
    }
    // The new name itself must reach the disk too; a folder that cannot be
    // synced (some network file systems) still holds the renamed file.
    const QByteArray folder = QFile::encodeName(QFileInfo(to).path());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

int SystemKeep(const QString& existing, const QString& second, QString& reason) {
    const QByteArray from = QFile::encodeName(existing);
    const QByteArray to = QFile::encodeName(second);
    if (::link(from.constData(), to.constData()) == 0) return 0;
    const int linkError = errno;
    if (linkError == EEXIST || linkError == ENOENT || linkError == EACCES) {
        reason = ErrnoReason(linkError);
        return -1;
    }
    // A file system without hard links (FAT, some network shares): a copy.
    QFile source(existing);
    if (!source.copy(second)) {
        reason = source.errorString();
        return -1;
    }
    return 0;
}

void TakeOwnerAndMode(const QString& existing, const QString& temporary) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(temporary);
    if (::stat(QFile::encodeName(existing).constData(), &st) != 0) return;
    // Without set-id bits: a copy must not gain rights under another owner.
    ::chmod(name.constData(), st.st_mode & 0777);
    if (::geteuid() == 0 && (st.st_uid != 0 || st.st_gid != 0))
        ::lchown(name.constData(), st.st_uid, st.st_gid);
}

namespace {
QByteArray FolderOf(const QByteArray& name) {
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray() : name.left(slash + 1);
}
}  // namespace

QString WriteTarget(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    QByteArray target = name;
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) {
        if (errno == ENOENT) return path;  // a new file
        throw WriteError(path, ErrnoReason(errno));
    }
    if (S_ISLNK(st.st_mode)) {
        // One link of our own to a file of our own is followed, as an editor
        // would; anything else could point a write where the user never
        // asked (a link planted in a shared folder by someone else).
        QByteArray destination(std::max<qsizetype>(st.st_size, 4096) + 1, '\0');
        const ssize_t length =
            ::readlink(name.constData(), destination.data(), size_t(destination.size()));
        if (length < 0) throw WriteError(path, ErrnoReason(errno));
        if (length >= destination.size()) throw WriteError(path, ErrnoReason(ENAMETOOLONG));
        destination.truncate(length);
        target = destination.startsWith('/') ? destination : FolderOf(name) + destination;
        const uid_t linkOwner = st.st_uid;
        if (::lstat(target.constData(), &st) != 0) {
            if (errno == ENOENT) throw WriteError(path, DanglingLinkReason());
            throw WriteError(path, ErrnoReason(errno));
        }
        if (S_ISLNK(st.st_mode)) throw WriteError(path, LinkChainReason());
        const uid_t user = ::geteuid();
        if (linkOwner != user || st.st_uid != user) throw WriteError(path, ForeignLinkReason());
    }
    if (S_ISDIR(st.st_mode)) throw WriteError(path, FolderReason());
    if (!S_ISREG(st.st_mode)) throw WriteError(path, NotRegularReason());
    // No write bit at all is a file kept on purpose, even for root, whom
    // the access check lets write anything.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
        ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        throw WriteError(path, ReadOnlyReason());
    return target == name ? path : QFile::decodeName(target);
}

std::int64_t CurrentProcess() { return ::getpid(); }

bool ProcessGone(std::int64_t id) {
    if (id <= 0 || id != std::int64_t(pid_t(id))) return false;
    return ::kill(pid_t(id), 0) != 0 && errno == ESRCH;
}

namespace {
constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};
std::mutex g_holdTurn;
volatile sig_atomic_t g_heldSignal = 0;
struct sigaction g_before[std::size(kEndSignals)];
bool g_replaced[std::size(kEndSignals)];
sigset_t g_maskBefore;

extern "C" void RememberEndSignal(int signal) { g_heldSignal = signal; }
}  // namespace

// This thread blocks the signals; another thread could still take one, so
// for the time of the commit their action only remembers it.
void HoldEndSignals() {
    g_holdTurn.lock();
    g_heldSignal = 0;
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kEndSignals) sigaddset(&set, signal);
    pthread_sigmask(SIG_BLOCK, &set, &g_maskBefore);
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i) {
        g_replaced[i] = false;
        if (sigaction(kEndSignals[i], nullptr, &g_before[i]) != 0) continue;
        if (g_before[i].sa_handler == SIG_IGN) continue;  // ignored stays ignored
        struct sigaction remember {};
        remember.sa_handler = RememberEndSignal;
        sigfillset(&remember.sa_mask);
        g_replaced[i] = sigaction(kEndSignals[i], &remember, nullptr) == 0;
    }
}

void ReleaseEndSignals() {
    for (std::size_t i = 0; i < std::size(kEndSignals); ++i)
        if (g_replaced[i]) sigaction(kEndSignals[i], &g_before[i], nullptr);
    // One still pending for this thread is delivered here, to the action
    // that was in place before.
    pthread_sigmask(SIG_SETMASK, &g_maskBefore, nullptr);
    const int held = g_heldSignal;
    g_heldSignal = 0;
    g_holdTurn.unlock();
    if (held != 0) ::raise(held);
}

QByteArray EncodeName(const QString& path) {
    bool escaped = false;
    for (const QChar c : path) escaped |= c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF;
    if (!escaped) return QFile::encodeName(path);
    QByteArray name;
    qsizetype plain = 0;  // the start of the text not yet encoded
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t u = path[i].unicode();
        if (u < 0xDC80 || u > 0xDCFF) continue;
        name += QFile::encodeName(path.mid(plain, i - plain));
        name += char(u & 0xFF);
        plain = i + 1;
    }
    return name + QFile::encodeName(path.mid(plain));
}

QString DecodeName(const QByteArray& name) {
    QString path = QFile::decodeName(name);
    if (QFile::encodeName(path) == name) return path;
    // Valid UTF-8 runs decoded, every other byte escaped.
    path.clear();
    qsizetype i = 0;
    while (i < name.size()) {
        const auto byte = static_cast<unsigned char>(name[i]);
        const int length = byte < 0x80                   ? 1
                           : byte >= 0xC2 && byte < 0xE0 ? 2
                           : byte >= 0xE0 && byte < 0xF0 ? 3
                           : byte >= 0xF0 && byte < 0xF5 ? 4
                                                         : 0;
        if (length > 0 && i + length <= name.size()) {
            const QByteArray sequence = name.mid(i, length);
            const QString decoded = QString::fromUtf8(sequence);
            if (decoded.toUtf8() == sequence && !decoded.contains(QChar::ReplacementCharacter)) {
                path += decoded;
                i += length;
                continue;
            }
        }
        path += QChar(char16_t(0xDC00 + byte));
        ++i;
    }
    return path;
}

std::vector<TFolderEntry> FolderEntries(const QString& path) {
    const QByteArray folder = EncodeName(path);
    DIR* dir = ::opendir(folder.constData());
    if (!dir) throw OpenError(path, ErrnoReason(errno));
    std::vector<TFolderEntry> entries;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..") continue;
        const QByteArray full = folder + '/' + name;
        struct stat st {};
        TFolderEntry e;
        e.path = path + QLatin1Char('/') + DecodeName(name);
        e.folder = ::lstat(full.constData(), &st) == 0 && S_ISDIR(st.st_mode);
        entries.push_back(std::move(e));
        errno = 0;
    }
    const int failure = errno;
    ::closedir(dir);
    if (failure != 0) throw ReadError(path, ErrnoReason(failure));
    return entries;
}

bool IsFolder(const QString& path) {
    struct stat st {};
    return ::stat(EncodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QByteArray ReadRegular(const QString& path, qint64 maxBytes) {
    QByteArray bytes;
    const QByteArray name = EncodeName(path);
    const auto refuse = [&](mode_t mode) {
        if (S_ISDIR(mode)) throw OpenError(path, FolderReason());
        if (!S_ISREG(mode)) throw OpenError(path, NotRegularReason());
    };
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) throw OpenError(path, ErrnoReason(errno));
    refuse(st.st_mode);
    // Non-blocking, so that a FIFO put in the file's place after the check
    // cannot hang the open; fstat then refuses it.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw OpenError(path, ErrnoReason(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0) throw OpenError(path, ErrnoReason(errno));
    refuse(st.st_mode);
    const qint64 wanted = std::max<qint64>(0, std::min<qint64>(maxBytes, st.st_size));
    bytes.resize(wanted);
    qint64 got = 0;
    while (got < wanted) {
        const ssize_t n = ::read(fd, bytes.data() + got, static_cast<size_t>(wanted - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw ReadError(path, ErrnoReason(errno));
        if (n == 0) break;  // shortened meanwhile
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

}  // namespace device::filesystem
