// The track page against the simulated instrument: statistics, progress,
// download with its files, and one worker at a time; the files written off
// the interface thread, their folder, and the picture of the flight.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "GuiTest.h"
#include "app/SetupAPI.h"
#include "device/DeviceIO.h"
#include "device/FileStore.h"
#include "models/DeviceFactory.h"
#include "sim/Simulator.h"
#include "sim/TrackMemory.h"
#include "tests/support/ExampleFlight.h"
#include "tests/support/SimBench.h"
#include "track/FlightPlot.h"
#include "track/FlightPlotView.h"
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
// A download's stop count for the case of a track longer than it.
constexpr int kSectorLimit = 20;
std::vector<std::uint8_t> FullSectorsMemory(int sectors) {
    sim::TTrackMemoryBuilder b;
    for (int sector = 64; sector < 64 + sectors; ++sector) {
        b.BeginSector(static_cast<std::uint16_t>(sector), 12, 2024, 6, 7, 9, 5, 0);
        for (int i = 0; i < kEngPerSector; ++i) b.AddEng(3, 1013, 20);
        for (int i = 0; i < kGpsPerSector; ++i) b.AddGps(1500, 46.5f, 7.25f);
    }
    return b.Memory();
}

// Holds the first file write of an export until the test opens the gate, so
// that end reports pile up behind it; counts the files created.
struct TWriteGate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = true;
    bool held = false;  // a write waits at the gate
    int created = 0;
};
TWriteGate g_gate;

std::intptr_t GatedCreate(const QString& path, QString& reason) {
    {
        std::unique_lock lock(g_gate.mutex);
        ++g_gate.created;
        g_gate.held = !g_gate.open;
        g_gate.opened.wait(lock, [] { return g_gate.open; });
        g_gate.held = false;
    }
    return device::SystemFileCalls().create(path, reason);
}

const device::TFileCalls& GatedCalls() {
    static const device::TFileCalls calls = [] {
        device::TFileCalls c = device::SystemFileCalls();
        c.create = GatedCreate;
        return c;
    }();
    return calls;
}

void CloseGate() {
    std::lock_guard lock(g_gate.mutex);
    g_gate.open = false;
    g_gate.created = 0;
}
void OpenGate() {
    {
        std::lock_guard lock(g_gate.mutex);
        g_gate.open = true;
    }
    g_gate.opened.notify_all();
}
bool GateHolds() {
    std::lock_guard lock(g_gate.mutex);
    return g_gate.held;
}
int FilesCreated() {
    std::lock_guard lock(g_gate.mutex);
    return g_gate.created;
}

// Lists of `points` GPS points and one sensor sample per point, as a
// download leaves them.
void FillLists(int points) {
    device::TTrackLists& lists = device::TrackLists();
    lists.Clear();
    for (int i = 0; i < points; ++i) {
        device::GpsListEntry gps;
        gps.time = device::FallbackTrackTime() + i;
        gps.record = {12, 0, 0xDC, 0x05, 0, 0, 0x3A, 0x42, 0, 0, 0xE8, 0x40};
        gps.record[2] = std::uint8_t(i);
        lists.AppendGps(gps);
        device::EngListEntry eng;
        eng.time = gps.time;
        eng.record = {6, 3, 0xF5, 0x03, std::uint8_t(i), 0};
        lists.AppendEng(eng);
    }
}

// Lists of a flight of `points` seconds around a closed triangle of some 2 km
// sides, climbing and sinking, as a download leaves them.
void FillTriangleFlight(int points) {
    device::TTrackLists& lists = device::TrackLists();
    lists.Clear();
    const double corners[4][2] = {{45.9, 6.2}, {45.9, 6.226}, {45.916, 6.213}, {45.9, 6.2}};
    auto put = [](std::array<std::uint8_t, 12>& record, int offset, float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        for (int b = 0; b < 4; ++b) record[offset + b] = std::uint8_t(bits >> (8 * b));
    };
    for (int i = 0; i < points; ++i) {
        const double along = 3.0 * i / (points - 1);
        const int leg = std::min(int(along), 2);
        const double t = along - leg;
        device::GpsListEntry gps;
        gps.time = device::FallbackTrackTime() + i;
        const int altitude = 1500 + int(200 * std::sin(i / 40.0));
        gps.record = {device::TrackGpsKind, std::uint8_t(altitude & 0xFF),
                      std::uint8_t(altitude >> 8)};
        put(gps.record, 4, float(corners[leg][0] + t * (corners[leg + 1][0] - corners[leg][0])));
        put(gps.record, 8, float(corners[leg][1] + t * (corners[leg + 1][1] - corners[leg][1])));
        lists.AppendGps(gps);
        device::EngListEntry eng;
        eng.time = gps.time;
        eng.record = {6, 3, 0xF5, 0x03, std::uint8_t(i), 0};
        lists.AppendEng(eng);
    }
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TLineMemo : public track::TMemoSink {
  public:
    QStringList lines;
    void Clear() override { lines.clear(); }
    void AddLine(const QString& line) override { lines << line; }
};

int StatsRequests(const sim::TSimulator& simulator) {
    int n = 0;
    for (const auto& r : simulator.Requests())
        if (r.size() > 1 && r[0] == device::FRAME_LONG && r[1] == device::CMD_READ_STATS) ++n;
    return n;
}

}  // namespace

