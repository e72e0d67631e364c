// tolmarik-cli as a pilot's script runs it, against the simulated instrument.
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/ExitCodes.h"
#include "device/FileStore.h"
#include "device/Frames.h"
#include "device/UserTexts.h"
#include "models/SafeWrite.h"
#include "models/UnitFileIO.h"
#include "serial/OpenFailure.h"
#include "sim/FlightGenerator.h"
#include "sim/Simulator.h"
#include "tests/logbook/LogbookFlights.h"

namespace {
struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result RunCli(const QStringList& args, const QString& workDir = QDir::currentPath(),
              const QString& extraPorts = {}) {
    QProcess p;
    p.setWorkingDirectory(workDir);
    if (!extraPorts.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TOLMARIK_EXTRA_PORTS"), extraPorts);
        p.setProcessEnvironment(environment);
    }
    p.start(QStringLiteral(TOLMARIK_CLI), args);
    if (!p.waitForFinished(600000)) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Runs the CLI with its per-user data (the logbook) in `dataFolder`.
Result RunCliWithData(const QStringList& args, const QString& dataFolder) {
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataFolder);
    p.setProcessEnvironment(environment);
    p.start(QStringLiteral(TOLMARIK_CLI), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// A port that opens but where nothing ever answers.
struct SilentPort {
    int master = -1;
    int slave = -1;
    QString path;
    SilentPort() {
        char name[128] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0)
            path = QString::fromLocal8Bit(name);
    }
    ~SilentPort() {
        ::close(master);
        ::close(slave);
    }
};

// The bytes of the lines of one direction ('>' or '<'), with or without the
// time stamp in front.
QByteArray Traffic(const QString& file, char direction) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype at = fields.indexOf(QByteArray(1, direction));
        if (at < 0 || at > 1) continue;
        for (qsizetype i = at + 1; i < fields.size(); ++i) bytes += QByteArray::fromHex(fields[i]);
    }
    return bytes;
}

