// The serial component's properties and rules, and its receive path over a
// pseudo-terminal.
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QTest>
#include <cerrno>
#include <clocale>
#include <thread>

#include "serial/CPDrv.h"
#include "serial/PortPlatform.h"
#include "tests/support/WaitFor.h"

using namespace serial;

namespace {
// A pseudo-terminal whose master stays with the test.
struct Pty {
    int master = -1;
    int slave = -1;
    QString path;
    Pty() {
        char name[128] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            termios t{};
            tcgetattr(master, &t);
            cfmakeraw(&t);
            tcsetattr(master, TCSANOW, &t);
            path = QString::fromLocal8Bit(name);
        }
    }
    ~Pty() {
        if (master >= 0) ::close(master);
        if (slave >= 0) ::close(slave);
    }
};
// Sets the user's locale for the system texts of this test, and restores it.
struct UserLocale {
    QByteArray old = qgetenv("LC_ALL");
    explicit UserLocale(const char* name) { qputenv("LC_ALL", name); }
    ~UserLocale() { qputenv("LC_ALL", old); }
};

int BytesWaiting(int fd) {
    int n = 0;
    ioctl(fd, FIONREAD, &n);
    return n;
}
}  // namespace

class TestCommPortDriver : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void defaults_areTheComponentsOwn() {
        TCommPortDriver port;
        QCOMPARE(port.Port(), pnCOM2);
        QCOMPARE(port.PortName(), QStringLiteral("\\\\.\\COM2"));
        QCOMPARE(port.BaudRate(), br9600);
        QCOMPARE(port.BaudRateValue(), 9600u);
        QCOMPARE(port.HwFlow(), hfNONERTSON);
        QCOMPARE(port.InBufSize(), 2048u);
        QCOMPARE(port.OutBufSize(), 2048u);
        QCOMPARE(port.PacketSize(), std::int16_t(-1));
        QCOMPARE(port.PollingDelay(), std::uint16_t(50));
        QCOMPARE(port.OutputTimeout(), std::uint16_t(500));
        QVERIFY(port.EnableDTROnOpen());
        QVERIFY(!port.Connected());
    }

    void clamps_bufferSizesAndPollingDelay() {
        TCommPortDriver port;
        port.SetPollingDelay(2);
        QCOMPARE(port.PollingDelay(), std::uint16_t(5));
        port.SetInBufSize(100000);
        QCOMPARE(port.InBufSize(), 8192u);
        port.SetOutBufSize(10);
        QCOMPARE(port.OutBufSize(), 128u);
        port.SetInBufSize(5120);
        QCOMPARE(port.XonXoffLimit(), 1280);
    }

    void setPort_closed_namesDevicePath() {
        TCommPortDriver port;
        port.SetPort(pnCOM7);
        QCOMPARE(port.PortName(), QStringLiteral("\\\\.\\COM7"));
        port.SetPortName(QStringLiteral("/dev/ttyS3"));
        QCOMPARE(port.Port(), pnCustom);
        QCOMPARE(port.PortName(), QStringLiteral("/dev/ttyS3"));
    }

    void setBaudRateValue_closed_storedAsCustom() {
        TCommPortDriver port;
        port.SetBaudRateValue(115200);
        QCOMPARE(port.BaudRate(), brCustom);
        QCOMPARE(port.BaudRateValue(), 115200u);
        port.SetBaudRate(br57600);
        QCOMPARE(port.BaudRateValue(), 57600u);
    }

    void closedPort_sendsNothingAndReportsClosedValues() {
        TCommPortDriver port;
        const std::uint8_t bytes[3] = {1, 2, 3};
        QCOMPARE(port.SendData(bytes, 3), 0u);
        QCOMPARE(port.OutFreeSpace(), std::uint16_t(65535));
        QVERIFY(!port.FlushBuffers(true, true));
        QVERIFY(!port.Disconnect());
        QCOMPARE(port.GetLineStatus(), 0u);
    }

    void connect_missingDevice_fails() {
        TCommPortDriver port;
        port.SetPortName(QStringLiteral("/dev/does-not-exist-tolmarik"));
        QVERIFY(!port.Connect());
        QVERIFY(!port.Connected());
    }

    void connect_failure_keepsSystemReason_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing device")
            << "/dev/does-not-exist-tolmarik" << ENOENT << "No such file or directory";
        QTest::newRow("not a terminal")
            << "/dev/null" << ENOTTY << "Inappropriate ioctl for device";
    }
    void connect_failure_keepsSystemReason() {
        QFETCH(QString, path);
        QFETCH(int, code);
        QFETCH(QString, text);
        const UserLocale english("C.UTF-8");
        TCommPortDriver port;
        QVERIFY(port.LastOpenError().IsEmpty());
        port.SetPortName(path);
        QVERIFY(!port.Connect());
        const TPortError error = port.LastOpenError();
        QCOMPARE(error.path, path);
        QCOMPARE(error.code, code);
        QCOMPARE(error.text, text);
    }

    void connect_missingDeviceInRussian_reasonInUsersLanguage() {
        const UserLocale russian("ru_RU.UTF-8");
        locale_t probe = newlocale(LC_ALL_MASK, "", locale_t{});
        if (probe == locale_t{}) QSKIP("the ru_RU.UTF-8 locale is not installed");
        freelocale(probe);
        TCommPortDriver port;
        port.SetPortName(QStringLiteral("/dev/does-not-exist-tolmarik"));
        QVERIFY(!port.Connect());
        QCOMPARE(port.LastOpenError().code, ENOENT);
        QCOMPARE(port.LastOpenError().text, QStringLiteral("Нет такого файла или каталога"));
    }

    void connect_unsupportedRate_closesAndKeepsReason() {
        Pty pty;
        QVERIFY(!pty.path.isEmpty());
        TCommPortDriver port;
        port.SetPortName(pty.path);
        port.SetBaudRateValue(12345);
        QVERIFY(!port.Connect());
        QVERIFY(!port.Connected());
        QCOMPARE(port.LastOpenError().path, pty.path);
        QCOMPARE(port.LastOpenError().code, EINVAL);
    }

    void connect_successAfterFailure_clearsReason() {
        Pty pty;
        QVERIFY(!pty.path.isEmpty());
        TCommPortDriver port;
        port.SetPortName(QStringLiteral("/dev/does-not-exist-tolmarik"));
        QVERIFY(!port.Connect());
        QVERIFY(!port.LastOpenError().IsEmpty());
        port.SetPortName(pty.path);
        port.SetBaudRateValue(115200);
        QVERIFY(port.Connect());
        QVERIFY(port.LastOpenError().IsEmpty());
    }

    void portPathFromText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("path");
        QTest::newRow("usb adapter") << "ttyUSB0"
                                     << "/dev/ttyUSB0";
        QTest::newRow("acm") << "ttyACM3"
                             << "/dev/ttyACM3";
        QTest::newRow("absolute link") << "/tmp/sim/ttyTolmarik"
                                       << "/tmp/sim/ttyTolmarik";
        QTest::newRow("windows name") << "COM1"
                                      << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("word") << "hello"
                              << "";
    }
    void portPathFromText() {
        QFETCH(QString, text);
        QFETCH(QString, path);
        QCOMPARE(platform::PortPathFromText(text), path);
    }

    void openPort_ignoresNameAndBufferChanges_connectTwiceKeepsHandle() {
        Pty pty;
        QVERIFY(!pty.path.isEmpty());
        TCommPortDriver port;
        port.SetPortName(pty.path);
        port.SetBaudRateValue(115200);
        QVERIFY(port.Connect());
        QVERIFY(port.Connect());
        port.SetPortName(QStringLiteral("/dev/null"));
        QCOMPARE(port.PortName(), pty.path);
        port.SetInBufSize(4096);
        QCOMPARE(port.InBufSize(), 2048u);
        port.SetPort(pnCOM5);
        QCOMPARE(port.PortName(), pty.path);
        QVERIFY(port.Disconnect());
        QVERIFY(!port.Connected());
    }

    void receive_bytesArriveThroughPollingTimer() {
        Pty pty;
        TCommPortDriver port;
        port.SetPortName(pty.path);
        port.SetPollingDelay(10);
        QByteArray received;
        port.OnReceiveData = [&](TCommPortDriver* sender, const std::uint8_t* data,
                                 std::uint32_t size) {
            QCOMPARE(sender, &port);
            received.append(reinterpret_cast<const char*>(data), qsizetype(size));
        };
        QVERIFY(port.Connect());
        QCOMPARE(::write(pty.master, "\x7e\x01\x02", 3), 3);
        TRY_COMPARE(received, QByteArray("\x7e\x01\x02"));
        port.Disconnect();
    }

    void send_bytesReachTheOtherSide() {
        Pty pty;
        TCommPortDriver port;
        port.SetPortName(pty.path);
        port.SetOutBufSize(1024);
        QVERIFY(port.Connect());
        std::vector<std::uint8_t> bytes(3000);
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::uint8_t(i * 7);
        QByteArray got;
        // The other side drains while we send, as an instrument would.
        std::thread reader([&] {
            char buf[512];
            while (got.size() < 3000) {
                const ssize_t n = ::read(pty.master, buf, sizeof buf);
                if (n <= 0) break;
                got.append(buf, n);
            }
        });
        QCOMPARE(port.SendData(bytes.data(), 3000), 3000u);
        reader.join();
        QCOMPARE(got, QByteArray(reinterpret_cast<const char*>(bytes.data()), 3000));
    }

    void flush_discardsWaitingInput() {
        Pty pty;
        TCommPortDriver port;
        port.SetPortName(pty.path);
        QByteArray received;
        port.OnReceiveData = [&](TCommPortDriver*, const std::uint8_t* data, std::uint32_t size) {
            received.append(reinterpret_cast<const char*>(data), qsizetype(size));
        };
        port.PausePolling();
        QVERIFY(port.Connect());
        QCOMPARE(::write(pty.master, "stale", 5), 5);
        // The test's own slave descriptor shares the terminal's input queue.
        TRY_COMPARE(BytesWaiting(pty.slave), 5);
        QVERIFY(port.FlushBuffers(true, true));
        port.ResumePolling();
        QCOMPARE(::write(pty.master, "\x14", 1), 1);
        TRY_COMPARE(received, QByteArray("\x14"));
    }

    void packetMode_wholePacketsThenRemainderAfterTimeout() {
        Pty pty;
        TCommPortDriver port;
        port.SetPortName(pty.path);
        port.SetPacketSize(4);
        port.SetPacketTimeout(30);
        port.SetPacketMode(pmPass);
        std::vector<QByteArray> packets;
        port.OnReceivePacket = [&](TCommPortDriver*, const std::uint8_t* data, std::uint32_t size) {
            packets.emplace_back(reinterpret_cast<const char*>(data), qsizetype(size));
        };
        port.PausePolling();  // the first tick must see all ten bytes
        QVERIFY(port.Connect());
        QCOMPARE(::write(pty.master, "abcdefghij", 10), 10);
        TRY_COMPARE(BytesWaiting(pty.slave), 10);
        port.ResumePolling();
        port.PollOnce();
        QCOMPARE(packets, (std::vector<QByteArray>{"abcd", "efgh"}));
        // The short remainder is passed on once its time-out has run out.
        TRY_COMPARE(packets.size(), std::size_t(3));
        QCOMPARE(packets.back(), QByteArray("ij"));
    }

    void hangUp_readFailsWithoutDelivering() {
        auto pty = std::make_unique<Pty>();
        TCommPortDriver port;
        port.SetPortName(pty->path);
        port.SetPollingDelay(5);
        int calls = 0;
        port.OnReceiveData = [&](TCommPortDriver*, const std::uint8_t*, std::uint32_t) { ++calls; };
        QVERIFY(port.Connect());
        ::close(pty->master);
        pty->master = -1;
        for (int i = 0; i < 20; ++i) port.PollOnce();
        QCOMPARE(calls, 0);
        const std::uint8_t byte = 0x7E;
        QCOMPARE(port.SendDataEx(&byte, 1, 20), 0u);
        QVERIFY(port.Disconnect());
    }
};

QTEST_GUILESS_MAIN(TestCommPortDriver)
#include "tst_commportdriver.moc"
