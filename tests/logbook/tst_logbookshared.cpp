// The logbook file shared and kept safe: backups restored or refused,
// the window, a recording and the command line on one file, its lock held
// elsewhere, damaged and newer files left alone, the console's small
// commands, and a writer killed in the middle.
#include "LogbookSuite.h"

class TestLogbookShared : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString Db() const { return dir_.filePath(QStringLiteral("book/logbook.sqlite")); }

  private Q_SLOTS:

    void init() {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
    }

    // A backup brings back every entry as it was and every track copy byte
    // for byte; the logbook it replaced is kept as a backup of its own.
    void backup_restoredWhole_replacedLogbookKept() {
        const QString backup = dir_.filePath(QStringLiteral("season.backup"));
        std::map<QString, QByteArray> copies;  // track copy, relative, and its digest
        std::vector<TFlightEntry> before;
        {
            TLogbook book(Db());
            for (int day = 1; day <= 3; ++day)
                book.RecordDownload(Downloaded(Time(2024, 6, day, 9, 0, 0), 45.0f, 6.0f), kProfile);
            book.Edit(book.Flights().back().id, QStringLiteral("Юца"), QString(),
                      QStringLiteral("первый"));
            before = book.Flights();
            for (const TFlightEntry& e : before)
                copies[e.storedFile] = Digest(book.StoredFilePath(e));
            QCOMPARE(book.Backup(backup).trackFiles, 3);
            // Changes after the backup, which the restore takes back.
            book.Remove(before.front().id);
            book.RecordDownload(Downloaded(Time(2024, 7, 1, 9, 0, 0), 45.0f, 6.0f), kProfile);
        }
        const TBackupSummary restored = RestoreBackup(Db(), backup);
        QCOMPARE(restored.trackFiles, 3);
        TLogbook book(Db());
        const std::vector<TFlightEntry> after = book.Flights();
        QCOMPARE(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            QCOMPARE(after[i].id, before[i].id);
            QCOMPARE(after[i].identity, before[i].identity);
            QCOMPARE(after[i].notes, before[i].notes);
            QCOMPARE(Digest(book.StoredFilePath(after[i])), copies[after[i].storedFile]);
        }
        QCOMPARE(FileCount(book.FilesFolder()), 3);  // the July flight's copy went with it
        const QStringList kept = QDir(AutomaticBackupFolder(Db())).entryList(QDir::Files);
        QCOMPARE(kept.size(), 1);
        QVERIFY(kept[0].endsWith(QStringLiteral("-before-restore.backup")));
        QCOMPARE(QDir(QFileInfo(Db()).path())
                     .entryList({QStringLiteral(".logbook-restoring*")},
                                QDir::AllEntries | QDir::Hidden),
                 QStringList());
    }

    // A damaged logbook is what a restore is for: it is replaced, and its
    // file kept as it was.
    void backup_restoredOverADamagedLogbook_itsFileKept() {
        const QString backup = dir_.filePath(QStringLiteral("one.backup"));
        {
            TLogbook book(Db());
            book.RecordDownload(Downloaded(Time(2024, 6, 1, 9, 0, 0), 45.0f, 6.0f), kProfile);
            book.Backup(backup);
        }
        QFile::remove(Db() + QStringLiteral("-wal"));
        QFile::remove(Db() + QStringLiteral("-shm"));
        device::WriteFileSafely(Db(), QByteArray(8192, 'z'));
        RestoreBackup(Db(), backup);
        QCOMPARE(int(TLogbook(Db()).Flights().size()), 1);
        const QString kept = AutomaticBackupFolder(Db());
        const QStringList replaced =
            QDir(kept).entryList({QStringLiteral("replaced-*")}, QDir::Dirs);
        QCOMPARE(replaced.size(), 1);
        QCOMPARE(
            device::ReadRegularFile(
                kept + QLatin1Char('/') + replaced[0] + QStringLiteral("/logbook.sqlite"), 1 << 20),
            QByteArray(8192, 'z'));
        QCOMPARE(
            FileCount(kept + QLatin1Char('/') + replaced[0] + QStringLiteral("/logbook-files")), 1);
    }

    // Each kind of bad backup is refused before anything changes: the
    // logbook, its track copies and its folder stay exactly as they were.
    void backup_damagedRefused_logbookUntouched() {
        const QString good = dir_.filePath(QStringLiteral("good.backup"));
        {
            TLogbook book(Db());
            book.RecordDownload(Downloaded(Time(2024, 6, 1, 9, 0, 0), 45.0f, 6.0f), kProfile);
            book.Backup(good);
            book.RecordDownload(Downloaded(Time(2024, 6, 2, 9, 0, 0), 45.0f, 6.0f), kProfile);
        }
        const QByteArray whole = device::ReadRegularFile(good, 1 << 26);
        const QByteArray magic = whole.left(24);
        // A backup of `entries` with a right checksum.
        auto made = [&](const QList<std::pair<QByteArray, QByteArray>>& entries,
                        quint32 format = 1) {
            QByteArray out = magic;
            for (int shift = 24; shift >= 0; shift -= 8) out += char(format >> shift);
            for (const auto& [name, bytes] : entries) {
                for (int shift = 24; shift >= 0; shift -= 8) out += char(name.size() >> shift);
                out += name;
                for (int shift = 56; shift >= 0; shift -= 8)
                    out += char(quint64(bytes.size()) >> shift);
                out += bytes;
            }
            return out;
        };
        auto hashed = [](const QByteArray& body) {
            return body + QCryptographicHash::hash(body, QCryptographicHash::Sha256);
        };
        QByteArray flipped = whole;
        flipped[whole.size() / 2] = char(flipped[whole.size() / 2] ^ 0x20);
        const QByteArray sqliteHeader = QByteArray("SQLite format 3") + '\0';
        const std::pair<const char*, QByteArray> rows[] = {
            {"a byte changed", flipped},
            {"cut short", whole.left(whole.size() - 100)},
            {"no backup at all", QByteArray("\"Дата\",\"Взлёт\"\r\n")},
            {"empty", QByteArray()},
            {"a newer layout", hashed(made({}, 2))},
            {"no database", hashed(made({{"logbook-files/2024/a.igc", "B"}}))},
            {"a name leaving the folder", hashed(made({{"logbook.sqlite", sqliteHeader},
                                                       {"logbook-files/../../evil.igc", "B"}}))},
            {"an absolute name",
             hashed(made({{"logbook.sqlite", sqliteHeader}, {"/tmp/evil.igc", "B"}}))},
            {"a database that is none", hashed(made({{"logbook.sqlite", QByteArray(8192, 'z')}}))},
            {"an entry longer than the file",
             hashed(made({{"logbook.sqlite", "x"}}).chopped(10) + QByteArray(9, '\x7f'))},
        };
        const QString folder = QFileInfo(Db()).path();
        const auto state = [&] {
            QStringList files;
            QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                if (!path.endsWith(QStringLiteral("-shm")))
                    files << path + QLatin1Char(' ') + QString::fromLatin1(Digest(path).toHex());
            }
            files.sort();
            return files;
        };
        const QStringList untouched = state();
        for (const auto& [what, bytes] : rows) {
            const QString path = dir_.filePath(QStringLiteral("bad.backup"));
            device::WriteFileSafely(path, bytes);
            try {
                RestoreBackup(Db(), path);
                QFAIL(what);
            } catch (const device::TAppError& error) {
                QVERIFY2(error.Text().contains(QStringLiteral("bad.backup")), what);
            }
            QVERIFY2(state() == untouched, what);
        }
        QVERIFY(!QFileInfo::exists(dir_.filePath(QStringLiteral("evil.igc"))));
        QCOMPARE(int(TLogbook(Db()).Flights().size()), 2);
    }

    // The window, a recording and the command line on one logbook, in turns:
    // import, download, list, delete, import, another store opened meanwhile,
    // and the window closed last. Nothing is lost and the file stays whole.
    void sharedLogbook_cliAndTwoStoresInTurns_nothingLost() {
        NEEDS_CHILD_DATA_FOLDER();
        const QString data = dir_.filePath(QStringLiteral("data"));
        const QString db = data + QStringLiteral("/Tolmarik/TolmarikProg/logbook.sqlite");
        QDir().mkpath(dir_.filePath(QStringLiteral("in")));
        auto igc = [this](int day) {
            const QString path = dir_.filePath(QStringLiteral("in/day%1.igc").arg(day));
            WriteIgc(path, Time(2024, 5, day, 9, 0, 0), 45.0f + day * 0.1f, 6.0f, 900);
            return path;
        };
        auto import = [&](int day) {
            const TCliRun run = RunCli(
                data, dir_.path(), {QStringLiteral("logbook"), QStringLiteral("import"), igc(day)});
            QCOMPARE(run.status, 0);
            QVERIFY2(run.out.contains(QStringLiteral("Добавлено: 1")), qPrintable(run.err));
        };
        auto listed = [&] {
            const TCliRun run =
                RunCli(data, dir_.path(), {QStringLiteral("logbook"), QStringLiteral("list")});
            return run.status == 0 ? run.out.count(QStringLiteral("\t2024-05-")) : -1;
        };
        import(1);
        {
            TLogbook window(db, InterfaceBusyTimeoutMs);
            const TRecordOutcome downloaded =
                window.RecordDownload(Downloaded(Time(2024, 5, 2, 9, 0, 0), 45.2f, 6.0f), {});
            QCOMPARE(downloaded.result, TRecordResult::Added);
            QCOMPARE(listed(), 2);
            window.Remove(downloaded.id);
            // A recording opens its own store while the window's is open.
            auto recorder = std::make_unique<TLogbook>(db);
            import(3);
            QCOMPARE(
                recorder->RecordDownload(Downloaded(Time(2024, 5, 4, 9, 0, 0), 45.4f, 6.0f), {})
                    .result,
                TRecordResult::Added);
            QCOMPARE(window.Store().Count(), 3);
            import(5);
            recorder.reset();
            QCOMPARE(window.Store().Count(), 4);
            QCOMPARE(listed(), 4);
            window.Edit(window.Flights().front().id, QStringLiteral("Юца"), {}, {});
            import(6);
        }
        QCOMPARE(Scalar(db, QStringLiteral("PRAGMA integrity_check")).toString(),
                 QStringLiteral("ok"));
        TLogbook book(db);
        QStringList days;
        for (const TFlightEntry& e : book.Flights()) days << device::DateText(e.takeoffUtc);
        QCOMPARE(days, QStringList({QStringLiteral("2024-05-06"), QStringLiteral("2024-05-05"),
                                    QStringLiteral("2024-05-04"), QStringLiteral("2024-05-03"),
                                    QStringLiteral("2024-05-01")}));
        QCOMPARE(book.Flights()[1].site, QStringLiteral("Юца"));
    }

    // Another program holds the write lock: the window's store says so
    // at once instead of waiting (and freezing) for the long time-out.
    void lockHeldElsewhere_windowStoreReportsIt() {
        TLogbook book(Db());
        const std::int64_t id =
            book.RecordDownload(Downloaded(Time(2024, 5, 1, 9, 0, 0), 45.0f, 6.0f), {}).id;
        {
            logbooktest::TLockHolder hold(Db());
            QVERIFY(hold.Held());
            TLogbook window(Db(), InterfaceBusyTimeoutMs);
            QCOMPARE(window.Store().Count(), 1);  // reading goes on
            try {
                window.Remove(id);
                QFAIL("removed while another program held the lock");
            } catch (const device::TAppError& error) {
                QVERIFY2(error.Text().contains(QStringLiteral("занят другой программой")),
                         qPrintable(error.Text()));
            }
            hold.Release();
            window.Remove(id);
            QCOMPARE(window.Store().Count(), 0);
        }
    }

    // A change from the interface thread meets another program's lock: it
    // is tried again from a timer until the lock is gone, or reported once
    // the wait is over; a failure of another kind is reported at once.
    void lockRetry_waitsThenReports_data() {
        QTest::addColumn<bool>("released");
        QTest::addColumn<int>("waitMs");
        QTest::addRow("lock released while waiting: the change is made") << true << LockWaitMs;
        QTest::addRow("lock held past the wait: reported") << false << 3 * LockRetryMs;
    }
    void lockRetry_waitsThenReports() {
        QFETCH(bool, released);
        QFETCH(int, waitMs);
        const QString db = dir_.filePath(QStringLiteral("retry-%1.sqlite").arg(released));
        TLogbook window(db, InterfaceBusyTimeoutMs);
        const std::int64_t id =
            window.RecordDownload(Downloaded(Time(2024, 5, 1, 9, 0, 0), 45.0f, 6.0f), {}).id;
        {
            logbooktest::TLockHolder hold(db);
            QVERIFY(hold.Held());
            TLockRetry retry(waitMs);
            std::optional<QString> failure;
            QVERIFY(retry.Run([&] { window.Remove(id); }, [&](const QString& f) { failure = f; }));
            QVERIFY(retry.Waiting());
            QVERIFY(!retry.Run([] {}, [](const QString&) {}));  // one change at a time
            if (released) {
                QTRY_VERIFY(retry.Tries() >= 2);
                hold.Release();
                QTRY_VERIFY(failure.has_value());
                QCOMPARE(*failure, QString());
                QCOMPARE(window.Store().Count(), 0);
            } else {
                QTRY_VERIFY(failure.has_value());
                QVERIFY2(failure->contains(QStringLiteral("занят другой программой")),
                         qPrintable(*failure));
                QVERIFY(retry.Tries() >= 2);
                QCOMPARE(window.Store().Count(), 1);
            }
            QVERIFY(!retry.Waiting());
            // Not a lock: no waiting.
            failure.reset();
            retry.Run([&] { window.Unmerge(999999); }, [&](const QString& f) { failure = f; });
            QCOMPARE(failure, std::optional<QString>(NoSuchFlightText(999999)));
            QCOMPARE(retry.Tries(), 1);
        }
    }

    void logbookStates_eachSaidAndNothingLeftBehind_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        const QString list = QStringLiteral("list");
        const QString import = QStringLiteral("import");
        QTest::newRow("read-only file, listed") << "file" << list << 0 << QString();
        QTest::newRow("read-only file, imported into")
            << "file" << import << 11 << QStringLiteral("файл только для чтения");
        QTest::newRow("read-only folder, listed") << "folder" << list << 0 << QString();
        QTest::newRow("read-only folder, imported into")
            << "folder" << import << 11 << QStringLiteral("нет права записи в папку");
        QTest::newRow("dangling link, listed")
            << "link" << list << 11 << QStringLiteral("ссылка ведёт к отсутствующему файлу");
        QTest::newRow("dangling link, imported into")
            << "link" << import << 11 << QStringLiteral("ссылка ведёт к отсутствующему файлу");
        QTest::newRow("left-over read-only shared memory, listed")
            << "shm" << list << 11 << QStringLiteral("-shm\" остался только для чтения");
    }

    void logbookStates_eachSaidAndNothingLeftBehind() {
        NEEDS_CHILD_DATA_FOLDER();
        QFETCH(QString, state);
        QFETCH(QString, command);
        QFETCH(int, status);
        QFETCH(QString, said);
        if (state != QLatin1String("link") && !CanRunAsPilot())
            QSKIP("file modes do not hold for root, and setpriv is missing");
        const QString data = dir_.filePath(QStringLiteral("data"));
        const QString folder = data + QStringLiteral("/Tolmarik/TolmarikProg");
        const QString db = folder + QStringLiteral("/logbook.sqlite");
        const QString igc = dir_.filePath(QStringLiteral("flight.igc"));
        WriteIgc(igc, Time(2024, 6, 7, 9, 0, 0), 45.1f, 6.2f, 900);
        WriteIgc(dir_.filePath(QStringLiteral("kept.igc")), Time(2024, 6, 1, 9, 0, 0), 45.1f, 6.2f,
                 900);
        QCOMPARE(
            TLogbook(db).ImportFile(dir_.filePath(QStringLiteral("kept.igc")), {}).front().result,
            TRecordResult::Added);
        QVERIFY(::chmod(QFile::encodeName(dir_.path()).constData(), 0755) == 0);
        GiveToPilot(data);
        const QString files = folder + QStringLiteral("/logbook-files");
        const QString gone = folder + QStringLiteral("/gone.sqlite");
        const auto mode = [](const QString& path, int m) {
            return ::chmod(QFile::encodeName(path).constData(), m) == 0;
        };
        if (state == QLatin1String("file")) QVERIFY(mode(db, 0444));
        if (state == QLatin1String("folder")) QVERIFY(mode(folder, 0555));
        if (state == QLatin1String("link")) {
            QVERIFY(QFile::rename(db, folder + QStringLiteral("/aside.sqlite")));
            QVERIFY(QFile::link(gone, db));
        }
        if (state == QLatin1String("shm")) {
            device::WriteFileSafely(db + QStringLiteral("-shm"), QByteArray(32768, '\0'));
            GiveToPilot(db + QStringLiteral("-shm"));
            QVERIFY(mode(db + QStringLiteral("-shm"), 0444));
        }

        QStringList args{QStringLiteral("logbook"), command};
        if (command == QLatin1String("import")) args << igc;
        const TCliRun run = RunCli(data, dir_.path(), args, true);
        QVERIFY2(run.status == status, qPrintable(run.err));
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
        if (command == QLatin1String("list") && status == 0)
            QVERIFY(run.out.contains(QStringLiteral("2024-06-01")));
        QCOMPARE(FileCount(files), 1);
        QVERIFY(!QFileInfo::exists(gone));
        if (state != QLatin1String("shm"))
            QVERIFY(!QFileInfo::exists(db + QStringLiteral("-shm")) ||
                    QFileInfo(db + QStringLiteral("-shm")).isWritable());

        // Put right, the logbook takes the flight.
        if (state == QLatin1String("file")) QVERIFY(mode(db, 0644));
        if (state == QLatin1String("folder")) QVERIFY(mode(folder, 0755));
        if (state == QLatin1String("link")) {
            QVERIFY(QFile::remove(db));
            QVERIFY(QFile::rename(folder + QStringLiteral("/aside.sqlite"), db));
        }
        if (state == QLatin1String("shm")) QVERIFY(QFile::remove(db + QStringLiteral("-shm")));
        const TCliRun after = RunCli(
            data, dir_.path(), {QStringLiteral("logbook"), QStringLiteral("import"), igc}, true);
        QVERIFY2(after.status == 0, qPrintable(after.err));
        QVERIFY(after.out.contains(QStringLiteral("Добавлено: 1")));
    }

    void commandLine_smallItems_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("printed");
        QTest::newRow("score of a missing file")
            << QStringList{QStringLiteral("score"), QStringLiteral("missing.igc")} << 6
            << QString();
        QTest::newRow("analysis of a folder")
            << QStringList{QStringLiteral("analyse"), QStringLiteral("data")} << 6 << QString();
        QTest::newRow("CSV to the standard output")
            << QStringList{QStringLiteral("logbook"), QStringLiteral("export-csv"),
                           QStringLiteral("-")}
            << 0 << QStringLiteral("\"Дата\",");
    }

    void commandLine_smallItems() {
        NEEDS_CHILD_DATA_FOLDER();
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, printed);
        const QString data = dir_.filePath(QStringLiteral("data"));
        QDir().mkpath(data);
        const TCliRun run = RunCli(data, dir_.path(), args);
        QVERIFY2(run.status == status, qPrintable(run.err));
        QVERIFY(run.out.startsWith(printed));
        QVERIFY(!QFileInfo::exists(dir_.filePath(QStringLiteral("-"))));
    }

    // A pilot's name beyond the first plane of Unicode kept whole, and the
    // score of a download that of the IGC file kept for it.
    // Names from unzipped Windows archives: cp1251 and cp866 bytes, not
    // UTF-8. A folder of them imported, a damaged one named by its bytes, a
    // file that is no track named as skipped, and one named on the command
    // line imported too.
    void import_namesNotUtf8_everyFileAccountedFor() {
#ifdef Q_OS_WIN
        QSKIP("Windows names files in UTF-16, never by bare bytes");
#endif
        const QByteArray folder = QFile::encodeName(dir_.filePath(QStringLiteral("archive")));
        QVERIFY(QDir().mkpath(dir_.filePath(QStringLiteral("archive/sub"))));
        const QByteArray igc =
            logbooktest::Igc(logbooktest::Download(Time(2024, 6, 7, 9, 0, 0), 45.1f, 6.2f, 900));
        const QByteArray other =
            logbooktest::Igc(logbooktest::Download(Time(2024, 6, 8, 9, 0, 0), 45.1f, 6.2f, 900));
        QVERIFY(WriteRaw(folder + "/\xcf\xee\xeb\xb8\xf2.igc", igc));        // cp1251
        QVERIFY(WriteRaw(folder + "/sub/\x8f\xae\xab\xf1\xe2.IGC", other));  // cp866
        QVERIFY(WriteRaw(folder + "/\xc1\xe8\xf2\xfb\xe9.igc", "garbage"));
        QVERIFY(WriteRaw(folder + "/\xe7\xe0\xec\xe5\xf2\xea\xe8.txt", "notes"));

        TLogbook book(Db());
        const TImportReport report = book.Import({dir_.filePath(QStringLiteral("archive"))}, {});
        QCOMPARE(report.added, 2);
        QCOMPARE(report.failed, 1);
        QVERIFY2(report.errors.join(QLatin1Char('\n')).contains(QStringLiteral("\\xc1\\xe8")),
                 qPrintable(report.errors.join(QLatin1Char('\n'))));
        QCOMPARE(report.skipped.size(), 1);
        QVERIFY2(report.skipped[0].contains(QStringLiteral("\\xe7\\xe0")),
                 qPrintable(report.skipped[0]));

        const QByteArray named = QFile::encodeName(dir_.path()) + "/\xc4\xe5\xed\xfc.igc";
        QVERIFY(WriteRaw(named, logbooktest::Igc(logbooktest::Download(Time(2024, 6, 9, 9, 0, 0),
                                                                       45.1f, 6.2f, 900))));
        QByteArray quoted;  // for bash's $'...'
        for (const char c : named) quoted += QByteArray("\\x") + QByteArray::number(uchar(c), 16);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TOLMARIK_LOGBOOK_TEST_CLI"), QStringLiteral(TOLMARIK_CLI));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("data")));
        child.setProcessEnvironment(env);
        child.start(QStringLiteral("bash"),
                    {QStringLiteral("-c"),
                     QStringLiteral("exec \"$TOLMARIK_LOGBOOK_TEST_CLI\" logbook import $'%1'")
                         .arg(QString::fromLatin1(quoted))});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
        QVERIFY(child.readAllStandardOutput().contains("Добавлено: 1"));
        // Qt cannot name them to remove them.
        QCOMPARE(QProcess::execute(QStringLiteral("rm"),
                                   {QStringLiteral("-rf"), QFile::decodeName(folder)}),
                 0);
        QCOMPARE(::unlink(named.constData()), 0);
    }

    void killedWhileImporting_noHalfEntry_everyReportedFlightKept() {
        NEEDS_CHILD_DATA_FOLDER();
        const QString in = dir_.filePath(QStringLiteral("many"));
        QDir().mkpath(in);
        constexpr int files = 120;
        for (int i = 0; i < files; ++i)
            WriteIgc(in + QStringLiteral("/f%1.igc").arg(i, 3, 10, QLatin1Char('0')),
                     Time(2024, 1, 1, 0, 0, 0) + i * 86400, 45.0f + i * 0.01f, 6.0f, 900);
        const QString data = dir_.filePath(QStringLiteral("data"));
        const QString db = data + QStringLiteral("/Tolmarik/TolmarikProg/logbook.sqlite");
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), data);
        child.setProcessEnvironment(env);
        child.start(QStringLiteral(TOLMARIK_CLI),
                    {QStringLiteral("logbook"), QStringLiteral("import"), in});
        QVERIFY(child.waitForStarted());
        // Meanwhile another program reads: the busy time-out keeps it from failing.
        QTRY_VERIFY_WITH_TIMEOUT(
            QFile::exists(db) &&
                [&] {
                    try {
                        return TLogbook(db).Store().Count() >= 10;
                    } catch (const device::TAppError&) {
                        return false;
                    }
                }(),
            30000);
        // At once, with no chance to finish: SIGKILL, or TerminateProcess on Windows.
        child.kill();
        QVERIFY(child.waitForFinished());

        QCOMPARE(Scalar(db, QStringLiteral("PRAGMA integrity_check")).toString(),
                 QStringLiteral("ok"));
        TLogbook book(db);
        const int kept = book.Store().Count();
        QVERIFY(kept >= 10);
        QVERIFY2(kept < files, "the child was killed before the end");
        for (const TFlightEntry& e : book.Flights()) QCOMPARE(int(book.FlightFixes(e).size()), 900);
        const TImportReport rest = book.Import({in}, {});
        QCOMPARE(rest.alreadyKept, kept);
        QCOMPARE(rest.added, files - kept);
    }
};

QTEST_GUILESS_MAIN(TestLogbookShared)
#include "tst_logbookshared.moc"
