// The flight list window against the simulated instrument with several
// flights: the table, one ticked flight downloaded, all new ones, twice, and
// the window opened from the track page.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "GuiTest.h"
#include "flow/TrackDownload.h"
#include "models/DeviceFactory.h"
#include "sim/FlightGenerator.h"
#include "tests/support/SimBench.h"
#include "track/FlightListWindow.h"
#include "track/TrackPage.h"

using track::TFlightListWindow;

namespace {

// The logbook of this suite: the first and last record times of every
// download the hook heard of.
std::vector<std::pair<device::TrackTime, device::TrackTime>>& Heard() {
    static std::vector<std::pair<device::TrackTime, device::TrackTime>> heard;
    return heard;
}

class THeardLookup : public flow::TFlightLookup {
  public:
    bool Holds(const track::TListedFlight& flight) override {
        for (const auto& [first, last] : Heard())
            if (first >= flight.start && last <= flight.LatestEnd()) return true;
        return false;
    }
};

// A logbook that cannot be read: every answer is a guess.
class TUnreadableLookup : public flow::TFlightLookup {
  public:
    bool Holds(const track::TListedFlight&) override { return false; }
    QString Failure() const override { return QStringLiteral("журнал повреждён"); }
};

}  // namespace

class TestFlightListWindow : public QObject {
    Q_OBJECT
    testsupport::TSimBench bench_{serial::TNonVisComp::Instance()};
    sim::TGeneratedMemory memory_;
    QString startDir_;
    int hook_ = 0;
    QPointer<TFlightListWindow> window_;

    TFlightListWindow* Open() {
        window_ = new TFlightListWindow({101, 258}, std::uint8_t(2), true);
        window_->show();
        window_->Scan(false);
        return window_;
    }
    // A scan reads 301 sectors: QTRY_'s sleeps between rounds of events
    // would hold up the port's polling at each of them.
    bool WaitIdle() {
        return testsupport::WaitFor([this] { return !window_->Busy(); }, 60000) &&
               testing::WaitPortFree();
    }
    QString Logbook(int row) const {
        return window_->tblFlights->item(row, TFlightListWindow::ColLogbook)->text();
    }
    QString Gpx(int flight) const { return bench_.File(QStringLiteral("Track%1.gpx").arg(flight)); }

  private Q_SLOTS:
    void initTestCase() {
        sim::TFlightPlan plan;
        plan.minutesEach = {15, 30, 10};
        plan.gapSectors = 2;
        memory_ = sim::GenerateFlights(plan);
        QVERIFY(bench_.Plug());
        bench_.Load(memory_);
        track::SetFlightListServices({[] { return std::make_unique<THeardLookup>(); }, {}});
        hook_ = flow::AttachDownloadHook([](const flow::TDownloadedTrack& track) {
            Heard().emplace_back(track.lists->gps.front().time, track.lists->gps.back().time);
        });
        startDir_ = QDir::currentPath();
        QDir::setCurrent(bench_.Folder());  // the track folder: the current one
    }
    void cleanupTestCase() {
        flow::DetachDownloadHook(hook_);
        QDir::setCurrent(startDir_);
        QVERIFY(bench_.Unplug());
    }
    void cleanup() {
        if (window_) QVERIFY(WaitIdle());
        delete window_;
    }

    void list_newestFirst() {
        Open();
        QVERIFY(WaitIdle());
        QCOMPARE(window_->tblFlights->rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            const sim::TGeneratedFlight& f = memory_.flights[std::size_t(2 - row)];
            QCOMPARE(window_->tblFlights->item(row, TFlightListWindow::ColNumber)->text(),
                     QString::number(f.flightNumber));
            QCOMPARE(window_->tblFlights->item(row, TFlightListWindow::ColSector)->text(),
                     QString::number(f.firstSector));
            QCOMPARE(Logbook(row), QStringLiteral("нет"));
        }
        QVERIFY(
            window_->lblState->text().contains(QStringLiteral("Полётов в памяти: 3, новых: 3")));
        QCOMPARE(window_->pbar->value(), 100);
        QVERIFY(window_->btnDownloadNew->isEnabled());
    }

