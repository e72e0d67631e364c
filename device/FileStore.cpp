#include "device/FileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>

#include "device/AppError.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace device {

namespace {

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

TAppError OpenError(const QString& path, const QString& reason) {
    return TAppError(QStringLiteral("Не удалось открыть файл \"%1\": %2").arg(Shown(path), reason));
}

TAppError ReadError(const QString& path, const QString& reason) {
    return TAppError(
        QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(Shown(path), reason));
}

TAppError WriteError(const QString& path, const QString& reason) {
    return TAppError(
        QStringLiteral("Не удалось записать файл \"%1\": %2").arg(Shown(path), reason));
}

QString FolderReason() { return QStringLiteral("это папка, а не файл"); }
QString NotRegularReason() {
    return QStringLiteral("это не обычный файл (канал, устройство или сокет)");
}

QString ErrnoReason(int code) { return qt_error_string(code); }

#ifdef _WIN32
QString LastWindowsReason() {
    wchar_t* text = nullptr;
    const DWORD code = GetLastError();
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString reason = text != nullptr ? QString::fromWCharArray(text).trimmed() : QString();
    LocalFree(text);
    return reason.isEmpty() ? QString::number(code) : reason;
}

std::intptr_t SystemCreate(const QString& path, QString& reason) {
    const int fd = _wopen(reinterpret_cast<const wchar_t*>(path.utf16()),
                          _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) reason = ErrnoReason(errno);
    return fd;
}

long long SystemWrite(std::intptr_t file, const char* data, long long size, QString& reason) {
    const unsigned int chunk = static_cast<unsigned int>(std::min<long long>(size, 1 << 30));
    const int written = _write(static_cast<int>(file), data, chunk);
    if (written < 0) reason = ErrnoReason(errno);
    return written;
}

int SystemSync(std::intptr_t file, QString& reason) {
    if (_commit(static_cast<int>(file)) == 0) return 0;
    reason = ErrnoReason(errno);
    return -1;
}

int SystemClose(std::intptr_t file, QString& reason) {
    if (_close(static_cast<int>(file)) == 0) return 0;
    reason = ErrnoReason(errno);
    return -1;
}

int SystemReplace(const QString& from, const QString& to, QString& reason) {
    if (MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                    reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    reason = LastWindowsReason();
    return -1;
}
#else
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
    const QByteArray folder = QFile::encodeName(QFileInfo(to).absolutePath());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}
#endif

constexpr TFileCalls kSystemCalls{SystemCreate, SystemWrite, SystemSync, SystemClose,
                                  SystemReplace};
const TFileCalls* g_calls = &kSystemCalls;

// The file a name leads to: a symbolic link is followed, so that the link
// stays and its target gets the new content, as an editor would do.
QString FinalPath(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.symLinkTarget();
        if (!target.isEmpty()) return target;
    }
    return path;
}

// A folder or a special file in the target's place is never replaced.
void RefuseSpecialTarget(const QString& shown, const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return;
    if (info.isDir()) throw WriteError(shown, FolderReason());
    if (!info.isFile()) throw WriteError(shown, NotRegularReason());
}

// A name beside `path` that nobody uses yet; created by the caller with
// exclusive creation, which settles any race.
QString TemporaryName(const QString& path, const QString& suffix) {
    const QFileInfo info(path);
    return info.absoluteDir().filePath(
        QStringLiteral(".%1.%2%3")
            .arg(info.fileName())
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
            .arg(suffix));
}

