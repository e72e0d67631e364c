#include "logbook/LogbookStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QVariant>
#include <atomic>
#include <functional>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "logbook/LogbookBackup.h"

namespace logbook {

QString LogbookNamedText(const QString& path) {
    return QCoreApplication::translate("logbook", "Журнал полётов \"%1\"")
        .arg(device::ShownName(path));
}

namespace {

QString Shown(const QString& path) { return device::ShownName(path); }

QString FailureText(const QString& path, const QString& reason) {
    return QCoreApplication::translate("logbook", "%1 недоступен: %2")
        .arg(LogbookNamedText(path), reason);
}

[[noreturn]] void Fail(const QString& path, const QString& reason) {
    throw device::TAppError(FailureText(path, reason));
}

// Each schema version is reached from the one before by one step, which ends
// by naming the version it reached (a PRAGMA takes no bound value); a new file
// takes them all. A step is never changed once released: add another.
const char* const kSteps[SchemaVersion][12] = {
    // 1: the flights.
    {"CREATE TABLE flights ("
     " id INTEGER PRIMARY KEY,"
     " identity TEXT NOT NULL UNIQUE,"
     " takeoff_utc INTEGER NOT NULL, landing_utc INTEGER NOT NULL, utc_offset_minutes INTEGER,"
     " duration_s INTEGER NOT NULL,"
     " takeoff_lat REAL NOT NULL, takeoff_lon REAL NOT NULL, takeoff_alt REAL NOT NULL,"
     " landing_lat REAL NOT NULL, landing_lon REAL NOT NULL, landing_alt REAL NOT NULL,"
     " max_alt REAL NOT NULL, min_alt REAL NOT NULL,"
     " climb_1s REAL NOT NULL, sink_1s REAL NOT NULL, climb_10s REAL NOT NULL,"
     " sink_10s REAL NOT NULL,"
     " track_m REAL NOT NULL, straight_m REAL NOT NULL, fixes INTEGER NOT NULL,"
     " model TEXT NOT NULL DEFAULT '', firmware INTEGER,"
     " pilot TEXT NOT NULL DEFAULT '', glider TEXT NOT NULL DEFAULT '',"
     " site TEXT NOT NULL DEFAULT '',"
     " source TEXT NOT NULL, source_path TEXT NOT NULL DEFAULT '',"
     " download_files TEXT NOT NULL DEFAULT '', stored_file TEXT NOT NULL DEFAULT '',"
     " recorded_at TEXT NOT NULL)",
     "CREATE INDEX flights_takeoff ON flights(takeoff_utc)", "PRAGMA user_version = 1", nullptr},
    // 2: the glider's id, the pilot's notes and the named take-off sites.
    {"ALTER TABLE flights ADD COLUMN glider_id TEXT NOT NULL DEFAULT ''",
     "ALTER TABLE flights ADD COLUMN notes TEXT NOT NULL DEFAULT ''",
     "CREATE TABLE sites (id INTEGER PRIMARY KEY, name TEXT NOT NULL,"
     " lat REAL NOT NULL, lon REAL NOT NULL)",
     "PRAGMA user_version = 2", nullptr},
    // 3: the cross-country score and its flight kind; NULL until scored.
    {"ALTER TABLE flights ADD COLUMN score REAL",
     "ALTER TABLE flights ADD COLUMN score_kind TEXT NOT NULL DEFAULT ''",
     "PRAGMA user_version = 3", nullptr},
    // 4: an entry that is the same flight as another, from another recorder.
    {"ALTER TABLE flights ADD COLUMN same_flight_as INTEGER", "PRAGMA user_version = 4", nullptr},
    // 5: the pilot's CIVL id.
    {"ALTER TABLE flights ADD COLUMN civl_id TEXT NOT NULL DEFAULT ''", "PRAGMA user_version = 5",
     nullptr},
    // 6: the changes the pilot can take back, with the flights as they were
    // before each. A later step that adds a column to flights adds it to
    // changed_flights too.
    {"CREATE TABLE changes (id INTEGER PRIMARY KEY, kind TEXT NOT NULL,"
     " flight_id INTEGER NOT NULL, added_site INTEGER, made_at TEXT NOT NULL)",
     "CREATE TABLE changed_flights AS SELECT 0 AS change_id, * FROM flights WHERE 0",
     "CREATE INDEX changed_flights_change ON changed_flights(change_id)", "PRAGMA user_version = 6",
     nullptr},
    // 7: where each entry's time zone comes from, every entry given one (an
    // import named none: its longitude's), and the pilot's settings.
    {"ALTER TABLE flights ADD COLUMN zone_source TEXT NOT NULL DEFAULT ''",
     "ALTER TABLE changed_flights ADD COLUMN zone_source TEXT NOT NULL DEFAULT ''",
     "UPDATE flights SET zone_source = 'instrument' WHERE utc_offset_minutes IS NOT NULL",
     "UPDATE changed_flights SET zone_source = 'instrument' WHERE utc_offset_minutes IS NOT NULL",
     "UPDATE flights SET zone_source = 'longitude', utc_offset_minutes ="
     " CAST(ROUND(takeoff_lon / 15.0) AS INTEGER) * 60 WHERE utc_offset_minutes IS NULL",
     "UPDATE changed_flights SET zone_source = 'longitude', utc_offset_minutes ="
     " CAST(ROUND(takeoff_lon / 15.0) AS INTEGER) * 60 WHERE utc_offset_minutes IS NULL",
     "CREATE TABLE settings (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
     "PRAGMA user_version = 7", nullptr},
};

// The flights with their logbook numbers (see TFlightEntry::number) and the
// number of the entry each is the same flight as; a view of the connection.
constexpr const char* kNumberedView =
    "CREATE TEMP VIEW IF NOT EXISTS numbered AS"
    " WITH n AS (SELECT id AS nid, ROW_NUMBER() OVER (ORDER BY takeoff_utc, id) AS number"
    " FROM flights)"
    " SELECT f.*, n.number AS number, s.number AS same_number FROM flights f"
    " JOIN n ON n.nid = f.id LEFT JOIN n AS s ON s.nid = f.same_flight_as";

// The stored names of the zone sources.
constexpr std::pair<TZoneSource, const char*> kZoneSources[] = {
    {TZoneSource::Instrument, "instrument"}, {TZoneSource::FileHeader, "igc"},
    {TZoneSource::Longitude, "longitude"},   {TZoneSource::Site, "site"},
    {TZoneSource::Computer, "computer"},
};

QString ZoneSourceName(TZoneSource source) {
    for (const auto& [known, name] : kZoneSources)
        if (known == source) return QLatin1String(name);
    return {};
}

TZoneSource ZoneSourceOf(const QString& name) {
    for (const auto& [known, stored] : kZoneSources)
        if (name == QLatin1String(stored)) return known;
    return TZoneSource::Unknown;
}

// The columns of an entry, in the order Bind and Read use them.
constexpr const char* kColumns =
    "identity, takeoff_utc, landing_utc, utc_offset_minutes, duration_s,"
    " takeoff_lat, takeoff_lon, takeoff_alt, landing_lat, landing_lon, landing_alt,"
    " max_alt, min_alt, climb_1s, sink_1s, climb_10s, sink_10s, track_m, straight_m, fixes,"
    " model, firmware, pilot, glider, glider_id, site, notes,"
    " source, source_path, download_files, stored_file, score, score_kind, same_flight_as,"
    " civl_id, zone_source";
constexpr int kColumnCount = 36;

QVariant Optional(const std::optional<int>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}

QVariant Optional(const std::optional<std::int64_t>& value) {
    return value ? QVariant(qint64(*value)) : QVariant(QMetaType::fromType<qint64>());
}

QVariant Optional(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

// A null QString binds as NULL; the text columns hold '' instead.
QVariant Text(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

void Bind(QSqlQuery& q, const TFlightEntry& e) {
    const QVariant values[kColumnCount] = {
        e.identity,
        qint64(e.takeoffUtc),
        qint64(e.landingUtc),
        Optional(e.utcOffsetMinutes),
        qint64(e.durationSeconds),
        e.takeoffLatitude,
        e.takeoffLongitude,
        e.takeoffAltitude,
        e.landingLatitude,
        e.landingLongitude,
        e.landingAltitude,
        e.highestAltitude,
        e.lowestAltitude,
        e.climb1s,
        e.sink1s,
        e.climb10s,
        e.sink10s,
        e.trackLengthMetres,
        e.straightMetres,
        e.fixCount,
        e.instrumentModel,
        Optional(e.firmwareVersion),
        e.pilot,
        e.glider,
        e.gliderId,
        e.site,
        e.notes,
        e.source,
        e.sourcePath,
        e.downloadFiles.join(QLatin1Char('\n')),
        e.storedFile,
        Optional(e.score),
        e.scoreKind,
        Optional(e.sameFlightAs),
        e.civlId,
        ZoneSourceName(e.zoneSource),
    };
    for (const QVariant& v : values)
        q.addBindValue(v.typeId() == QMetaType::QString ? Text(v.toString()) : v);
}

std::optional<int> OptionalInt(const QVariant& v) {
    return v.isNull() ? std::nullopt : std::optional<int>(v.toInt());
}

// Reads the row at the query's position: "id" then kColumns, then (from the
// view "numbered") "number, same_number".
TFlightEntry Read(const QSqlQuery& q) {
    TFlightEntry e;
    int c = 0;
    e.id = q.value(c++).toLongLong();
    e.identity = q.value(c++).toString();
    e.takeoffUtc = q.value(c++).toLongLong();
    e.landingUtc = q.value(c++).toLongLong();
    e.utcOffsetMinutes = OptionalInt(q.value(c++));
    e.durationSeconds = q.value(c++).toLongLong();
    for (double* d :
         {&e.takeoffLatitude, &e.takeoffLongitude, &e.takeoffAltitude, &e.landingLatitude,
          &e.landingLongitude, &e.landingAltitude, &e.highestAltitude, &e.lowestAltitude,
          &e.climb1s, &e.sink1s, &e.climb10s, &e.sink10s, &e.trackLengthMetres, &e.straightMetres})
        *d = q.value(c++).toDouble();
    e.fixCount = q.value(c++).toInt();
    e.instrumentModel = q.value(c++).toString();
    e.firmwareVersion = OptionalInt(q.value(c++));
    for (QString* s :
         {&e.pilot, &e.glider, &e.gliderId, &e.site, &e.notes, &e.source, &e.sourcePath})
        *s = q.value(c++).toString();
    const QString files = q.value(c++).toString();
    e.downloadFiles = files.isEmpty() ? QStringList() : files.split(QLatin1Char('\n'));
    e.storedFile = q.value(c++).toString();
    const QVariant score = q.value(c++);
    if (!score.isNull()) e.score = score.toDouble();
    e.scoreKind = q.value(c++).toString();
    const QVariant same = q.value(c++);
    if (!same.isNull()) e.sameFlightAs = same.toLongLong();
    e.civlId = q.value(c++).toString();
    e.zoneSource = ZoneSourceOf(q.value(c++).toString());
    if (c + 2 <= q.record().count()) {
        e.number = q.value(c++).toLongLong();
        const QVariant sameNumber = q.value(c++);
        if (!sameNumber.isNull()) e.sameFlightNumber = sameNumber.toLongLong();
    }
    return e;
}

// The primary result code (the low byte of an extended one).
int Primary(const QSqlError& error) { return error.nativeErrorCode().toInt() & 0xff; }

// SQLITE_BUSY or SQLITE_LOCKED: another connection holds the lock.
bool Locked(const QSqlError& error) { return Primary(error) == 5 || Primary(error) == 6; }

// A failure in words the pilot can act on; SQLite's own text in brackets.
QString Reason(const QSqlError& error) {
    if (Locked(error))
        return QCoreApplication::translate("logbook",
                                           "журнал занят другой программой, попробуйте позже (%1)")
            .arg(error.text());
    if (Primary(error) == 8)
        return QCoreApplication::translate("logbook", "нет права записи в журнал (%1)")
            .arg(error.text());
    return error.text();
}

[[noreturn]] void Fail(const QString& path, const QSqlError& error) {
    const QString text = FailureText(path, Reason(error));
    if (Locked(error)) throw TLogbookLocked(text);
    throw device::TAppError(text);
}

// The file name as an SQLite URI, for opening it with parameters.
QString Uri(const QString& path, const QString& parameters) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QLatin1Char('?') + parameters;
}

}  // namespace

TLogbookStore::TLogbookStore(const QString& path, int busyTimeoutMs)
    : path_(path), busyTimeoutMs_(busyTimeoutMs) {
    static std::atomic<int> counter{0};
    connection_ = QStringLiteral("tolmarik-logbook-%1").arg(counter++);
    try {
        Open();
        Migrate();
        QSqlQuery q(Database());
        if (!q.exec(QLatin1String(kNumberedView))) Fail(path_, q.lastError());
    } catch (...) {
        // No destructor runs for a store that failed to open: the refused
        // file is let go here, or it stays open for the process's life (and
        // on Windows cannot be moved aside or replaced meanwhile).
        Close();
        throw;
    }
}

TLogbookStore::~TLogbookStore() { Close(); }

void TLogbookStore::Close() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

void TLogbookStore::CheckWritable() const {
    if (!readOnly_.isEmpty()) Fail(path_, readOnly_);
}

QSqlDatabase TLogbookStore::Database() const { return QSqlDatabase::database(connection_, false); }

void TLogbookStore::Open() {
    // Only SQLite opens the file: closing any other descriptor of it would
    // drop every lock this process holds on it.
    const QFileInfo info(path_);
    if (info.isSymLink() && !info.exists())
        Fail(path_,
             QCoreApplication::translate("logbook", "ссылка ведёт к отсутствующему файлу \"%1\"")
                 .arg(Shown(info.symLinkTarget())));
    if (info.exists() && !info.isFile())
        Fail(path_, QCoreApplication::translate("logbook", "это не файл"));
    // The journal's files are made beside the file a link leads to.
    const QString real = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QString folder = QFileInfo(real).absolutePath();
    const QString folderReadOnly =
        QCoreApplication::translate("logbook", "нет права записи в папку \"%1\"")
            .arg(Shown(folder));
    if (!info.exists()) {
        if (!QDir().mkpath(folder))
            Fail(path_, QCoreApplication::translate("logbook", "не удалось создать папку \"%1\"")
                            .arg(Shown(folder)));
        if (!QFileInfo(folder).isWritable()) Fail(path_, folderReadOnly);
    } else if (!info.isReadable()) {
        Fail(path_, QCoreApplication::translate("logbook", "нет права чтения файла"));
    } else if (!info.isWritable()) {
        readOnly_ = QCoreApplication::translate("logbook", "файл только для чтения");
    } else if (!QFileInfo(folder).isWritable()) {
        readOnly_ = folderReadOnly;
    } else if (const QFileInfo shm(real + QStringLiteral("-shm"));
               shm.exists() && !shm.isWritable()) {
        // Another program may be reading through it: it is the pilot's to remove.
        Fail(path_, QCoreApplication::translate(
                        "logbook",
                        "файл \"%1\" остался только для чтения; удалите его, когда "
                        "журнал не открыт ни одной программой")
                        .arg(Shown(shm.filePath())));
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        Fail(path_, QCoreApplication::translate(
                        "logbook", "нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite)"));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_);
    if (readOnly_.isEmpty()) {
        db.setDatabaseName(path_);
    } else {
        // Read without a shared-memory file, which would be made with the
        // file's own read-only mode and stop every later change. Changes
        // still in the journal need one.
        const QFileInfo wal(real + QStringLiteral("-wal"));
        db.setDatabaseName(Uri(real, wal.exists() && wal.size() > 0
                                         ? QStringLiteral("mode=ro")
                                         : QStringLiteral("immutable=1")));
        options += QStringLiteral(";QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY");
    }
    db.setConnectOptions(options);
    if (!db.open()) Fail(path_, db.lastError());

    QSqlQuery q(db);
    // Reading the version reads the whole header and any journal: a damaged
    // file fails here, before anything is written.
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        Fail(path_,
             QCoreApplication::translate("logbook", "файл повреждён или не является журналом (%1)")
                 .arg(q.lastError().text()));
    if (q.value(0).toInt() > SchemaVersion)
        Fail(path_,
             QCoreApplication::translate("logbook", "файл записан более новой версией программы"));
    // The whole file is read once per process and version of the file;
    // later opens (a recording after the window opened the logbook) rely on
    // SQLite's checks of the pages they touch.
    static QMutex checkedGuard;
    static QSet<QString> checked;
    const QFileInfo file(path_);
    const QString canonical = QStringLiteral("%1|%2|%3|%4")
                                  .arg(file.canonicalFilePath())
                                  .arg(file.size())
                                  .arg(file.lastModified().toMSecsSinceEpoch())
                                  .arg(file.birthTime().toMSecsSinceEpoch());
    QMutexLocker lock(&checkedGuard);
    if (!checked.contains(canonical)) {
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() ||
            q.value(0).toString() != QLatin1String("ok"))
            Fail(path_,
                 QCoreApplication::translate("logbook", "файл повреждён (%1)")
                     .arg(q.lastError().isValid() ? q.lastError().text() : q.value(0).toString()));
        checked.insert(canonical);
    }
    lock.unlock();
    q.finish();
    if (!readOnly_.isEmpty()) return;
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) Fail(path_, q.lastError());
    // A change committed is on the disk before the program reports it.
    q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    q.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
}

