// tolmarik-cli's changes to the instrument: settings written from a file or
// a time zone, with their questions, and firmware updates.
#include "flow/FirmwareUpdate.h"
#include "tests/app/cli/CliBench.h"
#include "tests/support/WaitFor.h"

class TestCliChange : public QObject, public TCliBench {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() { QVERIFY(StartBench()); }
    void cleanup() { ResetBench(); }

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
        Simulator().SetFirmwareBehaviour(refuse);
        const Result r =
            RunCli({Simulator().PortPath(), QStringLiteral("firmware"), QStringLiteral("--yes"),
                    file, QStringLiteral("--backup-dir"), dir.path()});
        Simulator().SetFirmwareBehaviour({});
        QCOMPARE(r.exitCode, int(flow::EC_REFUSED));
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
        QVERIFY(Simulator().Start());  // a fresh record of what arrives
        const Result written = RunCli(
            {Simulator().PortPath(), QStringLiteral("write"), file, QStringLiteral("--yes")});
        QCOMPARE(written.exitCode, int(flow::EC_BAD_FILE));
        QCOMPARE(written.err.trimmed(), models::TimeZoneRefusedText(100));
        QVERIFY(Simulator().WrittenConfig().empty());
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
        const Result written = RunCli(
            {Simulator().PortPath(), QStringLiteral("write"), file, QStringLiteral("--yes")});
        QVERIFY2(written.exitCode == 0, qPrintable(written.err));
        QCOMPARE(written.out.trimmed().split(QLatin1Char('\n')).last(),
                 QStringLiteral("Данные записаны"));
        const auto stored = Simulator().WrittenConfig();
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
            << 104 << -1 << int(flow::EC_MODEL_MISMATCH) << flow::ModelMismatchText(104, 102)
            << identification;
        // Read and shown, asked; then checked again, written and read back.
        QTest::newRow("instrument keeps another byte: written, then read back")
            << 102 << 77 << int(flow::EC_READ_BACK) << flow::ReadBackDiffersText()
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
        QVERIFY(Simulator().Start());  // a fresh record of what arrives
        sim::TFaults faults;
        faults.writeAltersByte = alteredByte;
        Simulator().SetFaults(faults);
        const QString ours = dir.filePath(QStringLiteral("cli.txt"));
        const Result r = RunCli({QStringLiteral("--transcript"), ours, Simulator().PortPath(),
                                 QStringLiteral("write"), file, QStringLiteral("--yes")});
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.err.trimmed(), message);
        // The changes are shown only for settings the instrument could take.
        QCOMPARE(r.out.isEmpty(), alteredByte < 0);
        QCOMPARE(Traffic(ours, '>').size(), bytesSent);
        bool writeRequest = false;
        for (const std::vector<std::uint8_t>& request : Simulator().Requests())
            writeRequest |= request.size() > 2 && request[2] == device::CMD_WRITE_CONFIG;
        QCOMPARE(writeRequest, alteredByte >= 0);
        QCOMPARE(Simulator().WrittenConfig().empty(), alteredByte < 0);
    }

    void saveThenWrite_settingsRoundTripThroughAFile() {
        sim::TIdentity identity;
        identity.model = 102;
        identity.settings[0] = 0xAB;
        identity.settings[4] = 3;
        Simulator().SetIdentity(identity);
        QTemporaryDir dir;
        const QString chosen = dir.filePath(QStringLiteral("from-instrument"));
        const Result saved = RunCli({Simulator().PortPath(), QStringLiteral("save"), chosen});
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
        Simulator().SetIdentity(identity);
        const Result written = RunCli(
            {Simulator().PortPath(), QStringLiteral("write"), file, QStringLiteral("--yes")});
        QCOMPARE(written.exitCode, 0);
        QVERIFY(written.out.contains(QStringLiteral("Байт 0: 11 → AB")));
        const auto stored = Simulator().WrittenConfig();
        QVERIFY(std::equal(stored.begin(), stored.end(), config.begin(), config.end()));
    }

    // Only byte 4 changes; the rest of the 150 bytes stays as the instrument
    // held it. Set again, there is nothing to write.
    void setTimeZone_roundTripThenNothingToWrite() {
        QVERIFY(Simulator().Start());
        const Result r = RunCli({Simulator().PortPath(), QStringLiteral("set-timezone"),
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
        const auto stored = Simulator().WrittenConfig();
        QVERIFY(std::equal(stored.begin(), stored.end(), expected.begin(), expected.end()));
        QVERIFY(RunCli({Simulator().PortPath(), QStringLiteral("identify")})
                    .out.contains(QStringLiteral("Часовой пояс: UTC-5")));

        const int requests = Simulator().RequestCount();
        const Result again = RunCli(
            {Simulator().PortPath(), QStringLiteral("set-timezone"), QStringLiteral("UTC-5")});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out.trimmed(),
                 QStringLiteral("В приборе уже эти настройки: записывать нечего"));
        QCOMPARE(Simulator().RequestCount(), requests + 1);  // the identification only
    }

    // On a terminal the user answers; only "да" (or y, yes) writes.
    void setTimeZone_terminalAnswer_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("да") << QByteArray("да\n") << 0;
        QTest::newRow("yes") << QByteArray("yes\n") << 0;
        QTest::newRow("нет") << QByteArray("нет\n") << int(flow::EC_NOT_CONFIRMED);
        QTest::newRow("an empty line") << QByteArray("\n") << int(flow::EC_NOT_CONFIRMED);
    }

    void setTimeZone_terminalAnswer() {
        QFETCH(QByteArray, answer);
        QFETCH(int, exitCode);
        SilentPort terminal;  // its slave side stands in for the user's terminal
        QVERIFY(!terminal.path.isEmpty());
        QCOMPARE(::write(terminal.master, answer.constData(), size_t(answer.size())),
                 ssize_t(answer.size()));
        QVERIFY(Simulator().Start());
        QProcess p;
        p.setStandardInputFile(terminal.path);
        p.start(QStringLiteral(TOLMARIK_CLI),
                {Simulator().PortPath(), QStringLiteral("set-timezone"), QStringLiteral("7")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), exitCode);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(out.contains(QStringLiteral("Часовой пояс: UTC+3 → UTC+7\nЗаписать эти изменения "
                                             "в прибор?\n[да/нет]: ")),
                 qPrintable(out));
        QCOMPARE(Simulator().WrittenConfig().empty(), exitCode != 0);
    }

    void setTimeZone_hoursOutside_usageNothingSent_data() {
        QTest::addColumn<QString>("hours");
        QTest::newRow("+15") << QStringLiteral("+15");
        QTest::newRow("-13") << QStringLiteral("-13");
        QTest::newRow("not a number") << QStringLiteral("three");
        QTest::newRow("not whole") << QStringLiteral("3.5");
    }

    void setTimeZone_hoursOutside_usageNothingSent() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        QFETCH(QString, hours);
        QVERIFY(Simulator().Start());
        const Result r = RunCli({Simulator().PortPath(), QStringLiteral("set-timezone"), hours,
                                 QStringLiteral("--yes")});
        QCOMPARE(r.exitCode, int(flow::EC_USAGE));
        QVERIFY2(r.err.contains(QStringLiteral("от -12 до +14")), qPrintable(r.err));
        QCOMPARE(Simulator().RequestCount(), 0);
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
        QVERIFY(Simulator().Start());
        const Result r =
            RunCli({Simulator().PortPath(), command, argument, QStringLiteral("--backup-dir"),
                    dir.filePath(QStringLiteral("backups"))});
        QCOMPARE(r.exitCode, int(flow::EC_NOT_CONFIRMED));
        QCOMPARE(r.out.split(QLatin1Char('\n')).first(), firstLine);
        QVERIFY2(r.err.contains(QStringLiteral("--yes")), qPrintable(r.err));
        QVERIFY(Simulator().WrittenConfig().empty());
        QCOMPARE(Simulator().FirmwareBlocksReceived(), 0);
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
        Simulator().SetIdentity(identity);
        const std::optional<std::uint16_t> reported =
            model < 0 ? std::nullopt : std::optional<std::uint16_t>(std::uint16_t(model));
        QVERIFY(Simulator().Start());
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("defaults.bcf"));
        std::array<std::uint8_t, 150> defaults{};
        defaults[4] = 3;
        models::SaveConfigFile(file, 1, defaults.data());
        if (model >= 0) {
            const Result shown = RunCli({Simulator().PortPath(), QStringLiteral("identify")});
            QCOMPARE(shown.out.split(QLatin1Char('\n')).first(),
                     QStringLiteral("Модель: ") + device::UnknownModelReadOnlyText(reported));
        }
        const QList<QStringList> writes{{QStringLiteral("set-timezone"), QStringLiteral("2")},
                                        {QStringLiteral("write"), file}};
        for (const QStringList& write : writes) {
            const Result r = RunCli(QStringList{Simulator().PortPath()} + write +
                                    QStringList{QStringLiteral("--yes")});
            QCOMPARE(r.exitCode, int(flow::EC_UNKNOWN_MODEL));
            QCOMPARE(r.err.trimmed(), device::UnknownModelWriteRefusedText(reported));
            QVERIFY(r.out.isEmpty());
        }
        QVERIFY(Simulator().WrittenConfig().empty());
        if (model != 50) return;
        const QString image = WriteFirmwareFile(dir, QByteArray::fromHex("0003010203"));
        const Result r =
            RunCli({Simulator().PortPath(), QStringLiteral("firmware"), image,
                    QStringLiteral("--yes"), QStringLiteral("--backup-dir"), dir.path()});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(r.out.count(QStringLiteral("Ответ: да (--yes)")), 2);
        QVERIFY(r.out.contains(device::UnknownModelFirmwareQuestion(50)));
        // No offer to write the kept settings back.
        QVERIFY(!r.out.contains(QStringLiteral(" write ")));
    }

    void bcf_brokenFile_exactErrorText() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("short.bcf"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x01\x00\x01\x00", 4);
        f.close();
        const Result r = RunCli({QStringLiteral("bcf"), file});
        QCOMPARE(r.exitCode, int(flow::EC_BAD_FILE));
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
            RunCli({Simulator().PortPath(), QStringLiteral("firmware"), QStringLiteral("--yes"),
                    file, QStringLiteral("--backup-dir"), backups});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        // What comes after the question and its answer.
        const QStringList lines = r.out.trimmed()
                                      .section(QStringLiteral("Ответ: да (--yes)\n"), 1)
                                      .split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines[0].startsWith(flow::BackupSavedText(backups)), qPrintable(lines[0]));
        QCOMPARE(lines[1], QStringLiteral("Прошивка обновлена"));
        QCOMPARE(lines[2], flow::FirmwareVersionsText(311, 311));
        QVERIFY(lines[3].contains(QStringLiteral(" write ") + backups));
        const auto received = Simulator().FirmwareReceived();
        QCOMPARE(
            QByteArray(reinterpret_cast<const char*>(received.data()), qsizetype(received.size())),
            image);
    }

    void firmware_backupDir_datedFileOfTheSettingsReopens() {
        sim::TIdentity identity = Instrument();
        for (std::size_t i = 0; i < identity.settings.size(); ++i)
            identity.settings[i] = std::uint8_t(i * 5 + 1);
        identity.companion = 0x5AA5;
        Simulator().SetIdentity(identity);
        QTemporaryDir dir;
        const QString backups = dir.filePath(QStringLiteral("kept/here"));
        const QString file = WriteFirmwareFile(dir, QByteArray::fromHex("0003010203"));
        const Result r = RunCli({QStringLiteral("--backup-dir"), backups, Simulator().PortPath(),
                                 QStringLiteral("firmware"), QStringLiteral("--yes"), file});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        const QStringList kept = QDir(backups).entryList(QDir::Files);
        QCOMPARE(kept.size(), 1);
        static const QRegularExpression name(
            QStringLiteral("^settings-\\d{8}-\\d{6}-\\d{3}-model102-fw311\\.bcf$"));
        QVERIFY2(name.match(kept[0]).hasMatch(), qPrintable(kept[0]));
        QVERIFY(r.out.contains(flow::BackupSavedText(QDir(backups).filePath(kept[0]))));
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
        QVERIFY(Simulator().Start());  // a fresh record of what arrives
        const Result r =
            RunCli({Simulator().PortPath(), QStringLiteral("firmware"), QStringLiteral("--yes"),
                    file, QStringLiteral("--backup-dir"), blocker.fileName() + "/backups"});
        QCOMPARE(r.exitCode, int(flow::EC_WRITE_CHECK));
        QVERIFY2(r.err.contains(QStringLiteral("--no-backup")), qPrintable(r.err));
        QCOMPARE(Simulator().FirmwareBlocksReceived(), 0);
    }

    // An instrument in its loader answers no identification: no backup.
    void firmware_instrumentInLoader_onlyWithNoBackup_data() {
        QTest::addColumn<bool>("noBackup");
        QTest::newRow("refused without --no-backup") << false;
        QTest::newRow("sent with --no-backup") << true;
    }

    void firmware_instrumentInLoader_onlyWithNoBackup() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        QFETCH(bool, noBackup);
        QVERIFY(Simulator().Start());  // a fresh record of what arrives
        sim::TFaults faults;
        faults.loader = true;
        Simulator().SetFaults(faults);
        QTemporaryDir dir;
        const QByteArray image = QByteArray::fromHex("0004A1A2A3A4");
        const QString file = WriteFirmwareFile(dir, image);
        const QString backups = dir.filePath(QStringLiteral("backups"));
        QStringList args{Simulator().PortPath(),         QStringLiteral("firmware"),
                         QStringLiteral("--yes"),        file,
                         QStringLiteral("--backup-dir"), backups};
        if (noBackup) args << QStringLiteral("--no-backup");
        const Result r = RunCli(args);
        QVERIFY(QDir(backups).entryList(QDir::Files).isEmpty());
        const auto received = Simulator().FirmwareReceived();
        const QByteArray sent(reinterpret_cast<const char*>(received.data()),
                              qsizetype(received.size()));
        if (noBackup) {
            QVERIFY2(r.exitCode == 0, qPrintable(r.err));
            QCOMPARE(sent, image);
            QVERIFY(r.out.contains(flow::FirmwareVersionsText({}, {})));
        } else {
            QCOMPARE(r.exitCode, int(flow::EC_NO_LINK));
            QVERIFY2(r.err.contains(flow::NoIdentityReason()), qPrintable(r.err));
            QVERIFY(r.err.contains(QStringLiteral("--no-backup")));
            QCOMPARE(Simulator().FirmwareBlocksReceived(), 0);
        }
    }

    void firmware_notHex_refusedBeforeSending() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("fw.enc"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("0002AABB\r\n");
        f.close();
        const int before = Simulator().FirmwareBlocksReceived();
        const Result r =
            RunCli({Simulator().PortPath(), QStringLiteral("firmware"), QStringLiteral("--yes"),
                    file, QStringLiteral("--backup-dir"), dir.path()});
        QCOMPARE(r.exitCode, int(flow::EC_BAD_FILE));
        QCOMPARE(r.err.trimmed(), QStringLiteral("Файл не найден"));
        QCOMPARE(Simulator().FirmwareBlocksReceived(), before);
    }

    // --- outputs that fail, signals

    void save_notAFileName_refusedNothingWritten() {
        SKIP_WHERE_NO_REPLY_IS_READ();
        const Result r =
            RunCli({Simulator().PortPath(), QStringLiteral("save"), QStringLiteral("/dev/null")});
        QCOMPARE(r.exitCode, int(flow::EC_WRITE_CHECK));
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
        Simulator().SetFaults(slow);
        const int before = Simulator().FirmwareBlocksReceived();
        QProcess p;
        p.start(QStringLiteral(TOLMARIK_CLI),
                {Simulator().PortPath(), QStringLiteral("firmware"), QStringLiteral("--yes"), file,
                 QStringLiteral("--backup-dir"), dir.filePath(QStringLiteral("backups"))});
        TRY_VERIFY_WITH_TIMEOUT(Simulator().FirmwareBlocksReceived() >= before + 2, 60000);
        QCOMPARE(::kill(pid_t(p.processId()), SIGINT), 0);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(device::FirmwareInterruptedText), qPrintable(err));
        QVERIFY(Simulator().FirmwareBlocksReceived() < before + 40);
        // The instrument may still hold half a block, which can swallow the
        // next request; the later suites need it answering again.
        Simulator().SetFaults({});
        TRY_VERIFY_WITH_TIMEOUT(
            RunCli({Simulator().PortPath(), QStringLiteral("identify")}).exitCode == 0, 30000);
    }
};

QTEST_GUILESS_MAIN(TestCliChange)
#include "tst_clichange.moc"
