// The port list, the port selector and the settings store.
#include <QTest>

#include "GuiTest.h"
#include "app/MAIN.h"
#include "app/SetupAPI.h"
#include "app/SetupUnit.h"
#include "device/AppError.h"

using app::TPortDevice;
using app::TPortItem;

Q_DECLARE_METATYPE(std::vector<TPortDevice>)
Q_DECLARE_METATYPE(std::vector<TPortItem>)

namespace {
class TThrowing : public QObject {
  protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw device::TAppError(QStringLiteral("Файл поврежден"));
        return QObject::event(e);
    }
};

QString PortName() { return serial::TNonVisComp::Instance().comport.PortName(); }
}  // namespace

class TestSetup : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() { testing::ClearSettings(); }

    void portItems_data() {
        QTest::addColumn<std::vector<TPortDevice>>("devices");
        QTest::addColumn<std::vector<TPortItem>>("items");
        QTest::newRow("adapter chip in name")
            << std::vector<TPortDevice>{{"USB-SERIAL CH340 (ttyUSB0)", {}, {}}}
            << std::vector<TPortItem>{{"ttyUSB0", true}};
        QTest::newRow("plain port") << std::vector<TPortDevice>{{"Serial port (ttyS0)", {}, {}}}
                                    << std::vector<TPortItem>{{"ttyS0", false}};
        QTest::newRow("chips by name")
            << std::vector<TPortDevice>{{"STM32 Virtual ComPort (ttyACM0)", {}, {}},
                                        {"CP2102 USB to UART (ttyUSB1)", {}, {}},
                                        {"cp2102 (ttyUSB2)", {}, {}}}
            << std::vector<TPortItem>{{"ttyACM0", true}, {"ttyUSB1", true}, {"ttyUSB2", false}};
        QTest::newRow("chips by vendor")
            << std::vector<TPortDevice>{{"USB Serial (ttyUSB0)", 0x1A86, {}},
                                        {"USB Serial (ttyUSB1)", 0x10C4, {}},
                                        {"Virtual (ttyACM0)", 0x0483, {}},
                                        {"FTDI (ttyUSB2)", 0x0403, {}}}
            << std::vector<TPortItem>{
                   {"ttyUSB0", true}, {"ttyUSB1", true}, {"ttyACM0", true}, {"ttyUSB2", false}};
        QTest::newRow("same port twice, order kept")
            << std::vector<TPortDevice>{{"B (ttyUSB1)", {}, {}},
                                        {"A (ttyUSB0)", {}, {}},
                                        {"A (ttyUSB0)", {}, {}}}
            << std::vector<TPortItem>{{"ttyUSB1", false}, {"ttyUSB0", false}, {"ttyUSB0", false}};
        QTest::newRow("no closing bracket") << std::vector<TPortDevice>{{"Broken (ttyUSB0", {}, {}}}
                                            << std::vector<TPortItem>{{"", false}};
        QTest::newRow("no port in brackets")
            << std::vector<TPortDevice>{{"Modem (usb)", {}, {}}, {"No brackets ttyUSB0", {}, {}}}
            << std::vector<TPortItem>{};
        QTest::newRow("port named by its path")
            << std::vector<TPortDevice>{{"Extra (/dev/pts/3)", {}, {}}}
            << std::vector<TPortItem>{{"/dev/pts/3", false}};
    }
    void portItems() {
        QFETCH(std::vector<TPortDevice>, devices);
        QFETCH(std::vector<TPortItem>, items);
        QVERIFY(app::PortItems(devices) == items);
    }

    void fillPortList_typedTextStaysAndIsNotReported() {
        app::TPortCombo combo;
        combo.setEditable(true);
        combo.addItem(QStringLiteral("stale"));
        combo.setEditText(QStringLiteral("/tmp/typed"));
        int changes = 0;
        connect(&combo, &QComboBox::currentTextChanged, this, [&changes] { ++changes; });
        app::FillPortList(&combo);
        QCOMPARE(combo.currentText(), QStringLiteral("/tmp/typed"));
        QCOMPARE(combo.findText(QStringLiteral("stale")), -1);
        QCOMPARE(changes, 0);
    }

    void readSetting_missingOrEmpty_storesDefault() {
        QCOMPARE(app::ReadSetting(QStringLiteral("comportname"), QStringLiteral("ttyUSB0")),
                 QStringLiteral("ttyUSB0"));
        QCOMPARE(app::ReadSetting(QStringLiteral("comportname"), QStringLiteral("other")),
                 QStringLiteral("ttyUSB0"));
        app::WriteSetting(QStringLiteral("filepath"), QString());
        QCOMPARE(app::ReadSetting(QStringLiteral("filepath"), QStringLiteral("/a/")),
                 QStringLiteral("/a/"));
    }

    void adapterGapFromEnvironment_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("gapMs");
        QTest::newRow("unset: the link's own") << QByteArray() << 77;
        QTest::newRow("0: a line without an adapter") << QByteArray("0") << 0;
        QTest::newRow("the longest quiet wait") << QByteArray("3000") << 3000;
        QTest::newRow("past the longest quiet wait: ignored") << QByteArray("3001") << 77;
        QTest::newRow("negative: ignored") << QByteArray("-5") << 77;
        QTest::newRow("not a number: ignored") << QByteArray("fast") << 77;
    }
    void adapterGapFromEnvironment() {
        QFETCH(QByteArray, value);
        QFETCH(int, gapMs);
        serial::TNonVisComp link;
        link.adapterQuietGap = std::chrono::milliseconds(77);
        if (value.isNull())
            qunsetenv(app::AdapterGapVariable);
        else
            qputenv(app::AdapterGapVariable, value);
        app::ApplyAdapterGapFromEnvironment(link);
        qunsetenv(app::AdapterGapVariable);
        QCOMPARE(link.adapterQuietGap.count(), gapMs);
    }

    void firstStart_defaultPortStoredAndApplied() {
        app::TMainForm form;
        QCOMPARE(form.cbbPorts->currentText(), QStringLiteral("ttyUSB0"));
        QCOMPARE(PortName(), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(app::ReadSetting(QStringLiteral("comportname"), QString()),
                 QStringLiteral("ttyUSB0"));
    }

    void storedTextNamingNoPort_shownButPortKept() {
        serial::TNonVisComp::Instance().comport.SetPortName(QStringLiteral("/dev/ttyS7"));
        app::WriteSetting(QStringLiteral("comportname"), QStringLiteral("COM3"));
        app::TMainForm form;
        QCOMPARE(form.cbbPorts->currentText(), QStringLiteral("COM3"));
        QCOMPARE(PortName(), QStringLiteral("/dev/ttyS7"));
    }

    void portChange_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("port");
        QTest::newRow("name") << "ttyACM1"
                              << "/dev/ttyACM1";
        QTest::newRow("path") << "/tmp/sim/ttyX"
                              << "/tmp/sim/ttyX";
        QTest::newRow("not a port") << "abc"
                                    << "/dev/ttyS7";
    }
    void portChange() {
        QFETCH(QString, text);
        QFETCH(QString, port);
        app::TMainForm form;
        serial::TNonVisComp::Instance().comport.SetPortName(QStringLiteral("/dev/ttyS7"));
        form.cbbPorts->setEditText(text);
        QCOMPARE(PortName(), port);
        QCOMPARE(app::ReadSetting(QStringLiteral("comportname"), QString()), text);
    }

    void errorEscapingHandler_shownAndProgramGoesOn() {
        testing::TRecordingDialogs dialogs;
        device::SetDialogs(&dialogs);
        TThrowing thrower;
        QEvent event(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &event);
        device::SetDialogs(nullptr);
        QCOMPARE(dialogs.messages.size(), std::size_t(1));
        QCOMPARE(dialogs.messages[0].kind, device::TMessageKind::Error);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("TolmarikProg"));
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("Файл поврежден"));
    }
};

TOLMARIK_GUI_TEST_MAIN(TestSetup)
#include "tst_setup.moc"
