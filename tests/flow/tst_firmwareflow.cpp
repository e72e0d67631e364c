// The firmware update's controller against the simulated instrument: the
// port counts as used from start to end, questions included, and every way
// the update ends gives it back, with what the window and the command line
// then show.
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <optional>

#include "device/PortActivity.h"
#include "device/StatusReceiver.h"
#include "device/UserTexts.h"
#include "flow/FirmwareUpdate.h"
#include "tests/support/SimBench.h"

using flow::TOutcome;
Q_DECLARE_METATYPE(flow::TReport)

namespace {

class TRecorder : public flow::TFirmwareReports, public flow::TFirmwareQuestions {
  public:
    QStringList info;
    std::vector<flow::TReport> outcomes;
    std::optional<flow::TReport> finished;
    bool answer = false;
    int questions = 0;
    // The answers to the questions before anything is sent, in turn; yes
    // once they run out.
    QList<bool> confirmAnswers;
    QStringList confirmations;
    // The port counted as used whenever a question was asked.
    bool busyAtEveryQuestion = true;

    void Info(const QString& line) override { info << line; }
    void Progress(int) override {}
    void Outcome(const flow::TReport& report) override { outcomes.push_back(report); }
    void Finished(const flow::TReport& outcome) override { finished = outcome; }
    bool ConfirmUpdate(const QString& text) override {
        confirmations << text;
        busyAtEveryQuestion = busyAtEveryQuestion && device::TPortActivity::Instance().Busy();
        return confirmAnswers.isEmpty() || confirmAnswers.takeFirst();
    }
    bool UpdateWithoutBackup(const QString&) override { return Asked(); }
    bool RestoreSettings(const QString&) override { return Asked(); }

  private:
    bool Asked() {
        ++questions;
        busyAtEveryQuestion = busyAtEveryQuestion && device::TPortActivity::Instance().Busy();
        return answer;
    }
};

}  // namespace

class TestFirmwareFlow : public QObject {
    Q_OBJECT
    testsupport::TSimBench bench_;

  private Q_SLOTS:
    void init() { QVERIFY(bench_.Plug()); }
    void cleanup() { QVERIFY(bench_.Unplug()); }

    void endings_data() {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("exitStatus");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<int>("confirmations");
        QTest::newRow("port fails at the backup step")
            << QStringLiteral("port") << false << int(TOutcome::PortFailed) << int(flow::EC_PORT)
            << 0 << false << 0;
        QTest::newRow("no to updating without a backup")
            << QStringLiteral("loader") << false << int(TOutcome::DeviceSilent)
            << int(flow::EC_NO_LINK) << 1 << false << 1;
        QTest::newRow("yes to updating without a backup")
            << QStringLiteral("loader") << true << int(TOutcome::FirmwareUpdated)
            << int(flow::EC_OK) << 1 << true << 1;
        QTest::newRow("no to restoring the settings")
            << QStringLiteral("") << false << int(TOutcome::FirmwareUpdated) << int(flow::EC_OK)
            << 1 << true << 1;
        QTest::newRow("settings restored")
            << QStringLiteral("") << true << int(TOutcome::FirmwareUpdated) << int(flow::EC_OK) << 1
            << true << 1;
        QTest::newRow("wrong instrument")
            << QStringLiteral("reject") << false << int(TOutcome::FirmwareRejected)
            << int(flow::EC_REFUSED) << 0 << true << 1;
        QTest::newRow("no before anything is sent: no backup, nothing sent")
            << QStringLiteral("declined") << false << int(TOutcome::NotConfirmed)
            << int(flow::EC_NOT_CONFIRMED) << 0 << false << 1;
        QTest::newRow("unknown model: no to the second question")
            << QStringLiteral("unknown-no") << false << int(TOutcome::NotConfirmed)
            << int(flow::EC_NOT_CONFIRMED) << 0 << false << 2;
        QTest::newRow("unknown model: yes twice, no settings written back")
            << QStringLiteral("unknown-yes") << true << int(TOutcome::FirmwareUpdated)
            << int(flow::EC_OK) << 0 << true << 2;
    }
    void endings() {
        QFETCH(QString, ending);
        QFETCH(bool, answer);
        QFETCH(int, outcome);
        QFETCH(int, exitStatus);
        QFETCH(int, questions);
        QFETCH(bool, sent);
        QFETCH(int, confirmations);
        if (ending.startsWith(QLatin1String("unknown"))) {
            sim::TIdentity identity;
            identity.model = 50;
            bench_.Sim().SetIdentity(identity);
        }
        if (ending == QLatin1String("port"))
            bench_.link.comport.SetPortName(bench_.File(QStringLiteral("no-such-port")));
        if (ending == QLatin1String("loader")) {
            sim::TFaults faults;
            faults.loader = true;
            bench_.Sim().SetFaults(faults);
        }
        if (ending == QLatin1String("reject")) {
            sim::TFirmwareBehaviour behaviour;
            behaviour.rejectAtBlock = 0;
            bench_.Sim().SetFirmwareBehaviour(behaviour);
        }
        const QString image = bench_.File(QStringLiteral("fw.enc"));
        QFile file(image);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("000A00010203040506070809");
        file.close();

        TRecorder reports;
        reports.answer = answer;
        if (ending == QLatin1String("declined")) reports.confirmAnswers = {false};
        if (ending == QLatin1String("unknown-no")) reports.confirmAnswers = {true, false};
        flow::TFirmwareUpdate update(bench_.link, reports, reports);
        update.BackupFolder = bench_.File(QStringLiteral("backups"));
        // Short waits only where the instrument stays silent: one that answers
        // must not miss the program's wait on a busy machine.
        if (ending == QLatin1String("loader"))
            update.Timing.pollStep = std::chrono::microseconds(200);
        QSignalSpy activity(&device::TPortActivity::Instance(),
                            &device::TPortActivity::BusyChanged);
        QVERIFY(!update.Start(image));
        QVERIFY(update.Running());
        QVERIFY(testsupport::WaitFor([&] { return reports.finished.has_value(); }, 30000));

        QCOMPARE(int(reports.finished->outcome), outcome);
        QCOMPARE(int(reports.finished->ExitStatus()), exitStatus);
        QCOMPARE(reports.questions, questions);
        QCOMPARE(reports.confirmations.size(), confirmations);
        if (confirmations == 2)
            QCOMPARE(reports.confirmations[1], device::UnknownModelFirmwareQuestion(50));
        // Nothing is kept of an update that was not confirmed.
        if (reports.finished->outcome == TOutcome::NotConfirmed)
            QVERIFY(update.BackupPath().isEmpty());
        QVERIFY(reports.busyAtEveryQuestion);
        QVERIFY(!update.Running());
        // Taken once, given back once: the port never looked free between
        // the workers and the questions.
        QVERIFY(!device::TPortActivity::Instance().Busy());
        QCOMPARE(activity.size(), 2);
        QCOMPARE(activity.last().at(0).toBool(), false);
        QCOMPARE(bench_.Sim().FirmwareBlocksReceived() > 0, sent);
        if (ending == QLatin1String("port")) {
            QCOMPARE(reports.outcomes.size(), std::size_t(1));
            QCOMPARE(reports.outcomes[0].text, QString(device::PortFailedText));
            QVERIFY(!reports.outcomes[0].reason.isEmpty());
        }
        if (ending.isEmpty()) {
            QCOMPARE(reports.info.first(), flow::BackupSavedText(update.BackupPath()));
            QCOMPARE(reports.info.at(1), flow::FirmwareVersionsText(258, 258));
            QCOMPARE(reports.info.contains(device::ConfigWrittenText), answer);
        }
    }

