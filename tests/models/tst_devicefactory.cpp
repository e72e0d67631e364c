// The device windows and their factory: which window serves which model,
// reuse and replacement, settings view, status handling and page read.
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "GuiTest.h"
#include "device/DeviceIO.h"
#include "models/DeviceFactory.h"
#include "sim/Simulator.h"
#include "track/TrackPage.h"

using namespace models;

namespace {
// Stands in for the main window: records every WM_DEVICE_MSG.
class TOwner : public QObject {
  public:
    std::vector<int> codes;
    std::vector<qintptr> values;
    device::TWindowHandle handle{this};

  protected:
    bool event(QEvent* e) override {
        if (e->type() != device::WM_DEVICE_MSG) return QObject::event(e);
        const auto* message = static_cast<device::TMessageEvent*>(e);
        codes.push_back(int(message->WParam));
        values.push_back(message->LParam);
        return true;
    }
};

}  // namespace

class TestDeviceFactory : public QObject {
    Q_OBJECT
    std::unique_ptr<QMdiArea> area;
    std::unique_ptr<TOwner> owner;

    TDeviceForm* Make(DeviceModelId model) {
        return CreateDeviceForm(model, area.get(), owner->handle.Target()) ? CurrentDeviceForm()
                                                                           : nullptr;
    }

  private Q_SLOTS:
    void init() {
        area = std::make_unique<QMdiArea>();
        owner = std::make_unique<TOwner>();
    }
    void cleanup() {
        CloseDeviceForm();
        area.reset();
    }