class TestTrackPage : public QObject {
    Q_OBJECT
    testsupport::TSimBench bench{serial::TNonVisComp::Instance()};
    std::unique_ptr<QMdiArea> area;
    testing::TRecordingDialogs dialogs;
    QObject owner;
    device::TWindowHandle ownerHandle{&owner};
    models::TDeviceForm* form = nullptr;
    TTrackPage* page = nullptr;
    QString startDir;

    void ReadStats(QToolButton* button) {
        button->click();
        QVERIFY(!page->btnStatLast->isEnabled());
        TRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 10000);
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
        QVERIFY(bench.Plug());
        QDir::setCurrent(bench.Folder());
        bench.Sim().SetStats(0, testing::ExampleFlightStats());
        bench.Sim().SetMemory(FlightMemory());
        area = std::make_unique<QMdiArea>();
        QVERIFY(models::CreateDeviceForm(100, area.get(), ownerHandle.Target()));
        form = models::CurrentDeviceForm();
        page = form->TrackPage;
    }
    void cleanup() {
        OpenGate();
        QVERIFY(testing::WaitPortFree());
        QVERIFY(QTest::qWaitFor([this] { return !page || !page->ExportRunning(); }, 20000));
        QThreadPool::globalInstance()->waitForDone();
        device::SetFileCalls(nullptr);
        track::SetUrlOpener({});
        testing::ClearSettings();
        models::CloseDeviceForm();
        area.reset();
        QDir::setCurrent(startDir);
        QVERIFY(bench.Unplug());
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
        for (const auto& r : bench.Sim().Requests())
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
        testing::DeliverStatus(page->Download().StatusTarget(), device::ST_TRACK_PAGE, count);
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
        TRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 30000);
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        const QDir here = QDir::current();
        const QStringList expected{
            QStringLiteral("Всего GPS 2"),
            QStringLiteral("Всего ENG 1"),
            QStringLiteral("___ Файлы созданы ____"),
            QDir::toNativeSeparators(here.absoluteFilePath(QStringLiteral("Track12.gpx"))),
            QDir::toNativeSeparators(here.absoluteFilePath(QStringLiteral("Track12.enx"))),
            QDir::toNativeSeparators(here.absoluteFilePath(QStringLiteral("Track12.igc"))),
        };
        // The flight's score and its climbs and glides follow the files.
        QTRY_VERIFY_WITH_TIMEOUT(
            page->mmoDump->toPlainText().contains(QStringLiteral("XContest: ")), 10000);
        QCOMPARE(page->mmoDump->toPlainText().split('\n').mid(0, expected.size()), expected);
        QVERIFY(QFile::exists(QStringLiteral("Track12.gpx")));
        QVERIFY(QFile::exists(QStringLiteral("Track12.enx")));
        QVERIFY(!page->imgFlight->Image().isNull());
        QVERIFY(!page->pbar->isVisibleTo(page));
        QVERIFY(page->btnLoad->isEnabled());
        QVERIFY(dialogs.messages.empty());
    }

    void download_filesCannotBeWritten_errorHandler() {
        QVERIFY(QDir().mkdir(QStringLiteral("Track12.gpx")));
        ReadStats(page->btnStatLast);
        page->btnLoad->click();
        TRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(!dialogs.messages.empty(), 10000);
        QCOMPARE(dialogs.messages[0].kind, device::TMessageKind::Error);
        QCOMPARE(page->mmoDump->toPlainText().split('\n').last(), QStringLiteral("Всего ENG 1"));
        QVERIFY(page->btnLoad->isEnabled());
    }

    // A download that stops without the end of the track keeps what it read:
    // the memo says how far it got, and the button writes it in files of its
    // own.
    void unfinishedDownload_memoSaysSoAndButtonSavesWhatWasRead_data() {
        QTest::addColumn<bool>("linkLost");
        QTest::addColumn<int>("sectors");
        QTest::newRow("link lost after the first sector") << true << 1;
        // Past its count the download stops as past the program's 301 sectors.
        QTest::newRow("sector count limit") << false << kSectorLimit + 1;
    }
    void unfinishedDownload_memoSaysSoAndButtonSavesWhatWasRead() {
        QFETCH(bool, linkLost);
        QFETCH(int, sectors);
        bench.Sim().SetMemory(FullSectorsMemory(linkLost ? 3 : kSectorLimit + 5));
        page->Download().Limits.sectors = kSectorLimit;
        ReadStats(page->btnStatLast);
        if (linkLost) {
            sim::TFaults faults;
            faults.hangUpAfterRequests = 2;  // the statistics, then the first sector
            bench.Sim().SetFaults(faults);
            // The hang-up counts requests: the program's waits, so that a busy
            // machine never makes a try fail and be asked again. A hang-up is
            // seen at once, so they cost nothing here.
            page->Download().Timing = device::TWorkerTiming{};
        }
        page->btnLoad->click();
        // Up to 301 sectors: without QTRY_'s sleeps, which hold up the
        // port's polling at each of them.
        TRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 60000);
        QVERIFY(testing::WaitPortFree());
        const QString expected =
            track::UnfinishedDownloadText(sectors, true, std::size_t(sectors * kGpsPerSector),
                                          std::size_t(sectors * kEngPerSector));
        QCOMPARE(page->mmoDump->toPlainText().split('\n').last(), expected);
        QVERIFY(!QFile::exists(QStringLiteral("Track12.gpx")));
        QVERIFY(page->btnSavePartial->isVisibleTo(page));

        page->btnSavePartial->click();
        // A full memory's files: slow under the sanitizers on a busy machine.
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 60000);
        QVERIFY(QFile::exists(QStringLiteral("Track12-partial.gpx")));
        QVERIFY(QFile::exists(QStringLiteral("Track12-partial.enx")));
        QVERIFY(!QFile::exists(QStringLiteral("Track12.gpx")));
        QVERIFY(page->mmoDump->toPlainText().split('\n').contains(
            QStringLiteral("___ Файлы созданы ____")));
        QVERIFY(!page->btnSavePartial->isVisibleTo(page));
    }

    void finishedDownload_noSaveButton() {
        ReadStats(page->btnStatLast);
        page->btnLoad->click();
        TRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 30000);
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        QVERIFY(!page->btnSavePartial->isVisibleTo(page));
        QCOMPARE(page->mmoDump->toPlainText().split('\n').at(2),
                 QStringLiteral("___ Файлы созданы ____"));
    }

    // --- the folder of the track files

    void trackFolder_chosen_storedAndFilesLandThereNamedInMemo() {
        QTemporaryDir chosen;
        dialogs.folderAnswers = {chosen.path()};
        page->btnTrackFolder->click();
        QCOMPARE(app::ReadSetting(QStringLiteral("trackpath"), QString()), chosen.path());
        QCOMPARE(page->lblTrackFolder->toolTip(), QDir::toNativeSeparators(chosen.path()));

        ReadStats(page->btnStatLast);
        page->btnLoad->click();
        TRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 30000);
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        const QDir folder(chosen.path());
        for (const char* name : {"Track12.gpx", "Track12.enx", "Track12.igc"}) {
            QVERIFY2(folder.exists(QLatin1String(name)), name);
            QVERIFY2(!QFile::exists(QLatin1String(name)), name);
        }
        // The score's lines may follow the files' once it is worked out.
        const QStringList memo = page->mmoDump->toPlainText().split('\n');
        QCOMPARE(memo.mid(3, 3), QStringList({
                                     QDir::toNativeSeparators(folder.filePath("Track12.gpx")),
                                     QDir::toNativeSeparators(folder.filePath("Track12.enx")),
                                     QDir::toNativeSeparators(folder.filePath("Track12.igc")),
                                 }));
    }

    void trackFolder_choiceCancelled_folderKept() {
        app::WriteSetting(QStringLiteral("trackpath"), bench.Folder());
        page->btnTrackFolder->click();  // no answer: cancelled
        QCOMPARE(app::ReadSetting(QStringLiteral("trackpath"), QString()), bench.Folder());
    }

    void openFolder_data() {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("folder chosen") << true;
        QTest::newRow("no folder: the current directory") << false;
    }
    void openFolder() {
        QFETCH(bool, chosen);
        QTemporaryDir other;
        if (chosen) app::WriteSetting(QStringLiteral("trackpath"), other.path());
        QList<QUrl> opened;
        track::SetUrlOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        page->btnOpenFolder->click();
        const QString expected = chosen ? other.path() : QDir::currentPath();
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(expected)});
        QVERIFY(dialogs.messages.empty());
    }

    void openFolder_desktopRefuses_errorShown() {
        track::SetUrlOpener([](const QUrl&) { return false; });
        page->btnOpenFolder->click();
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].kind, device::TMessageKind::Error);
    }

    // --- writing off the interface thread

    // End reports that come while files are written are not queued: the
    // newest lists are written next, and the files and memo at the end are
    // those of writing every report's lists in turn.
    void endsFasterThanWrites_newestWrittenFinalFilesAsSpecified() {
        device::SetFileCalls(&GatedCalls());
        CloseGate();
        FillLists(1);
        testing::DeliverStatus(page->Download().StatusTarget(), device::ST_TRACK_END, 0);
        QTRY_VERIFY_WITH_TIMEOUT(GateHolds(), 10000);
        for (int points : {2, 3, 4}) {
            FillLists(points);
            testing::DeliverStatus(page->Download().StatusTarget(), device::ST_TRACK_END, 0);
        }
        QVERIFY(page->ExportRunning());
        OpenGate();
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        // Two sets of three files: the first report's and the last one's.
        QCOMPARE(FilesCreated(), 6);

        QTemporaryDir expected;
        TLineMemo memo;
        track::WriteTrackFiles(0, device::TrackLists().Snapshot(), memo, expected.path());
        for (const char* name : {"Track0.gpx", "Track0.enx", "Track0.igc"})
            QCOMPARE(Contents(QLatin1String(name)),
                     Contents(QDir(expected.path()).filePath(QLatin1String(name))));
        QCOMPARE(page->mmoDump->toPlainText().split('\n').mid(0, 3), memo.lines);
        QVERIFY(dialogs.messages.empty());
    }

    void interfaceThread_notHeldByWrite() {
        device::SetFileCalls(&GatedCalls());
        CloseGate();
        FillLists(5);
        testing::DeliverStatus(page->Download().StatusTarget(), device::ST_TRACK_END, 0);
        // The write waits at the gate, and the page still answers.
        QTRY_VERIFY_WITH_TIMEOUT(GateHolds(), 10000);
        ReadStats(page->btnStatLast);
        QCOMPARE(page->mmoDump->toPlainText().split('\n').first(), QStringLiteral("Полет №12"));
        OpenGate();
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        // The statistics shown after the end report stay.
        QCOMPARE(page->mmoDump->toPlainText().split('\n').first(), QStringLiteral("Полет №12"));
        QVERIFY(QFile::exists(QStringLiteral("Track0.gpx")));
    }

    void windowClosedDuringWrite_noCrashFilesWritten() {
        device::SetFileCalls(&GatedCalls());
        CloseGate();
        FillLists(5);
        testing::DeliverStatus(page->Download().StatusTarget(), device::ST_TRACK_END, 0);
        QTRY_VERIFY_WITH_TIMEOUT(GateHolds(), 10000);
        QPointer<TTrackPage> watched(page);
        models::CloseDeviceForm();
        QTRY_VERIFY_WITH_TIMEOUT(watched.isNull(), 10000);
        page = nullptr;
        OpenGate();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
        QVERIFY(QFile::exists(QStringLiteral("Track0.gpx")));
        QVERIFY(dialogs.messages.empty());
    }

    // --- the picture and the instrument

    void picture_resized_redrawnToFill() {
        area->show();
        QVERIFY(QTest::qWaitForWindowExposed(area.get()));
        FillLists(50);
        testing::DeliverStatus(page->Download().StatusTarget(), device::ST_TRACK_END, 0);
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        const QSize first = page->imgFlight->Image().size();
        QVERIFY(!first.isEmpty());
        // The memo narrowed: the picture grows wider, and is drawn anew in
        // the shape of its place (at least at the smallest picture size).
        page->splReport->setSizes({60, 2000});
        const QSize view = page->imgFlight->size();
        QVERIFY(view.width() > first.width() || view.height() != first.height());
        QTRY_VERIFY_WITH_TIMEOUT(page->imgFlight->Image().size() != first, 10000);
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        const QSize drawn = page->imgFlight->Image().size();
        QVERIFY(drawn.width() >= view.width() && drawn.height() >= view.height());
        QVERIFY(std::abs(drawn.width() * view.height() - drawn.height() * view.width()) <=
                std::max(view.width(), view.height()));
    }

    // The scored route and the thermals stay on the picture when it is drawn
    // anew for a new size.
    void picture_resized_keepsTheScoreMarks() {
        area->show();
        QVERIFY(QTest::qWaitForWindowExposed(area.get()));
        FillTriangleFlight(900);
        testing::DeliverStatus(page->Download().StatusTarget(), device::ST_TRACK_END, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!page->PictureMarks().turnpoints.empty(), 60000);
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        const auto fixes = page->PictureFixes();
        const track::TFlightMarks marks = page->PictureMarks();
        const QSize first = page->imgFlight->Image().size();
        QCOMPARE(page->imgFlight->Image(),
                 track::RenderFlightPlot(*fixes, first, track::TTrackEnd::Landing, marks));

        page->splReport->setSizes({60, 2000});
        QTRY_VERIFY_WITH_TIMEOUT(page->imgFlight->Image().size() != first, 10000);
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        const QImage redrawn = page->imgFlight->Image();
        QCOMPARE(redrawn,
                 track::RenderFlightPlot(*fixes, redrawn.size(), track::TTrackEnd::Landing, marks));
        QVERIFY(redrawn != track::RenderFlightPlot(*fixes, redrawn.size()));
    }

    void picture_noPoints_none() {
        FillLists(0);
        testing::DeliverStatus(page->Download().StatusTarget(), device::ST_TRACK_END, 0);
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        QVERIFY(page->imgFlight->Image().isNull());
    }

    void deviceRead_instrumentNamedInIgcFile() {
        auto& rx = serial::TNonVisComp::Instance().RxBuffer;
        std::fill(rx.begin(), rx.end(), 0);
        rx[models::ReplyVersionOffset] = 0x37;  // 311
        rx[models::ReplyVersionOffset + 1] = 0x01;
        form->LoadFromReply();
        FillLists(3);
        testing::DeliverStatus(page->Download().StatusTarget(), device::ST_TRACK_END, 0);
        TRY_VERIFY_WITH_TIMEOUT(!page->ExportRunning(), 10000);
        const QByteArray igc = Contents(QStringLiteral("Track0.igc"));
        QVERIFY(igc.contains("HFRFWFIRMWAREVERSION:311\r\n"));
        QVERIFY(igc.startsWith("AXTK100"));
    }

    void loadWithoutTrack_startsNothing() {
        page->btnLoad->setEnabled(true);
        page->btnLoad->click();
        QVERIFY(!page->WorkerRunning());
        QVERIFY(page->btnLoad->isEnabled());
        QCOMPARE(bench.Sim().RequestCount(), 0);
    }

    void badHeaderDuringDownload_buttonsBackButClickStartsNothing() {
        page->TrackStartSector = 64;
        sim::TFaults faults;
        faults.badHeader = true;
        // Each of the 13 tries waits for it: the worker stays busy for over a
        // second, well past the first failed try.
        faults.lateMs = 40;
        bench.Sim().SetFaults(faults);
        page->btnLoad->setEnabled(true);
        page->btnLoad->click();
        page->pbar->setVisible(true);
        QTRY_VERIFY_WITH_TIMEOUT(page->btnStatLast->isEnabled(), 10000);
        QVERIFY(page->WorkerRunning());
        QVERIFY(!page->pbar->isVisibleTo(page));
        page->btnStatLast->click();
        TRY_VERIFY_WITH_TIMEOUT(!page->WorkerRunning(), 30000);
        QCOMPARE(StatsRequests(bench.Sim()), 0);
        QVERIFY(page->btnLoad->isEnabled());
    }
};

TOLMARIK_GUI_TEST_MAIN(TestTrackPage)
#include "tst_trackpage.moc"