namespace {

// BEGIN IMMEDIATE takes the write lock at once, so that two programs wait
// for each other (busy time-out) instead of failing on a lock upgrade.
class TTransaction {
  public:
    TTransaction(QSqlDatabase db, const QString& path, const QString& readOnly)
        : db_(db), path_(path) {
        if (!readOnly.isEmpty()) Fail(path_, readOnly);
        QSqlQuery q(db_);
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) Fail(path_, q.lastError());
    }
    ~TTransaction() {
        if (!committed_) QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
    }
    void Commit() {
        QSqlQuery q(db_);
        if (!q.exec(QStringLiteral("COMMIT"))) Fail(path_, q.lastError());
        committed_ = true;
    }

  private:
    QSqlDatabase db_;
    QString path_;
    bool committed_ = false;
};

}  // namespace

void TLogbookStore::Migrate() {
    QSqlDatabase db = Database();
    const auto fileVersion = [&] {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) Fail(path_, q.lastError());
        return q.value(0).toInt();
    };
    const int found = fileVersion();
    if (found == SchemaVersion) return;
    // A logbook kept by an older version is saved as it is before its first
    // schema step; an upgrade that cannot be undone waits until it can.
    if (found > 0 && found < SchemaVersion && readOnly_.isEmpty()) {
        try {
            WriteAutomaticBackup(db, path_, QStringLiteral("schema-%1").arg(found));
        } catch (const device::TAppError& error) {
            Fail(path_, QCoreApplication::translate(
                            "logbook", "резервная копия перед обновлением не сохранена: %1")
                            .arg(error.Text()));
        }
    }
    TTransaction transaction(db, path_, readOnly_);
    QSqlQuery q(db);
    // Another program may have brought it up to date meanwhile.
    const int version = fileVersion();
    if (version == SchemaVersion) return;
    if (version > SchemaVersion)
        Fail(path_,
             QCoreApplication::translate("logbook", "файл записан более новой версией программы"));
    for (int step = version; step < SchemaVersion; ++step)
        for (const char* const* sql = kSteps[step]; *sql; ++sql)
            if (!q.exec(QString::fromLatin1(*sql))) Fail(path_, q.lastError());
    transaction.Commit();
}