    void classes_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<QString>("opensOn");
        const QStringList both{"Трек", "Основные настройки"};
        QTest::newRow("1") << 1 << QStringList{"Трек"} << "Трек";
        QTest::newRow("100") << 100 << both << "Трек";
        QTest::newRow("101") << 101 << both << "Трек";
        QTest::newRow("102") << 102 << both << "Основные настройки";
        QTest::newRow("103") << 103 << both << "Основные настройки";
        QTest::newRow("104") << 104 << both << "Трек";
        QTest::newRow("105") << 105 << both << "Трек";
    }
    void classes() {
        QFETCH(int, model);
        QFETCH(QStringList, tabs);
        QFETCH(QString, opensOn);
        TDeviceForm* form = Make(DeviceModelId(model));
        QVERIFY(form);
        QCOMPARE(form->ModelId, DeviceModelId(model));
        QStringList titles;
        for (int i = 0; i < form->pgcConfig->count(); ++i) titles << form->pgcConfig->tabText(i);
        QCOMPARE(titles, tabs);
        QCOMPARE(form->pgcConfig->tabText(form->pgcConfig->currentIndex()), opensOn);
        QCOMPARE(form->windowTitle(), QStringLiteral("..."));
        QCOMPARE(form->Config, DefaultConfig());
    }

    void model0_falseWindowUntouched() {
        TDeviceForm* form = Make(100);
        form->Config[0] = 9;
        QVERIFY(!CreateDeviceForm(0, area.get(), owner->handle.Target()));
        QCOMPARE(CurrentDeviceForm(), form);
        QCOMPARE(form->Config[0], std::uint8_t(9));
    }

    void modelWithoutClass_closesCurrentNoneLeft() {
        QPointer<TDeviceForm> form = Make(100);
        QVERIFY(!CreateDeviceForm(50, area.get(), owner->handle.Target()));
        QVERIFY(!CurrentDeviceForm());
        QTRY_VERIFY(form.isNull());
        QVERIFY(area->subWindowList().isEmpty());
    }

    void sameModel_sameObjectDefaultsAndDots() {
        TDeviceForm* form = Make(100);
        form->Config[7] = 1;
        form->setWindowTitle(QStringLiteral("Прибор: Mevra-A версия 1"));
        QCOMPARE(Make(100), form);
        QCOMPARE(form->Config, DefaultConfig());
        QCOMPARE(form->windowTitle(), QStringLiteral("..."));
    }

    void deviceCaption_model103() {
        QCOMPARE(Make(103)->GetDeviceCaption(), QStringLiteral("Прибор: Mevra-D"));
    }

    void showConfig_timeZoneAndHex() {
        TDeviceForm* form = Make(101);
        form->Config[4] = std::uint8_t(-5);
        form->Config[149] = 0xAB;
        form->ShowConfig();
        QCOMPARE(form->lblTimeZone->text(), QStringLiteral("Часовой пояс: UTC-5"));
        const QStringList lines = form->mmoConfig->toPlainText().split('\n');
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[0], QStringLiteral("000: 00 00 00 00 FB 00 00 00 00 00 00 00 00 00 00 00"));
        QCOMPARE(lines[9], QStringLiteral("144: 00 00 00 00 00 AB"));
        form->LoadDefaults();
        QCOMPARE(form->lblTimeZone->text(), QStringLiteral("Часовой пояс: UTC+3"));
    }

    // A failure of the track page's operation reaches the main window as the
    // device window's code, carrying the operation's outcome; every final
    // status gives the page its buttons back.
    void trackStatuses_failuresReportedPageRestored_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<qintptr>("value");
        QTest::addColumn<std::vector<int>>("sent");
        QTest::addColumn<std::vector<qintptr>>("outcomes");
        QTest::addColumn<bool>("restores");
        const auto outcome = [](flow::TOutcome o) { return std::vector<qintptr>{qintptr(o)}; };
        QTest::newRow("port failed")
            << int(device::ST_PORT_FAILED) << qintptr(0) << std::vector<int>{DM_PORT_FAILED}
            << outcome(flow::TOutcome::PortFailed) << true;
        QTest::newRow("no link") << int(device::ST_NO_LINK) << qintptr(0)
                                 << std::vector<int>{DM_NO_LINK}
                                 << outcome(flow::TOutcome::NoDevice) << true;
        QTest::newRow("link lost")
            << int(device::ST_NO_LINK) << qintptr(device::LINK_LOST) << std::vector<int>{DM_NO_LINK}
            << outcome(flow::TOutcome::LinkLost) << true;
        QTest::newRow("written: final, nothing to say")
            << int(device::ST_WRITTEN) << qintptr(0) << std::vector<int>{} << std::vector<qintptr>{}
            << true;
        QTest::newRow("bad header") << int(device::ST_BAD_HEADER) << qintptr(0)
                                    << std::vector<int>{} << std::vector<qintptr>{} << true;
        QTest::newRow("port open") << int(device::ST_PORT_OPEN) << qintptr(0) << std::vector<int>{}
                                   << std::vector<qintptr>{} << false;
        QTest::newRow("bad reply") << int(device::ST_BAD_REPLY) << qintptr(0) << std::vector<int>{}
                                   << std::vector<qintptr>{} << false;
    }
    void trackStatuses_failuresReportedPageRestored() {
        QFETCH(int, status);
        QFETCH(qintptr, value);
        QFETCH(std::vector<int>, sent);
        QFETCH(std::vector<qintptr>, outcomes);
        QFETCH(bool, restores);
        TDeviceForm* form = Make(100);
        track::TTrackPage* page = form->TrackPage;
        page->pbar->setVisible(true);
        page->btnStatLast->setEnabled(false);
        testing::DeliverStatus(page->Download().StatusTarget(), status, value);
        QCOMPARE(owner->codes, sent);
        QCOMPARE(owner->values, outcomes);
        QCOMPARE(page->pbar->isVisibleTo(page), !restores);
        QCOMPARE(page->btnStatLast->isEnabled(), restores);
        QCOMPARE(page->btnStPrev->isEnabled(), restores);
    }

    void readPage_sectorText_addressAndDump_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("address");
        QTest::newRow("64") << "64" << quint32(16384);
        QTest::newRow("not a number") << "x1" << quint32(0);
    }
    void readPage_sectorText_addressAndDump() {
        QFETCH(QString, text);
        QFETCH(quint32, address);
        sim::TSimulator simulator;
        simulator.SetPaced(false);
        QVERIFY(simulator.Start());
        std::vector<std::uint8_t> memory(16384 + 256, 0);
        memory[address] = 0xC3;
        simulator.SetMemory(memory);
        serial::TNonVisComp::Instance().comport.SetPortName(simulator.PortPath());
        TDeviceForm* form = Make(100);
        form->TrackPage->edtSector->setText(text);
        form->btnReadClick();
        QTRY_COMPARE_WITH_TIMEOUT(form->TrackPage->mmoDump->toPlainText().split('\n').size(), 16,
                                  10000);
        QVERIFY(testing::WaitPortFree());
        const auto request = simulator.Requests().back();
        QCOMPARE(device::LE32(request.data() + 4), address);
        QVERIFY(form->TrackPage->mmoDump->toPlainText().startsWith(QStringLiteral("C3 00 ")));
        QVERIFY(owner->codes.empty());
    }
};

TOLMARIK_GUI_TEST_MAIN(TestDeviceFactory)
#include "tst_devicefactory.moc"
