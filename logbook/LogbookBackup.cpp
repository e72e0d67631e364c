#include "logbook/LogbookBackup.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <set>
#include <vector>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/UserTexts.h"
#include "logbook/LogbookStore.h"

namespace logbook {

namespace {

// The header: what the file is, then the version of its layout (4 bytes).
const QByteArray kMagic = QByteArrayLiteral("TOLMARIK LOGBOOK BACKUP\n");
constexpr quint32 kFormat = 1;
constexpr qsizetype kDigestBytes = 32;  // SHA-256
const QByteArray kDatabaseEntry = QByteArrayLiteral("logbook.sqlite");
const QByteArray kFilesPrefix = QByteArrayLiteral("logbook-files/");
// Far beyond a logbook of every flight a pilot makes in a lifetime.
constexpr qint64 kMaxBytes = 16LL * 1024 * 1024 * 1024;

QString Shown(const QString& path) { return device::ShownName(path); }

[[noreturn]] void NotABackup(const QString& path, const QString& reason) {
    throw device::TAppError(
        QCoreApplication::translate(
            "logbook",
            "Файл \"%1\" не является целой резервной копией журнала (%2); журнал не "
            "изменён")
            .arg(Shown(path), reason));
}

void AppendEntry(QByteArray& out, const QByteArray& name, const QByteArray& bytes) {
    char size4[4];
    qToBigEndian(quint32(name.size()), size4);
    out.append(size4, 4);
    out += name;
    char size8[8];
    qToBigEndian(quint64(bytes.size()), size8);
    out.append(size8, 8);
    out += bytes;
}

// A name of a track file within the files folder, as the system holds it,
// that stays within it: no empty part, no "." or "..", no other separator.
bool SafeRelativeName(const QByteArray& name) {
    if (name.isEmpty() || name.contains('\\') || name.contains('\0') || name.contains(':'))
        return false;
    for (const QByteArray& part : name.split('/'))
        if (part.isEmpty() || part == "." || part == "..") return false;
    return true;
}

struct TEntry {
    QByteArray name;
    QByteArray bytes;
};

// The entries of the backup at `path`, once the whole file has been read
// and checked.
std::vector<TEntry> ReadBackup(const QString& path) {
    const QByteArray all = device::ReadRegularFile(path, kMaxBytes + 1);
    if (all.size() > kMaxBytes)
        NotABackup(path, QCoreApplication::translate("logbook", "файл слишком велик"));
    const qsizetype head = kMagic.size() + 4;
    if (all.size() < head + kDigestBytes || !all.startsWith(kMagic))
        NotABackup(path, QCoreApplication::translate("logbook", "нет заголовка резервной копии"));
    if (qFromBigEndian<quint32>(all.constData() + kMagic.size()) > kFormat)
        NotABackup(
            path, QCoreApplication::translate("logbook", "записана более новой версией программы"));
    const QByteArrayView body(all.constData(), all.size() - kDigestBytes);
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256) != all.right(kDigestBytes))
        NotABackup(path, QCoreApplication::translate("logbook", "контрольная сумма не сходится"));

    std::vector<TEntry> entries;
    std::set<QByteArray> names;
    bool database = false;
    qsizetype at = head;
    const auto take = [&](qint64 count) {
        if (count < 0 || count > body.size() - at)
            NotABackup(path, QCoreApplication::translate("logbook", "запись обрывается"));
        const QByteArray bytes(body.data() + at, qsizetype(count));
        at += qsizetype(count);
        return bytes;
    };
    while (at < body.size()) {
        TEntry entry;
        entry.name = take(qFromBigEndian<quint32>(take(4).constData()));
        entry.bytes = take(qint64(qFromBigEndian<quint64>(take(8).constData())));
        const bool isDatabase = entry.name == kDatabaseEntry;
        if (!isDatabase && !(entry.name.startsWith(kFilesPrefix) &&
                             SafeRelativeName(entry.name.mid(kFilesPrefix.size()))))
            NotABackup(path, QCoreApplication::translate("logbook", "недопустимое имя \"%1\"")
                                 .arg(device::ShownName(device::DecodeName(entry.name))));
        if (!names.insert(entry.name).second)
            NotABackup(path, QCoreApplication::translate("logbook", "имя \"%1\" дважды")
                                 .arg(device::ShownName(device::DecodeName(entry.name))));
        database = database || isDatabase;
        entries.push_back(std::move(entry));
    }
    if (!database) NotABackup(path, QCoreApplication::translate("logbook", "нет базы журнала"));
    return entries;
}

