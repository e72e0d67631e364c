#include "device/FileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>

#include "device/AppError.h"
#include "device/FileSystem.h"

namespace device {

namespace {
QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }
}  // namespace

namespace filesystem {

TAppError OpenError(const QString& path, const QString& reason) {
    return TAppError(QStringLiteral("Не удалось открыть файл \"%1\": %2").arg(Shown(path), reason));
}

TAppError ReadError(const QString& path, const QString& reason) {
    return TAppError(
        QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(Shown(path), reason));
}

QString FolderReason() { return QStringLiteral("это папка, а не файл"); }
QString NotRegularReason() {
    return QStringLiteral("это не обычный файл (канал, устройство или сокет)");
}

QString ErrnoReason(int code) { return qt_error_string(code); }

}  // namespace filesystem

namespace {

TAppError WriteError(const QString& path, const QString& reason) {
    return TAppError(
        QStringLiteral("Не удалось записать файл \"%1\": %2").arg(Shown(path), reason));
}

using filesystem::ErrnoReason;
using filesystem::FolderReason;
using filesystem::NotRegularReason;
using filesystem::SystemReplace;

constexpr TFileCalls kSystemCalls{filesystem::SystemCreate, filesystem::SystemWrite,
                                  filesystem::SystemSync, filesystem::SystemClose,
                                  filesystem::SystemReplace};
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
    return filesystem::ReadRegular(path, maxBytes);
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