std::optional<std::int64_t> TLogbookStore::FindIdentity(const QString& identity) {
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("SELECT id FROM flights WHERE identity = ?"));
    q.addBindValue(identity);
    if (!q.exec()) Fail(path_, q.lastError());
    if (!q.next()) return std::nullopt;
    return q.value(0).toLongLong();
}

std::optional<std::int64_t> TLogbookStore::FindRecordedWithin(device::TrackTime from,
                                                              device::TrackTime to) {
    QSqlQuery q(Database());
    q.prepare(
        QStringLiteral("SELECT id FROM flights WHERE takeoff_utc >= ? AND landing_utc <= ?"
                       " AND takeoff_utc <= landing_utc LIMIT 1"));
    q.addBindValue(qint64(from));
    q.addBindValue(qint64(to));
    if (!q.exec()) Fail(path_, q.lastError());
    if (!q.next()) return std::nullopt;
    return q.value(0).toLongLong();
}

std::int64_t TLogbookStore::Insert(const TFlightEntry& entry) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    QString marks;
    for (int i = 0; i <= kColumnCount; ++i)
        marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
    q.prepare(QStringLiteral("INSERT INTO flights (%1, recorded_at) VALUES (%2)")
                  .arg(QLatin1String(kColumns), marks));
    Bind(q, entry);
    q.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    if (!q.exec()) Fail(path_, q.lastError());
    const std::int64_t id = q.lastInsertId().toLongLong();
    transaction.Commit();
    return id;
}

