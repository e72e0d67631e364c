#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#include "device/FileSystem.h"

namespace device::filesystem {

namespace {
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
}  // namespace

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

QByteArray ReadRegular(const QString& path, qint64 maxBytes) {
    QByteArray bytes;
    const QFileInfo info(path);
    if (info.isDir()) throw OpenError(path, FolderReason());
    if (info.exists() && !info.isFile()) throw OpenError(path, NotRegularReason());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw OpenError(path, file.errorString());
    bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError) throw ReadError(path, file.errorString());
    return bytes;
}

}  // namespace device::filesystem