Result RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000)) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Runs the CLI with its standard output sent to `output`: "full" for a
// device that takes nothing, "closed" for a pipe whose reader has gone,
// "" for the usual pipe. A file size limit (`fileLimit` bytes, 0 for none)
// makes any longer file fail to grow, as a full disk would.
Result RunCliOutput(const QStringList& args, const QString& output, qint64 fileLimit = 0,
                    const QString& workDir = QDir::currentPath()) {
    QProcess p;
    p.setWorkingDirectory(workDir);
    int pipeEnds[2] = {-1, -1};
    if (output == QLatin1String("full")) p.setStandardOutputFile(QStringLiteral("/dev/full"));
    if (output == QLatin1String("closed")) {
        if (::pipe(pipeEnds) != 0) return {};
        ::close(pipeEnds[0]);
    }
    p.setChildProcessModifier([&] {
        if (pipeEnds[1] >= 0) ::dup2(pipeEnds[1], STDOUT_FILENO);
        if (fileLimit > 0) {
            // Ignored stays ignored in the program: the write fails instead.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(fileLimit), rlim_t(fileLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
    });
    p.start(QStringLiteral(TOLMARIK_CLI), args);
    const bool finished = p.waitForFinished(600000);
    if (pipeEnds[1] >= 0) ::close(pipeEnds[1]);
    if (!finished || p.exitStatus() != QProcess::NormalExit) return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Makes the folders of `parts` under the current folder, one inside the
// other, and enters the last; false when any step fails.
bool MakeAndEnter(const QList<QByteArray>& parts) {
    for (const QByteArray& part : parts)
        if (::mkdir(part.constData(), 0700) != 0 || ::chdir(part.constData()) != 0) return false;
    return true;
}
}  // namespace

class TestCli : public QObject {
    Q_OBJECT
    sim::TSimulator simulator;
    sim::TGeneratedMemory memory;

    // The instrument of every case: a write changes its settings.
    static sim::TIdentity Instrument() {
        sim::TIdentity identity;
        identity.model = 102;
        identity.firmwareVersion = 311;
        identity.settings[4] = 3;
        identity.settings[0] = 0xAB;
        return identity;
    }

    QString WriteFirmwareFile(const QTemporaryDir& dir, const QByteArray& image) {
        const QString file = dir.filePath(QStringLiteral("fw.enc"));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(image.toHex()) != image.size() * 2) return {};
        return file;
    }

    // The logbook of the downloads: never the user's own, which a download
    // that cannot record its flight now fails on.
    QTemporaryDir userData_;

  private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", QFile::encodeName(userData_.path()));
        simulator.SetPaced(false);
        simulator.SetIdentity(Instrument());
        sim::TFlightPlan plan;
        plan.flights = 2;
        plan.minutes = 20;
        memory = sim::GenerateFlights(plan);
        simulator.SetMemory(memory.memory);
        simulator.SetStats(0, memory.stats[0]);
        simulator.SetStats(1, memory.stats[1]);
        QVERIFY(simulator.Start());
    }
    void cleanup() {
        simulator.SetFaults({});
        simulator.SetIdentity(Instrument());
    }

    void help_listsCommands() {
        const Result r = RunCli({QStringLiteral("--help")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains(QStringLiteral("download")));
    }

    void identify_printsModelVersionAndSettings() {
        const Result r = RunCli({simulator.PortPath(), QStringLiteral("identify")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QStringLiteral("Модель: 102 (Mevra-C)")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("Версия: 311")));
        QVERIFY(r.out.contains(QStringLiteral("Часовой пояс: UTC+3")));
        QVERIFY(r.out.contains(QStringLiteral("Настройки:\n000: AB 00 00 00 03")));
    }

    void missingPort_portStatusAndText() {
        const Result r =
            RunCli({QStringLiteral("/dev/tolmarik-missing"), QStringLiteral("identify")});
        QCOMPARE(r.exitCode, int(app::EC_PORT));
        QVERIFY2(r.err.startsWith(QStringLiteral("Невозможно открыть порт")), qPrintable(r.err));
        const QStringList lines = r.err.trimmed().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[1].startsWith(QStringLiteral("/dev/tolmarik-missing: ")));
        QCOMPARE(lines[2], serial::OpenFailureHint(serial::TOpenFailureCause::Gone));
    }

    void ports_listsSimulatorNamedAsExtraPort() {
        const Result r = RunCli({QStringLiteral("ports")}, QDir::currentPath(),
                                simulator.PortPath() + QStringLiteral(":/dev/tolmarik-missing"));
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(
            lines.contains(simulator.PortPath() + QStringLiteral("\tДополнительный порт\t-\t-")),
            qPrintable(r.out));
        QVERIFY(!r.out.contains(QStringLiteral("tolmarik-missing")));
        for (const QString& line : lines) QCOMPARE(line.count(QLatin1Char('\t')), 3);
    }

    void auto_findsSimulatorAmongPortsThatDoNotAnswer() {
        SilentPort silent;
        QVERIFY(!silent.path.isEmpty());
        const QString ports =
            QStringList{QStringLiteral("/dev/tolmarik-missing"), silent.path, simulator.PortPath()}
                .join(QLatin1Char(':'));
        const Result r = RunCli({QStringLiteral("auto"), QStringLiteral("identify")},
                                QDir::currentPath(), ports);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QStringLiteral("Модель: 102 (Mevra-C)")), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("Прибор найден на порту ") + simulator.PortPath()));
        QVERIFY(r.err.contains(silent.path + QStringLiteral(": Нет связи с прибором")));
    }

    void auto_nobodyAnswers_noLinkStatus() {
        SilentPort silent;
        const Result r = RunCli({QStringLiteral("auto"), QStringLiteral("identify")},
                                QDir::currentPath(), silent.path);
        // A real adapter of this machine may answer nothing either.
        QCOMPARE(r.exitCode, int(app::EC_NO_LINK));
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.contains(QStringLiteral("Прибор не найден ни на одном порту")));
    }

    void transcript_oneIdentification_byteForByte() {
        QTemporaryDir dir;
        const QString ours = dir.filePath(QStringLiteral("cli.txt"));
        const QString theirs = dir.filePath(QStringLiteral("sim.txt"));
        simulator.SetTranscriptPath(theirs);
        const Result r = RunCli({QStringLiteral("--transcript"), ours, simulator.PortPath(),
                                 QStringLiteral("identify")});
        simulator.SetTranscriptPath({});
        QCOMPARE(r.exitCode, 0);
        const QByteArray sent = Traffic(ours, '>');
        QCOMPARE(sent.size(), 10);
        QCOMPARE(sent, Traffic(theirs, '>'));
        QCOMPARE(Traffic(ours, '<'), Traffic(theirs, '<'));
        const QByteArray received = Traffic(ours, '<');
        QVERIFY(received.size() > 4);
        QCOMPARE(received.size(), std::uint8_t(received[2]) * 256 + std::uint8_t(received[3]));
    }

    void transcript_unwritable_writeStatusNothingSent() {
        const Result r =
            RunCli({QStringLiteral("--transcript"), QStringLiteral("/nonexistent-tolmarik/t.txt"),
                    simulator.PortPath(), QStringLiteral("identify")});
        QCOMPARE(r.exitCode, int(app::EC_WRITE_CHECK));
        QVERIFY(r.out.isEmpty());
    }

    void silentInstrument_noLinkStatus() {
        sim::TFaults faults;
        faults.silent = true;
        simulator.SetFaults(faults);
        const Result r = RunCli({simulator.PortPath(), QStringLiteral("identify")});
        simulator.SetFaults({});
        QCOMPARE(r.exitCode, int(app::EC_NO_LINK));
        QVERIFY(r.out.isEmpty());
    }

    void usageErrors_usageStatus_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("unknown option") << QStringList{"--colour", "ttyS0", "identify"};
        QTest::newRow("unknown command") << QStringList{"ttyS0", "fly"};
        QTest::newRow("command without port") << QStringList{"identify"};
        QTest::newRow("missing argument") << QStringList{"ttyS0", "write"};
        QTest::newRow("page not a number") << QStringList{"ttyS0", "page", "x"};
        QTest::newRow("option without value") << QStringList{"ttyS0", "download", "--dir"};
        QTest::newRow("folder missing")
            << QStringList{"ttyS0", "download", "--dir", "/nonexistent/tolmarik"};
        QTest::newRow("page past the last address") << QStringList{"ttyS0", "page", "16777216"};
        QTest::newRow("page past any number") << QStringList{"ttyS0", "page", "99999999999"};
        QTest::newRow("page negative") << QStringList{"ttyS0", "page", "-1"};
        QTest::newRow("save without a name") << QStringList{"ttyS0", "save", ""};
        QTest::newRow("plot without a picture") << QStringList{"plot", "a.gpx"};
        QTest::newRow("ports with a word more") << QStringList{"ports", "extra"};
        QTest::newRow("bcf without a file") << QStringList{"bcf"};
    }
    void usageErrors_usageStatus() {
        QFETCH(QStringList, args);
        const Result r = RunCli(args);
        QCOMPARE(r.exitCode, int(app::EC_USAGE));
        // A command name is never taken for a port.
        QVERIFY2(!r.err.contains(QStringLiteral("Не порт")), qPrintable(r.err));
        QVERIFY(!r.err.isEmpty());
    }

    void help_listsEveryExitStatus() {
        const Result r = RunCli({QStringLiteral("--help")});
        for (const app::TExitCodeText& row : app::kExitCodeTexts)
            QVERIFY2(r.out.contains(QStringLiteral("  %1  %2\n")
                                        .arg(int(row.code))
                                        .arg(QLatin1String(row.meaning))),
                     row.meaning);
    }

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

    // The value of an option that names the command is no command either.
    void identify_optionValueNamedPlot_stillIdentifies() {
        QTemporaryDir dir;
        const Result r = RunCli({QStringLiteral("--backup-dir"), QStringLiteral("plot"),
                                 simulator.PortPath(), QStringLiteral("identify")},
                                dir.path());
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains(QStringLiteral("Модель: 102 (Mevra-C)")));
    }

    // The manual page tells of every command, option and exit status the
    // help does.
    void manualPage_agreesWithHelp() {
        QFile file(QStringLiteral(TOLMARIK_CLI_MANUAL));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll());
        const QStringList lines = page.split(QLatin1Char('\n'));
        QStringList headings;  // the line after each .TP
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            if (lines[i] == QLatin1String(".TP")) headings << lines[i + 1];
        const QString help = RunCli({QStringLiteral("--help")}).out;
        QVERIFY(!help.isEmpty());

        static const QRegularExpression option(QStringLiteral("--([a-z][a-z-]+)"));
        QStringList options;
        for (const QRegularExpressionMatch& m : option.globalMatch(help)) options << m.captured(1);
        options.removeDuplicates();
        QVERIFY(options.contains(QStringLiteral("no-backup")));
        for (const QString& name : options) {
            const QString escaped = QStringLiteral("\\-\\-") +
                                    QString(name).replace(QLatin1Char('-'), QStringLiteral("\\-"));
            const bool described =
                std::any_of(headings.begin(), headings.end(),
                            [&](const QString& h) { return h.contains(escaped); });
            QVERIFY2(described, qPrintable(name));
        }

        const QString commands =
            help.section(QStringLiteral("Commands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
        static const QRegularExpression command(QStringLiteral("^  (?:PORT )?([a-z]+)"),
                                                QRegularExpression::MultilineOption);
        QStringList names{QStringLiteral("auto")};
        for (const QRegularExpressionMatch& m : command.globalMatch(commands))
            names << m.captured(1);
        QVERIFY(names.size() > 10);
        for (const QString& name : names) {
            const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(name));
            const bool described =
                std::any_of(headings.begin(), headings.end(),
                            [&](const QString& h) { return word.match(h).hasMatch(); });
            QVERIFY2(described, qPrintable(name));
        }

        const QString statuses = page.section(QStringLiteral(".SH EXIT STATUS\n"), 1)
                                     .section(QStringLiteral(".SH "), 0, 0);
        for (const app::TExitCodeText& row : app::kExitCodeTexts)
            QVERIFY2(statuses.contains(QStringLiteral(".TP\n.B %1\n").arg(int(row.code))),
                     row.meaning);
        QCOMPARE(statuses.count(QStringLiteral(".TP\n")),
                 qsizetype(std::size(app::kExitCodeTexts)));
    }

    void firmware_refusedByInstrument_refusedStatus() {
        QTemporaryDir dir;
        QByteArray image;
        image.append(char(0)).append(char(100));
        for (int i = 0; i < 100; ++i) image.append(char(i));
        const QString file = dir.filePath(QStringLiteral("fw.enc"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(image.toHex());
        f.close();
        sim::TFirmwareBehaviour refuse;
        refuse.rejectAtBlock = 0;
        simulator.SetFirmwareBehaviour(refuse);
        const Result r =
            RunCli({simulator.PortPath(), QStringLiteral("firmware"), QStringLiteral("--yes"), file,
                    QStringLiteral("--backup-dir"), dir.path()});
        simulator.SetFirmwareBehaviour({});
        QCOMPARE(r.exitCode, int(app::EC_REFUSED));
    }

    void download_trackFileCannotBeWritten_writeCheckStatus() {
        QTemporaryDir dir;
        // A folder where the track file should go: no writer can replace it.
        const int flight = memory.flights.back().flightNumber;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Track%1.gpx").arg(flight)));
        const Result r = RunCli({simulator.PortPath(), QStringLiteral("download"),
                                 QStringLiteral("--no-igc"), QStringLiteral("--dir"), dir.path()});
        QCOMPARE(r.exitCode, int(app::EC_WRITE_CHECK));
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
        const Result r = RunCli({simulator.PortPath(), QStringLiteral("download"),
                                 QStringLiteral("--no-igc"), QStringLiteral("--dir"), dir.path()});
        QCOMPARE(r.exitCode, int(app::EC_WRITE_CHECK));
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
        QVERIFY(simulator.Start());  // requests counted from here
        sim::TFaults faults;
        faults.hangUpAfterRequests = 2;  // the statistics, then the first sector
        simulator.SetFaults(faults);
        QStringList args{simulator.PortPath(), QStringLiteral("download"),
                         QStringLiteral("--no-igc"), QStringLiteral("--dir"), dir.path()};
        if (keep) args << QStringLiteral("--keep-partial");
        const int flight = memory.flights.back().flightNumber;
        const QString complete = dir.filePath(QStringLiteral("Track%1.gpx").arg(flight));
        QFile earlier(complete);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("complete") == 8);
        earlier.close();
        const Result r = RunCli(args);
        simulator.SetFaults({});
        QVERIFY(simulator.Start());

        QCOMPARE(r.exitCode, int(app::EC_NO_LINK));
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

    void stats_previousFlight_linesOfThatFlight() {
        const Result r =
            RunCli({simulator.PortPath(), QStringLiteral("stats"), QStringLiteral("--previous")});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines[0], QStringLiteral("Полет №%1").arg(memory.stats[1].flightNumber));
        QCOMPARE(lines[3], QStringLiteral("---------------------------"));
    }

    void download_bothModes_validGpxReadBackByGpsbabel_data() {
        QTest::addColumn<bool>("pages");
        QTest::newRow("sectors") << false;
        QTest::newRow("pages") << true;
    }
    void download_bothModes_validGpxReadBackByGpsbabel() {
        QFETCH(bool, pages);
        QTemporaryDir dir;
        QStringList args{simulator.PortPath(), QStringLiteral("download"), QStringLiteral("--dir"),
                         dir.path()};
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
        const Result r = RunCli({simulator.PortPath(), QStringLiteral("download"),
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
        const Result r = RunCli({simulator.PortPath(), QStringLiteral("download"),
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
            << noPoints << QStringList() << int(app::EC_BAD_FILE)
            << QStringLiteral("В файле \"%1\" нет точек трека").arg(noPoints);
        QTest::newRow("a pipe") << QStringLiteral("fifo") << QStringList() << int(app::EC_BAD_FILE)
                                << QStringLiteral("это не обычный файл");
        QTest::newRow("size too small")
            << noPoints << QStringList{QStringLiteral("--size"), QStringLiteral("100x100")}
            << int(app::EC_USAGE) << QStringLiteral("Размер рисунка: от 480x320 до 5000x5000");
        QTest::newRow("size not a size")
            << noPoints << QStringList{QStringLiteral("--size"), QStringLiteral("big")}
            << int(app::EC_USAGE) << QStringLiteral("Размер рисунка");
    }
    void plot_refusedInputs_clearMessage() {
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
        if (!TOLMARIK_LOGBOOK_BUILT) QSKIP("built without the logbook");
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("in")));
        const QString igc = dir.filePath(QStringLiteral("in/flight.igc"));
        device::WriteFileSafely(igc, logbooktest::Igc(logbooktest::Download(
                                         tracktest::Time(2024, 6, 7, 9, 0, 0), 45.0f, 6.0f, 900)));
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
            {{"plot", igc, dir.filePath("flight.png")}, app::EC_OK, "Файл сохранен"},
            {{"kml", igc, dir.filePath("flight.kml")}, app::EC_OK, "Файл сохранен"},
            {{"kml", dir.filePath("none.igc"), dir.filePath("none.kml")},
             app::EC_BAD_FILE,
             "none.igc"},
            {{"logbook", "import", dir.filePath("in")},
             app::EC_OK,
             "Добавлено: 1, уже в журнале: 0"},
            {{"logbook", "import", igc, dir.filePath("none.igc")},
             app::EC_BAD_FILE,
             "уже в журнале: 1, не прочитано: 1"},
            {{"logbook", "list"}, app::EC_OK, "1\t2024-06-07\t09:0"},
            {{"logbook", "totals"}, app::EC_OK, "Всего\t1 полёт"},
            {{"logbook", "totals", "--by", "month"}, app::EC_OK, "\n2024-06\t1 полёт"},
            {{"logbook", "totals", "--by", "site"}, app::EC_OK, "\n(место не названо)\t1 полёт"},
            {{"logbook", "totals", "--by", "day"}, app::EC_USAGE, "--by year|month"},
            {{"logbook", "totals", "--by"}, app::EC_USAGE, "--by year|month"},
            {{"logbook", "records"}, app::EC_OK, "Самый долгий полёт\t0:1"},
            {{"logbook", "undo"}, app::EC_FAILED, "Нечего отменять"},
            {{"logbook", "edit", "1", "--site", "Юца", "--notes", "=1+1"},
             app::EC_OK,
             "Место взлёта: Юца"},
            {{"logbook", "edit", "1", "--wing", "Rush"}, app::EC_USAGE, "edit N"},
            {{"logbook", "edit", "1", "--site"}, app::EC_USAGE, "edit N"},
            {{"logbook", "edit", "9", "--site", "X"}, app::EC_FAILED, "Полёта 9 нет в журнале"},
            {{"logbook", "find", "юца"}, app::EC_OK, "\tЮца\t"},
            {{"logbook", "undo"}, app::EC_OK, "Отменено изменение полёта № 1"},
            {{"logbook", "find", "юца"}, app::EC_OK, "XContest, б\n"},
            {{"logbook", "show", "1"}, app::EC_OK, "Время полёта: 0:1"},
            {{"logbook", "find", "nowhere"}, app::EC_OK, "XContest, б"},
            {{"logbook", "find"}, app::EC_USAGE, "find TEXT"},
            {{"logbook", "show", "9"}, app::EC_FAILED, "Полёта 9 нет в журнале"},
            {{"logbook", "backup", dir.filePath("season.backup")},
             app::EC_OK,
             "Полётов: 1, файлов треков: 1"},
            {{"logbook", "backup", dir.filePath("in")}, app::EC_WRITE_CHECK, "in"},
            {{"logbook", "restore", igc}, app::EC_BAD_FILE, "flight.igc"},
            {{"logbook", "restore", dir.filePath("season.backup")},
             app::EC_OK,
             "Полётов: 1, файлов треков: 1"},
            {{"logbook", "restore"}, app::EC_USAGE, "restore FILE"},
            {{"logbook", "export-csv", dir.filePath("all.csv")}, app::EC_OK, ""},
            {{"logbook", "frobnicate"}, app::EC_USAGE, "logbook list|totals"},
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
        QCOMPARE(damaged.exitCode, int(app::EC_LOGBOOK));
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
        const QStringList download = {simulator.PortPath(), QStringLiteral("download"),
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
        QCOMPARE(damaged.exitCode, int(app::EC_LOGBOOK));
        QVERIFY2(damaged.err.contains(book), qPrintable(damaged.err));
        QVERIFY(QFile::exists(kml));
        QCOMPARE(device::ReadRegularFile(book, 1 << 20), QByteArray(8192, 'z'));
    }

    void page_sixteenRowsOfTheMemory() {
        const Result r =
            RunCli({simulator.PortPath(), QStringLiteral("page"), QStringLiteral("16")});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 16);
        QString first;
        for (int i = 0; i < 16; ++i)
            first += QStringLiteral("%1 ")
                         .arg(memory.memory[4096 + i], 2, 16, QLatin1Char('0'))
                         .toUpper();
        QCOMPARE(lines[0], first);
        QCOMPARE(lines[0].size(), 48);
    }

    // No sound answer to the page request ends as any request does.
    void page_noAnswer_noLinkStatusAndText_data() {
        QTest::addColumn<bool>("silent");
        QTest::newRow("silent") << true;
        QTest::newRow("garbled") << false;
    }
    void page_noAnswer_noLinkStatusAndText() {
        QFETCH(bool, silent);
        sim::TFaults faults;
        faults.silent = silent;
        faults.wrongCheckByte = !silent;
        simulator.SetFaults(faults);
        const Result r =
            RunCli({simulator.PortPath(), QStringLiteral("page"), QStringLiteral("16")});
        simulator.SetFaults({});
        QCOMPARE(r.exitCode, int(app::EC_NO_LINK));
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err.trimmed(), device::NoDeviceText);
    }

    // A time zone no instrument can be set to: shown as such, never written.
    void bcf_timeZoneOutOfRange_markedAndRefused() {
        QTemporaryDir dir;
        std::array<std::uint8_t, 150> config{};
        config[4] = 100;
        const QString file = dir.filePath(QStringLiteral("pilot.bcf"));
        models::SaveConfigFile(file, Instrument().model, config.data());
        const Result shown = RunCli({QStringLiteral("bcf"), file});
        QCOMPARE(shown.exitCode, 0);
        QVERIFY2(shown.out.contains(QStringLiteral("Часовой пояс: UTC+100 (вне пределов")),
                 qPrintable(shown.out));
        QVERIFY(simulator.Start());  // a fresh record of what arrives
        const Result written =
            RunCli({simulator.PortPath(), QStringLiteral("write"), file, QStringLiteral("--yes")});
        QCOMPARE(written.exitCode, int(app::EC_BAD_FILE));
        QCOMPARE(written.err.trimmed(), models::TimeZoneRefusedText(100));
        QVERIFY(simulator.WrittenConfig().empty());
    }

    void bcfShowAndWrite_settingsReachTheInstrument() {
        QTemporaryDir dir;
        std::array<std::uint8_t, 150> config{};
        config[4] = 5;
        config[77] = 0x77;
        const QString file = dir.filePath(QStringLiteral("pilot.bcf"));
        models::SaveConfigFile(file, Instrument().model, config.data());
        const Result shown = RunCli({QStringLiteral("bcf"), file});
        QCOMPARE(shown.exitCode, 0);
        QVERIFY(shown.out.contains(QStringLiteral("Модель: 102 (Mevra-C)")));
        QVERIFY(shown.out.contains(QStringLiteral("Часовой пояс: UTC+5")));
        const Result written =
            RunCli({simulator.PortPath(), QStringLiteral("write"), file, QStringLiteral("--yes")});
        QVERIFY2(written.exitCode == 0, qPrintable(written.err));
        QCOMPARE(written.out.trimmed().split(QLatin1Char('\n')).last(),
                 QStringLiteral("Данные записаны"));
        const auto stored = simulator.WrittenConfig();
        QVERIFY(std::equal(stored.begin(), stored.end(), config.begin(), config.end()));
    }

    // The write identifies first and reads the settings back after.
    void write_checkRefuses_exitStatusAndWhatWasSent_data() {
        QTest::addColumn<int>("fileModel");
        QTest::addColumn<int>("alteredByte");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("bytesSent");
        const int identification = 10;
        const int write = 154;
        QTest::newRow("file of another model: only the identification sent")
            << 104 << -1 << int(app::EC_MODEL_MISMATCH) << models::ModelMismatchText(104, 102)
            << identification;
        // Read and shown, asked; then checked again, written and read back.
        QTest::newRow("instrument keeps another byte: written, then read back")
            << 102 << 77 << int(app::EC_READ_BACK) << models::ReadBackDiffersText()
            << identification + identification + write + identification;
    }
    void write_checkRefuses_exitStatusAndWhatWasSent() {
        QFETCH(int, fileModel);
        QFETCH(int, alteredByte);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(int, bytesSent);
        QTemporaryDir dir;
        std::array<std::uint8_t, 150> config{};
        config[77] = 0x42;
        const QString file = dir.filePath(QStringLiteral("pilot.bcf"));
        models::SaveConfigFile(file, models::DeviceModelId(fileModel), config.data());
        QVERIFY(simulator.Start());  // a fresh record of what arrives
        sim::TFaults faults;
        faults.writeAltersByte = alteredByte;
        simulator.SetFaults(faults);
        const QString ours = dir.filePath(QStringLiteral("cli.txt"));
        const Result r = RunCli({QStringLiteral("--transcript"), ours, simulator.PortPath(),
                                 QStringLiteral("write"), file, QStringLiteral("--yes")});
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.err.trimmed(), message);
        // The changes are shown only for settings the instrument could take.
        QCOMPARE(r.out.isEmpty(), alteredByte < 0);
        QCOMPARE(Traffic(ours, '>').size(), bytesSent);
        bool writeRequest = false;
        for (const std::vector<std::uint8_t>& request : simulator.Requests())
            writeRequest |= request.size() > 2 && request[2] == device::CMD_WRITE_CONFIG;
        QCOMPARE(writeRequest, alteredByte >= 0);
        QCOMPARE(simulator.WrittenConfig().empty(), alteredByte < 0);
    }

    void saveThenWrite_settingsRoundTripThroughAFile() {
        sim::TIdentity identity;
        identity.model = 102;
        identity.settings[0] = 0xAB;
        identity.settings[4] = 3;
        simulator.SetIdentity(identity);
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("from-instrument"));
        const Result saved = RunCli({simulator.PortPath(), QStringLiteral("save"), chosen});
        QVERIFY2(saved.exitCode == 0, qPrintable(saved.err));
        const QString file = chosen + QStringLiteral(".bcf");
        QCOMPARE(saved.out.trimmed(), QStringLiteral("Файл сохранен: ") + file);
        models::TFileIOSaver saver(0);
        QCOMPARE(int(saver.LoadFile(file)), 102);
        std::array<std::uint8_t, 150> config{};
        QCOMPARE(saver.ReadBlock(config.data(), 150), 150);
        QCOMPARE(int(config[0]), 0xAB);
        QCOMPARE(int(config[4]), 3);
        // The instrument changed since: the file brings its settings back.
        identity.settings[0] = 0x11;
        simulator.SetIdentity(identity);
        const Result written =
            RunCli({simulator.PortPath(), QStringLiteral("write"), file, QStringLiteral("--yes")});
        QCOMPARE(written.exitCode, 0);
        QVERIFY(written.out.contains(QStringLiteral("Байт 0: 11 → AB")));
        const auto stored = simulator.WrittenConfig();
        QVERIFY(std::equal(stored.begin(), stored.end(), config.begin(), config.end()));
    }

    // Only byte 4 changes; the rest of the 150 bytes stays as the instrument
    // held it. Set again, there is nothing to write.
    void setTimeZone_roundTripThenNothingToWrite() {
        QVERIFY(simulator.Start());
        const Result r = RunCli({simulator.PortPath(), QStringLiteral("set-timezone"),
                                 QStringLiteral("-5"), QStringLiteral("--yes")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QStringList lines = r.out.trimmed().split(QLatin1Char('\n'));
        QCOMPARE(
            lines,
            QStringList({QStringLiteral("В приборе Mevra-C (102) изменятся настройки (байт: 1):"),
                         QStringLiteral("Часовой пояс: UTC+3 → UTC-5"),
                         QStringLiteral("Записать эти изменения в прибор?"),
                         QStringLiteral("Ответ: да (--yes)"), QStringLiteral("Данные записаны")}));
        std::array<std::uint8_t, 150> expected{};
        const sim::TIdentity before = Instrument();
        std::copy(before.settings.begin(), before.settings.end(), expected.begin());
        expected[4] = 0xFB;
        const auto stored = simulator.WrittenConfig();
        QVERIFY(std::equal(stored.begin(), stored.end(), expected.begin(), expected.end()));
        QVERIFY(RunCli({simulator.PortPath(), QStringLiteral("identify")})
                    .out.contains(QStringLiteral("Часовой пояс: UTC-5")));

        const int requests = simulator.RequestCount();
        const Result again =
            RunCli({simulator.PortPath(), QStringLiteral("set-timezone"), QStringLiteral("UTC-5")});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out.trimmed(),
                 QStringLiteral("В приборе уже эти настройки: записывать нечего"));
        QCOMPARE(simulator.RequestCount(), requests + 1);  // the identification only
    }

    // On a terminal the user answers; only "да" (or y, yes) writes.
    void setTimeZone_terminalAnswer_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("да") << QByteArray("да\n") << 0;
        QTest::newRow("yes") << QByteArray("yes\n") << 0;
        QTest::newRow("нет") << QByteArray("нет\n") << int(app::EC_NOT_CONFIRMED);
        QTest::newRow("an empty line") << QByteArray("\n") << int(app::EC_NOT_CONFIRMED);
    }
    void setTimeZone_terminalAnswer() {
        QFETCH(QByteArray, answer);
        QFETCH(int, exitCode);
        SilentPort terminal;  // its slave side stands in for the user's terminal
        QVERIFY(!terminal.path.isEmpty());
        QCOMPARE(::write(terminal.master, answer.constData(), size_t(answer.size())),
                 ssize_t(answer.size()));
        QVERIFY(simulator.Start());
        QProcess p;
        p.setStandardInputFile(terminal.path);
        p.start(QStringLiteral(TOLMARIK_CLI),
                {simulator.PortPath(), QStringLiteral("set-timezone"), QStringLiteral("7")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), exitCode);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(out.contains(QStringLiteral("Часовой пояс: UTC+3 → UTC+7\nЗаписать эти изменения "
                                             "в прибор?\n[да/нет]: ")),
                 qPrintable(out));
        QCOMPARE(simulator.WrittenConfig().empty(), exitCode != 0);
    }

    void setTimeZone_hoursOutside_usageNothingSent_data() {
        QTest::addColumn<QString>("hours");
        QTest::newRow("+15") << QStringLiteral("+15");
        QTest::newRow("-13") << QStringLiteral("-13");
        QTest::newRow("not a number") << QStringLiteral("three");
        QTest::newRow("not whole") << QStringLiteral("3.5");
    }
    void setTimeZone_hoursOutside_usageNothingSent() {
        QFETCH(QString, hours);
        QVERIFY(simulator.Start());
        const Result r = RunCli(
            {simulator.PortPath(), QStringLiteral("set-timezone"), hours, QStringLiteral("--yes")});
        QCOMPARE(r.exitCode, int(app::EC_USAGE));
        QVERIFY2(r.err.contains(QStringLiteral("from -12 to +14")), qPrintable(r.err));
        QCOMPARE(simulator.RequestCount(), 0);
    }

    // A script's stdin is no terminal: without --yes the change is shown,
    // refused, and nothing reaches the instrument.
    void changes_noYesNoTerminal_refusedNothingChanged_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("set-timezone")
            << QStringLiteral("set-timezone")
            << QStringLiteral("В приборе Mevra-C (102) изменятся настройки (байт: 1):");
        QTest::newRow("write") << QStringLiteral("write")
                               << QStringLiteral(
                                      "В приборе Mevra-C (102) изменятся настройки (байт: 1):");
        QTest::newRow("firmware") << QStringLiteral("firmware")
                                  << QStringLiteral("Прибор: Mevra-C (102), версия прошивки 311");
    }
    void changes_noYesNoTerminal_refusedNothingChanged() {
        QFETCH(QString, command);
        QFETCH(QString, firstLine);
        QTemporaryDir dir;
        QString argument = QStringLiteral("7");
        if (command == QLatin1String("write")) {
            std::array<std::uint8_t, 150> config{};
            config[4] = 3;
            argument = dir.filePath(QStringLiteral("pilot.bcf"));
            models::SaveConfigFile(argument, Instrument().model, config.data());
        }
        if (command == QLatin1String("firmware"))
            argument = WriteFirmwareFile(dir, QByteArray::fromHex("0003010203"));
        QVERIFY(simulator.Start());
        const Result r =
            RunCli({simulator.PortPath(), command, argument, QStringLiteral("--backup-dir"),
                    dir.filePath(QStringLiteral("backups"))});
        QCOMPARE(r.exitCode, int(app::EC_NOT_CONFIRMED));
        QCOMPARE(r.out.split(QLatin1Char('\n')).first(), firstLine);
        QVERIFY2(r.err.contains(QStringLiteral("--yes")), qPrintable(r.err));
        QVERIFY(simulator.WrittenConfig().empty());
        QCOMPARE(simulator.FirmwareBlocksReceived(), 0);
        QVERIFY(!QDir(dir.filePath(QStringLiteral("backups"))).exists());
    }

    // Read as it is, never written to; a firmware update asks twice.
    void unknownModel_readNeverWritten_data() {
        QTest::addColumn<int>("model");  // -1: a reply that names no model
        QTest::newRow("model 50") << 50;
        QTest::newRow("model 0") << 0;
        QTest::newRow("no model named") << -1;
    }
    void unknownModel_readNeverWritten() {
        QFETCH(int, model);
        sim::TIdentity identity = Instrument();
        identity.model = std::uint16_t(std::max(model, 0));
        identity.shortFrame = model < 0;
        simulator.SetIdentity(identity);
        const std::optional<std::uint16_t> reported =
            model < 0 ? std::nullopt : std::optional<std::uint16_t>(std::uint16_t(model));
        QVERIFY(simulator.Start());
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("defaults.bcf"));
        std::array<std::uint8_t, 150> defaults{};
        defaults[4] = 3;
        models::SaveConfigFile(file, 1, defaults.data());
        if (model >= 0) {
            const Result shown = RunCli({simulator.PortPath(), QStringLiteral("identify")});
            QCOMPARE(shown.out.split(QLatin1Char('\n')).first(),
                     QStringLiteral("Модель: ") + device::UnknownModelReadOnlyText(reported));
        }
        const QList<QStringList> writes{{QStringLiteral("set-timezone"), QStringLiteral("2")},
                                        {QStringLiteral("write"), file}};
        for (const QStringList& write : writes) {
            const Result r = RunCli(QStringList{simulator.PortPath()} + write +
                                    QStringList{QStringLiteral("--yes")});
            QCOMPARE(r.exitCode, int(app::EC_UNKNOWN_MODEL));
            QCOMPARE(r.err.trimmed(), device::UnknownModelWriteRefusedText(reported));
            QVERIFY(r.out.isEmpty());
        }
        QVERIFY(simulator.WrittenConfig().empty());
        if (model != 50) return;
        const QString image = WriteFirmwareFile(dir, QByteArray::fromHex("0003010203"));
        const Result r =
            RunCli({simulator.PortPath(), QStringLiteral("firmware"), image,
                    QStringLiteral("--yes"), QStringLiteral("--backup-dir"), dir.path()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.out.count(QStringLiteral("Ответ: да (--yes)")), 2);
        QVERIFY(r.out.contains(device::UnknownModelFirmwareQuestion(50)));
        // No offer to write the kept settings back.
        QVERIFY(!r.out.contains(QStringLiteral(" write ")));
    }

    void bcf_brokenFile_exactErrorText() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("short.bcf"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x01\x00\x01\x00", 4);
        f.close();
        const Result r = RunCli({QStringLiteral("bcf"), file});
        QCOMPARE(r.exitCode, int(app::EC_BAD_FILE));
        QCOMPARE(r.err.trimmed(), QStringLiteral("Файл поврежден"));
    }

    void firmware_imageArrivesByteExact() {
        QTemporaryDir dir;
        QByteArray image;
        for (int block = 0; block < 4; ++block) {
            image.append(char(0)).append(char(100));
            for (int i = 0; i < 100; ++i) image.append(char(block * 7 + i));
        }
        const QString file = WriteFirmwareFile(dir, image);
        const QString backups = dir.filePath(QStringLiteral("backups"));
        const Result r =
            RunCli({simulator.PortPath(), QStringLiteral("firmware"), QStringLiteral("--yes"), file,
                    QStringLiteral("--backup-dir"), backups});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        // What comes after the question and its answer.
        const QStringList lines = r.out.trimmed()
                                      .section(QStringLiteral("Ответ: да (--yes)\n"), 1)
                                      .split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines[0].startsWith(models::BackupSavedText(backups)), qPrintable(lines[0]));
        QCOMPARE(lines[1], QStringLiteral("Прошивка обновлена"));
        QCOMPARE(lines[2], models::FirmwareVersionsText(311, 311));
        QVERIFY(lines[3].contains(QStringLiteral(" write ") + backups));
        const auto received = simulator.FirmwareReceived();
        QCOMPARE(
            QByteArray(reinterpret_cast<const char*>(received.data()), qsizetype(received.size())),
            image);
    }

    void firmware_backupDir_datedFileOfTheSettingsReopens() {
        sim::TIdentity identity = Instrument();
        for (std::size_t i = 0; i < identity.settings.size(); ++i)
            identity.settings[i] = std::uint8_t(i * 5 + 1);
        identity.companion = 0x5AA5;
        simulator.SetIdentity(identity);
        QTemporaryDir dir;
        const QString backups = dir.filePath(QStringLiteral("kept/here"));
        const QString file = WriteFirmwareFile(dir, QByteArray::fromHex("0003010203"));
        const Result r = RunCli({QStringLiteral("--backup-dir"), backups, simulator.PortPath(),
                                 QStringLiteral("firmware"), QStringLiteral("--yes"), file});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QStringList kept = QDir(backups).entryList(QDir::Files);
        QCOMPARE(kept.size(), 1);
        static const QRegularExpression name(
            QStringLiteral("^settings-\\d{8}-\\d{6}-\\d{3}-model102-fw311\\.bcf$"));
        QVERIFY2(name.match(kept[0]).hasMatch(), qPrintable(kept[0]));
        QVERIFY(r.out.contains(models::BackupSavedText(QDir(backups).filePath(kept[0]))));
        models::TFileIOSaver saver(0);
        QCOMPARE(int(saver.LoadFile(QDir(backups).filePath(kept[0]))), 102);
        std::array<std::uint8_t, 150> config{};
        QCOMPARE(saver.ReadBlock(config.data(), 150), 150);
        QVERIFY(std::equal(identity.settings.begin(), identity.settings.end(), config.begin()));
        QCOMPARE(config[148], std::uint8_t(0xA5));
        QCOMPARE(config[149], std::uint8_t(0x5A));
    }

    void firmware_backupCannotBeWritten_refusedNothingSent() {
        QTemporaryDir dir;
        const QString file = WriteFirmwareFile(dir, QByteArray::fromHex("0003010203"));
        // A file where the folder should be made.
        QFile blocker(dir.filePath(QStringLiteral("taken")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(simulator.Start());  // a fresh record of what arrives
        const Result r =
            RunCli({simulator.PortPath(), QStringLiteral("firmware"), QStringLiteral("--yes"), file,
                    QStringLiteral("--backup-dir"), blocker.fileName() + "/backups"});
        QCOMPARE(r.exitCode, int(app::EC_WRITE_CHECK));
        QVERIFY2(r.err.contains(QStringLiteral("--no-backup")), qPrintable(r.err));
        QCOMPARE(simulator.FirmwareBlocksReceived(), 0);
    }

    // An instrument in its loader answers no identification: no backup.
    void firmware_instrumentInLoader_onlyWithNoBackup_data() {
        QTest::addColumn<bool>("noBackup");
        QTest::newRow("refused without --no-backup") << false;
        QTest::newRow("sent with --no-backup") << true;
    }
    void firmware_instrumentInLoader_onlyWithNoBackup() {
        QFETCH(bool, noBackup);
        QVERIFY(simulator.Start());  // a fresh record of what arrives
        sim::TFaults faults;
        faults.loader = true;
        simulator.SetFaults(faults);
        QTemporaryDir dir;
        const QByteArray image = QByteArray::fromHex("0004A1A2A3A4");
        const QString file = WriteFirmwareFile(dir, image);
        const QString backups = dir.filePath(QStringLiteral("backups"));
        QStringList args{simulator.PortPath(),           QStringLiteral("firmware"),
                         QStringLiteral("--yes"),        file,
                         QStringLiteral("--backup-dir"), backups};
        if (noBackup) args << QStringLiteral("--no-backup");
        const Result r = RunCli(args);
        QVERIFY(QDir(backups).entryList(QDir::Files).isEmpty());
        const auto received = simulator.FirmwareReceived();
        const QByteArray sent(reinterpret_cast<const char*>(received.data()),
                              qsizetype(received.size()));
        if (noBackup) {
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            QCOMPARE(sent, image);
            QVERIFY(r.out.contains(models::FirmwareVersionsText({}, {})));
        } else {
            QCOMPARE(r.exitCode, int(app::EC_NO_LINK));
            QVERIFY2(r.err.contains(models::NoIdentityReason()), qPrintable(r.err));
            QVERIFY(r.err.contains(QStringLiteral("--no-backup")));
            QCOMPARE(simulator.FirmwareBlocksReceived(), 0);
        }
    }

    void firmware_notHex_refusedBeforeSending() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("fw.enc"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("0002AABB\r\n");
        f.close();
        const int before = simulator.FirmwareBlocksReceived();
        const Result r =
            RunCli({simulator.PortPath(), QStringLiteral("firmware"), QStringLiteral("--yes"), file,
                    QStringLiteral("--backup-dir"), dir.path()});
        QCOMPARE(r.exitCode, int(app::EC_BAD_FILE));
        QCOMPARE(r.err.trimmed(), QStringLiteral("Файл не найден"));
        QCOMPARE(simulator.FirmwareBlocksReceived(), before);
    }

    // --- outputs that fail, signals

    // The pilot's script must learn that what it reads is not all there is.
    void outputFails_outputStatusAndMessage_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("transcriptCut");
        QTest::addColumn<QString>("message");
        QTest::newRow("standard output on a full device")
            << "full" << false << "Не удалось вывести результат на стандартный вывод";
        QTest::newRow("standard output closed by its reader")
            << "closed" << false << "Не удалось вывести результат на стандартный вывод";
        QTest::newRow("transcript cut short by the disk")
            << "" << true << "Протокол обмена записан не полностью";
    }
    void outputFails_outputStatusAndMessage() {
        QFETCH(QString, output);
        QFETCH(bool, transcriptCut);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString transcript = dir.filePath(QStringLiteral("t.txt"));
        qint64 limit = 0;
        if (transcriptCut) {
            limit = 4096;
            QFile f(transcript);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write(QByteArray(limit - 40, 'x')) == limit - 40);
        }
        const Result r = RunCliOutput({QStringLiteral("--transcript"), transcript,
                                       simulator.PortPath(), QStringLiteral("identify")},
                                      output, limit);
        QCOMPARE(r.exitCode, int(app::EC_OUTPUT));
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        if (transcriptCut) QCOMPARE(QFileInfo(transcript).size(), limit);
    }

    // "download | head -n1": the reader goes, the files are written all the same.
    void download_outputClosed_filesWrittenOutputStatus() {
        QTemporaryDir dir;
        const Result r = RunCliOutput(
            {simulator.PortPath(), QStringLiteral("download"), QStringLiteral("--no-igc")},
            QStringLiteral("closed"), 0, dir.path());
        QCOMPARE(r.exitCode, int(app::EC_OUTPUT));
        const int flight = memory.flights.back().flightNumber;
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Track%1.gpx").arg(flight))).size() > 0);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Track%1.enx").arg(flight))).size() > 0);
    }

    void transcript_notARegularFile_refusedAtOnce_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("device") << "device";
        QTest::newRow("folder") << "folder";
    }
    void transcript_notARegularFile_refusedAtOnce() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("t"));
        if (kind == QLatin1String("fifo")) QCOMPARE(::mkfifo(QFile::encodeName(path), 0600), 0);
        if (kind == QLatin1String("device")) path = QStringLiteral("/dev/null");
        if (kind == QLatin1String("folder")) QVERIFY(QDir().mkpath(path));
        const int before = simulator.RequestCount();
        // A blocking open of the FIFO would hang: the test would time out.
        const Result r = RunCli({QStringLiteral("--transcript"), path, simulator.PortPath(),
                                 QStringLiteral("identify")});
        QCOMPARE(r.exitCode, int(app::EC_WRITE_CHECK));
        QVERIFY2(r.err.contains(QStringLiteral("Не удалось записать файл \"%1\"").arg(path)),
                 qPrintable(r.err));
        QCOMPARE(simulator.RequestCount(), before);
    }

    void save_notAFileName_refusedNothingWritten() {
        const Result r =
            RunCli({simulator.PortPath(), QStringLiteral("save"), QStringLiteral("/dev/null")});
        QCOMPARE(r.exitCode, int(app::EC_WRITE_CHECK));
        QVERIFY2(r.err.contains(QStringLiteral("/dev/null")), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/dev/null.bcf")));
    }

    void firmware_interrupted_saysWhatToDo() {
        QTemporaryDir dir;
        QByteArray image;
        for (int block = 0; block < 40; ++block) {
            image.append(char(0)).append(char(64));
            image.append(QByteArray(64, char(block)));
        }
        const QString file = WriteFirmwareFile(dir, image);
        sim::TFaults slow;
        slow.lateMs = 50;
        simulator.SetFaults(slow);
        const int before = simulator.FirmwareBlocksReceived();
        QProcess p;
        p.start(QStringLiteral(TOLMARIK_CLI),
                {simulator.PortPath(), QStringLiteral("firmware"), QStringLiteral("--yes"), file,
                 QStringLiteral("--backup-dir"), dir.filePath(QStringLiteral("backups"))});
        QTRY_VERIFY_WITH_TIMEOUT(simulator.FirmwareBlocksReceived() >= before + 2, 60000);
        QCOMPARE(::kill(pid_t(p.processId()), SIGINT), 0);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(device::FirmwareInterruptedText), qPrintable(err));
        QVERIFY(simulator.FirmwareBlocksReceived() < before + 40);
        // The instrument may still hold half a block, which can swallow the
        // next request; the later suites need it answering again.
        simulator.SetFaults({});
        QTRY_VERIFY_WITH_TIMEOUT(
            RunCli({simulator.PortPath(), QStringLiteral("identify")}).exitCode == 0, 30000);
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
             QStringLiteral(TOLMARIK_CLI), simulator.PortPath(), escaped});
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

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