    // An unreadable logbook: no flight is called missing from it, the
    // reason is shown, and "all new" downloads nothing.
    void unreadableLogbook_marksUnknown() {
        track::SetFlightListServices({[] { return std::make_unique<TUnreadableLookup>(); }, {}});
        Open();
        track::SetFlightListServices({[] { return std::make_unique<THeardLookup>(); }, {}});
        QVERIFY(WaitIdle());
        QCOMPARE(window_->tblFlights->rowCount(), 3);
        for (int row = 0; row < 3; ++row) QCOMPARE(Logbook(row), QStringLiteral("неизвестно"));
        QVERIFY2(window_->lblState->text().contains(QStringLiteral("журнал повреждён")),
                 qPrintable(window_->lblState->text()));
        window_->btnDownloadNew->click();
        QVERIFY(!window_->Busy());
        for (const sim::TGeneratedFlight& f : memory_.flights)
            QVERIFY(!QFile::exists(Gpx(f.flightNumber)));
    }

    // One ticked older flight: its files, its own statistics, and the list
    // marks it; nothing ticked asks for a tick.
    void downloadChosen_oneOlderFlight() {
        Open();
        QVERIFY(WaitIdle());
        window_->btnDownloadChosen->click();
        QVERIFY(window_->lblState->text().contains(QStringLiteral("Отметьте")));
        QVERIFY2(window_->tblFlights->rowCount() == 3, qPrintable(window_->mmoLog->toPlainText()));
        window_->tblFlights->item(1, TFlightListWindow::ColChosen)->setCheckState(Qt::Checked);
        window_->btnDownloadChosen->click();
        QVERIFY(window_->Busy());
        QVERIFY(!window_->btnDownloadNew->isEnabled());
        QVERIFY(window_->btnCancel->isEnabled());
        QVERIFY(WaitIdle());
        const sim::TGeneratedFlight& older = memory_.flights[1];
        QVERIFY(QFile::exists(Gpx(older.flightNumber)));
        QVERIFY(!QFile::exists(Gpx(memory_.flights[2].flightNumber)));
        QVERIFY(window_->mmoLog->toPlainText().contains(
            QStringLiteral("Продолжительноость %1 минут").arg(older.stats.durationMinutes)));
        QCOMPARE(Logbook(1), QStringLiteral("да"));
        QCOMPARE(Logbook(0), QStringLiteral("нет"));
        QCOMPARE(window_->lblState->text(), QStringLiteral("Скачано полётов: 1"));
    }

    // All new: the two the logbook lacks, then nothing more to fetch.
    void downloadNew_twice() {
        Open();
        QVERIFY(WaitIdle());
        QVERIFY(window_->lblState->text().contains(QStringLiteral("новых: 2")));
        window_->btnDownloadNew->click();
        QVERIFY(WaitIdle());
        QCOMPARE(window_->lblState->text(), QStringLiteral("Скачано полётов: 2"));
        QCOMPARE(window_->pbar->value(), 100);
        for (int row = 0; row < 3; ++row) QCOMPARE(Logbook(row), QStringLiteral("да"));
        for (const sim::TGeneratedFlight& f : memory_.flights)
            QVERIFY(QFile::exists(Gpx(f.flightNumber)));
        window_->btnDownloadNew->click();
        QVERIFY(!window_->Busy());
        QVERIFY(window_->lblState->text().startsWith(QStringLiteral("Новых полётов нет")));
    }

    // "Все полёты..." on the track page opens one window, listing at once.
    void trackPage_opensOneWindow() {
        testing::TRecordingDialogs dialogs;
        device::SetDialogs(&dialogs);
        QObject owner;
        device::TWindowHandle handle{&owner};
        QMdiArea area;
        QVERIFY(models::CreateDeviceForm(101, &area, handle.Target()));
        track::TTrackPage* page = models::CurrentDeviceForm()->TrackPage;
        page->btnFlights->click();
        window_ = page->FlightList();
        QVERIFY(window_);
        page->btnFlights->click();
        QCOMPARE(page->FlightList(), window_.data());
        QVERIFY(WaitIdle());
        QCOMPARE(window_->tblFlights->rowCount(), 3);
        window_->close();  // deletes itself
        QTRY_VERIFY(!page->FlightList());
        device::SetDialogs(nullptr);
    }
};

TOLMARIK_GUI_TEST_MAIN(TestFlightListWindow)
#include "tst_flightlistwindow.moc"
