#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

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
    const QByteArray folder = QFile::encodeName(QFileInfo(to).absolutePath());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

QByteArray ReadRegular(const QString& path, qint64 maxBytes) {
    QByteArray bytes;
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
    return bytes;
}

}  // namespace device::filesystem
