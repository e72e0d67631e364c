// The logbook on a real SQLite file in a temporary folder: recording a
// download, the same flight found again from its files, imports, the schema
// of version 1 brought up to date, the score kept and made up later, sites,
// totals and CSV.
#include "LogbookSuite.h"

class TestLogbook : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString Db() const { return dir_.filePath(QStringLiteral("book/logbook.sqlite")); }

  private Q_SLOTS:
    void flightCount_russianPluralForms() {
        const std::pair<int, const char*> rows[] = {
            {0, "0 полётов"},     {1, "1 полёт"},     {2, "2 полёта"},    {4, "4 полёта"},
            {5, "5 полётов"},     {11, "11 полётов"}, {12, "12 полётов"}, {14, "14 полётов"},
            {21, "21 полёт"},     {22, "22 полёта"},  {101, "101 полёт"}, {111, "111 полётов"},
            {1004, "1004 полёта"}};
        for (const auto& [count, text] : rows)
            QCOMPARE(logbook::FlightCountText(count), QString::fromUtf8(text));
    }

    void mentions_siteGliderNotesOrPilot_anyCase() {
        TFlightEntry flight;
        flight.site = QStringLiteral("Юца");
        flight.glider = QStringLiteral("OZONE Rush 6");
        flight.notes = QStringLiteral("термики до 3000");
        flight.pilot = QStringLiteral("Ivan Petrov");
        for (const char* found : {"юца", "rush", "3000", "PETROV", " ozone "})
            QVERIFY2(Mentions(flight, QString::fromUtf8(found)), found);
        QVERIFY(!Mentions(flight, QStringLiteral("Enzo")));
    }

    void init() {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
    }

    void download_recordedOnce_foundAgainFromItsFiles() {
        const auto gps = logbooktest::Download(Time(2024, 6, 7, 9, 0, 0), 45.1f, 6.2f);
        const QString folder = dir_.filePath(QStringLiteral("download"));
        QDir().mkpath(folder);
        track::TTrackFileOptions options;
        options.pilot = kProfile;
        TNullMemo memo;
        const QStringList files = track::WriteTrackFiles(3, {gps, {}}, memo, folder, options);
        TDownloadedFlight download{0,     logbooktest::Checked(gps),
                                   files, models::DeviceModelId(102),
                                   311,   std::uint8_t(0xFE)};

        TLogbook book(Db());
        const TRecordOutcome first = book.RecordDownload(download, kProfile);
        QCOMPARE(first.result, TRecordResult::Added);
        const TFlightEntry e = *book.Flight(first.id);
        // Take-off and landing from the fixes, not the first and last record.
        // (The rule looks 10 s ahead.)
        QVERIFY(std::llabs(e.takeoffUtc - Time(2024, 6, 7, 9, 2, 0)) <= 10);
        QVERIFY(e.landingUtc <= Time(2024, 6, 7, 9, 28, 0));
        QVERIFY(e.landingUtc >= Time(2024, 6, 7, 9, 27, 0));
        QCOMPARE(e.durationSeconds, e.landingUtc - e.takeoffUtc);
        QCOMPARE(e.utcOffsetMinutes, std::optional<int>(-120));
        QCOMPARE(e.LocalTakeoff(), e.takeoffUtc - 7200);
        QCOMPARE(e.instrumentModel, QStringLiteral("Mevra-C"));
        QCOMPARE(e.firmwareVersion, std::optional<int>(311));
        QCOMPARE(e.pilot, kProfile.pilot);
        QCOMPARE(e.glider, kProfile.gliderType);
        QCOMPARE(e.fixCount, 1800);
        QVERIFY(e.highestAltitude > 1290 && e.lowestAltitude == 600);
        QVERIFY(e.climb10s > 0 && e.sink10s < 0 && e.trackLengthMetres > e.straightMetres);
        QCOMPARE(e.downloadFiles, files);
        // The logbook's own copy survives the download folder.
        const QString copy = book.StoredFilePath(e);
        QCOMPARE(Digest(copy), Digest(folder + QStringLiteral("/Track3.igc")));
        QDir(folder).removeRecursively();
        QCOMPARE(int(book.FlightFixes(e).size()), 1800);

        QCOMPARE(book.RecordDownload(download, kProfile).result, TRecordResult::AlreadyKept);
        // Its IGC file and a GPX file of it, imported later, are the same flight.
        const QString igc = dir_.filePath(QStringLiteral("again.igc"));
        device::WriteFileSafely(igc, logbooktest::Igc(gps));
        const QString gpx = dir_.filePath(QStringLiteral("again.gpx"));
        device::WriteFileSafely(gpx, QByteArray::fromStdString(track::GpxText(gps)));
        for (const QString& path : {igc, gpx}) {
            const TRecordOutcome again = book.ImportFile(path, {}).front();
            QCOMPARE(again.result, TRecordResult::AlreadyKept);
            QCOMPARE(again.id, first.id);
        }
        QCOMPARE(book.Store().Count(), 1);
    }

    void download_withoutIgcFile_writesItsOwnCopy() {
        const auto gps = logbooktest::Download(Time(2024, 6, 8, 9, 0, 0), 45.1f, 6.2f, 600);
        TLogbook book(Db());
        const TRecordOutcome outcome =
            book.RecordDownload({0, logbooktest::Checked(gps), {}, {}, {}, {}}, kProfile);
        QCOMPARE(outcome.result, TRecordResult::Added);
        const TFlightEntry e = *book.Flight(outcome.id);
        // No zone from the instrument: its longitude's (6.2° east: UTC+0).
        QCOMPARE(e.utcOffsetMinutes, std::optional<int>(0));
        QCOMPARE(e.zoneSource, TZoneSource::Longitude);
        const QByteArray copy = device::ReadRegularFile(book.StoredFilePath(e), 1 << 24);
        QVERIFY(copy.contains("HFPLTPILOTINCHARGE:Ivan Petrov"));
        QCOMPARE(book.RecordDownload({0, {}, {}, {}, {}, {}}, kProfile).result,
                 TRecordResult::NoFlight);
    }

    // A Windows user's data folder may hold Cyrillic letters (C:\Users\Пилот):
    // the database, its track copies and a reopening all find them.
    void cyrillicDataFolder_logbookAndCopiesKept() {
        const QString folder =
            dir_.filePath(QStringLiteral("Пилот/AppData/Local/Tolmarik/TolmarikProg"));
        const QString db = folder + QStringLiteral("/logbook.sqlite");
        const auto gps = logbooktest::Download(Time(2024, 6, 9, 9, 0, 0), 45.1f, 6.2f, 600);
        std::int64_t id = 0;
        {
            TLogbook book(db);
            const TRecordOutcome outcome =
                book.RecordDownload({0, logbooktest::Checked(gps), {}, {}, {}, {}}, kProfile);
            QCOMPARE(outcome.result, TRecordResult::Added);
            id = outcome.id;
        }
        QVERIFY(QFileInfo::exists(db));
        TLogbook book(db);
        const TFlightEntry e = *book.Flight(id);
        QVERIFY2(book.StoredFilePath(e).startsWith(folder), qPrintable(book.StoredFilePath(e)));
        QCOMPARE(int(book.FlightFixes(e).size()), 600);
        QCOMPARE(FileCount(folder + QStringLiteral("/logbook-files")), 1);
    }

    void import_folderRecursively_badFilesNamed_restGoesOn() {
        const QString in = dir_.filePath(QStringLiteral("in"));
        QDir().mkpath(in + QStringLiteral("/2023/deep"));
        WriteIgc(in + QStringLiteral("/a.igc"), Time(2024, 5, 1, 10, 0, 0), 45.0f, 6.0f);
        WriteIgc(in + QStringLiteral("/2023/deep/b.IGC"), Time(2023, 7, 1, 10, 0, 0), 46.0f, 7.0f);
        device::WriteFileSafely(in + QStringLiteral("/2023/broken.igc"),
                                "AXTK001\r\nHFDTE010723\r\n");
        device::WriteFileSafely(in + QStringLiteral("/notes.txt"), "not a track");
        TLogbook book(Db());
        std::vector<int> seen;
        const TImportReport report = book.Import({in, dir_.filePath(QStringLiteral("missing.igc"))},
                                                 kProfile, [&](int done, int, const QString&) {
                                                     seen.push_back(done);
                                                     return true;
                                                 });
        QCOMPARE(report.added, 2);
        QCOMPARE(report.failed, 2);
        QCOMPARE(report.errors.size(), 2);
        QVERIFY(report.errors[0].contains(QStringLiteral("broken.igc")));
        QVERIFY(report.errors[1].contains(QStringLiteral("missing.igc")));
        QCOMPARE(seen, (std::vector<int>{0, 1, 2, 3, 4}));
        // The file's pilot wins over the profile's; none in the file: the profile's.
        QCOMPARE(book.Flights().front().pilot, kProfile.pilot);

        const TImportReport again =
            book.Import({in}, kProfile, [](int done, int, const QString&) { return done < 1; });
        QVERIFY(again.cancelled);
        QCOMPARE(again.added + again.alreadyKept + again.failed, 1);
    }

    void schemaVersion1_broughtUpToDate() {
        QDir().mkpath(QFileInfo(Db()).path());
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v1"));
            db.setDatabaseName(Db());
            QVERIFY(db.open());
            QSqlQuery q(db);
            // The schema as version 1 shipped it, with one flight.
            QVERIFY(q.exec(QStringLiteral(
                "CREATE TABLE flights (id INTEGER PRIMARY KEY, identity TEXT NOT NULL UNIQUE,"
                " takeoff_utc INTEGER NOT NULL, landing_utc INTEGER NOT NULL, utc_offset_minutes "
                "INTEGER,"
                " duration_s INTEGER NOT NULL, takeoff_lat REAL NOT NULL, takeoff_lon REAL NOT "
                "NULL,"
                " takeoff_alt REAL NOT NULL, landing_lat REAL NOT NULL, landing_lon REAL NOT NULL,"
                " landing_alt REAL NOT NULL, max_alt REAL NOT NULL, min_alt REAL NOT NULL,"
                " climb_1s REAL NOT NULL, sink_1s REAL NOT NULL, climb_10s REAL NOT NULL,"
                " sink_10s REAL NOT NULL, track_m REAL NOT NULL, straight_m REAL NOT NULL,"
                " fixes INTEGER NOT NULL, model TEXT NOT NULL DEFAULT '', firmware INTEGER,"
                " pilot TEXT NOT NULL DEFAULT '', glider TEXT NOT NULL DEFAULT '',"
                " site TEXT NOT NULL DEFAULT '', source TEXT NOT NULL, source_path TEXT NOT NULL "
                "DEFAULT '',"
                " download_files TEXT NOT NULL DEFAULT '', stored_file TEXT NOT NULL DEFAULT '',"
                " recorded_at TEXT NOT NULL)")));
            QVERIFY(
                q.exec(QStringLiteral("INSERT INTO flights VALUES (7, 'abc', 1717750000, "
                                      "1717753600, 180, 3600, 45, 6, 500,"
                                      " 45.1, 6.1, 400, 1500, 400, 3, -4, 2, -3, 20000, 9000, "
                                      "3600, 'Mevra-A', 12, 'P', 'G',"
                                      " 'Юца', 'download', '', '', '', '2024-06-07T10:00:00Z')")));
            QVERIFY(q.exec(QStringLiteral("PRAGMA user_version = 1")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("v1"));
        TLogbook book(Db());
        // Saved as version 1 left it before the first step.
        const QStringList kept = QDir(AutomaticBackupFolder(Db())).entryList(QDir::Files);
        QCOMPARE(kept.size(), 1);
        QVERIFY2(kept[0].endsWith(QStringLiteral("-schema-1.backup")), qPrintable(kept[0]));
        const QString old = dir_.filePath(QStringLiteral("old/logbook.sqlite"));
        RestoreBackup(old, AutomaticBackupFolder(Db()) + QLatin1Char('/') + kept[0]);
        QCOMPARE(Scalar(old, QStringLiteral("PRAGMA user_version")).toInt(), 1);
        QCOMPARE(Scalar(old, QStringLiteral("SELECT site FROM flights WHERE id = 7")).toString(),
                 QStringLiteral("Юца"));
        const TFlightEntry e = *book.Flight(7);
        QCOMPARE(e.site, QStringLiteral("Юца"));
        QCOMPARE(e.utcOffsetMinutes, std::optional<int>(180));
        QCOMPARE(e.zoneSource, TZoneSource::Instrument);
        QCOMPARE(e.notes, QString());
        // Not scored yet, and with no track of its own it cannot be.
        QVERIFY(!e.score);
        QCOMPARE(book.Store().Unscored(), std::vector<std::int64_t>{7});
        QCOMPARE(book.ScoreUnscored(), 0);
        QVERIFY(!book.Flight(7)->score);
        book.Edit(7, QStringLiteral("Юца"), QStringLiteral("G"), QStringLiteral("first"));
        QCOMPARE(book.Flight(7)->notes, QStringLiteral("first"));
        QCOMPARE(Scalar(Db(), QStringLiteral("PRAGMA user_version")).toInt(), SchemaVersion);
        QCOMPARE(Scalar(Db(), QStringLiteral("PRAGMA journal_mode")).toString(),
                 QStringLiteral("wal"));
    }

    void unusableFile_refusedByName_neverWritten_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a database") << QByteArray(4096, 'x') << QStringLiteral("повреждён");
        QTest::newRow("written by a newer version")
            << QByteArray("newer") << QStringLiteral("более новой");
        QTest::newRow("damaged pages") << QByteArray() << QStringLiteral("повреждён");
    }

    void unusableFile_refusedByName_neverWritten() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        if (bytes == "newer") {
            const QString made = dir_.filePath(QStringLiteral("newer.sqlite"));
            Scalar(made, QStringLiteral("PRAGMA user_version = 99"));
            Scalar(made, QStringLiteral("CREATE TABLE later (x)"));
            QFile file(made);
            QVERIFY(file.open(QIODevice::ReadOnly));
            bytes = file.readAll();
        }
        if (bytes.isEmpty()) {
            // A real logbook whose pages after the header were overwritten.
            {
                TLogbook book(Db());
                for (int i = 0; i < 5; ++i)
                    book.RecordDownload({0,
                                         logbooktest::Checked(logbooktest::Download(
                                             Time(2024, 1, 1 + i, 9, 0, 0), 45.0f, 6.0f, 600)),
                                         {},
                                         {},
                                         {},
                                         {}},
                                        {});
            }
            Scalar(Db(), QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
            QFile file(Db());
            QVERIFY(file.open(QIODevice::ReadWrite));
            bytes = file.readAll();
            QVERIFY(bytes.size() > 8192);
            for (qsizetype i = 4096; i < bytes.size(); ++i) bytes[i] = char(i * 7);
            file.close();
            QFile::remove(Db() + QStringLiteral("-wal"));
            QFile::remove(Db() + QStringLiteral("-shm"));
        }
        QDir().mkpath(QFileInfo(Db()).path());
        device::WriteFileSafely(Db(), bytes);
        try {
            TLogbook book(Db());
            QFAIL("opened");
        } catch (const device::TAppError& error) {
            QVERIFY2(error.Text().contains(QDir::toNativeSeparators(Db())),
                     qPrintable(error.Text()));
            QVERIFY2(error.Text().contains(reason), qPrintable(error.Text()));
        }
        // Let go at once: Windows would keep the file from being moved aside.
        QVERIFY(
            QSqlDatabase::connectionNames().filter(QStringLiteral("tolmarik-logbook")).isEmpty());
        QFile file(Db());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        QVERIFY(!QFile::exists(Db() + QStringLiteral("-wal")) ||
                QFileInfo(Db() + QStringLiteral("-wal")).size() == 0);
    }

    void unwritableFolder_failsWithAMessage() {
        // A file where the folder should be: no user, not even root, can make it.
        const QString blocked = dir_.filePath(QStringLiteral("blocked"));
        device::WriteFileSafely(blocked, "x");
        const TRecordOutcome outcome =
            RecordDownloadNow(blocked + QStringLiteral("/sub/logbook.sqlite"),
                              {0,
                               logbooktest::Checked(logbooktest::Download(Time(2024, 1, 1, 9, 0, 0),
                                                                          45.0f, 6.0f, 600)),
                               {},
                               {},
                               {},
                               {}},
                              {});
        QCOMPARE(outcome.result, TRecordResult::LogbookFailed);
        QVERIFY2(outcome.error.contains(QStringLiteral("blocked")), qPrintable(outcome.error));
    }

    void sites_namedOnce_givenToTakeoffsNearby() {
        TLogbook book(Db());
        auto record = [&](int day, float lat, float lon) {
            return book
                .RecordDownload({0,
                                 logbooktest::Checked(logbooktest::Download(
                                     Time(2024, 6, day, 9, 0, 0), lat, lon, 600)),
                                 {},
                                 {},
                                 {},
                                 {}},
                                {})
                .id;
        };
        const auto a = record(1, 45.0f, 6.0f);
        const auto near = record(2, 45.0036f, 6.0f);  // 400 m north
        const auto far = record(3, 45.0063f, 6.0f);   // 700 m north
        const QString name = QStringLiteral("Юца <север>");
        auto offered = [&] {
            std::vector<std::int64_t> ids;
            for (const TFlightEntry& e : book.SitesToRename(a, name)) ids.push_back(e.id);
            return ids;
        };
        QCOMPARE(book.SiteRadius(), DefaultSiteRadiusMetres);
        QCOMPARE(offered(), std::vector<std::int64_t>{near});
        // Named alone, as a pilot who answers no.
        book.Edit(a, name, QString(), QString());
        QCOMPARE(book.Flight(near)->site, QString());
        QVERIFY(book.Undo());
        book.Edit(a, name, QString(), QString(), offered());
        QCOMPARE(book.Flight(near)->site, name);
        QCOMPARE(book.Flight(far)->site, QString());
        // A later flight from there is named as it is recorded; one from
        // outside the radius is not.
        QCOMPARE(book.Flight(record(4, 44.9990f, 6.0010f))->site, name);
        QCOMPARE(book.Flight(record(5, 44.9937f, 6.0f))->site, QString());
        QCOMPARE(int(book.Store().Sites().size()), 1);
        // A wider radius, kept in the logbook, reaches the far one.
        book.SetSiteRadius(800);
        QCOMPARE(TLogbook(Db()).SiteRadius(), 800.0);
        QVERIFY(book.SitesToRename(a, QStringLiteral("Другое")).size() == 4);
        QVERIFY_THROWS_EXCEPTION(device::TAppError, book.SetSiteRadius(1));
    }

    // Each take-off in its place's time: the instrument's zone, the file's
    // HFTZN, else its longitude's; the file's HOSIT names the site. The
    // numbers follow the take-off instants, so flights added out of order
    // are numbered by time, across a change of zone, and the ids stay.
    void localTime_zoneSourcesAndSites_numbersFollowTakeoff() {
        TLogbook book(Db());
        const struct {
            const char* what;
            device::TrackTime start;
            float lon;
            QByteArray headers;  // a download when "-", with the instrument's zone +3
            int minutes;
            TZoneSource source;
            const char* localDate;
            const char* site;
        } rows[] = {
            {"a download: the instrument's zone", Time(2024, 6, 2, 23, 0, 0), 37.6f, "-", 180,
             TZoneSource::Instrument, "2024-06-03", ""},
            {"HFTZN before the longitude", Time(2024, 6, 3, 1, 0, 0), 37.6f, "HFTZNTIMEZONE:-5\r\n",
             -300, TZoneSource::FileHeader, "2024-06-02", ""},
            {"HFTZN with minutes, HOSIT", Time(2024, 6, 1, 9, 0, 0), 77.0f,
             "HFTZNUTCOFFSET:+5:30\r\nHOSITSite:Worcester Beacon\r\n", 330, TZoneSource::FileHeader,
             "2024-06-01", "Worcester Beacon"},
            {"no zone, east: UTC+3", Time(2024, 5, 1, 9, 0, 0), 37.6f, "", 180,
             TZoneSource::Longitude, "2024-05-01", ""},
            {"no zone, west: UTC-1", Time(2024, 5, 2, 23, 30, 0), -7.6f, "", -60,
             TZoneSource::Longitude, "2024-05-02", ""},
            {"a zone no place has: the longitude's", Time(2024, 5, 3, 9, 0, 0), 37.6f,
             "HFTZNTIMEZONE:+19\r\nHOSITSite:NKN\r\n", 180, TZoneSource::Longitude, "2024-05-03",
             ""},
        };
        std::vector<std::int64_t> ids;
        for (const auto& row : rows) {
            const auto gps = logbooktest::Download(row.start, 45.0f, row.lon, 900);
            if (row.headers == "-") {
                TDownloadedFlight download{
                    0, logbooktest::Checked(gps), {}, {}, {}, std::uint8_t(3)};
                ids.push_back(book.RecordDownload(download, {}).id);
                continue;
            }
            QByteArray igc = logbooktest::Igc(gps);
            igc.insert(igc.indexOf('\n') + 1, row.headers);
            const QString path = dir_.filePath(QStringLiteral("zone%1.igc").arg(ids.size()));
            device::WriteFileSafely(path, igc);
            ids.push_back(book.ImportFile(path, {}).front().id);
        }
        std::vector<std::int64_t> byTime = ids;
        std::sort(byTime.begin(), byTime.end(), [&](std::int64_t a, std::int64_t b) {
            return book.Flight(a)->takeoffUtc < book.Flight(b)->takeoffUtc;
        });
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            const TFlightEntry e = *book.Flight(ids[i]);
            QVERIFY2(e.utcOffsetMinutes == std::optional<int>(rows[i].minutes), rows[i].what);
            QVERIFY2(e.zoneSource == rows[i].source, rows[i].what);
            QVERIFY2(device::DateText(ShownTime(e, e.takeoffUtc, false).time) ==
                         QLatin1String(rows[i].localDate),
                     rows[i].what);
            QVERIFY2(ShownTime(e, e.takeoffUtc, true).time == e.takeoffUtc, rows[i].what);
            QVERIFY2(e.site == QString::fromUtf8(rows[i].site), rows[i].what);
            const auto at = std::find(byTime.begin(), byTime.end(), e.id) - byTime.begin();
            QVERIFY2(e.number == at + 1, rows[i].what);
            QVERIFY2(*book.Store().IdOfNumber(e.number) == e.id, rows[i].what);
        }
        // Newest first, numbered down to 1.
        std::vector<std::int64_t> numbers;
        for (const TFlightEntry& e : book.Flights()) numbers.push_back(e.number);
        QCOMPARE(numbers, (std::vector<std::int64_t>{6, 5, 4, 3, 2, 1}));
        QCOMPARE(ZoneText(330), QStringLiteral("UTC+5:30"));
        QCOMPARE(ZoneText(-60), QStringLiteral("UTC-1"));
    }

    // A flight without a track: its zone from a flight of the same site,
    // else the computer's; counted in totals, marked in the CSV. A take-off
    // moved renumbers the flights, and undo takes each change back in turn.
    void manualEntryAndTakeoffEdit_countedAndUndone() {
        TLogbook book(Db());
        TDownloadedFlight download = Downloaded(Time(2024, 6, 10, 9, 0, 0), 45.0f, 6.0f);
        download.timeZoneByte = 2;
        const std::int64_t flown = book.RecordDownload(download, kProfile).id;
        book.Edit(flown, QStringLiteral("Юца"), {}, {});
        const TFlightEntry before = *book.Flight(flown);

        const std::int64_t manual =
            book.AddManual({QDate(2024, 6, 1), QTime(12, 0), 5400, QStringLiteral(" юца "),
                            QStringLiteral("Rush"), QStringLiteral("учебный")});
        TFlightEntry m = *book.Flight(manual);
        QVERIFY(m.Manual());
        QCOMPARE(m.site, QStringLiteral("юца"));
        QCOMPARE(m.zoneSource, TZoneSource::Site);
        QCOMPARE(m.takeoffUtc, Time(2024, 6, 1, 10, 0, 0));
        QCOMPARE(m.landingUtc - m.takeoffUtc, device::TrackTime(5400));
        QCOMPARE(m.number, std::int64_t(1));
        QCOMPARE(book.Flight(flown)->number, std::int64_t(2));
        QVERIFY(book.Store().Unscored().empty());
        QVERIFY(FactsText(m).contains(QStringLiteral("Трек: ") + NoTrackText()));
        const TLogbookTotals totals = TLogbook::Totals(book.Store().TotalsRows());
        QCOMPARE(totals.all.flights, 2);
        QCOMPARE(totals.all.seconds, 5400 + before.durationSeconds);
        QVERIFY(TLogbook::CsvText({m}).trimmed().endsWith(
            "\"UTC+2\",\"" + ZoneSourceText(TZoneSource::Site).toUtf8() + "\",\"" +
            NoTrackText().toUtf8() + '"'));
        // No flight from that site: this computer's zone on that day.
        const std::int64_t elsewhere =
            book.AddManual({QDate(2024, 1, 15), QTime(10, 30), 3600, {}, {}, {}});
        m = *book.Flight(elsewhere);
        QCOMPARE(m.zoneSource, TZoneSource::Computer);
        QCOMPARE(
            m.utcOffsetMinutes,
            std::optional<int>(QDateTime(QDate(2024, 1, 15), QTime(10, 30)).offsetFromUtc() / 60));
        QCOMPARE(m.number, std::int64_t(1));
        for (const TManualFlight& refused :
             {TManualFlight{QDate(), QTime(10, 0), 600, {}, {}, {}},
              TManualFlight{QDate(2024, 1, 1), QTime(10, 0), 0, {}, {}, {}},
              TManualFlight{QDate(2024, 1, 1), QTime(10, 0), 25 * 3600, {}, {}, {}}})
            QVERIFY_THROWS_EXCEPTION(device::TAppError, book.AddManual(refused));

        // The flown one moved to New Year's Eve, local time: first of three.
        book.EditTakeoff(flown, QDate(2023, 12, 31), QTime(11, 15));
        const TFlightEntry moved = *book.Flight(flown);
        QCOMPARE(moved.takeoffUtc, Time(2023, 12, 31, 9, 15, 0));
        QCOMPARE(moved.landingUtc - moved.takeoffUtc, before.landingUtc - before.takeoffUtc);
        QCOMPARE(moved.number, std::int64_t(1));
        QCOMPARE(book.Flight(elsewhere)->number, std::int64_t(2));

        QCOMPARE(UndoneText(*book.Undo()), QStringLiteral("Отменено изменение полёта № 3"));
        QCOMPARE(book.Flight(flown)->takeoffUtc, before.takeoffUtc);
        QCOMPARE(UndoneText(*book.Undo()), QStringLiteral("Отменено добавление полёта № 1"));
        QVERIFY(!book.Flight(elsewhere));
        QCOMPARE(UndoneText(*book.Undo()), QStringLiteral("Отменено добавление полёта № 1"));
        QCOMPARE(book.Store().Count(), 1);
        QCOMPARE(book.Flight(flown)->number, std::int64_t(1));
    }

    void totalsAndCsv() {
        TLogbook book(Db());
        auto record = [&](int year, int day, const QString& glider) {
            book.RecordDownload({0,
                                 logbooktest::Checked(logbooktest::Download(
                                     Time(year, 6, day, 9, 0, 0), 45.0f, 6.0f, 1440)),
                                 {},
                                 {},
                                 {},
                                 {}},
                                {{}, glider, {}, {}, {}});
        };
        record(2023, 1, QStringLiteral("Rush"));
        record(2024, 1, QStringLiteral("Rush"));
        record(2024, 2, QStringLiteral("=HYPERLINK(\"x\")"));
        const std::vector<TFlightEntry> all = book.Flights();
        const TLogbookTotals totals = TLogbook::Totals(all);
        QCOMPARE(totals.all.flights, 3);
        // 24 minutes recorded, about 20 flown.
        QVERIFY(std::llabs(totals.all.seconds - 3 * 1200) <= 30);
        QCOMPARE(totals.byYear.size(), std::size_t(2));
        QCOMPARE(totals.byYear[0].key, QStringLiteral("2024"));
        QCOMPARE(totals.byYear[0].totals.flights, 2);
        QCOMPARE(totals.byYear[0].totals.seconds, all[0].durationSeconds + all[1].durationSeconds);
        QCOMPARE(totals.byGlider[0].key, QStringLiteral("Rush"));
        QCOMPARE(totals.byGlider[0].totals.flights, 2);
        QCOMPARE(int(book.Flights(2023).size()), 1);

        const QString csv = dir_.filePath(QStringLiteral("out.csv"));
        book.ExportCsv(all, csv);
        const QList<QByteArray> rows = device::ReadRegularFile(csv, 1 << 20).split('\n');
        QCOMPARE(rows.size(), 1 + 3 + 1);  // the header, the flights, the end of the last line
        QVERIFY(rows[0].startsWith("\"Дата\",\"Взлёт\""));
        QVERIFY2(
            rows[1].contains("," + device::DurationText(all[0].durationSeconds).toUtf8() + ",") &&
                rows[1].contains("\"'=HYPERLINK(\"\"x\"\")\""),
            rows[1].constData());
        // The columns added after the old ones, by name and in their place.
        QVERIFY(
            rows[0].trimmed().endsWith("\"Заметки\",\"№\",\"Широта взлёта\",\"Долгота "
                                       "взлёта\",\"XContest, б\",\"Вид полёта\",\"Пояс\","
                                       "\"Пояс определён\",\"Трек\""));
        // The last eight fields hold no comma of their own.
        const QList<QByteArray> fields = rows[1].trimmed().split(',');
        const QList<QByteArray> added = fields.sliced(fields.size() - 8);
        QCOMPARE(added[0], QByteArray::number(qint64(all[0].number)));
        QCOMPARE(added[5], QByteArray("\"UTC+0\""));
        QCOMPARE(added[6], '"' + ZoneSourceText(TZoneSource::Longitude).toUtf8() + '"');
        QCOMPARE(added[1].toDouble(), all[0].takeoffLatitude);
        QCOMPARE(added[2].toDouble(), all[0].takeoffLongitude);
        QVERIFY(all[0].score);
        QCOMPARE(added[3], QByteArray::number(*all[0].score, 'f', 2));
        QCOMPARE(added[4], '"' + KindName(all[0].scoreKind).toUtf8() + '"');
    }

    // Totals by month and by site, and the records, each naming its entry; a
    // flight counted in another entry (the longest here) counts in neither.
    void totalsByMonthAndSite_records_mergedCountedOnce() {
        TLogbook book(Db());
        QVERIFY(TLogbook::Records(book.Store().TotalsRows()).empty());
        auto record = [&](int month, int day, int seconds, float lat) {
            return book
                .RecordDownload({0,
                                 logbooktest::Checked(logbooktest::Download(
                                     Time(2024, month, day, 9, 0, 0), lat, 6.0f, seconds)),
                                 {},
                                 {},
                                 {},
                                 {}},
                                {})
                .id;
        };
        const auto june = record(6, 1, 1440, 45.0f);
        const auto longest = record(6, 2, 3600, 45.0f);
        const auto july = record(7, 1, 1200, 46.0f);
        const auto copy = record(7, 2, 7200, 47.0f);
        book.Edit(june, QStringLiteral("Юца"), QString(), QString(), {longest});
        book.Merge(july, copy);
        const std::vector<TFlightEntry> rows = book.Store().TotalsRows();

        const struct {
            TTotalsBy by;
            std::vector<std::pair<QString, int>> keys;  // newest or most hours first
        } splits[] = {
            {TTotalsBy::Month, {{"2024-07", 1}, {"2024-06", 2}}},
            {TTotalsBy::Year, {{"2024", 3}}},
            {TTotalsBy::Site, {{"Юца", 2}, {"(место не названо)", 1}}},
            {TTotalsBy::Glider, {{"(крыло не указано)", 3}}},
        };
        for (const auto& split : splits) {
            std::vector<std::pair<QString, int>> got;
            for (const TTotalsRow& row : TLogbook::TotalsBy(rows, split.by))
                got.emplace_back(row.key, row.totals.flights);
            QCOMPARE(got, split.keys);
        }

        const std::map<TRecordKind, std::int64_t> holders = {
            {TRecordKind::LongestFlight, longest},
            {TRecordKind::LongestDistance, longest},
            {TRecordKind::BestScore, longest},
            {TRecordKind::HighestAltitude, june},  // a tie: the first to reach it
            {TRecordKind::BestClimb, july},        // the steepest of the made-up climbs
        };
        const std::vector<TLogbookRecord> records = TLogbook::Records(rows);
        QCOMPARE(records.size(), holders.size());
        for (const TLogbookRecord& r : records) {
            QVERIFY2(r.id == holders.at(r.kind), qPrintable(r.title));
            QCOMPARE(device::DateText(r.localTakeoff),
                     device::DateText(book.Flight(r.id)->LocalTakeoff()));
        }
        QCOMPARE(
            records.front().value,
            device::DurationText(book.Flight(longest)->durationSeconds) + QStringLiteral(" ч"));
    }

    // The pilot's CIVL ID: the profile's for a download and for the pilot's
    // own file, the header's for a file that names one, and never the
    // profile's for another pilot's file.
    void civlId_fromProfileOrFile_neverGivenToAnotherPilot() {
        TLogbook book(Db());
        const track::TPilotProfile me{
            QStringLiteral("Иван Петров"), {}, {}, QStringLiteral("12345"), {}};
        const std::int64_t downloaded =
            book.RecordDownload(Downloaded(Time(2024, 6, 1, 9, 0, 0), 45.0f, 6.0f), me).id;
        QCOMPARE(book.Flight(downloaded)->civlId, QStringLiteral("12345"));
        QVERIFY(FactsText(*book.Flight(downloaded)).contains(QStringLiteral("\nCIVL ID: 12345")));
        const struct {
            const char* what;
            track::TPilotProfile header;
            const char* kept;
        } rows[] = {
            {"the pilot's own file", {QStringLiteral("Ivan Petrov"), {}, {}, {}, {}}, "12345"},
            {"another pilot's file", {QStringLiteral("Anna Smith"), {}, {}, {}, {}}, ""},
            {"a file with its own id", {QStringLiteral("Anna Smith"), {}, {}, "777", {}}, "777"},
        };
        int day = 2;
        for (const auto& row : rows) {
            const QString igc = dir_.filePath(QStringLiteral("civl%1.igc").arg(day));
            device::WriteFileSafely(
                igc, logbooktest::Igc(
                         logbooktest::Download(Time(2024, 6, day++, 9, 0, 0), 45.0f, 6.0f, 900),
                         row.header));
            const TRecordOutcome outcome = book.ImportFile(igc, me).front();
            QCOMPARE(outcome.result, TRecordResult::Added);
            QVERIFY2(book.Flight(outcome.id)->civlId == QLatin1String(row.kept), row.what);
        }
    }

    // Each kind of change taken back, newest first: an edit that named the
    // sites nearby, and a removal of an entry another was counted in.
    void undo_editsAndRemovals_newestFirst() {
        TLogbook book(Db());
        QVERIFY(!book.Undo());
        auto record = [&](int day, float lat) {
            return book.RecordDownload(Downloaded(Time(2024, 6, day, 9, 0, 0), lat, 6.0f), kProfile)
                .id;
        };
        const auto a = record(1, 45.0f), near = record(2, 45.0018f), other = record(3, 47.0f);
        book.Merge(a, other);
        const std::vector<TFlightEntry> before = book.Flights();
        book.Edit(a, QStringLiteral("Юца"), QStringLiteral("Rush"), QStringLiteral("термики"),
                  {near});
        QCOMPARE(book.Flight(near)->site, QStringLiteral("Юца"));
        book.Remove(a);
        QVERIFY(!book.Flight(a));
        QVERIFY(!book.Flight(other)->sameFlightAs);

        const std::optional<TUndone> removal = book.Undo();
        QVERIFY(removal);
        QCOMPARE(UndoneText(*removal), QStringLiteral("Отменено удаление полёта № %1").arg(a));
        QCOMPARE(book.Flight(a)->notes, QStringLiteral("термики"));
        QCOMPARE(book.Flight(other)->sameFlightAs, std::optional<std::int64_t>(a));
        const std::optional<TUndone> edit = book.Undo();
        QVERIFY(edit && edit->kind == QLatin1String("edit") && edit->id == a);
        const std::vector<TFlightEntry> after = book.Flights();
        QCOMPARE(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            QCOMPARE(after[i].id, before[i].id);
            QCOMPARE(after[i].site, before[i].site);
            QCOMPARE(after[i].glider, before[i].glider);
            QCOMPARE(after[i].notes, before[i].notes);
            QCOMPARE(after[i].sameFlightAs, before[i].sameFlightAs);
        }
        QVERIFY(book.Store().Sites().empty());  // the site named goes with the edit
        QVERIFY(!book.Undo());
    }

    // A flight is scored as it is added; one kept unscored (by an older
    // version) is scored from the logbook's copy of its track, here through
    // the command line, which lists the score.
    void score_keptWhenAdded_unscoredScoredLater() {
        NEEDS_CHILD_DATA_FOLDER();
        const QString igc = dir_.filePath(QStringLiteral("flight.igc"));
        WriteIgc(igc, Time(2024, 6, 7, 9, 0, 0), 45.1f, 6.2f);
        const QString data = dir_.filePath(QStringLiteral("data"));
        const QString db = data + QStringLiteral("/Tolmarik/TolmarikProg/logbook.sqlite");
        double score = 0;
        QString kind;
        {
            TLogbook book(db);
            const TRecordOutcome outcome = book.ImportFile(igc, kProfile).front();
            QCOMPARE(outcome.result, TRecordResult::Added);
            const TFlightEntry e = *book.Flight(outcome.id);
            const scoring::TScoreResult expected =
                scoring::ScoreFlight(book.FlightFixes(e), scoring::XContestRules());
            QVERIFY(expected.found && expected.score > 0);
            QCOMPARE(e.score, std::optional<double>(expected.score));
            QCOMPARE(e.scoreKind, expected.kindId);
            QVERIFY(book.Store().Unscored().empty());
            score = expected.score;
            kind = ScoreText(e.score, e.scoreKind);
            QVERIFY(FactsText(e).contains(QStringLiteral("XContest: ") + kind));
        }
        {
            QSqlDatabase probe =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
            probe.setDatabaseName(db);
            QVERIFY(probe.open());
            QSqlQuery q(probe);
            QVERIFY(q.exec(QStringLiteral("UPDATE flights SET score = NULL, score_kind = ''")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("old"));
        QCOMPARE(TLogbook(db).Flights().front().score, std::optional<double>());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), data);
        auto cli = [&](const QString& command) {
            QProcess child;
            child.setProcessEnvironment(env);
            child.start(QStringLiteral(TOLMARIK_CLI), {QStringLiteral("logbook"), command});
            child.waitForFinished(60000);
            return QString::fromUtf8(child.readAllStandardOutput());
        };
        QVERIFY(!cli(QStringLiteral("list")).contains(kind));
        QCOMPARE(cli(QStringLiteral("rescore")), QStringLiteral("Оценено полётов: 1\n"));
        QCOMPARE(TLogbook(db).Flights().front().score, std::optional<double>(score));
        const QString listed = cli(QStringLiteral("list"));
        QVERIFY2(listed.contains(QLatin1Char('\t') + kind + QLatin1Char('\n')), qPrintable(listed));
        QCOMPARE(cli(QStringLiteral("rescore")), QStringLiteral("Оценено полётов: 0\n"));
    }

    void pilotWithEmoji_andDownloadScoredFromItsStoredTrack() {
        QByteArray text =
            logbooktest::Igc(logbooktest::Download(Time(2024, 6, 7, 9, 0, 0), 45.1f, 6.2f));
        QList<QByteArray> lines = text.split('\n');
        lines.removeIf([](const QByteArray& l) { return l.startsWith("HFPLTPILOT"); });
        const QString pilot = QStringLiteral("Анна 🪂 Ветрова");
        lines.insert(1, "HFPLTPILOTINCHARGE:" + pilot.toUtf8() + '\r');
        const QString igc = dir_.filePath(QStringLiteral("emoji.igc"));
        device::WriteFileSafely(igc, lines.join('\n'));
        TLogbook book(Db());
        const TRecordOutcome imported = book.ImportFile(igc, {}).front();
        QCOMPARE(imported.result, TRecordResult::Added);
        QCOMPARE(book.Flight(imported.id)->pilot, pilot);

        const TRecordOutcome downloaded = book.RecordDownload(
            Downloaded(Time(2024, 7, 1, 9, 0, 0), 45.123457f, 6.654321f, 1800), {});
        QCOMPARE(downloaded.result, TRecordResult::Added);
        const TFlightEntry e = *book.Flight(downloaded.id);
        scoring::TScoreOptions options;
        options.timeLimitSeconds = 30;
        const scoring::TScoreResult stored =
            scoring::ScoreFlight(book.FlightFixes(e), scoring::XContestRules(), options);
        QCOMPARE(e.score, std::optional<double>(stored.score));
    }
};

QTEST_GUILESS_MAIN(TestLogbook)
#include "tst_logbook.moc"
