// The settings write against the simulated instrument: what it shows before
// it writes, what it refuses, and that a time zone change touches byte 4
// only.
#include <QTest>
#include <memory>
#include <optional>

#include "device/Frames.h"
#include "device/PortActivity.h"
#include "device/UserTexts.h"
#include "flow/SettingsWrite.h"
#include "tests/support/SimBench.h"

using flow::TOutcome;

namespace {

class TAnswers : public flow::TSettingsWriteQuestions {
  public:
    bool answer = true;
    QStringList summaries;
    bool busyWhileAsked = true;
    // Runs while the question is open.
    std::function<void()> whileAsked;
    bool ConfirmChanges(const QString& summary, const std::vector<models::TByteChange>&) override {
        summaries << summary;
        if (whileAsked) whileAsked();
        busyWhileAsked = busyWhileAsked && device::TPortActivity::Instance().Busy();
        return answer;
    }
};

sim::TIdentity Instrument(std::uint16_t model = 102) {
    sim::TIdentity identity;
    identity.model = model;
    for (std::size_t i = 0; i < identity.settings.size(); ++i)
        identity.settings[i] = std::uint8_t(i * 3 + 7);
    identity.settings[4] = 3;
    identity.companion = 0x1234;
    return identity;
}

models::TDeviceConfig ConfigOf(const sim::TIdentity& identity) {
    models::TDeviceConfig config{};
    std::copy(identity.settings.begin(), identity.settings.end(), config.begin());
    config[148] = std::uint8_t(identity.companion);
    config[149] = std::uint8_t(identity.companion >> 8);
    return config;
}

bool WriteRequestSent(const sim::TSimulator& simulator) {
    for (const std::vector<std::uint8_t>& request : simulator.Requests())
        if (request.size() > 2 && request[2] == device::CMD_WRITE_CONFIG) return true;
    return false;
}

}  // namespace

class TestSettingsWrite : public QObject {
    Q_OBJECT
    testsupport::TSimBench bench_;

    // Runs a write started by `start` to its end.
    flow::TReport Run(TAnswers& answers, const std::function<bool(flow::TSettingsWrite&)>& start) {
        flow::TSettingsWrite write(bench_.link, answers);
        write.Timing = testsupport::TSimBench::Timing();
        std::optional<flow::TReport> finished;
        write.OnFinished = [&](const flow::TReport& report) { finished = report; };
        if (!start(write)) return flow::Report(TOutcome::PortBusy);
        [&] { QVERIFY(testsupport::WaitFor([&] { return finished.has_value(); }, 20000)); }();
        [&] { QVERIFY(!device::TPortActivity::Instance().Busy()); }();
        return finished.value_or(flow::Report(TOutcome::NoDevice));
    }

  private Q_SLOTS:
    void init() {
        QVERIFY(bench_.Plug());
        bench_.Sim().SetIdentity(Instrument());
    }
    void cleanup() { QVERIFY(bench_.Unplug()); }

    void changeLines_data() {
        QTest::addColumn<QList<int>>("changedOffsets");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("no change") << QList<int>{} << 0 << QStringList{};
        QTest::newRow("the time zone, by name")
            << QList<int>{4} << 0 << QStringList{QStringLiteral("Часовой пояс: UTC+3 → UTC-5")};
        QTest::newRow("another byte, by offset, old and new value")
            << QList<int>{77} << 0 << QStringList{QStringLiteral("Байт 77: 00 → A5")};
        QTest::newRow("many bytes, all listed")
            << QList<int>{0, 4, 148, 149} << 0
            << QStringList{
                   QStringLiteral("Байт 0: 00 → A5"), QStringLiteral("Часовой пояс: UTC+3 → UTC-5"),
                   QStringLiteral("Байт 148: 00 → A5"), QStringLiteral("Байт 149: 00 → A5")};
        QTest::newRow("many bytes, the rest counted")
            << QList<int>{1, 2, 3, 5, 6} << 2
            << QStringList{QStringLiteral("Байт 1: 00 → A5"), QStringLiteral("Байт 2: 00 → A5"),
                           QStringLiteral("...и еще байт: 3")};
    }
    void changeLines() {
        QFETCH(QList<int>, changedOffsets);
        QFETCH(int, limit);
        QFETCH(QStringList, lines);
        const models::TDeviceConfig before = models::DefaultConfig();
        models::TDeviceConfig after = before;
        for (int offset : changedOffsets)
            after[std::size_t(offset)] = offset == models::TimeZoneByte ? std::uint8_t(-5) : 0xA5;
        const std::vector<models::TByteChange> changes = models::CompareSettings(before, after);
        QCOMPARE(int(changes.size()), int(changedOffsets.size()));
        QCOMPARE(models::ChangeLines(changes, limit), lines);
    }

