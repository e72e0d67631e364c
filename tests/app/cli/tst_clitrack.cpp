// tolmarik-cli's downloads, pictures, KML files and logbook commands.
#include "tests/app/cli/CliBench.h"

class TestCliTrack : public QObject, public TCliBench {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() { QVERIFY(StartBench()); }
    void cleanup() { ResetBench(); }

    // Options and their values may stand before the command; a value is
    // never taken for the command.
    void plot_optionValuesBeforeCommand_pictureDrawn_data() {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("--transcript FILE") << QStringList{QStringLiteral("--transcript"), {}};
        QTest::newRow("--backup-dir DIR") << QStringList{QStringLiteral("--backup-dir"), {}};
        QTest::newRow("--dir DIR") << QStringList{QStringLiteral("--dir"), {}};
        QTest::newRow("--size WxH")
            << QStringList{QStringLiteral("--size"), QStringLiteral("800x500")};
        QTest::newRow("--dir=DIR") << QStringList{QStringLiteral("--dir=")};
    }

    void plot_optionValuesBeforeCommand_pictureDrawn() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        // An empty value is a file or folder of the test's own.
        for (QString& option : options)
            if (option.isEmpty() || option.endsWith(QLatin1Char('=')))
                option += dir.filePath(QStringLiteral("v"));
        const QString png = dir.filePath(QStringLiteral("flight.png"));
        const Result r = RunCli(
            options + QStringList{QStringLiteral("plot"),
                                  QStringLiteral(TOLMARIK_TEST_DATA "/single-point.gpx"), png});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QVERIFY(!QImage(png).isNull());
    }

    void download_trackFileCannotBeWritten_writeCheckStatus() {
        QTemporaryDir dir;
        // A folder where the track file should go: no writer can replace it.
        const int flight = memory.flights.back().flightNumber;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Track%1.gpx").arg(flight)));
        const Result r = RunCli({Simulator().PortPath(), QStringLiteral("download"),
                                 QStringLiteral("--no-igc"), QStringLiteral("--dir"), dir.path()});
        QCOMPARE(r.exitCode, int(flow::EC_WRITE_CHECK));
        QVERIFY(!r.err.isEmpty());
    }

    // Another user's link planted at the track file's name in a shared
    // folder: the download run as root must not write through it.
    void download_foreignLinkAtTrackName_refusedTargetIntact() {
        if (geteuid() != 0) QSKIP("only root can give a file to another user");
        QTemporaryDir dir;
        const int flight = memory.flights.back().flightNumber;
        const QString victim = dir.filePath(QStringLiteral("victim"));
        const QString link = dir.filePath(QStringLiteral("Track%1.gpx").arg(flight));
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("precious") == 8);
        file.close();
        QVERIFY(QFile::link(victim, link));
        QCOMPARE(::lchown(QFile::encodeName(link), 65534, 65534), 0);
        const Result r = RunCli({Simulator().PortPath(), QStringLiteral("download"),
                                 QStringLiteral("--no-igc"), QStringLiteral("--dir"), dir.path()});
        QCOMPARE(r.exitCode, int(flow::EC_WRITE_CHECK));
        QVERIFY2(r.err.contains(link), qPrintable(r.err));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("precious"));
        QVERIFY(QFileInfo(link).isSymLink());
    }

    // The link goes after the first sector: what was read is written only
    // when asked, in files of its own beside the complete set of an earlier
    // download, and the exit status tells of the lost link either way.
    void download_linkLost_keepPartialWritesWhatWasRead_data() {
        QTest::addColumn<bool>("keep");
        QTest::newRow("default") << false;
        QTest::newRow("--keep-partial") << true;
    }

    void download_linkLost_keepPartialWritesWhatWasRead() {
        QFETCH(bool, keep);
        QTemporaryDir dir;
        QVERIFY(Simulator().Start());  // requests counted from here
        sim::TFaults faults;
        faults.hangUpAfterRequests = 2;  // the statistics, then the first sector
        Simulator().SetFaults(faults);
        QStringList args{Simulator().PortPath(), QStringLiteral("download"),
                         QStringLiteral("--no-igc"), QStringLiteral("--dir"), dir.path()};
        if (keep) args << QStringLiteral("--keep-partial");
        const int flight = memory.flights.back().flightNumber;
        const QString complete = dir.filePath(QStringLiteral("Track%1.gpx").arg(flight));
        QFile earlier(complete);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("complete") == 8);
        earlier.close();
        const Result r = RunCli(args);
        Simulator().SetFaults({});
        QVERIFY(Simulator().Start());

        QCOMPARE(r.exitCode, int(flow::EC_NO_LINK));
        QVERIFY2(r.err.contains(QStringLiteral("Трек прочитан не до конца: 1 сект.")),
                 qPrintable(r.err));
        QVERIFY(r.err.contains(device::LinkLostText()));
        QVERIFY2(r.err.contains(keep ? QStringLiteral("Прочитанное записано в отдельные файлы")
                                     : QStringLiteral("Прочитанное в файлы не записано")),
                 qPrintable(r.err));
        QCOMPARE(QFile::exists(dir.filePath(QStringLiteral("Track%1-partial.gpx").arg(flight))),
                 keep);
        QFile kept(complete);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("complete"));
        if (keep)
            QVERIFY2(r.out.contains(QStringLiteral("___ Файлы созданы ____")), qPrintable(r.out));
    }

    void download_bothModes_validGpxReadBackByGpsbabel_data() {
        QTest::addColumn<bool>("pages");
        QTest::newRow("sectors") << false;
        QTest::newRow("pages") << true;
    }

    void download_bothModes_validGpxReadBackByGpsbabel() {
        QFETCH(bool, pages);
        QTemporaryDir dir;
        QStringList args{Simulator().PortPath(), QStringLiteral("download"),
                         QStringLiteral("--dir"), dir.path()};
        if (pages) args << QStringLiteral("--pages");
        const Result r = RunCli(args);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const sim::TGeneratedFlight& flight = memory.flights.back();
        // Once each, however many end reports the download had.
        QCOMPARE(r.out.count(QStringLiteral("Всего GPS %1").arg(flight.gpsRecords)), 1);
        QCOMPARE(r.out.count(QStringLiteral("Всего ENG %1").arg(flight.engRecords)), 1);
        QCOMPARE(r.out.count(QStringLiteral("___ Файлы созданы ____")), 1);
        const QString gpx = dir.filePath(QStringLiteral("Track%1.gpx").arg(flight.flightNumber));
        QVERIFY(
            QFile::exists(dir.filePath(QStringLiteral("Track%1.enx").arg(flight.flightNumber))));

        const Result schema = RunTool(QStringLiteral("xmllint"),
                                      {QStringLiteral("--noout"), QStringLiteral("--schema"),
                                       QStringLiteral(TOLMARIK_GPX_SCHEMA), gpx});
        QVERIFY2(schema.exitCode == 0, qPrintable(schema.err));

        const QString csv = dir.filePath(QStringLiteral("points.csv"));
        const Result babel =
            RunTool(QStringLiteral("gpsbabel"),
                    {QStringLiteral("-t"), QStringLiteral("-i"), QStringLiteral("gpx"),
                     QStringLiteral("-f"), gpx, QStringLiteral("-o"), QStringLiteral("unicsv"),
                     QStringLiteral("-F"), csv});
        QVERIFY2(babel.exitCode == 0, qPrintable(babel.err));
        QFile points(csv);
        QVERIFY(points.open(QIODevice::ReadOnly));
        const QList<QByteArray> rows = points.readAll().trimmed().split('\n');
        QCOMPARE(int(rows.size()) - 1, flight.gpsRecords);  // a header row, then the points
    }

    void download_igcWithInstrumentReadBackByGpsbabel() {
        QTemporaryDir dir;
        const Result r = RunCli({Simulator().PortPath(), QStringLiteral("download"),
                                 QStringLiteral("--dir"), dir.path()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const sim::TGeneratedFlight& flight = memory.flights.back();
        const QString igc = dir.filePath(QStringLiteral("Track%1.igc").arg(flight.flightNumber));
        QFile file(igc);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.startsWith("AXTK102\r\n"));
        QVERIFY(text.contains("\r\nHFFTYFRTYPE:Tolmarik,Mevra-C\r\n"));
        QVERIFY(text.contains("\r\nHFRFWFIRMWAREVERSION:311\r\n"));
        const Result babel =
            RunTool(QStringLiteral("gpsbabel"),
                    {QStringLiteral("-t"), QStringLiteral("-i"), QStringLiteral("igc"),
                     QStringLiteral("-f"), igc, QStringLiteral("-o"), QStringLiteral("unicsv"),
                     QStringLiteral("-F"), QStringLiteral("-")});
        QVERIFY2(babel.exitCode == 0, qPrintable(babel.err));
        QCOMPARE(int(babel.out.trimmed().split(QLatin1Char('\n')).size()) - 1, flight.gpsRecords);
    }

    void download_noIgc_igcLeftOut() {
        QTemporaryDir dir;
        const Result r = RunCli({Simulator().PortPath(), QStringLiteral("download"),
                                 QStringLiteral("--no-igc"), QStringLiteral("--dir"), dir.path()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const int flight = memory.flights.back().flightNumber;
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Track%1.gpx").arg(flight))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Track%1.igc").arg(flight))));
    }

    void plot_gpxFiles_pngOfTheAskedSize_data() {
        QTest::addColumn<QString>("gpx");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QSize>("size");
        QTest::newRow("written by gpsbabel, default size")
            << QStringLiteral("gpsbabel-flight.gpx") << QStringList() << QSize(1200, 720);
        QTest::newRow("prefixed names, asked size")
            << QStringLiteral("prefixed-extensions.gpx")
            << QStringList{QStringLiteral("--size"), QStringLiteral("800x500")} << QSize(800, 500);
        QTest::newRow("one point")
            << QStringLiteral("single-point.gpx") << QStringList() << QSize(1200, 720);
    }

    void plot_gpxFiles_pngOfTheAskedSize() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        QFETCH(QString, gpx);
        QFETCH(QStringList, options);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("flight.png"));
        const Result r = RunCli(
            QStringList{QStringLiteral("plot"), QStringLiteral(TOLMARIK_TEST_DATA "/") + gpx, png} +
            options);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.out.trimmed(), QStringLiteral("Файл сохранен: ") + png);
        const QImage image(png);
        QCOMPARE(image.size(), size);
    }

    void plot_refusedInputs_clearMessage_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString noPoints = QStringLiteral(TOLMARIK_TEST_DATA "/no-points.gpx");
        QTest::newRow("no points")
            << noPoints << QStringList() << int(flow::EC_BAD_FILE)
            << QStringLiteral("В файле \"%1\" нет точек трека").arg(noPoints);
        QTest::newRow("a pipe") << QStringLiteral("fifo") << QStringList() << int(flow::EC_BAD_FILE)
                                << QStringLiteral("это не обычный файл");
        QTest::newRow("size too small")
            << noPoints << QStringList{QStringLiteral("--size"), QStringLiteral("100x100")}
            << int(flow::EC_USAGE) << QStringLiteral("Размер рисунка: от 480x320 до 5000x5000");
        QTest::newRow("size not a size")
            << noPoints << QStringList{QStringLiteral("--size"), QStringLiteral("big")}
            << int(flow::EC_USAGE) << QStringLiteral("Размер рисунка");
    }

    void plot_refusedInputs_clearMessage() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        QFETCH(QString, input);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        if (input == QLatin1String("fifo")) {
            // Nobody writes into it: a plain open would wait forever.
            input = dir.filePath(QStringLiteral("flight.gpx"));
            QCOMPARE(::mkfifo(QFile::encodeName(input).constData(), 0600), 0);
        }
        const QString png = dir.filePath(QStringLiteral("flight.png"));
        const Result r = RunCli(QStringList{QStringLiteral("plot"), input, png} + options);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        QVERIFY(!QFile::exists(png));
    }

    void logbookAndKml_anIgcFileThroughEveryCommand() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        if (!TOLMARIK_LOGBOOK_BUILT) QSKIP("built without the logbook");
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("in")));
        const QString igc = dir.filePath(QStringLiteral("in/flight.igc"));
        device::WriteFileSafely(igc, logbooktest::Igc(logbooktest::Download(
                                         tracktest::Time(2024, 6, 7, 9, 0, 0), 45.0f, 6.0f, 900)));
        // 100 m from its take-off, imported later.
        const QString near = dir.filePath(QStringLiteral("near.igc"));
        device::WriteFileSafely(
            near, logbooktest::Igc(logbooktest::Download(tracktest::Time(2024, 6, 8, 9, 0, 0),
                                                         45.0009f, 6.0f, 900)));
        auto run = [&](const QStringList& args) {
            return RunCliWithData(args, dir.filePath(QStringLiteral("data")));
        };
        struct TStep {
            QStringList args;
            int exitCode;
            QString out;  // a part of the standard output or error
        };
        const QString book =
            dir.filePath(QStringLiteral("data/Tolmarik/TolmarikProg/logbook.sqlite"));
        const std::vector<TStep> steps = {
            {{"plot", igc, dir.filePath("flight.png")}, flow::EC_OK, "Файл сохранен"},
            {{"kml", igc, dir.filePath("flight.kml")}, flow::EC_OK, "Файл сохранен"},
            {{"kml", dir.filePath("none.igc"), dir.filePath("none.kml")},
             flow::EC_BAD_FILE,
             "none.igc"},
            {{"logbook", "import", dir.filePath("in")},
             flow::EC_OK,
             "Добавлено: 1, уже в журнале: 0"},
            {{"logbook", "import", igc, dir.filePath("none.igc")},
             flow::EC_BAD_FILE,
             "уже в журнале: 1, не прочитано: 1"},
            {{"logbook", "list"}, flow::EC_OK, "1\t2024-06-07\t09:0"},
            {{"logbook", "list"}, flow::EC_OK, " UTC+0\t"},
            {{"logbook", "list", "--utc"}, flow::EC_OK, " UTC\t0:1"},
            {{"logbook", "show", "--utc", "1"}, flow::EC_OK, "\nВзлёт: 09:0"},
            {{"logbook", "show", "1"}, flow::EC_OK, "\nЧасовой пояс: UTC+0, по долготе"},
            {{"logbook", "records", "--utc"}, flow::EC_USAGE, "records"},
            {{"logbook", "totals"}, flow::EC_OK, "Всего\t1 полёт"},
            {{"logbook", "totals", "--by", "month"}, flow::EC_OK, "\n2024-06\t1 полёт"},
            {{"logbook", "totals", "--by", "site"}, flow::EC_OK, "\n(место не названо)\t1 полёт"},
            {{"logbook", "totals", "--by", "day"}, flow::EC_USAGE, "--by year|month"},
            {{"logbook", "totals", "--by"}, flow::EC_USAGE, "--by year|month"},
            {{"logbook", "records"}, flow::EC_OK, "Самый долгий полёт\t0:1"},
            {{"logbook", "undo"}, flow::EC_FAILED, "Нечего отменять"},
            {{"logbook", "edit", "1", "--site", "Юца", "--notes", "=1+1"},
             flow::EC_OK,
             "Место взлёта: Юца"},
            {{"logbook", "edit", "1", "--wing", "Rush"}, flow::EC_USAGE, "edit N"},
            {{"logbook", "edit", "1", "--site"}, flow::EC_USAGE, "edit N"},
            {{"logbook", "edit", "9", "--site", "X"}, flow::EC_FAILED, "Полёта 9 нет в журнале"},
            {{"logbook", "find", "юца"}, flow::EC_OK, "\tЮца\t"},
            {{"logbook", "undo"}, flow::EC_OK, "Отменено изменение полёта № 1"},
            {{"logbook", "find", "юца"}, flow::EC_OK, "XContest, б\n"},
            {{"logbook", "show", "1"}, flow::EC_OK, "Время полёта: 0:1"},
            {{"logbook", "find", "nowhere"}, flow::EC_OK, "XContest, б"},
            {{"logbook", "find"}, flow::EC_USAGE, "find TEXT"},
            {{"logbook", "show", "9"}, flow::EC_FAILED, "Полёта 9 нет в журнале"},
            {{"logbook", "backup", dir.filePath("season.backup")},
             flow::EC_OK,
             "Полётов: 1, файлов треков: 1"},
            {{"logbook", "backup", dir.filePath("in")}, flow::EC_WRITE_CHECK, "in"},
            {{"logbook", "restore", igc}, flow::EC_BAD_FILE, "flight.igc"},
            {{"logbook", "restore", dir.filePath("season.backup")},
             flow::EC_OK,
             "Полётов: 1, файлов треков: 1"},
            {{"logbook", "restore"}, flow::EC_USAGE, "restore FILE"},
            {{"logbook", "export-csv", dir.filePath("all.csv")}, flow::EC_OK, ""},
            {{"logbook", "export-csv", "-", "--utc"}, flow::EC_OK, ",\"UTC\",\"\",\"\"\r\n"},
            {{"logbook", "add", "--date", "2024-06-01", "--takeoff", "10:00", "--duration", "1:30",
              "--site", "Юца"},
             flow::EC_OK,
             "Трек: без трека"},
            {{"logbook", "add", "--date", "2024-13-01", "--takeoff", "10:00", "--duration", "1:30"},
             flow::EC_USAGE,
             "ГГГГ-ММ-ДД"},
            {{"logbook", "add", "--date", "2024-06-01", "--takeoff", "10:00", "--duration", "90"},
             flow::EC_USAGE,
             "Ч:ММ"},
            {{"logbook", "add", "--date", "2024-06-01", "--takeoff", "10:00"},
             flow::EC_USAGE,
             "add"},
            {{"logbook", "list"}, flow::EC_OK, "\n1\t2024-06-01\t10:00:00 UTC"},
            {{"logbook", "list"}, flow::EC_OK, "\t1:30\t\tбез трека\tЮца\t"},
            {{"logbook", "totals"}, flow::EC_OK, "Всего\t2 полёта"},
            {{"logbook", "sites"}, flow::EC_OK, "\nЮца\t1 полёт\t1:30 ч"},
            {{"logbook", "site-radius", "5"}, flow::EC_USAGE, "от 10 до 50000 м"},
            {{"logbook", "site-radius", "300"}, flow::EC_OK, "Радиус места взлёта: 300 м"},
            {{"logbook", "sites"}, flow::EC_OK, "Радиус места взлёта: 300 м"},
            {{"logbook", "edit", "2", "--date", "2024-05-31", "--takeoff", "8:00"},
             flow::EC_OK,
             "№ 1\nДата: 2024-05-31\nВзлёт: 08:00:00 UTC+0"},
            {{"logbook", "edit", "2", "--takeoff", "25:00"}, flow::EC_USAGE, "ЧЧ:ММ"},
            {{"logbook", "undo"}, flow::EC_OK, "Отменено изменение полёта № 2"},
            {{"logbook", "undo"}, flow::EC_OK, "Отменено добавление полёта № 1"},
            // Naming a site offers the flight nearby: no one to answer, it
            // stays as it is; --yes names it too, and undo takes both back.
            {{"logbook", "import", near}, flow::EC_OK, "Добавлено: 1"},
            {{"logbook", "edit", "1", "--site", "Юца"}, flow::EC_OK, "Некому ответить"},
            {{"logbook", "show", "2"}, flow::EC_OK, "Место взлёта: не названо"},
            {{"logbook", "undo"}, flow::EC_OK, "Отменено изменение полёта № 1"},
            {{"logbook", "edit", "1", "--site", "Юца", "--yes"},
             flow::EC_OK,
             "\n  № 2  2024-06-08"},
            {{"logbook", "show", "2"}, flow::EC_OK, "Место взлёта: Юца ("},
            {{"logbook", "undo"}, flow::EC_OK, "Отменено изменение полёта № 1"},
            {{"logbook", "show", "2"}, flow::EC_OK, "Место взлёта: не названо"},
            {{"logbook", "edit", "1", "--notes", "--yes"}, flow::EC_OK, "Заметки: --yes"},
            {{"logbook", "frobnicate"}, flow::EC_USAGE, "logbook list [--utc]|totals"},
        };
        for (const TStep& step : steps) {
            const Result r = run(step.args);
            QVERIFY2(r.exitCode == step.exitCode, qPrintable(step.args.join(' ') + ": " + r.err));
            QVERIFY2((r.out + r.err).contains(step.out), qPrintable(r.out + r.err));
        }
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("flight.kml"))));
        QCOMPARE(
            device::ReadRegularFile(dir.filePath(QStringLiteral("all.csv")), 1 << 20).count('\n'),
            2);

        // A damaged logbook is named and left as it is.
        QFile::remove(book + QStringLiteral("-wal"));
        QFile::remove(book + QStringLiteral("-shm"));
        device::WriteFileSafely(book, QByteArray(8192, 'z'));
        const Result damaged = run({QStringLiteral("logbook"), QStringLiteral("list")});
        QCOMPARE(damaged.exitCode, int(flow::EC_LOGBOOK));
        QVERIFY2(damaged.err.contains(book), qPrintable(damaged.err));
        QCOMPARE(device::ReadRegularFile(book, 1 << 20), QByteArray(8192, 'z'));
    }

    // A download leaves a KML file beside its others and lands in the logbook
    // once, whether it comes again or its IGC file is imported; a logbook that
    // cannot be used is named and does not undo the download.
    void download_kmlAndTheLogbookOnce() {
        if (!TOLMARIK_LOGBOOK_BUILT) QSKIP("built without the logbook");
        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString flights = dir.filePath(QStringLiteral("flights"));
        QVERIFY(QDir().mkpath(flights));
        const QStringList download = {Simulator().PortPath(), QStringLiteral("download"),
                                      QStringLiteral("--dir"), flights};
        struct TStep {
            QStringList args;
            QString said;  // a part of the standard output or error
        };
        const std::vector<TStep> steps = {
            {download, "Полет записан в журнал полётов"},
            {download, "Этот полет уже есть в журнале полётов"},
            // Its GPX and IGC files are the same flight as the download.
            {{"logbook", "import", flights}, "Добавлено: 0, уже в журнале: 2"},
            {{"logbook", "totals"}, "Всего\t1 полёт"},
        };
        for (const TStep& step : steps) {
            const Result r = RunCliWithData(step.args, data);
            QVERIFY2(r.exitCode == 0, qPrintable(step.args.join(' ') + ": " + r.err));
            QVERIFY2((r.out + r.err).contains(step.said), qPrintable(r.out + r.err));
        }
        const int flight = memory.flights.back().flightNumber;
        const QString kml = flights + QStringLiteral("/Track%1.kml").arg(flight);
        QVERIFY(device::ReadRegularFile(kml, 1 << 24).contains("<gx:Track>"));

        const QString book = data + QStringLiteral("/Tolmarik/TolmarikProg/logbook.sqlite");
        QFile::remove(book + QStringLiteral("-wal"));
        QFile::remove(book + QStringLiteral("-shm"));
        device::WriteFileSafely(book, QByteArray(8192, 'z'));
        QFile::remove(kml);
        // The files are kept, but the flight is not in the logbook: said
        // by the logbook's status.
        const Result damaged = RunCliWithData(download, data);
        QCOMPARE(damaged.exitCode, int(flow::EC_LOGBOOK));
        QVERIFY2(damaged.err.contains(book), qPrintable(damaged.err));
        QVERIFY(QFile::exists(kml));
        QCOMPARE(device::ReadRegularFile(book, 1 << 20), QByteArray(8192, 'z'));
    }

    // "download | head -n1": the reader goes, the files are written all the same.
    void download_outputClosed_filesWrittenOutputStatus() {
        QTemporaryDir dir;
        const Result r = RunCliOutput(
            {Simulator().PortPath(), QStringLiteral("download"), QStringLiteral("--no-igc")},
            QStringLiteral("closed"), 0, dir.path());
        QCOMPARE(r.exitCode, int(flow::EC_OUTPUT));
        const int flight = memory.flights.back().flightNumber;
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Track%1.gpx").arg(flight))).size() > 0);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Track%1.enx").arg(flight))).size() > 0);
    }

    // Folder names are bytes: neither text that is not UTF-8 nor a path
    // longer than the system takes at once may stop a download.
    void download_oddFolder_filesWritten_data() {
        QTest::addColumn<QByteArray>("part");
        QTest::addColumn<int>("depth");
        QTest::newRow("name not UTF-8") << QByteArray("\xff\xfe-\xc3(") << 1;
        QTest::newRow("path past the limit") << QByteArray(200, 'p') << PATH_MAX / 200 + 2;
    }

    void download_oddFolder_filesWritten() {
        QFETCH(QByteArray, part);
        QFETCH(int, depth);
        QTemporaryDir dir;
        const QString start = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const QList<QByteArray> parts(depth, part);
        QVERIFY(MakeAndEnter(parts));
        QVERIFY(QDir::setCurrent(start));
        QByteArray folder = QFile::encodeName(dir.path());
        for (const QByteArray& p : parts) folder += '/' + p;
        // Through the shell, each byte as an octal escape of printf: the
        // bytes reach the program as they are.
        QString escaped;
        for (const char byte : folder)
            escaped +=
                QStringLiteral("\\%1").arg(unsigned(std::uint8_t(byte)), 3, 8, QLatin1Char('0'));
        QProcess shell;
        shell.start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("exec \"$0\" \"$1\" download --no-igc --dir \"$(printf \"$2\")\""),
             QStringLiteral(TOLMARIK_CLI), Simulator().PortPath(), escaped});
        QVERIFY(shell.waitForFinished(600000));
        QVERIFY2(shell.exitCode() == 0, shell.readAllStandardError().constData());
        const int flight = memory.flights.back().flightNumber;
        QVERIFY(QDir::setCurrent(dir.path()));
        bool entered = true;
        for (const QByteArray& p : parts) entered = entered && ::chdir(p.constData()) == 0;
        const bool written =
            ::access(QStringLiteral("Track%1.gpx").arg(flight).toLatin1().constData(), F_OK) == 0;
        QVERIFY(QDir::setCurrent(start));
        // Neither kind of folder can be removed by name from here.
        QCOMPARE(QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), dir.path()}), 0);
        QVERIFY(entered);
        QVERIFY(written);
    }
};

QTEST_GUILESS_MAIN(TestCliTrack)
#include "tst_clitrack.moc"