std::optional<TFlightEntry> TLogbookStore::Flight(std::int64_t id) {
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("SELECT id, %1, number, same_number FROM numbered WHERE id = ?")
                  .arg(QLatin1String(kColumns)));
    q.addBindValue(qint64(id));
    if (!q.exec()) Fail(path_, q.lastError());
    if (!q.next()) return std::nullopt;
    return Read(q);
}

namespace {
// Every flight, or those of one year of local take-off time, newest first.
QSqlQuery Select(QSqlDatabase db, const QString& columns, std::optional<int> year) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    QString sql = QStringLiteral("SELECT %1 FROM numbered").arg(columns);
    if (year)
        sql += QStringLiteral(
            " WHERE CAST(strftime('%Y', takeoff_utc + IFNULL(utc_offset_minutes, 0) * 60,"
            " 'unixepoch') AS INTEGER) = ?");
    q.prepare(sql + QStringLiteral(" ORDER BY takeoff_utc DESC, id DESC"));
    if (year) q.addBindValue(*year);
    return q;
}
}  // namespace

std::vector<TFlightEntry> TLogbookStore::Flights(std::optional<int> year) {
    QSqlQuery q =
        Select(Database(),
               QStringLiteral("id, %1, number, same_number").arg(QLatin1String(kColumns)), year);
    if (!q.exec()) Fail(path_, q.lastError());
    std::vector<TFlightEntry> out;
    while (q.next()) out.push_back(Read(q));
    return out;
}

