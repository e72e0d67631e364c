// The track page against the simulated instrument: statistics, progress,
// download with its files, and one worker at a time.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "GuiTest.h"
#include "device/DeviceIO.h"
#include "models/DeviceFactory.h"
#include "sim/Simulator.h"
#include "sim/TrackMemory.h"
#include "tests/sim/ExampleFlight.h"
#include "track/TrackExport.h"
#include "track/TrackPage.h"

using track::TTrackPage;

namespace {
std::vector<std::uint8_t> FlightMemory() {
    sim::TTrackMemoryBuilder b;
    b.BeginSector(64, 12, 2024, 6, 7, 9, 5, 0);
    b.AddGps(1500, 46.5f, 7.25f);
    b.AddEng(3, 1013, 20);
    b.BeginSector(65, 12, 2024, 6, 7, 9, 5, 2);
    b.AddGps(1510, 46.6f, 7.3f);
    b.BeginSector(66, 13, 2024, 6, 8, 10, 0, 0);  // the next flight
    b.AddGps(1, 1.0f, 1.0f);
    return b.Memory();
}

// Sectors of flight 12 filled to their last byte (2 sensor samples and 319
// points each), so that no end report comes from inside a sector.
constexpr int kGpsPerSector = 319;
constexpr int kEngPerSector = 2;
std::vector<std::uint8_t> FullSectorsMemory(int sectors) {
    sim::TTrackMemoryBuilder b;
    for (int sector = 64; sector < 64 + sectors; ++sector) {
        b.BeginSector(static_cast<std::uint16_t>(sector), 12, 2024, 6, 7, 9, 5, 0);
        for (int i = 0; i < kEngPerSector; ++i) b.AddEng(3, 1013, 20);
        for (int i = 0; i < kGpsPerSector; ++i) b.AddGps(1500, 46.5f, 7.25f);
    }
    return b.Memory();
}

int StatsRequests(const sim::TSimulator& simulator) {
    int n = 0;
    for (const auto& r : simulator.Requests())
        if (r.size() > 1 && r[0] == device::FRAME_LONG && r[1] == device::CMD_READ_STATS) ++n;
    return n;
}

}  // namespace

class TestTrackPage : public QObject {
    Q_OBJECT
    std::unique_ptr<sim::TSimulator> simulator;
    std::unique_ptr<QMdiArea> area;
    testing::TRecordingDialogs dialogs;
    QObject owner;
    device::TWindowHandle ownerHandle{&owner};
    models::TDeviceForm* form = nullptr;
    TTrackPage* page = nullptr;
    std::unique_ptr<QTemporaryDir> workDir;
    QString startDir;

    void ReadStats(QToolButton* button) {
        button->click();
        QVERIFY(!page->btnStatLast->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 10000);
        QVERIFY(testing::WaitPortFree());
    }

