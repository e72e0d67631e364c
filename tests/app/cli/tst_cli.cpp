// tolmarik-cli as a pilot's script runs it: its help, usage errors, exit
// statuses, ports, transcripts and output, and the reading commands.
#include "tests/app/cli/CliBench.h"
#include "tests/support/ManualPage.h"

class TestCli : public QObject, public TCliBench {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() { QVERIFY(StartBench()); }
    void cleanup() { ResetBench(); }

    void help_listsCommands() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        const Result r = RunCli({QStringLiteral("--help")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains(QStringLiteral("download")));
    }

    void identify_printsModelVersionAndSettings() {
        const Result r = RunCli({Simulator().PortPath(), QStringLiteral("identify")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QStringLiteral("Модель: 102 (Mevra-C)")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("Версия: 311")));
        QVERIFY(r.out.contains(QStringLiteral("Часовой пояс: UTC+3")));
        QVERIFY(r.out.contains(QStringLiteral("Настройки:\n000: AB 00 00 00 03")));
    }

    void missingPort_portStatusAndText() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        const Result r =
            RunCli({QStringLiteral("/dev/tolmarik-missing"), QStringLiteral("identify")});
        QCOMPARE(r.exitCode, int(flow::EC_PORT));
        QVERIFY2(r.err.startsWith(QStringLiteral("Невозможно открыть порт")), qPrintable(r.err));
        const QStringList lines = r.err.trimmed().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[1].startsWith(QStringLiteral("/dev/tolmarik-missing: ")));
        QCOMPARE(lines[2], serial::OpenFailureHint(serial::TOpenFailureCause::Gone));
    }

    void ports_listsSimulatorNamedAsExtraPort() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        const Result r = RunCli({QStringLiteral("ports")}, QDir::currentPath(),
                                Simulator().PortPath() + QStringLiteral(":/dev/tolmarik-missing"));
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(
            lines.contains(Simulator().PortPath() + QStringLiteral("\tДополнительный порт\t-\t-")),
            qPrintable(r.out));
        QVERIFY(!r.out.contains(QStringLiteral("tolmarik-missing")));
        for (const QString& line : lines) QCOMPARE(line.count(QLatin1Char('\t')), 3);
    }

    void auto_findsSimulatorAmongPortsThatDoNotAnswer() {
        SilentPort silent;
        QVERIFY(!silent.path.isEmpty());
        const QString ports = QStringList{QStringLiteral("/dev/tolmarik-missing"), silent.path,
                                          Simulator().PortPath()}
                                  .join(QLatin1Char(':'));
        const Result r = RunCli({QStringLiteral("auto"), QStringLiteral("identify")},
                                QDir::currentPath(), ports);
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains(QStringLiteral("Модель: 102 (Mevra-C)")), qPrintable(r.err));
        QVERIFY(r.err.contains(QStringLiteral("Прибор найден на порту ") + Simulator().PortPath()));
        QVERIFY(r.err.contains(silent.path + QStringLiteral(": Нет связи с прибором")));
    }

    void auto_nobodyAnswers_noLinkStatus() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        SilentPort silent;
        const Result r = RunCli({QStringLiteral("auto"), QStringLiteral("identify")},
                                QDir::currentPath(), silent.path);
        // A real adapter of this machine may answer nothing either.
        QCOMPARE(r.exitCode, int(flow::EC_NO_LINK));
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.contains(QStringLiteral("Прибор не найден ни на одном порту")));
    }

    void transcript_oneIdentification_byteForByte() {
        QTemporaryDir dir;
        const QString ours = dir.filePath(QStringLiteral("cli.txt"));
        const QString theirs = dir.filePath(QStringLiteral("sim.txt"));
        Simulator().SetTranscriptPath(theirs);
        const Result r = RunCli({QStringLiteral("--transcript"), ours, Simulator().PortPath(),
                                 QStringLiteral("identify")});
        Simulator().SetTranscriptPath({});
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
        SKIP_WHERE_NO_REPLY_IS_READ();
        const Result r =
            RunCli({QStringLiteral("--transcript"), QStringLiteral("/nonexistent-tolmarik/t.txt"),
                    Simulator().PortPath(), QStringLiteral("identify")});
        QCOMPARE(r.exitCode, int(flow::EC_WRITE_CHECK));
        QVERIFY(r.out.isEmpty());
    }

    void silentInstrument_noLinkStatus() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        sim::TFaults faults;
        faults.silent = true;
        Simulator().SetFaults(faults);
        const Result r = RunCli({Simulator().PortPath(), QStringLiteral("identify")});
        Simulator().SetFaults({});
        QCOMPARE(r.exitCode, int(flow::EC_NO_LINK));
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
        SKIP_WHERE_NO_REPLY_IS_READ();
        QFETCH(QStringList, args);
        const Result r = RunCli(args);
        QCOMPARE(r.exitCode, int(flow::EC_USAGE));
        // A command name is never taken for a port.
        QVERIFY2(!r.err.contains(QStringLiteral("Не порт")), qPrintable(r.err));
        QVERIFY(!r.err.isEmpty());
    }

    void help_listsEveryExitStatus() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        const Result r = RunCli({QStringLiteral("--help")});
        for (const flow::TExitCodeText& row : flow::kExitCodeTexts)
            QVERIFY2(r.out.contains(QStringLiteral("  %1  %2\n")
                                        .arg(int(row.code))
                                        .arg(QString::fromUtf8(row.meaning))),
                     row.meaning);
    }

    // The value of an option that names the command is no command either.
    void identify_optionValueNamedPlot_stillIdentifies() {
        QTemporaryDir dir;
        const Result r = RunCli({QStringLiteral("--backup-dir"), QStringLiteral("plot"),
                                 Simulator().PortPath(), QStringLiteral("identify")},
                                dir.path());
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains(QStringLiteral("Модель: 102 (Mevra-C)")));
    }

    // Each language's manual page tells of every command, option and exit
    // status that the help in that language does.
    void manualPage_agreesWithHelp_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("commandsHeading");  // of the help
        QTest::addColumn<QString>("statusesSection");  // of the page
        QTest::newRow("English") << QStringLiteral(TOLMARIK_CLI_MANUAL) << "en"
                                 << "Commands:\n"
                                 << ".SH EXIT STATUS\n";
        QTest::newRow("Russian") << QStringLiteral(TOLMARIK_CLI_MANUAL_RU) << "ru"
                                 << "Команды:\n"
                                 << ".SH \"КОД ЗАВЕРШЕНИЯ\"\n";
    }

    void manualPage_agreesWithHelp() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        QFETCH(QString, page);
        QFETCH(QString, language);
        QFETCH(QString, commandsHeading);
        QFETCH(QString, statusesSection);
        const QString text = testsupport::ManualText(page);
        QVERIFY2(!text.isEmpty(), qPrintable(page));
        const QStringList headings = testsupport::ManualHeadings(text);
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TOLMARIK_LANG"), language);
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(TOLMARIK_CLI), {QStringLiteral("--help")});
        QVERIFY(cli.waitForFinished(60000));
        const QString help = QString::fromUtf8(cli.readAllStandardOutput());
        QVERIFY(help.contains(QStringLiteral("--no-backup")));
        const QStringList undescribed = testsupport::UndescribedOptions(help, headings);
        QVERIFY2(undescribed.isEmpty(), qPrintable(undescribed.join(QLatin1Char(' '))));

        QVERIFY2(help.contains(commandsHeading), qPrintable(help));
        const QString commands =
            help.section(commandsHeading, 1).section(QStringLiteral("\n\n"), 0, 0);
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

        const QString statuses =
            text.section(statusesSection, 1).section(QStringLiteral(".SH "), 0, 0);
        for (const flow::TExitCodeText& row : flow::kExitCodeTexts)
            QVERIFY2(statuses.contains(QStringLiteral(".TP\n.B %1\n").arg(int(row.code))),
                     row.meaning);
        QCOMPARE(statuses.count(QStringLiteral(".TP\n")),
                 qsizetype(std::size(flow::kExitCodeTexts)));
    }

    void stats_previousFlight_linesOfThatFlight() {
        const Result r =
            RunCli({Simulator().PortPath(), QStringLiteral("stats"), QStringLiteral("--previous")});
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines[0], QStringLiteral("Полет №%1").arg(memory.stats[1].flightNumber));
        QCOMPARE(lines[3], QStringLiteral("---------------------------"));
    }

    void page_sixteenRowsOfTheMemory() {
        const Result r =
            RunCli({Simulator().PortPath(), QStringLiteral("page"), QStringLiteral("16")});
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
        if (silent) SKIP_WHERE_NO_REPLY_IS_READ();
        sim::TFaults faults;
        faults.silent = silent;
        faults.wrongCheckByte = !silent;
        Simulator().SetFaults(faults);
        const Result r =
            RunCli({Simulator().PortPath(), QStringLiteral("page"), QStringLiteral("16")});
        Simulator().SetFaults({});
        QCOMPARE(r.exitCode, int(flow::EC_NO_LINK));
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err.trimmed(), QString(device::NoDeviceText));
    }

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
                                       Simulator().PortPath(), QStringLiteral("identify")},
                                      output, limit);
        QCOMPARE(r.exitCode, int(flow::EC_OUTPUT));
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        if (transcriptCut) QCOMPARE(QFileInfo(transcript).size(), limit);
    }

    void transcript_notARegularFile_refusedAtOnce_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("device") << "device";
        QTest::newRow("folder") << "folder";
    }

    void transcript_notARegularFile_refusedAtOnce() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("t"));
        if (kind == QLatin1String("fifo")) QCOMPARE(::mkfifo(QFile::encodeName(path), 0600), 0);
        if (kind == QLatin1String("device")) path = QStringLiteral("/dev/null");
        if (kind == QLatin1String("folder")) QVERIFY(QDir().mkpath(path));
        const int before = Simulator().RequestCount();
        // A blocking open of the FIFO would hang: the test would time out.
        const Result r = RunCli({QStringLiteral("--transcript"), path, Simulator().PortPath(),
                                 QStringLiteral("identify")});
        QCOMPARE(r.exitCode, int(flow::EC_WRITE_CHECK));
        QVERIFY2(r.err.contains(QStringLiteral("Не удалось записать файл \"%1\"").arg(path)),
                 qPrintable(r.err));
        QCOMPARE(Simulator().RequestCount(), before);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