namespace {
// Rows with some columns only: id, take-off and zone, then `rest`, which
// `read` takes from the query's column 3 on.
std::vector<TFlightEntry> PartialRows(
    QSqlDatabase db, const QString& path, const QString& rest, std::optional<int> year,
    const std::function<void(const QSqlQuery&, TFlightEntry&)>& read) {
    QSqlQuery q = Select(db, QStringLiteral("id, takeoff_utc, utc_offset_minutes, ") + rest, year);
    if (!q.exec()) Fail(path, q.lastError());
    std::vector<TFlightEntry> out;
    while (q.next()) {
        TFlightEntry e;
        e.id = q.value(0).toLongLong();
        e.takeoffUtc = q.value(1).toLongLong();
        e.utcOffsetMinutes = OptionalInt(q.value(2));
        read(q, e);
        out.push_back(std::move(e));
    }
    return out;
}
}  // namespace

std::vector<TFlightEntry> TLogbookStore::TotalsRows(std::optional<int> year) {
    return PartialRows(Database(), path_,
                       QStringLiteral("duration_s, track_m, glider, same_flight_as, site, max_alt,"
                                      " climb_10s, straight_m, score, score_kind, number"),
                       year, [](const QSqlQuery& q, TFlightEntry& e) {
                           e.durationSeconds = q.value(3).toLongLong();
                           e.trackLengthMetres = q.value(4).toDouble();
                           e.glider = q.value(5).toString();
                           if (!q.value(6).isNull()) e.sameFlightAs = q.value(6).toLongLong();
                           e.site = q.value(7).toString();
                           e.highestAltitude = q.value(8).toDouble();
                           e.climb10s = q.value(9).toDouble();
                           e.straightMetres = q.value(10).toDouble();
                           if (!q.value(11).isNull()) e.score = q.value(11).toDouble();
                           e.scoreKind = q.value(12).toString();
                           e.number = q.value(13).toLongLong();
                       });
}