    void confirmationText_namesInstrumentFileAndWarning_data() {
        QTest::addColumn<int>("reported");  // -1: the instrument did not answer
        QTest::addColumn<QString>("deviceLine");
        QTest::newRow("known model")
            << 101 << QStringLiteral("Прибор: Mevra-B (101), версия прошивки 258");
        QTest::newRow("unknown model")
            << 50 << QStringLiteral("Прибор: неизвестная модель 50, версия прошивки 258");
        QTest::newRow("no answer")
            << -1
            << QStringLiteral(
                   "Прибор: модель и версия прошивки неизвестны (прибор не ответил на запрос "
                   "модели)");
    }
    void confirmationText_namesInstrumentFileAndWarning() {
        QFETCH(int, reported);
        QFETCH(QString, deviceLine);
        std::optional<models::TInstrument> instrument;
        if (reported >= 0) {
            instrument.emplace();
            instrument->reportedModel = std::uint16_t(reported);
            instrument->model = models::KnownInstrumentModel(std::uint16_t(reported))
                                    ? models::DeviceModelId(reported)
                                    : 1;
            instrument->firmwareVersion = 258;
        }
        const QStringList lines =
            flow::FirmwareConfirmationText(instrument, QStringLiteral("/tmp/fw 2.enc"), 1234)
                .split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], deviceLine);
        QCOMPARE(lines[1], QStringLiteral("Файл прошивки: /tmp/fw 2.enc (1234 байт)"));
        QVERIFY(lines[2].startsWith(QStringLiteral("Не отключайте прибор")));
        QCOMPARE(lines[3], QStringLiteral("Обновить прошивку?"));
    }

    // The window's box reads silence for a lost link too; the lines under it
    // say what went, and the progress stays where the transfer stopped.
    void endView_data() {
        QTest::addColumn<flow::TReport>("report");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("progressStays");
        const flow::TReport silent = flow::Report(TOutcome::DeviceSilent);
        const flow::TReport lost = flow::Report(TOutcome::LinkLost);
        const flow::TReport done = flow::Report(TOutcome::FirmwareUpdated);
        flow::TReport refused = flow::Report(TOutcome::PortBusy);
        refused.reason = QStringLiteral("занят другой программой");
        QTest::newRow("updated") << done << done.text << QStringList{} << false;
        QTest::newRow("silent") << silent << silent.text << QStringList{} << true;
        QTest::newRow("link lost: silence in the box, the loss below")
            << lost << silent.text << QStringList{lost.text} << true;
        QTest::newRow("with a reason")
            << refused << refused.text << QStringList{refused.reason} << false;
    }
    void endView() {
        QFETCH(flow::TReport, report);
        QFETCH(QString, boxText);
        QFETCH(QStringList, lines);
        QFETCH(bool, progressStays);
        const flow::TFirmwareEndView view = flow::FirmwareEndView(report);
        QCOMPARE(view.boxText, boxText);
        QCOMPARE(view.lines, lines);
        QCOMPARE(view.progressStays, progressStays);
    }

    void busyPort_refusedNothingStarted() {
        TRecorder reports;
        flow::TFirmwareUpdate update(bench_.link, reports, reports);
        QVERIFY(bench_.link.TryClaimPort(this));
        const std::optional<flow::TReport> refused =
            update.Start(bench_.File(QStringLiteral("x.enc")));
        bench_.link.ReleasePort(this);
        QVERIFY(refused);
        QCOMPARE(int(refused->outcome), int(TOutcome::PortBusy));
        QVERIFY(!update.Running());
        QVERIFY(!device::TPortActivity::Instance().Busy());
    }
};

QTEST_GUILESS_MAIN(TestFirmwareFlow)
#include "tst_firmwareflow.moc"
