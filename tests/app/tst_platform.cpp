// The application's platform calls, on whichever platform the suite is built
// for (under Wine for Windows): the About box's data (on Windows read back
// from this executable, which carries the program's resource script), the
// caption form of a path, the port list's reading of the system's device
// names, the test for a present port.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "app/AboutUnit.h"
#include "app/BuildInfo.h"
#include "app/SetupAPI.h"
#include "app/ShortPath.h"
#include "serial/PortPlatform.h"

using app::TPortDevice;
using app::TPortItem;

Q_DECLARE_METATYPE(std::vector<TPortDevice>)
Q_DECLARE_METATYPE(std::vector<TPortItem>)

namespace {
// "name (<prefix>tail)": a device name as this platform's system gives it.
TPortDevice Device(const char* name, const char* tail, std::optional<quint16> vendor = {}) {
    const QString port =
        QString::fromLatin1(serial::platform::PortNamePrefix()) + QLatin1String(tail);
    return {app::DeviceName(QString::fromUtf8(name), port), vendor, std::nullopt};
}
QString Port(const char* tail) {
    return QString::fromLatin1(serial::platform::PortNamePrefix()) + QLatin1String(tail);
}
}  // namespace

class TestPlatform : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void versionInfo_theProjectsOwn() {
        const app::TVersionInfo info = app::ProgramVersionInfo();
        QCOMPARE(info.productName, QStringLiteral("TolmarikProg"));
        QCOMPARE(info.fileVersion, app::ProgramVersion());
        QCOMPARE(info.companyName, QStringLiteral(TOLMARIK_COMPANY_NAME));
        QCOMPARE(info.author, QStringLiteral(TOLMARIK_AUTHOR));
        QCOMPARE(info.fileVersion.count(QLatin1Char('.')), 3);
    }

    void captionPath_existingLongName_sameFileInPlatformForm() {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString folder = root.filePath(QStringLiteral("Настройки прибора 2024"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/Полёт над морем.bcf");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write("this very file") == 14);
        file.close();
        const QString caption = app::CaptionPath(path);
#ifdef Q_OS_WIN
        // The short form where the volume has one: every part of the name
        // within 8.3, and the same file behind it.
        QFile shortFile(caption);
        QVERIFY2(shortFile.open(QIODevice::ReadOnly), qPrintable(caption));
        QCOMPARE(shortFile.readAll(), QByteArray("this very file"));
        if (caption != QDir::toNativeSeparators(path)) {
            const QString name = caption.section(QLatin1Char('\\'), -1);
            const QString folder = caption.section(QLatin1Char('\\'), -2, -2);
            for (const QString& part : {name, folder})
                QVERIFY2(part.section(QLatin1Char('.'), 0, 0).size() <= 8 &&
                             part.section(QLatin1Char('.'), 1).size() <= 3 &&
                             !part.contains(QLatin1Char(' ')),
                         qPrintable(caption));
        }
#else
        QCOMPARE(caption, path);
#endif
    }

    void captionPath_missingFile_longFormShown() {
        const QString path =
            QDir::tempPath() + QStringLiteral("/нет такой папки/Файл настроек.bcf");
        QCOMPARE(app::CaptionPath(path), QDir::toNativeSeparators(path));
    }

    void portItems_systemNames_data() {
        QTest::addColumn<std::vector<TPortDevice>>("devices");
        QTest::addColumn<std::vector<TPortItem>>("items");
        QTest::newRow("adapter chip in the friendly name")
            << std::vector<TPortDevice>{Device("USB-SERIAL CH340", "7")}
            << std::vector<TPortItem>{{Port("7"), true}};
        QTest::newRow("adapter by vendor, plain name, chip in lower case")
            << std::vector<TPortDevice>{Device("USB Serial Device", "4", 0x0483),
                                        Device("Communications Port", "1"),
                                        Device("cp2102 bridge", "12")}
            << std::vector<TPortItem>{{Port("4"), true}, {Port("1"), false}, {Port("12"), false}};
        QTest::newRow("the same port twice, order kept")
            << std::vector<TPortDevice>{Device("B", "5"), Device("A", "3"), Device("A", "3")}
            << std::vector<TPortItem>{{Port("5"), false}, {Port("3"), false}, {Port("3"), false}};
        QTest::newRow("no port in brackets: left out")
            << std::vector<TPortDevice>{{QStringLiteral("ECP Printer Port (LPT1)"), {}, {}}}
            << std::vector<TPortItem>{};
        QTest::newRow("no closing bracket: empty caption")
            << std::vector<TPortDevice>{{QStringLiteral("Broken (") + Port("3"), {}, {}}}
            << std::vector<TPortItem>{{QString(), false}};
    }
    void portItems_systemNames() {
        QFETCH(std::vector<TPortDevice>, devices);
        QFETCH(std::vector<TPortItem>, items);
        QVERIFY(app::PortItems(devices) == items);
    }

    void systemPorts_eachListedDeviceNamesItsPort() {
        // Whatever the machine has (often nothing): every listed name reads.
        for (const TPortItem& item : app::PortItems(app::SystemPortDevices()))
            QVERIFY(!serial::platform::PortPathFromText(item.caption).isEmpty() ||
                    item.caption.isEmpty());
    }

    void portExists_fileYesMissingNo() {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString present = root.filePath(QStringLiteral("порт"));
        QFile file(present);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(app::PortExists(present));
        QVERIFY(!app::PortExists(root.filePath(QStringLiteral("нет"))));
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