std::vector<TFlightEntry> TLogbookStore::SearchRows() {
    return PartialRows(Database(), path_, QStringLiteral("site, glider, notes, pilot"),
                       std::nullopt, [](const QSqlQuery& q, TFlightEntry& e) {
                           e.site = q.value(3).toString();
                           e.glider = q.value(4).toString();
                           e.notes = q.value(5).toString();
                           e.pilot = q.value(6).toString();
                       });
}

std::vector<int> TLogbookStore::Years() {
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral(
            "SELECT DISTINCT CAST(strftime('%Y', takeoff_utc + IFNULL(utc_offset_minutes, 0) * 60,"
            " 'unixepoch') AS INTEGER) AS y FROM flights ORDER BY y DESC")))
        Fail(path_, q.lastError());
    std::vector<int> years;
    while (q.next()) years.push_back(q.value(0).toInt());
    return years;
}

void TLogbookStore::UpdateTexts(std::int64_t id, const QString& site, const QString& glider,
                                const QString& notes) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("UPDATE flights SET site = ?, glider = ?, notes = ? WHERE id = ?"));
    q.addBindValue(Text(site));
    q.addBindValue(Text(glider));
    q.addBindValue(Text(notes));
    q.addBindValue(qint64(id));
    if (!q.exec()) Fail(path_, q.lastError());
    transaction.Commit();
}

void TLogbookStore::NameSites(const std::vector<std::int64_t>& ids, const QString& site) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("UPDATE flights SET site = ? WHERE id = ?"));
    for (const std::int64_t id : ids) {
        q.addBindValue(Text(site));
        q.addBindValue(qint64(id));
        if (!q.exec()) Fail(path_, q.lastError());
    }
    transaction.Commit();
}

