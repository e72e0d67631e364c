#include "device/FileStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <atomic>
#include <cerrno>

#include "device/AppError.h"
#include "device/FileSystem.h"

namespace device {

namespace {
QString Shown(const QString& path) { return ShownName(path); }
}  // namespace

namespace filesystem {

TAppError OpenError(const QString& path, const QString& reason) {
    return TAppError(QCoreApplication::translate("device", "Не удалось открыть файл \"%1\": %2")
                         .arg(Shown(path), reason));
}

TAppError ReadError(const QString& path, const QString& reason) {
    return TAppError(QCoreApplication::translate("device", "Не удалось прочитать файл \"%1\": %2")
                         .arg(Shown(path), reason));
}

TAppError WriteError(const QString& path, const QString& reason) {
    return TAppError(QCoreApplication::translate("device", "Не удалось записать файл \"%1\": %2")
                         .arg(Shown(path), reason));
}

QString FolderReason() { return QCoreApplication::translate("device", "это папка, а не файл"); }
QString NotRegularReason() {
    return QCoreApplication::translate("device",
                                       "это не обычный файл (канал, устройство или сокет)");
}
QString DanglingLinkReason() {
    return QCoreApplication::translate("device", "это символическая ссылка на несуществующий файл");
}
QString LinkChainReason() {
    return QCoreApplication::translate("device", "это символическая ссылка на другую ссылку");
}
QString ForeignLinkReason() {
    return QCoreApplication::translate(
        "device",
        "это символическая ссылка, которая или чей файл принадлежит другому пользователю");
}
QString ReadOnlyReason() { return QCoreApplication::translate("device", "файл защищен от записи"); }

QString ErrnoReason(int code) { return qt_error_string(code); }

}  // namespace filesystem

namespace {
// Our temporary files: the hidden target name, the writer's process id (so
// that a later write can tell a crash's leftovers from a running writer's
// files) and a random part.
const QLatin1String kTemporaryMark(".tolmarik-");
}  // namespace

// Read by hand rather than by a regular expression: files are written on
// worker threads too, where a match would leave a thread-local object behind
// (app/RuntimeWin.cpp).
std::optional<qint64> TemporaryFileWriter(const QString& name) {
    // ".<target>.tolmarik-<writer>-<8 hex digits>.tmp" or ".old"; the last
    // mark is the one, as nothing after it can hold another.
    const qsizetype mark = name.lastIndexOf(kTemporaryMark);
    if (!name.startsWith(QLatin1Char('.')) || mark < 2) return std::nullopt;
    const QStringView rest = QStringView(name).sliced(mark + kTemporaryMark.size());
    constexpr qsizetype kTail = 1 + 8 + 4;  // "-", the random part, ".tmp"
    if (rest.size() <= kTail) return std::nullopt;
    const QStringView writer = rest.first(rest.size() - kTail);
    const QStringView random = rest.sliced(writer.size() + 1, 8);
    const QStringView kind = rest.last(4);
    const auto digit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    const auto hex = [&](QChar c) {
        return digit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    };
    if (rest[writer.size()] != QLatin1Char('-') ||
        !std::all_of(writer.begin(), writer.end(), digit) ||
        !std::all_of(random.begin(), random.end(), hex) ||
        (kind != QLatin1String(".tmp") && kind != QLatin1String(".old")))
        return std::nullopt;
    bool ok = false;
    const qint64 id = writer.toLongLong(&ok);
    return ok ? std::optional<qint64>(id) : std::nullopt;
}

namespace {

using filesystem::ErrnoReason;
using filesystem::WriteError;

constexpr TFileCalls kSystemCalls{filesystem::SystemCreate,  filesystem::SystemWrite,
                                  filesystem::SystemSync,    filesystem::SystemClose,
                                  filesystem::SystemReplace, filesystem::SystemKeep};
// A test replaces the calls on its own thread while writers of an earlier
// step may still be ending on the pool's threads, ordered only by the pool's
// own wait; the atomic states that order where the thread checker sees it.
std::atomic<const TFileCalls*> g_calls{&kSystemCalls};

QString TemporaryName(const QString& path, const QString& suffix) {
    const QFileInfo info(path);
    // The folder as given: a relative one works where the absolute path
    // would be too long or would not survive a conversion.
    return QDir(info.path())
        .filePath(QStringLiteral(".%1%2%3-%4%5")
                      .arg(info.fileName(), kTemporaryMark)
                      .arg(filesystem::CurrentProcess())
                      .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
                      .arg(suffix));
}

// Removes what a writer that has ended left in `folder`: its temporary
// files and the old files it kept, never the files of a running writer.
void RemoveLeftovers(const QString& folder) {
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const std::optional<qint64> writer = TemporaryFileWriter(name);
        if (writer && filesystem::ProcessGone(*writer)) QFile::remove(dir.filePath(name));
    }
}

// Writes `bytes` into a new temporary file beside `path`, synced to the
// disk; returns its name. Throws naming `shown` when any step fails, with
// the temporary file removed.
QString WriteTemporary(const QString& shown, const QString& path, QByteArrayView bytes) {
    const TFileCalls& calls = FileCalls();
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
    if (QFileInfo::exists(path)) filesystem::TakeOwnerAndMode(path, temporary);
    return temporary;
}

struct TPending {
    QString shown;      // the name the caller gave, for messages
    QString target;     // where the file goes
    QString temporary;  // written and synced
    QString kept;       // a second name of the old file while the set is put in place
};

void RemoveTemporaries(const std::vector<TPending>& pending) {
    for (const TPending& p : pending) {
        QFile::remove(p.temporary);
        if (!p.kept.isEmpty()) QFile::remove(p.kept);
    }
}

// The end signals wait while files are put in place.
class TEndSignalsHeld {
  public:
    TEndSignalsHeld() { filesystem::HoldEndSignals(); }
    ~TEndSignalsHeld() { filesystem::ReleaseEndSignals(); }
    TEndSignalsHeld(const TEndSignalsHeld&) = delete;
    TEndSignalsHeld& operator=(const TEndSignalsHeld&) = delete;
};

// Puts every written file in place, each by one rename over its old file.
// A set keeps a second name of each old file first, so that a failure
// part-way can bring the old files back, again by renames.
void Commit(std::vector<TPending>& pending) {
    const TFileCalls& calls = FileCalls();
    QString reason;
    if (pending.size() > 1) {
        for (TPending& p : pending) {
            if (!QFileInfo::exists(p.target)) continue;
            p.kept = TemporaryName(p.target, QStringLiteral(".old"));
            if (calls.keep(p.target, p.kept, reason) != 0) {
                p.kept.clear();
                RemoveTemporaries(pending);
                throw WriteError(p.shown, reason);
            }
        }
    }
    std::size_t placed = 0;
    for (; placed < pending.size(); ++placed)
        if (calls.replace(pending[placed].temporary, pending[placed].target, reason) != 0) break;
    if (placed == pending.size()) {
        for (const TPending& p : pending)
            if (!p.kept.isEmpty()) QFile::remove(p.kept);
        return;
    }
    // Bring the old files back. One that cannot be brought back is the only
    // copy of what the user had: it stays, under a name the leftover cleaning
    // does not touch, and the error says where.
    QStringList stranded;
    for (std::size_t i = 0; i < placed; ++i) {
        TPending& p = pending[i];
        QString ignored;
        if (p.kept.isEmpty()) {
            QFile::remove(p.target);  // new where there was none
        } else if (calls.replace(p.kept, p.target, ignored) == 0) {
            p.kept.clear();
        } else {
            const QString visible = p.target + QCoreApplication::translate("device", ".прежний");
            if (!QFileInfo::exists(visible) && calls.replace(p.kept, visible, ignored) == 0)
                p.kept = visible;
            stranded << QCoreApplication::translate("device",
                                                    "прежний файл \"%1\" сохранён как \"%2\"")
                            .arg(Shown(p.shown), Shown(p.kept));
            p.kept.clear();
        }
    }
    RemoveTemporaries(pending);
    if (!stranded.isEmpty()) reason += QStringLiteral("; ") + stranded.join(QStringLiteral("; "));
    throw WriteError(pending[placed].shown, reason);
}

}  // namespace

