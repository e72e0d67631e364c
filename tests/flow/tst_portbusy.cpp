// One rule for "busy": every operation asks it before it starts, answers
// PortBusy and starts nothing while another operation holds the port or a
// worker has claimed it; and a worker's last step does not keep out the next
// worker of its own chain.
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <optional>

#include "device/PortActivity.h"
#include "flow/FirmwareUpdate.h"
#include "flow/FlightScan.h"
#include "flow/FlightsDownload.h"
#include "flow/InstrumentRead.h"
#include "flow/Outcome.h"
#include "flow/SettingsWrite.h"
#include "flow/TrackDownload.h"
#include "models/DeviceConfig.h"
#include "serial/UnitNVC.h"

using flow::TOutcome;

namespace {

// Whatever an operation reports, kept as the outcome it ended in.
class TRecorder : public flow::TInstrumentReports,
                  public flow::TTrackReports,
                  public flow::TScanReports,
                  public flow::TFlightsReports,
                  public flow::TFirmwareReports,
                  public flow::TFirmwareQuestions,
                  public flow::TSettingsWriteQuestions {
  public:
    std::optional<TOutcome> outcome;
    bool asked = false;

    void Identified(models::DeviceModelId) override {}
    void PortOpened(const QString&) override {}
    void Failed(const flow::TReport& report) override { outcome = report.outcome; }
    void ReadEnded() override {}

    void StatsRead(const track::TFlightStatsReply&) override {}
    void Progress(int) override {}
    void PageRead(const QStringList&) override {}
    void FilesWritten(const track::TExportResult&, bool, int) override {}
    void Unfinished(const QString&, bool) override {}
    void Finished(const flow::TReport& report) override { outcome = report.outcome; }

    void Progress(int, int) override {}
    void Finished(const flow::TReport& report, bool) override { outcome = report.outcome; }

    void FlightStarted(const track::TListedFlight&, int, int) override {}
    void FlightDone(const track::TListedFlight&, const std::optional<track::TFlightStatsReply>&,
                    const QStringList&, const flow::TReport&) override {}
    void Finished(const flow::TReport& report, int) override { outcome = report.outcome; }

    void Info(const QString&) override {}
    void Outcome(const flow::TReport& report) override { outcome = report.outcome; }
    bool ConfirmUpdate(const QString&) override { return asked = true; }
    bool UpdateWithoutBackup(const QString&) override { return asked = true; }
    bool RestoreSettings(const QString&) override { return asked = true; }

    bool ConfirmChanges(const QString&, const std::vector<models::TByteChange>&) override {
        return asked = true;
    }
};

// Starts one operation; its report lands in the recorder. False: it refused.
using TStart = std::function<bool(serial::TNonVisComp&, TRecorder&)>;

}  // namespace

Q_DECLARE_METATYPE(TStart)

class TestPortBusy : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void everyOperation_refusesWhileThePortIsHeld_data() {
        QTest::addColumn<TStart>("start");
        QTest::addColumn<bool>("byClaim");
        const std::vector<std::pair<const char*, TStart>> operations = {
            {"read the instrument",
             [](serial::TNonVisComp& link, TRecorder& r) {
                 flow::TInstrumentRead read(link, r);
                 return read.Start();
             }},
            {"flight statistics",
             [](serial::TNonVisComp& link, TRecorder& r) {
                 flow::TTrackDownload track(link, r);
                 return track.ReadStats(0);
             }},
            {"track download",
             [](serial::TNonVisComp& link, TRecorder& r) {
                 flow::TTrackDownload track(link, r);
                 track::TFlightStatsReply stats;
                 stats.startSector = 5;
                 return track.Download(stats, 0, true);
             }},
            {"memory page",
             [](serial::TNonVisComp& link, TRecorder& r) {
                 flow::TTrackDownload track(link, r);
                 return track.ReadPage(0);
             }},
            {"flight scan",
             [](serial::TNonVisComp& link, TRecorder& r) {
                 flow::TFlightScan scan(link, r);
                 return scan.Start({101, 300});
             }},
            {"flights download",
             [](serial::TNonVisComp& link, TRecorder& r) {
                 flow::TFlightsDownload run(link, r);
                 track::TListedFlight flight;
                 flight.flightNumber = 3;
                 flight.firstSector = 5;
                 flight.sectors = 1;
                 return run.Start({flight}, true);
             }},
            {"firmware update",
             [](serial::TNonVisComp& link, TRecorder& r) {
                 flow::TFirmwareUpdate update(link, r, r);
                 const std::optional<flow::TReport> refused =
                     update.Start(QStringLiteral("missing.enc"));
                 if (refused) r.outcome = refused->outcome;
                 return !refused;
             }},
            {"settings write",
             [](serial::TNonVisComp& link, TRecorder& r) {
                 flow::TSettingsWrite write(link, r);
                 if (write.Start(101, models::DefaultConfig())) return true;
                 r.outcome = TOutcome::PortBusy;
                 return false;
             }},
        };
        for (const auto& [name, start] : operations) {
            QTest::addRow("%s, another operation", name) << start << false;
            QTest::addRow("%s, a claimed port", name) << start << true;
        }
    }
    void everyOperation_refusesWhileThePortIsHeld() {
        QFETCH(TStart, start);
        QFETCH(bool, byClaim);
        serial::TNonVisComp link;
        link.comport.SetPortName(QStringLiteral("/dev/null-no-such-port"));
        const int other = 0;
        if (byClaim)
            QVERIFY(link.TryClaimPort(&other));
        else
            device::TPortActivity::Instance().Begin(&other);
        TRecorder recorder;
        QVERIFY(!start(link, recorder));
        QCOMPARE(recorder.outcome, std::optional<TOutcome>(TOutcome::PortBusy));
        QVERIFY(!recorder.asked);
        link.ReleasePort(&other);
        device::TPortActivity::Instance().End(&other);
        // Nothing of the refused operation holds the port.
        QVERIFY(!device::PortInUse(link));
    }

    // A worker in its last step keeps nobody out, yet listeners see the port
    // busy until it has ended, also when that step starts the next worker.
    void endingHolder_keepsNobodyOutAndNeverShowsThePortFree() {
        device::TPortActivity& activity = device::TPortActivity::Instance();
        QSignalSpy changes(&activity, &device::TPortActivity::BusyChanged);
        const int first = 0;
        const int next = 0;
        activity.Begin(&first);
        activity.Ending(&first);
        QVERIFY(!activity.Busy());
        activity.Begin(&next);
        QVERIFY(activity.Busy());
        activity.End(&first);
        QVERIFY(activity.Busy());
        activity.End(&next);
        QVERIFY(!activity.Busy());
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes[0][0].toBool(), true);
        QCOMPARE(changes[1][0].toBool(), false);
        // Ending a holder that never began changes nothing.
        activity.Ending(&first);
        activity.Begin(&first);
        QVERIFY(activity.Busy());
        activity.End(&first);
    }
};

QTEST_GUILESS_MAIN(TestPortBusy)
#include "tst_portbusy.moc"
