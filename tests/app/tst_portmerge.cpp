// The port list on Windows: the device-setup interface's devices merged with
// the registry's map of serial ports, one row per port.
#include <QTest>

#include "app/SetupAPI.h"

using app::TPortDevice;
using app::TRegistryPort;

namespace {

// "\Device\Serial0=COM1" as a registry value.
std::vector<TRegistryPort> Registry(const QStringList& values) {
    std::vector<TRegistryPort> ports;
    for (const QString& value : values)
        ports.push_back(
            {value.section(QLatin1Char('='), 0, 0), value.section(QLatin1Char('='), 1)});
    return ports;
}

std::vector<TPortDevice> Devices(const QStringList& names) {
    std::vector<TPortDevice> devices;
    for (const QString& name : names) devices.push_back({name, 0x1A86, 0x7523});
    return devices;
}

}  // namespace

class TestPortMerge : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void merged_onePerPort_data() {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QStringList>("registry");
        QTest::addColumn<QStringList>("merged");
        const QString ch340 = QStringLiteral("USB-SERIAL CH340 (COM3)");
        QTest::newRow("neither lists a port") << QStringList{} << QStringList{} << QStringList{};
        QTest::newRow("the device-setup interface alone")
            << QStringList{ch340} << QStringList{} << QStringList{ch340};
        QTest::newRow("the registry alone, as under Wine")
            << QStringList{} << QStringList{"\\Device\\Serial0=COM1", "COM7=COM7"}
            << QStringList{"Serial0 (COM1)", "COM7 (COM7)"};
        QTest::newRow("a port in both is the device's row")
            << QStringList{ch340} << QStringList{"\\Device\\wchser0=COM3"} << QStringList{ch340};
        QTest::newRow("names compared without case")
            << QStringList{ch340} << QStringList{"\\Device\\wchser0=com3"} << QStringList{ch340};
        QTest::newRow("a driver's port only in the registry comes after")
            << QStringList{ch340} << QStringList{"\\Device\\VCP0=COM4", "\\Device\\wchser0=COM3"}
            << QStringList{ch340, "VCP0 (COM4)"};
        QTest::newRow("registry ports by number, COM2 before COM10")
            << QStringList{}
            << QStringList{"\\Device\\Serial9=COM10", "\\Device\\Serial1=COM2",
                           "\\Device\\Serial0=COM1"}
            << QStringList{"Serial0 (COM1)", "Serial1 (COM2)", "Serial9 (COM10)"};
        QTest::newRow("a port named twice in the registry is one row")
            << QStringList{} << QStringList{"\\Device\\A=COM5", "\\Device\\B=COM5"}
            << QStringList{"A (COM5)"};
        QTest::newRow("an empty port name and spaces around one")
            << QStringList{} << QStringList{"\\Device\\Empty=", "\\Device\\X= COM6 "}
            << QStringList{"X (COM6)"};
        QTest::newRow("a device name without a last part")
            << QStringList{} << QStringList{"\\Device\\=COM8"} << QStringList{"COM8 (COM8)"};
        QTest::newRow("a device without a port name stays, and hides none")
            << QStringList{"Bluetooth link"} << QStringList{"\\Device\\BthModem0=COM9"}
            << QStringList{"Bluetooth link", "BthModem0 (COM9)"};
    }

    void merged_onePerPort() {
        QFETCH(QStringList, devices);
        QFETCH(QStringList, registry);
        QFETCH(QStringList, merged);
        const std::vector<TPortDevice> got =
            app::MergeRegistryPorts(Devices(devices), Registry(registry));
        QStringList names;
        for (const TPortDevice& device : got) names << device.name;
        QCOMPARE(names, merged);
        // The device-setup interface's rows keep their USB ids; the registry has none.
        for (const TPortDevice& device : got)
            QCOMPARE(device.vendorId.has_value(), devices.contains(device.name));
    }
};

QTEST_GUILESS_MAIN(TestPortMerge)
#include "tst_portmerge.moc"