    void summary_namesInstrumentCountAndQuestion() {
        models::TInstrument instrument;
        instrument.model = 101;
        instrument.reportedModel = 101;
        models::TDeviceConfig after = instrument.config;
        after[10] = 1;
        after[11] = 2;
        const QStringList lines =
            models::ChangeSummary(instrument, models::CompareSettings(instrument.config, after))
                .split(QLatin1Char('\n'));
        QCOMPARE(lines.first(),
                 QStringLiteral("В приборе Mevra-B (101) изменятся настройки (байт: 2):"));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.last(), QStringLiteral("Записать эти изменения в прибор?"));
    }

    // Written, read back, and the other 149 bytes as the instrument held them.
    void timeZone_roundTrip_onlyByte4Changes() {
        TAnswers answers;
        const flow::TReport report = Run(answers, [](flow::TSettingsWrite& write) {
            return write.StartEdit(
                [](models::TDeviceConfig& config) { config[models::TimeZoneByte] = 0xFB; });
        });
        QCOMPARE(int(report.outcome), int(TOutcome::ConfigWritten));
        QCOMPARE(answers.summaries.size(), 1);
        QVERIFY(answers.summaries[0].contains(QStringLiteral("Часовой пояс: UTC+3 → UTC-5")));
        QVERIFY(answers.busyWhileAsked);
        models::TDeviceConfig expected = ConfigOf(Instrument());
        expected[models::TimeZoneByte] = 0xFB;
        const std::vector<std::uint8_t> written = bench_.Sim().WrittenConfig();
        QVERIFY(std::equal(written.begin(), written.end(), expected.begin(), expected.end()));
    }

    // Each refusal: its outcome, whether the question came, nothing written.
    void notWritten_data() {
        QTest::addColumn<int>("instrumentModel");  // -1: a reply that names no model
        QTest::addColumn<int>("settingsModel");
        QTest::addColumn<bool>("sameSettings");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("exitStatus");
        QTest::addColumn<int>("questions");
        QTest::newRow("the instrument holds these settings already")
            << 102 << 102 << true << true << int(TOutcome::NothingToWrite) << int(flow::EC_OK) << 0;
        QTest::newRow("answered no") << 102 << 102 << false << false << int(TOutcome::NotConfirmed)
                                     << int(flow::EC_NOT_CONFIRMED) << 1;
        QTest::newRow("settings of another model")
            << 102 << 104 << false << true << int(TOutcome::ModelMismatch)
            << int(flow::EC_MODEL_MISMATCH) << 0;
        QTest::newRow("unknown model 50, the default window's settings")
            << 50 << 1 << false << true << int(TOutcome::UnknownModel)
            << int(flow::EC_UNKNOWN_MODEL) << 0;
        QTest::newRow("model 0") << 0 << 1 << false << true << int(TOutcome::UnknownModel)
                                 << int(flow::EC_UNKNOWN_MODEL) << 0;
        QTest::newRow("model 356, whose low byte is 100")
            << 356 << 100 << false << true << int(TOutcome::UnknownModel)
            << int(flow::EC_UNKNOWN_MODEL) << 0;
        QTest::newRow("a reply that names no model")
            << -1 << 1 << false << true << int(TOutcome::UnknownModel)
            << int(flow::EC_UNKNOWN_MODEL) << 0;
    }
    void notWritten() {
        QFETCH(int, instrumentModel);
        QFETCH(int, settingsModel);
        QFETCH(bool, sameSettings);
        QFETCH(bool, answer);
        QFETCH(int, outcome);
        QFETCH(int, exitStatus);
        QFETCH(int, questions);
        sim::TIdentity identity = Instrument(std::uint16_t(std::max(instrumentModel, 0)));
        identity.shortFrame = instrumentModel < 0;
        bench_.Sim().SetIdentity(identity);
        models::TDeviceConfig config = ConfigOf(identity);
        if (!sameSettings) config[20] ^= 0xFF;
        TAnswers answers;
        answers.answer = answer;
        const flow::TReport report = Run(answers, [&](flow::TSettingsWrite& write) {
            return write.Start(models::DeviceModelId(settingsModel), config);
        });
        QCOMPARE(int(report.outcome), outcome);
        QCOMPARE(int(report.ExitStatus()), exitStatus);
        QCOMPARE(answers.summaries.size(), questions);
        QVERIFY(!WriteRequestSent(bench_.Sim()));
        QVERIFY(bench_.Sim().WrittenConfig().empty());
        if (report.outcome == TOutcome::UnknownModel) {
            const std::optional<std::uint16_t> reported =
                instrumentModel < 0 ? std::nullopt
                                    : std::optional<std::uint16_t>(std::uint16_t(instrumentModel));
            QCOMPARE(report.text, device::UnknownModelWriteRefusedText(reported));
        }
    }

    // Someone else changed the instrument while the question was open: the
    // write the question was about would undo that, so nothing is written.
    void changedWhileAsked_nothingWritten_data() {
        QTest::addColumn<QList<int>>("changedOffsets");
        QTest::newRow("other bytes than those asked about") << QList<int>{10, 20};
        QTest::newRow("the very byte asked about") << QList<int>{models::TimeZoneByte};
        QTest::newRow("the companion word") << QList<int>{149};
    }
    void changedWhileAsked_nothingWritten() {
        QFETCH(QList<int>, changedOffsets);
        TAnswers answers;
        answers.whileAsked = [&] {
            sim::TIdentity changed = Instrument();
            for (int offset : changedOffsets) {
                if (offset < int(changed.settings.size()))
                    changed.settings[std::size_t(offset)] ^= 0x5A;
                else
                    changed.companion ^= 0x5A00;
            }
            bench_.Sim().SetIdentity(changed);
        };
        const flow::TReport report = Run(answers, [](flow::TSettingsWrite& write) {
            return write.StartEdit(
                [](models::TDeviceConfig& config) { config[models::TimeZoneByte] = 0xFB; });
        });
        QCOMPARE(int(report.outcome), int(TOutcome::ChangedMeanwhile));
        QCOMPARE(int(report.ExitStatus()), int(flow::EC_CHANGED));
        QVERIFY(!report.Good());
        QCOMPARE(answers.summaries.size(), 1);
        QVERIFY(!WriteRequestSent(bench_.Sim()));
    }

    // A time zone no instrument can be set to is refused before any question,
    // as the command that sets the zone refuses it.
    void timeZoneOutOfRange_refused_data() {
        QTest::addColumn<int>("hours");
        QTest::addColumn<bool>("written");
        QTest::newRow("+100") << 100 << false;
        QTest::newRow("-13") << -13 << false;
        QTest::newRow("+15") << 15 << false;
        QTest::newRow("-12, the lowest") << -12 << true;
        QTest::newRow("+14, the highest") << 14 << true;
    }
    void timeZoneOutOfRange_refused() {
        QFETCH(int, hours);
        QFETCH(bool, written);
        models::TDeviceConfig config = ConfigOf(Instrument());
        config[models::TimeZoneByte] = models::TimeZoneValue(hours);
        TAnswers answers;
        const flow::TReport report =
            Run(answers, [&](flow::TSettingsWrite& write) { return write.Start(102, config); });
        QCOMPARE(WriteRequestSent(bench_.Sim()), written);
        QCOMPARE(answers.summaries.size(), written ? 1 : 0);
        if (written) {
            QCOMPARE(int(report.outcome), int(TOutcome::ConfigWritten));
        } else {
            QCOMPARE(int(report.ExitStatus()), int(flow::EC_BAD_FILE));
            QCOMPARE(report.text, models::TimeZoneRefusedText(config[models::TimeZoneByte]));
        }
    }

    void timeZoneLine_marksOutOfRange_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("line");
        QTest::newRow("settable") << 3 << QStringLiteral("Часовой пояс: UTC+3");
        QTest::newRow("+100") << 100
                              << QStringLiteral(
                                     "Часовой пояс: UTC+100 (вне пределов от UTC-12 до UTC+14)");
        QTest::newRow("-13") << 0xF3
                             << QStringLiteral(
                                    "Часовой пояс: UTC-13 (вне пределов от UTC-12 до UTC+14)");
    }
    void timeZoneLine_marksOutOfRange() {
        QFETCH(int, value);
        QFETCH(QString, line);
        models::TDeviceConfig config{};
        config[models::TimeZoneByte] = std::uint8_t(value);
        QCOMPARE(models::TimeZoneLine(config), line);
    }

    void busyPort_nothingStarted() {
        TAnswers answers;
        flow::TSettingsWrite write(bench_.link, answers);
        QVERIFY(bench_.link.TryClaimPort(this));
        QVERIFY(!write.Start(102, models::DefaultConfig()));
        bench_.link.ReleasePort(this);
        QVERIFY(!write.Running());
        QVERIFY(!device::TPortActivity::Instance().Busy());
    }
};

QTEST_GUILESS_MAIN(TestSettingsWrite)
#include "tst_settingswrite.moc"