// A connection of its own to an SQLite file, closed and removed with it.
class TConnection {
  public:
    explicit TConnection(const QString& path) {
        static std::atomic<int> counter{0};
        name_ = QStringLiteral("tolmarik-logbook-backup-%1").arg(counter++);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        open_ = db.open();
    }
    ~TConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            if (db.isOpen()) db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    bool Open() const { return open_; }
    QSqlDatabase Database() const { return QSqlDatabase::database(name_, false); }

  private:
    QString name_;
    bool open_ = false;
};

// The database of a backup put together at `path`: a whole logbook of a
// version this program reads.
void CheckRestoredDatabase(const QString& path, const QString& source) {
    TConnection connection(path);
    QSqlQuery q(connection.Database());
    if (!connection.Open() || !q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        NotABackup(source, QCoreApplication::translate("logbook", "база журнала не читается"));
    const int version = q.value(0).toInt();
    if (version > SchemaVersion)
        NotABackup(source, QCoreApplication::translate("logbook",
                                                       "записана более новой версией программы"));
    if (version < 1 || !q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() ||
        q.value(0).toString() != QLatin1String("ok") ||
        !q.exec(QStringLiteral("SELECT COUNT(*) FROM flights")))
        NotABackup(source, QCoreApplication::translate("logbook", "база журнала повреждена"));
}

void MakeFolder(const QString& path) {
    if (!QDir().mkpath(path)) throw device::TAppError(device::FolderNotMadeText(Shown(path)));
}

}  // namespace

QString BackupContentsText(int flights, int trackFiles) {
    return QCoreApplication::translate("logbook", "Полётов: %1, файлов треков: %2")
        .arg(flights)
        .arg(trackFiles);
}

QString RestoredText(const QString& source, int flights, int trackFiles) {
    return QCoreApplication::translate("logbook", "Журнал восстановлен из \"%1\". %2")
        .arg(Shown(source), BackupContentsText(flights, trackFiles));
}

QString FilesFolderOf(const QString& databasePath) {
    return QFileInfo(databasePath).absolutePath() + QStringLiteral("/logbook-files");
}

QString AutomaticBackupFolder(const QString& databasePath) {
    return QFileInfo(databasePath).absolutePath() + QStringLiteral("/logbook-backups");
}

TBackupSummary WriteBackup(QSqlDatabase database, const QString& databasePath,
                           const QString& target) {
    device::CheckWritable(target);
    // SQLite's own copy: consistent while other programs write, and with
    // what the journal holds.
    QTemporaryDir temporary;
    if (!temporary.isValid())
        throw device::TAppError(device::FolderNotMadeText(Shown(temporary.path())));
    const QString copy = temporary.filePath(QStringLiteral("logbook.sqlite"));
    {
        QSqlQuery q(database);
        q.prepare(QStringLiteral("VACUUM INTO ?"));
        q.addBindValue(copy);
        if (!q.exec())
            throw device::TAppError(QCoreApplication::translate("logbook", "%1 не скопирован: %2")
                                        .arg(LogbookNamedText(databasePath), q.lastError().text()));
    }
    QByteArray out = kMagic;
    char format[4];
    qToBigEndian(kFormat, format);
    out.append(format, 4);
    AppendEntry(out, kDatabaseEntry, device::ReadRegularFile(copy, kMaxBytes));

    const QString files = FilesFolderOf(databasePath);
    QStringList found;
    QStringList folders;
    if (device::IsFolder(files)) folders << files;
    while (!folders.isEmpty()) {
        for (const device::TFolderEntry& entry : device::FolderEntries(folders.takeLast())) {
            if (entry.folder)
                folders << entry.path;
            else if (!device::TemporaryFileWriter(QFileInfo(entry.path).fileName()))
                found << entry.path;  // a write under way or cut short is no track copy
        }
    }
    std::sort(found.begin(), found.end());
    for (const QString& path : found)
        AppendEntry(out, kFilesPrefix + device::EncodeName(path.mid(files.size() + 1)),
                    device::ReadRegularFile(path, kMaxBytes));
    out += QCryptographicHash::hash(out, QCryptographicHash::Sha256);
    device::WriteFileSafely(target, out);
    return {int(found.size()), out.size()};
}