const TFileCalls& FileCalls() { return *g_calls.load(std::memory_order_acquire); }
void SetFileCalls(const TFileCalls* calls) {
    g_calls.store(calls != nullptr ? calls : &kSystemCalls, std::memory_order_release);
}
const TFileCalls& SystemFileCalls() { return kSystemCalls; }

QByteArray ReadRegularFile(const QString& path, qint64 maxBytes) {
    return filesystem::ReadRegular(path, maxBytes);
}

QString DecodeName(const QByteArray& name) { return filesystem::DecodeName(name); }
QByteArray EncodeName(const QString& path) { return filesystem::EncodeName(path); }

QString ShownName(const QString& path) {
    QString shown;
    shown.reserve(path.size());
    for (const QChar c : path) {
        if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF)
            shown += QStringLiteral("\\x%1").arg(c.unicode() & 0xFF, 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return QDir::toNativeSeparators(shown);
}

std::vector<TFolderEntry> FolderEntries(const QString& path) {
    return filesystem::FolderEntries(path);
}
bool IsFolder(const QString& path) { return filesystem::IsFolder(path); }

void CheckWritable(const QString& path) { filesystem::WriteTarget(path); }

void WriteFileSafely(const QString& path, QByteArrayView bytes) {
    WriteFilesSafely({TFileToWrite{path, bytes.toByteArray()}});
}

void WriteFilesSafely(const std::vector<TFileToWrite>& files) {
    std::vector<TPending> pending;
    pending.reserve(files.size());
    QSet<QString> folders;
    try {
        for (const TFileToWrite& file : files) {
            const QString target = filesystem::WriteTarget(file.path);
            const QString folder = QFileInfo(target).path();
            if (!folders.contains(folder)) {
                RemoveLeftovers(folder);
                folders.insert(folder);
            }
            TPending p{file.path, target, {}, {}};
            p.temporary = WriteTemporary(file.path, target, file.bytes);
            pending.push_back(p);
        }
    } catch (...) {
        RemoveTemporaries(pending);
        throw;
    }
    const TEndSignalsHeld held;
    Commit(pending);
}

}  // namespace device
