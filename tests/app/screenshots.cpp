// Takes the screenshots in docs/screenshots/LANGUAGE: the program's windows
// against a simulated instrument, driven as a user would click them, in the
// language TOLMARIK_LANG names. scripts/take-screenshots runs it for each
// language under Xvfb.
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstdio>
#include <memory>

#include "app/AboutUnit.h"
#include "app/MAIN.h"
#include "app/SetupUnit.h"
#include "app/TApplication.h"
#include "device/UserTexts.h"
#include "firmware/UnitFirmwareUpdate.h"
#include "models/DeviceFactory.h"
#include "serial/UnitNVC.h"
#include "sim/FlightGenerator.h"
#include "sim/Simulator.h"
#include "tests/support/RecordingDialogs.h"
#include "track/FlightListWindow.h"
#include "track/TrackPage.h"

namespace {
bool Save(QWidget* w, const QString& folder, const char* name) {
    const QString path = QDir(folder).filePath(QLatin1String(name));
    const bool ok = w->grab().save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "cannot write", qPrintable(path));
    return ok;
}

bool Wait(const std::function<bool()>& condition, int ms = 30000) {
    return QTest::qWaitFor(condition, ms);
}
}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    app::TApplication application(argc, argv);
    const QString folder =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".")).absolutePath();
    QDir().mkpath(folder);
    QTemporaryDir workDir;  // the track files land here
    QDir::setCurrent(workDir.path());

    serial::TNonVisComp link;
    sim::TFlightPlan plan;
    plan.minutes = 45;
    const sim::TGeneratedMemory flights = sim::GenerateFlights(plan);
    sim::TSimulator simulator;
    simulator.SetMemory(flights.memory);
    simulator.SetStats(0, flights.stats[0]);
    simulator.SetStats(1, flights.stats[1]);
    sim::TIdentity identity;
    identity.settings[4] = 3;
    simulator.SetIdentity(identity);
    simulator.SetPaced(true);  // real line speed, so the download can be caught under way
    if (!simulator.Start()) return 1;

    app::TMainForm form;
    form.cbbPorts->setEditText(simulator.PortPath());
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    QTest::qWait(200);
    bool ok = Save(&form, folder, "main-start.png");

    form.actDevRead->trigger();
    ok &= Wait([&] { return form.actDevRead->isEnabled(); });
    ok &= Wait([] { return !serial::TNonVisComp::Instance().PortClaimed(); });
    QTest::qWait(100);
    ok &= Save(&form, folder, "main-after-read.png");

    models::TDeviceForm* device = models::CurrentDeviceForm();
    device->pgcConfig->setCurrentWidget(device->tsMain1);
    QTest::qWait(100);
    ok &= Save(&form, folder, "device-settings.png");
    device->pgcConfig->setCurrentWidget(device->tsTrack);

    track::TTrackPage* page = device->TrackPage;
    page->btnStatLast->click();
    ok &= Wait([&] { return !page->WorkerRunning(); });
    ok &= Wait([] { return !serial::TNonVisComp::Instance().PortClaimed(); });
    QTest::qWait(100);
    ok &= Save(&form, folder, "track-after-last.png");

    page->chkReadBySector->setChecked(false);  // page mode: more steps to watch
    page->btnLoad->click();
    ok &= Wait([&] { return page->pbar->isVisible() && page->pbar->value() >= 40; });
    ok &= Save(&form, folder, "track-downloading.png");
    ok &= Wait([&] { return !page->WorkerRunning(); }, 120000);
    ok &= Wait([&] { return !page->ExportRunning(); });
    QTest::qWait(300);  // the picture redrawn at its final size
    ok &= Wait([&] { return !page->ExportRunning(); });
    ok &= Save(&form, folder, "track-downloaded.png");

    // Every flight in memory, listed from the sector headers.
    page->btnFlights->click();
    track::TFlightListWindow* list = page->FlightList();
    ok &= list != nullptr && QTest::qWaitForWindowExposed(list);
    if (list) {
        ok &= Wait([&] { return !list->Busy(); }, 120000);
        ok &= Wait([] { return !serial::TNonVisComp::Instance().PortClaimed(); });
        if (list->tblFlights->rowCount() > 1)
            list->tblFlights->item(1, track::TFlightListWindow::ColChosen)
                ->setCheckState(Qt::Checked);
        QTest::qWait(100);
        ok &= Save(list, folder, "flight-list.png");
        list->close();
    }

    std::unique_ptr<QDialog> about(app::BuildAboutBox(app::ProgramVersionInfo(), &form));
    about->show();
    ok &= QTest::qWaitForWindowExposed(about.get());
    QTest::qWait(100);
    ok &= Save(about.get(), folder, "about.png");
    about->close();

    // A firmware update under way, over the device window.
    QByteArray image;
    for (int block = 0; block < 40; ++block) {
        image.append(char(0x03)).append(char(0xFE));  // 1022 bytes follow
        image.append(QByteArray(1022, char(block)));
    }
    QFile enc(workDir.filePath(QStringLiteral("Mevra-B.enc")));
    ok &= enc.open(QIODevice::WriteOnly) && enc.write(image.toHex().toUpper()) > 0;
    enc.close();
    testing::TRecordingDialogs dialogs;
    dialogs.answer = true;  // the question before the update, and the restore after it
    dialogs.openAnswers << enc.fileName();
    device::SetDialogs(&dialogs);
    form.actUpdateFirmware->trigger();
    auto* fw = form.findChild<firmware::TFormUpdateFW*>();
    ok &= fw != nullptr;
    if (fw) {
        fw->BackupFolder = workDir.filePath(QStringLiteral("backups"));
        fw->btnOpenFile->click();
        fw->btnUpdate->click();
        ok &= Wait([&] { return fw->pbUpdate->isVisible() && fw->pbUpdate->value() >= 30; });
        ok &= Save(&form, folder, "firmware-update.png");
        ok &= Wait([&] { return !dialogs.messages.empty(); }, 120000);
        ok &= !dialogs.messages.empty() &&
              dialogs.messages[0].text == QString(device::FirmwareUpdatedText);
        fw->btExit->click();
    }

    models::CloseDeviceForm();
    return ok ? 0 : 1;
}