// Writes `bytes` into a new temporary file beside `path`, synced to the
// disk; returns its name. Throws naming `shown` when any step fails, with
// the temporary file removed.
QString WriteTemporary(const QString& shown, const QString& path, QByteArrayView bytes) {
    const TFileCalls& calls = *g_calls;
    QString reason;
    QString temporary;
    std::intptr_t file = -1;
    for (int attempt = 0; attempt < 100 && file < 0; ++attempt) {
        temporary = TemporaryName(path, QStringLiteral(".tmp"));
        file = calls.create(temporary, reason);
        if (file < 0 && QFileInfo::exists(temporary)) continue;  // taken: another name
        if (file < 0) throw WriteError(shown, reason);
    }
    if (file < 0) throw WriteError(shown, reason);

    const auto fail = [&](bool open) {
        if (open) {
            QString ignored;
            calls.close(file, ignored);
        }
        QFile::remove(temporary);
        return WriteError(shown, reason);
    };
    const char* p = bytes.data();
    long long left = bytes.size();
    while (left > 0) {
        const long long written = calls.write(file, p, left, reason);
        if (written < 0) throw fail(true);
        if (written == 0) {  // no progress and no reason: the disk took nothing
            reason = ErrnoReason(ENOSPC);
            throw fail(true);
        }
        p += written;
        left -= written;
    }
    if (calls.sync(file, reason) != 0) throw fail(true);
    if (calls.close(file, reason) != 0) throw fail(false);
    // An existing file keeps its permissions.
    if (QFileInfo::exists(path)) QFile::setPermissions(temporary, QFile::permissions(path));
    return temporary;
}

struct TPending {
    QString shown;      // the name the caller gave, for messages
    QString target;     // where the file goes
    QString temporary;  // written and synced
    QString backup;     // the old file while the set is put in place
};

void RemoveTemporaries(const std::vector<TPending>& pending) {
    for (const TPending& p : pending) QFile::remove(p.temporary);
}

}  // namespace

const TFileCalls& FileCalls() { return *g_calls; }
void SetFileCalls(const TFileCalls* calls) { g_calls = calls != nullptr ? calls : &kSystemCalls; }
const TFileCalls& SystemFileCalls() { return kSystemCalls; }

QByteArray ReadRegularFile(const QString& path, qint64 maxBytes) {
    QByteArray bytes;
#ifdef _WIN32
    const QFileInfo info(path);
    if (info.isDir()) throw OpenError(path, FolderReason());
    if (info.exists() && !info.isFile()) throw OpenError(path, NotRegularReason());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw OpenError(path, file.errorString());
    bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError) throw ReadError(path, file.errorString());
#else
    const QByteArray name = QFile::encodeName(path);
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
#endif
    return bytes;
}

void WriteFileSafely(const QString& path, QByteArrayView bytes) {
    WriteFilesSafely({TFileToWrite{path, bytes.toByteArray()}});
}

void WriteFilesSafely(const std::vector<TFileToWrite>& files) {
    const TFileCalls& calls = *g_calls;
    std::vector<TPending> pending;
    pending.reserve(files.size());
    try {
        for (const TFileToWrite& file : files) {
            const QString target = FinalPath(file.path);
            RefuseSpecialTarget(file.path, target);
            TPending p{file.path, target, {}, {}};
            p.temporary = WriteTemporary(file.path, target, file.bytes);
            pending.push_back(p);
        }
    } catch (...) {
        RemoveTemporaries(pending);
        throw;
    }
    if (pending.size() == 1) {
        QString reason;
        if (calls.replace(pending[0].temporary, pending[0].target, reason) != 0) {
            RemoveTemporaries(pending);
            throw WriteError(pending[0].shown, reason);
        }
        return;
    }

    // A set: each old file steps aside before its new one moves in, so that
    // a failure part-way can bring every old file back.
    std::size_t placed = 0;
    QString reason;
    const TPending* failed = nullptr;
    for (; placed < pending.size(); ++placed) {
        TPending& p = pending[placed];
        if (QFileInfo::exists(p.target)) {
            p.backup = TemporaryName(p.target, QStringLiteral(".old"));
            if (calls.replace(p.target, p.backup, reason) != 0) {
                p.backup.clear();
                failed = &p;
                break;
            }
        }
        if (calls.replace(p.temporary, p.target, reason) != 0) {
            failed = &p;
            break;
        }
    }
    if (failed == nullptr) {
        for (const TPending& p : pending)
            if (!p.backup.isEmpty()) QFile::remove(p.backup);
        return;
    }
    // Back out, the failed one included (its old file may have stepped aside).
    for (std::size_t i = 0; i <= placed && i < pending.size(); ++i) {
        const TPending& p = pending[i];
        QString ignored;
        if (!p.backup.isEmpty()) {
            SystemReplace(p.backup, p.target, ignored);
        } else if (i < placed) {
            QFile::remove(p.target);  // new where there was none
        }
    }
    RemoveTemporaries(pending);
    throw WriteError(failed->shown, reason);
}

}  // namespace device