void TLogbookStore::Remove(std::int64_t id) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("DELETE FROM flights WHERE id = ?"));
    q.addBindValue(qint64(id));
    if (!q.exec()) Fail(path_, q.lastError());
    // The other recorder's entry of the same flight now counts on its own.
    q.prepare(QStringLiteral("UPDATE flights SET same_flight_as = NULL WHERE same_flight_as = ?"));
    q.addBindValue(qint64(id));
    if (!q.exec()) Fail(path_, q.lastError());
    transaction.Commit();
}

void TLogbookStore::SetSameFlight(std::int64_t id, std::optional<std::int64_t> as) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("UPDATE flights SET same_flight_as = ? WHERE id = ?"));
    q.addBindValue(Optional(as));
    q.addBindValue(qint64(id));
    if (!q.exec()) Fail(path_, q.lastError());
    if (as) {
        // One entry counts for the flight: those that pointed here point on.
        q.prepare(QStringLiteral("UPDATE flights SET same_flight_as = ? WHERE same_flight_as = ?"));
        q.addBindValue(qint64(*as));
        q.addBindValue(qint64(id));
        if (!q.exec()) Fail(path_, q.lastError());
    }
    transaction.Commit();
}

void TLogbookStore::Replace(std::int64_t id, const TFlightEntry& entry) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    QString marks;
    for (int i = 0; i < kColumnCount; ++i) marks += i ? QStringLiteral(", ?") : QStringLiteral("?");
    q.prepare(QStringLiteral("UPDATE flights SET (%1) = (%2) WHERE id = ?")
                  .arg(QLatin1String(kColumns), marks));
    Bind(q, entry);
    q.addBindValue(qint64(id));
    if (!q.exec()) Fail(path_, q.lastError());
    transaction.Commit();
}

std::vector<TFlightEntry> TLogbookStore::FlightsWithin(device::TrackTime from,
                                                       device::TrackTime to) {
    QSqlQuery q(Database());
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT id, %1 FROM flights WHERE takeoff_utc <= ? AND landing_utc >= ?"
                       " ORDER BY takeoff_utc, id")
            .arg(QLatin1String(kColumns)));
    q.addBindValue(qint64(to));
    q.addBindValue(qint64(from));
    if (!q.exec()) Fail(path_, q.lastError());
    std::vector<TFlightEntry> out;
    while (q.next()) out.push_back(Read(q));
    return out;
}

void TLogbookStore::SetScore(std::int64_t id, double score, const QString& kind) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("UPDATE flights SET score = ?, score_kind = ? WHERE id = ?"));
    q.addBindValue(score);
    q.addBindValue(Text(kind));
    q.addBindValue(qint64(id));
    if (!q.exec()) Fail(path_, q.lastError());
    transaction.Commit();
}

std::vector<std::int64_t> TLogbookStore::Unscored() {
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral("SELECT id FROM flights WHERE score IS NULL AND source != 'manual'"
                               " ORDER BY takeoff_utc DESC, id DESC")))
        Fail(path_, q.lastError());
    std::vector<std::int64_t> ids;
    while (q.next()) ids.push_back(q.value(0).toLongLong());
    return ids;
}

std::vector<TSite> TLogbookStore::Sites() {
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral("SELECT id, name, lat, lon FROM sites ORDER BY id")))
        Fail(path_, q.lastError());
    std::vector<TSite> sites;
    while (q.next())
        sites.push_back({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toDouble(),
                         q.value(3).toDouble()});
    return sites;
}

std::int64_t TLogbookStore::KeepForUndo(const QString& kind, std::int64_t subject,
                                        const std::vector<std::int64_t>& ids) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("INSERT INTO changes (kind, flight_id, made_at) VALUES (?, ?, ?)"));
    q.addBindValue(kind);
    q.addBindValue(qint64(subject));
    q.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    if (!q.exec()) Fail(path_, q.lastError());
    const std::int64_t change = q.lastInsertId().toLongLong();
    q.prepare(QStringLiteral("INSERT INTO changed_flights (change_id, id, %1, recorded_at)"
                             " SELECT ?, id, %1, recorded_at FROM flights WHERE id = ?")
                  .arg(QLatin1String(kColumns)));
    for (const std::int64_t id : ids) {
        q.addBindValue(qint64(change));
        q.addBindValue(qint64(id));
        if (!q.exec()) Fail(path_, q.lastError());
    }
    // Only the latest changes can be taken back.
    for (const char* sql : {"DELETE FROM changed_flights WHERE change_id <= ?",
                            "DELETE FROM changes WHERE id <= ?"}) {
        q.prepare(QString::fromLatin1(sql));
        q.addBindValue(qint64(change - UndoDepth));
        if (!q.exec()) Fail(path_, q.lastError());
    }
    transaction.Commit();
    return change;
}

