#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <string>

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

int SystemKeep(const QString& existing, const QString& second, QString& reason) {
    const std::wstring from = QDir::toNativeSeparators(existing).toStdWString();
    const std::wstring to = QDir::toNativeSeparators(second).toStdWString();
    if (CreateHardLinkW(to.c_str(), from.c_str(), nullptr)) return 0;
    // A file system without hard links (FAT, some network shares): a copy.
    if (CopyFileW(from.c_str(), to.c_str(), TRUE)) return 0;
    reason = LastWindowsReason();
    return -1;
}

// Windows gives a new file the folder's inherited rights; the read-only
// attribute is the one permission a file carries of its own.
void TakeOwnerAndMode(const QString& existing, const QString& temporary) {
    QFile::setPermissions(temporary, QFile::permissions(existing));
}

QString WriteTarget(const QString& path) {
    QFileInfo info(path);
    QString target = path;
    if (info.isSymLink()) {
        // Windows keeps no owner a program may compare cheaply; a link is
        // followed one step, never along a chain or into nothing.
        target = info.symLinkTarget();
        const QFileInfo destination(target);
        if (!destination.exists()) throw WriteError(path, DanglingLinkReason());
        if (destination.isSymLink()) throw WriteError(path, LinkChainReason());
        info = destination;
    }
    if (!info.exists()) return path;
    if (info.isDir()) throw WriteError(path, FolderReason());
    if (!info.isFile()) throw WriteError(path, NotRegularReason());
    if (!info.isWritable()) throw WriteError(path, ReadOnlyReason());
    return target;
}

std::int64_t CurrentProcess() { return std::int64_t(GetCurrentProcessId()); }

bool ProcessGone(std::int64_t id) {
    if (id <= 0 || id > std::int64_t(MAXDWORD)) return false;
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(id));
    if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

// Windows ends a console program by a control event, not a signal; the
// rename of each file is atomic all the same.
void HoldEndSignals() {}
void ReleaseEndSignals() {}

// Windows names are UTF-16, which QString holds as they are.
QByteArray EncodeName(const QString& path) { return QFile::encodeName(path); }
QString DecodeName(const QByteArray& name) { return QFile::decodeName(name); }

std::vector<TFolderEntry> FolderEntries(const QString& path) {
    const QDir dir(path);
    if (!dir.exists() || !dir.isReadable())
        throw OpenError(path, ErrnoReason(dir.exists() ? EACCES : ENOENT));
    std::vector<TFolderEntry> entries;
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        entries.push_back(
            {path + QLatin1Char('/') + info.fileName(), info.isDir() && !info.isSymLink()});
    return entries;
}

bool IsFolder(const QString& path) { return QFileInfo(path).isDir(); }

QByteArray ReadRegular(const QString& path, qint64 maxBytes) {
    QByteArray bytes;
    const QFileInfo info(path);
    if (info.isDir()) throw OpenError(path, FolderReason());
    if (info.exists() && !info.isFile()) throw OpenError(path, NotRegularReason());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw OpenError(path, file.errorString());
    // In pieces: QIODevice::read(n) allocates n bytes at once, and a limit
    // may be far above the file (a backup's is 16 GB).
    constexpr qint64 piece = 1 << 20;
    while (bytes.size() < maxBytes) {
        const QByteArray more = file.read(std::min(piece, maxBytes - bytes.size()));
        if (file.error() != QFileDevice::NoError) throw ReadError(path, file.errorString());
        if (more.isEmpty()) break;
        bytes += more;
    }
    return bytes;
}

}  // namespace device::filesystem