QString WriteAutomaticBackup(QSqlDatabase database, const QString& databasePath,
                             const QString& reason) {
    const QString folder = AutomaticBackupFolder(databasePath);
    MakeFolder(folder);
    const QString target =
        folder +
        QStringLiteral("/logbook-%1-%2.backup")
            .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")),
                 reason);
    WriteBackup(database, databasePath, target);
    return target;
}

TBackupSummary RestoreBackup(const QString& databasePath, const QString& source) {
    const std::vector<TEntry> entries = ReadBackup(source);
    const QString folder = QFileInfo(databasePath).absolutePath();
    MakeFolder(folder);
    // Put together beside the logbook, so that the swap is renames within
    // one file system.
    const QString staging =
        folder + QStringLiteral("/.logbook-restoring-%1").arg(QCoreApplication::applicationPid());
    QDir(staging).removeRecursively();  // left by an earlier restore of this process id
    const QString fresh = staging + QStringLiteral("/new"), old = staging + QStringLiteral("/old");
    struct TRemoved {
        QString path;
        ~TRemoved() {
            if (!path.isEmpty()) QDir(path).removeRecursively();
        }
    } removed{staging};
    MakeFolder(fresh + QStringLiteral("/logbook-files"));
    MakeFolder(old);
    TBackupSummary summary;
    for (const TEntry& entry : entries) {
        const QString target = fresh + QLatin1Char('/') +
                               (entry.name == kDatabaseEntry ? QStringLiteral("logbook.sqlite")
                                                             : device::DecodeName(entry.name));
        MakeFolder(QFileInfo(target).absolutePath());
        device::WriteFileSafely(target, entry.bytes);
        if (entry.name != kDatabaseEntry) ++summary.trackFiles;
    }
    CheckRestoredDatabase(fresh + QStringLiteral("/logbook.sqlite"), source);
    summary.bytes = QFileInfo(source).size();

    // The logbook replaced is kept as a backup; one that cannot be read (or
    // track copies without their database) is kept as its files instead.
    const QString files = FilesFolderOf(databasePath);
    bool keptOld = !QFileInfo::exists(databasePath) && !device::IsFolder(files);
    if (QFileInfo::exists(databasePath)) {
        TConnection current(databasePath);
        if (current.Open()) {
            try {
                WriteAutomaticBackup(current.Database(), databasePath,
                                     QStringLiteral("before-restore"));
                keptOld = true;
            } catch (const device::TAppError&) {
                // Damaged: its files are kept below.
            }
            // Its journal into the file, so that the files moved are whole.
            QSqlQuery(current.Database()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        }
    }

    struct TMove {
        QString from, to;
    };
    std::vector<TMove> moved;
    const auto move = [&](const QString& from, const QString& to) {
        const QFileInfo info(from);
        if (!info.exists() && !info.isSymLink()) return;
        if (!QDir().rename(from, to))
            throw device::TAppError(
                QCoreApplication::translate("logbook",
                                            "\"%1\" не переименован в \"%2\"; журнал не "
                                            "изменён")
                    .arg(Shown(from), Shown(to)));
        moved.push_back({from, to});
    };
    try {
        for (const QString suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                     QStringLiteral("-journal")})
            move(databasePath + suffix, old + QStringLiteral("/logbook.sqlite") + suffix);
        move(files, old + QStringLiteral("/logbook-files"));
        move(fresh + QStringLiteral("/logbook.sqlite"), databasePath);
        move(fresh + QStringLiteral("/logbook-files"), files);
    } catch (const device::TAppError&) {
        for (auto it = moved.rbegin(); it != moved.rend(); ++it) QDir().rename(it->to, it->from);
        throw;
    }
    if (!keptOld) {
        const QString backups = AutomaticBackupFolder(databasePath);
        const QString kept = backups + QStringLiteral("/replaced-%1")
                                           .arg(QDateTime::currentDateTimeUtc().toString(
                                               QStringLiteral("yyyyMMdd-HHmmss-zzz")));
        // Where it cannot be moved there, the old logbook stays in the
        // staging folder, for the pilot to find.
        if (!QDir().mkpath(backups) || !QDir().rename(old, kept)) removed.path = fresh;
    }
    return summary;
}

}  // namespace logbook