void TLogbookStore::NoteAddedSite(std::int64_t change, std::int64_t site) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("UPDATE changes SET added_site = ? WHERE id = ?"));
    q.addBindValue(qint64(site));
    q.addBindValue(qint64(change));
    if (!q.exec()) Fail(path_, q.lastError());
    transaction.Commit();
}

std::optional<TUndone> TLogbookStore::Undo() {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral(
            "SELECT id, kind, flight_id, added_site FROM changes ORDER BY id DESC LIMIT 1")))
        Fail(path_, q.lastError());
    if (!q.next()) return std::nullopt;
    const qint64 change = q.value(0).toLongLong();
    TUndone undone{q.value(1).toString(), q.value(2).toLongLong()};
    const QVariant site = q.value(3);
    q.finish();
    const auto run = [&](const QString& sql, const QVariant& value) {
        q.prepare(sql);
        q.addBindValue(value);
        if (!q.exec()) Fail(path_, q.lastError());
    };
    const auto number = [&] {
        run(QStringLiteral("SELECT number FROM numbered WHERE id = ?"), qint64(undone.id));
        const std::int64_t found = q.next() ? q.value(0).toLongLong() : 0;
        q.finish();
        return found;
    };
    // An entry added is taken out; its number is told as it was.
    if (undone.kind == QLatin1String("add")) {
        undone.number = number();
        run(QStringLiteral("DELETE FROM flights WHERE id = ?"), qint64(undone.id));
    }
    run(QStringLiteral(
            "DELETE FROM flights WHERE id IN (SELECT id FROM changed_flights WHERE change_id = ?)"),
        change);
    run(QStringLiteral("INSERT INTO flights (id, %1, recorded_at) SELECT id, %1, recorded_at"
                       " FROM changed_flights WHERE change_id = ?")
            .arg(QLatin1String(kColumns)),
        change);
    if (!site.isNull()) run(QStringLiteral("DELETE FROM sites WHERE id = ?"), site);
    run(QStringLiteral("DELETE FROM changed_flights WHERE change_id = ?"), change);
    run(QStringLiteral("DELETE FROM changes WHERE id = ?"), change);
    if (undone.kind != QLatin1String("add")) undone.number = number();
    transaction.Commit();
    return undone;
}

std::int64_t TLogbookStore::AddSite(const QString& name, double latitude, double longitude) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("INSERT INTO sites (name, lat, lon) VALUES (?, ?, ?)"));
    q.addBindValue(Text(name));
    q.addBindValue(latitude);
    q.addBindValue(longitude);
    if (!q.exec()) Fail(path_, q.lastError());
    const std::int64_t id = q.lastInsertId().toLongLong();
    transaction.Commit();
    return id;
}

std::optional<std::int64_t> TLogbookStore::IdOfNumber(std::int64_t number) {
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("SELECT id FROM numbered WHERE number = ?"));
    q.addBindValue(qint64(number));
    if (!q.exec()) Fail(path_, q.lastError());
    if (!q.next()) return std::nullopt;
    return q.value(0).toLongLong();
}

QString TLogbookStore::Setting(const QString& name) {
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("SELECT value FROM settings WHERE name = ?"));
    q.addBindValue(name);
    if (!q.exec()) Fail(path_, q.lastError());
    return q.next() ? q.value(0).toString() : QString();
}

void TLogbookStore::SetSetting(const QString& name, const QString& value) {
    TTransaction transaction(Database(), path_, readOnly_);
    QSqlQuery q(Database());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO settings (name, value) VALUES (?, ?)"));
    q.addBindValue(name);
    q.addBindValue(Text(value));
    if (!q.exec()) Fail(path_, q.lastError());
    transaction.Commit();
}

std::int64_t TLogbookStore::DataVersion() {
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral("PRAGMA data_version")) || !q.next()) Fail(path_, q.lastError());
    return q.value(0).toLongLong();
}

int TLogbookStore::Count() {
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM flights")) || !q.next())
        Fail(path_, q.lastError());
    return q.value(0).toInt();
}

}  // namespace logbook
