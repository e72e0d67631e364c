#pragma once
// A logbook as one file: its database, copied consistently by SQLite itself,
// and its track copies. The file checks itself: a header, then each entry
// as name and bytes, then a SHA-256 over everything before it. A restore
// reads and checks the whole file, puts the logbook together beside the old
// one, and only then swaps it in; the old logbook survives any failure.
#include <QSqlDatabase>
#include <QString>

namespace logbook {

// The folder of the logbook's own copies of the track files, beside it.
QString FilesFolderOf(const QString& databasePath);
// Where the logbook keeps the backups it makes itself (before a schema
// step, before a restore): the folder "logbook-backups" beside it.
QString AutomaticBackupFolder(const QString& databasePath);

struct TBackupSummary {
    int trackFiles = 0;
    qint64 bytes = 0;  // the backup file's size
};

// Writes the logbook at `databasePath`, read through `database` (an open
// connection to it), and its track files into the file `target`, through
// the file store. Throws device::TAppError naming what failed.
TBackupSummary WriteBackup(QSqlDatabase database, const QString& databasePath,
                           const QString& target);
// The same into AutomaticBackupFolder, named by the time and `reason`
// ("schema-3", "before-restore"); returns the file written.
QString WriteAutomaticBackup(QSqlDatabase database, const QString& databasePath,
                             const QString& reason);

// "Полётов: 12, файлов треков: 12": what a backup holds.
QString BackupContentsText(int flights, int trackFiles);
// What a restore from `source` brought back.
QString RestoredText(const QString& source, int flights, int trackFiles);

// Replaces the logbook at `databasePath` (and its track files) by the
// backup `source`. The logbook must not be open in this process. A backup
// that is damaged, not a logbook's or of a newer version is refused before
// anything changes. The logbook replaced is kept first as an automatic
// backup when it can be read. Throws device::TAppError.
TBackupSummary RestoreBackup(const QString& databasePath, const QString& source);

}  // namespace logbook