  private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German));
        startDir = QDir::currentPath();
    }
    void init() {
        dialogs = {};
        device::SetDialogs(&dialogs);
        workDir = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(workDir->path());
        simulator = std::make_unique<sim::TSimulator>();
        simulator->SetPaced(false);
        QVERIFY(simulator->Start());
        simulator->SetStats(0, testing::ExampleFlightStats());
        simulator->SetMemory(FlightMemory());
        serial::TNonVisComp::Instance().comport.SetPortName(simulator->PortPath());
        area = std::make_unique<QMdiArea>();
        QVERIFY(models::CreateDeviceForm(100, area.get(), ownerHandle.Target()));
        form = models::CurrentDeviceForm();
        page = form->TrackPage;
    }
    void cleanup() {
        QVERIFY(testing::WaitPortFree());
        models::CloseDeviceForm();
        area.reset();
        simulator.reset();
        QDir::setCurrent(startDir);
        workDir.reset();
        device::SetDialogs(nullptr);
    }

    void initialState() {
        QVERIFY(page->btnStatLast->isEnabled());
        QVERIFY(!page->btnStPrev->isEnabled());
        QVERIFY(!page->btnLoad->isEnabled());
        QVERIFY(!page->pbar->isVisibleTo(page));
        QCOMPARE(page->pbar->value(), 10);
        QVERIFY(page->chkReadBySector->isChecked());
        QVERIFY(page->mmoDump->isReadOnly());
        QVERIFY(page->mmoDump->font().fixedPitch());
        QVERIFY(!page->edtSector->isVisibleTo(page));
        QCOMPARE(page->edtSector->text(), QStringLiteral("64"));
    }

    void stats_commaLocale_elevenLines() {
        ReadStats(page->btnStatLast);
        const QStringList expected{
            "Полет №12",
            "Полет 7.6.2024 09:05",
            "Продолжительноость 95 минут",
            "---------------------------",
            "Максимальные значения:",
            "Высота 1870 м",
            "Верт.скорость вверх 3,40 м/c",
            "Верт.скорость вниз -5,20 м/c",
            "Cкорость 61 км/ч",
            "Удаление от базы 12,30 км",
            "Расстояние  45,60 км",
        };
        QCOMPARE(page->mmoDump->toPlainText().split('\n'), expected);
        QCOMPARE(page->TrackStartSector, std::uint16_t(64));
        QCOMPARE(page->FlightMinutes, std::uint16_t(95));
        QVERIFY(page->btnLoad->isEnabled());
        QVERIFY(page->btnStPrev->isEnabled());
    }

    void statButtons_sendTheirFlightIndex() {
        ReadStats(page->btnStatLast);
        ReadStats(page->btnStPrev);
        ReadStats(page->btnStPrev);
        std::vector<int> indices;
        for (const auto& r : simulator->Requests())
            if (r[1] == device::CMD_READ_STATS) indices.push_back(r[4]);
        QCOMPARE(indices, std::vector<int>({0, 1, 1}));
    }

    void progress_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("bySector");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("position");
        QTest::newRow("sectors 3 of 95 min") << 95 << true << 3 << 16;
        QTest::newRow("pages 48 of 95 min") << 95 << false << 48 << 16;
        QTest::newRow("unknown duration") << 0 << true << 7 << 90;
        QTest::newRow("tie 2.5 to even") << 200 << true << 1 << 2;
        QTest::newRow("tie 3.5 to even") << 1000 << true << 7 << 4;
        QTest::newRow("past the end, full") << 10 << true << 5 << 100;
    }
    void progress() {
        QFETCH(int, minutes);
        QFETCH(bool, bySector);
        QFETCH(int, count);
        QFETCH(int, position);
        page->FlightMinutes = std::uint16_t(minutes);
        page->chkReadBySector->setChecked(bySector);
        testing::DeliverThreadMsg(form, device::ST_TRACK_PAGE, count);
        QVERIFY(page->pbar->isVisibleTo(page));
        QCOMPARE(page->pbar->value(), position);
    }

    void download_bothFilesWritten_data() {
        QTest::addColumn<bool>("bySector");
        QTest::newRow("sectors") << true;
        QTest::newRow("pages") << false;
    }
    void download_bothFilesWritten() {
        QFETCH(bool, bySector);
        ReadStats(page->btnStatLast);
        page->chkReadBySector->setChecked(bySector);
        page->btnLoad->click();
        QVERIFY(page->WorkerRunning());
        QVERIFY(!page->btnLoad->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 30000);
        QCOMPARE(page->mmoDump->toPlainText().split('\n').last(),
                 QStringLiteral("___ Файлы созданы ____"));
        QVERIFY(QFile::exists(QStringLiteral("Track12.gpx")));
        QVERIFY(QFile::exists(QStringLiteral("Track12.enx")));
        QVERIFY(!page->pbar->isVisibleTo(page));
        QVERIFY(page->btnLoad->isEnabled());
        QVERIFY(dialogs.messages.empty());
    }

    void download_filesCannotBeWritten_errorHandler() {
        QVERIFY(QDir().mkdir(QStringLiteral("Track12.gpx")));
        ReadStats(page->btnStatLast);
        page->btnLoad->click();
        QTRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 30000);
        QVERIFY(!dialogs.messages.empty());
        QCOMPARE(dialogs.messages[0].kind, device::TMessageKind::Error);
        QVERIFY(page->btnLoad->isEnabled());
    }

    // A download that stops without the end of the track keeps what it read:
    // the memo says how far it got, and the button writes the usual files.
    void unfinishedDownload_memoSaysSoAndButtonSavesWhatWasRead_data() {
        QTest::addColumn<bool>("linkLost");
        QTest::addColumn<int>("sectors");
        QTest::newRow("link lost after the first sector") << true << 1;
        QTest::newRow("sector count limit") << false << device::MaxSectorCount + 1;
    }
    void unfinishedDownload_memoSaysSoAndButtonSavesWhatWasRead() {
        QFETCH(bool, linkLost);
        QFETCH(int, sectors);
        simulator->SetMemory(FullSectorsMemory(linkLost ? 3 : device::MaxSectorCount + 5));
        ReadStats(page->btnStatLast);
        if (linkLost) {
            sim::TFaults faults;
            faults.hangUpAfterRequests = 2;  // the statistics, then the first sector
            simulator->SetFaults(faults);
        }
        page->btnLoad->click();
        QTRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 60000);
        QVERIFY(testing::WaitPortFree());
        const QString expected =
            track::UnfinishedDownloadText(sectors, true, std::size_t(sectors * kGpsPerSector),
                                          std::size_t(sectors * kEngPerSector));
        QCOMPARE(page->mmoDump->toPlainText().split('\n').last(), expected);
        QVERIFY(!QFile::exists(QStringLiteral("Track12.gpx")));
        QVERIFY(page->btnSavePartial->isVisibleTo(page));

        page->btnSavePartial->click();
        QVERIFY(QFile::exists(QStringLiteral("Track12.gpx")));
        QVERIFY(QFile::exists(QStringLiteral("Track12.enx")));
        QCOMPARE(page->mmoDump->toPlainText().split('\n').last(),
                 QStringLiteral("___ Файлы созданы ____"));
        QVERIFY(!page->btnSavePartial->isVisibleTo(page));
    }

    void finishedDownload_noSaveButton() {
        ReadStats(page->btnStatLast);
        page->btnLoad->click();
        QTRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 30000);
        QVERIFY(!page->btnSavePartial->isVisibleTo(page));
        QCOMPARE(page->mmoDump->toPlainText().split('\n').last(),
                 QStringLiteral("___ Файлы созданы ____"));
    }

    void loadWithoutTrack_startsNothing() {
        page->btnLoad->setEnabled(true);
        page->btnLoad->click();
        QVERIFY(!page->WorkerRunning());
        QVERIFY(page->btnLoad->isEnabled());
        QCOMPARE(simulator->RequestCount(), 0);
    }

    void badHeaderDuringDownload_buttonsBackButClickStartsNothing() {
        page->TrackStartSector = 64;
        sim::TFaults faults;
        faults.badHeader = true;
        faults.lateMs = 150;  // keeps the worker busy well past the first failed attempt
        simulator->SetFaults(faults);
        page->btnLoad->setEnabled(true);
        page->btnLoad->click();
        page->pbar->setVisible(true);
        QTRY_VERIFY_WITH_TIMEOUT(page->btnStatLast->isEnabled(), 10000);
        QVERIFY(page->WorkerRunning());
        QVERIFY(!page->pbar->isVisibleTo(page));
        page->btnStatLast->click();
        QTRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 30000);
        QCOMPARE(StatsRequests(*simulator), 0);
        QVERIFY(page->btnLoad->isEnabled());
    }
};

TOLMARIK_GUI_TEST_MAIN(TestTrackPage)
#include "tst_trackpage.moc"
