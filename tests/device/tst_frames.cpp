// Request bytes and reply checks.
#include <QTest>

#include "device/Frames.h"
#include "serial/BCC.h"
#include "serial/UnitNVC.h"

using namespace device;

namespace {
QByteArray Bytes(const std::uint8_t* p, int n) {
    return QByteArray(reinterpret_cast<const char*>(p), n);
}

// A reply frame with a correct check byte.
std::vector<std::uint8_t> LongReply(std::vector<std::uint8_t> body) {
    std::vector<std::uint8_t> f;
    f.reserve(body.size() + 5);
    f.assign({FRAME_LONG, 0x52, 0, 0});
    f.insert(f.end(), body.begin(), body.end());
    const int length = int(f.size()) + 1;
    f[2] = std::uint8_t(length >> 8);
    f[3] = std::uint8_t(length);
    f.push_back(serial::Crc8(f.data(), int(f.size()) - 1, int(f.size())));
    return f;
}
// A sound frame of any kind, command and length, its body zero.
QByteArray Frame(std::uint8_t header, std::uint8_t command, int length) {
    std::vector<std::uint8_t> f(std::size_t(length), 0);
    f[0] = header;
    if (header == FRAME_SHORT) {
        f[1] = std::uint8_t(length);
        f[2] = command;
    } else {
        f[1] = command;
        f[2] = std::uint8_t(length >> 8);
        f[3] = std::uint8_t(length);
    }
    f.back() = serial::Crc8(f.data(), length - 1, length - 1);
    return Bytes(f.data(), length);
}
}  // namespace

class TestFrames : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void identifyRequest_freshBuffer_endsInE3() {
        std::array<std::uint8_t, 16> tx{};
        BuildIdentifyRequest(tx.data());
        QCOMPARE(Bytes(tx.data(), 10), QByteArray::fromHex("7E0A52010000000000E3"));
    }

    void identifyRequest_afterPage64Read_coversLeftoverAddressBytes() {
        std::array<std::uint8_t, 16> tx{};
        BuildAddressRequest(tx.data(), CMD_READ_PAGE, 64 * 256);
        QCOMPARE(Bytes(tx.data(), 9), QByteArray::fromHex("140200090040000000"));
        BuildIdentifyRequest(tx.data());
        QCOMPARE(Bytes(tx.data(), 10), QByteArray::fromHex("7E0A5201004000000007"));
    }

    void longRequests_leaveUnwrittenBytesAsTheBufferHolds() {
        std::array<std::uint8_t, 16> tx;
        tx.fill(0xCC);
        BuildStatsRequest(tx.data(), 1);
        QCOMPARE(Bytes(tx.data(), 9), QByteArray::fromHex("1403000901CCCCCCCC"));
        BuildAddressRequest(tx.data(), CMD_READ_SECTOR, 0x12345678);
        QCOMPARE(Bytes(tx.data(), 9), QByteArray::fromHex("1404000978563412CC"));
    }

    void writeConfigRequest_shortFrameWithCheckByte() {
        std::array<std::uint8_t, 200> tx{};
        std::array<std::uint8_t, 150> config{};
        config[4] = 3;
        config[149] = 0x5A;
        QCOMPARE(BuildWriteConfigRequest(tx.data(), config.data()), 154);
        QCOMPARE(int(tx[0]), 0x7E);
        QCOMPARE(int(tx[1]), 154);
        QCOMPARE(int(tx[2]), 0x57);
        QCOMPARE(int(tx[7]), 3);
        QCOMPARE(int(tx[152]), 0x5A);
        QVERIFY(FrameCheckOk(tx.data(), 154));
    }

    void frameLength_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<int>("length");
        QTest::newRow("short") << QByteArray::fromHex("7E0A") << 10;
        QTest::newRow("long big-endian") << QByteArray::fromHex("14FF1005") << 0x1005;
        QTest::newRow("long zero") << QByteArray::fromHex("14000000") << 0;
        QTest::newRow("bad header") << QByteArray::fromHex("550A0000") << -1;
    }
    void frameLength() {
        QFETCH(QByteArray, head);
        QFETCH(int, length);
        head.resize(8);
        QCOMPARE(FrameLength(reinterpret_cast<const std::uint8_t*>(head.constData())), length);
    }

    void frameCheck_shortFrameOfLengthOne_fails() {
        const std::uint8_t rx[2] = {0x7E, 0x01};
        QVERIFY(!FrameCheckOk(rx, 1));
    }

    void replyModel_data() {
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<int>("model");
        QTest::newRow("100") << 0x64 << 0x00 << 100;
        QTest::newRow("high byte set") << 0x64 << 0x01 << 0;
        QTest::newRow("not in table") << 0x32 << 0x00 << 0;
        QTest::newRow("zero") << 0x00 << 0x00 << 0;
        QTest::newRow("default model") << 0x01 << 0x00 << 1;
    }
    void replyModel() {
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(int, model);
        const auto reply = LongReply({std::uint8_t(low), std::uint8_t(high), 2, 1});
        QVERIFY(FrameCheckOk(reply.data(), int(reply.size())));
        QCOMPARE(int(ReplyModel(reply.data())), model);
    }

    // Each request takes its own reply only: kind, command and length.
    void replyAnswers_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("answers");
        std::array<std::uint8_t, 160> tx{};
        const auto request = [&tx](int length) { return Bytes(tx.data(), length); };
        BuildIdentifyRequest(tx.data());
        const QByteArray identify = request(IdentifyRequestLength);
        BuildStatsRequest(tx.data(), 0);
        const QByteArray stats = request(LongRequestLength);
        BuildAddressRequest(tx.data(), CMD_READ_PAGE, 0x2000);
        const QByteArray page = request(LongRequestLength);
        BuildAddressRequest(tx.data(), CMD_READ_SECTOR, 0x2000);
        const QByteArray sector = request(LongRequestLength);
        std::array<std::uint8_t, DeviceConfigSize> config{};
        const QByteArray write = request(BuildWriteConfigRequest(tx.data(), config.data()));
        const QByteArray unknown = QByteArray::fromHex("7E0599AA00");

        const QByteArray identifyReply = Frame(FRAME_LONG, CMD_IDENTIFY, 159);
        const QByteArray identifyShort = Frame(FRAME_SHORT, CMD_IDENTIFY, 4);
        const QByteArray statsReply = Frame(FRAME_LONG, CMD_READ_STATS, 48);
        const QByteArray pageReply = Frame(FRAME_LONG, CMD_READ_PAGE, 261);
        const QByteArray sectorReply = Frame(FRAME_LONG, CMD_READ_SECTOR, 4101);
        const QByteArray written = Frame(FRAME_SHORT, CMD_WRITE_CONFIG, 4);

        QTest::newRow("identify: identification") << identify << identifyReply << true;
        QTest::newRow("identify: short identification") << identify << identifyShort << true;
        QTest::newRow("identify: settings written") << identify << written << false;
        QTest::newRow("identify: statistics") << identify << statsReply << false;
        QTest::newRow("identify: its length, command 3")
            << identify << Frame(FRAME_LONG, CMD_READ_STATS, 159) << false;
        QTest::newRow("identify: its command, short frame of 159")
            << identify << Frame(FRAME_SHORT, CMD_IDENTIFY, 159) << false;
        QTest::newRow("stats: statistics") << stats << statsReply << true;
        QTest::newRow("stats: identification") << stats << identifyReply << false;
        QTest::newRow("stats: page") << stats << pageReply << false;
        QTest::newRow("stats: one byte short")
            << stats << Frame(FRAME_LONG, CMD_READ_STATS, 47) << false;
        QTest::newRow("page: page") << page << pageReply << true;
        QTest::newRow("page: sector") << page << sectorReply << false;
        QTest::newRow("page: its length, command 4")
            << page << Frame(FRAME_LONG, CMD_READ_SECTOR, 261) << false;
        QTest::newRow("sector: sector") << sector << sectorReply << true;
        QTest::newRow("sector: page") << sector << pageReply << false;
        QTest::newRow("sector: statistics") << sector << statsReply << false;
        QTest::newRow("write: settings written") << write << written << true;
        QTest::newRow("write: identification") << write << identifyReply << false;
        QTest::newRow("write: short identification") << write << identifyShort << false;
        QTest::newRow("prepared frame of its own: anything") << unknown << statsReply << true;
    }
    void replyAnswers() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, reply);
        QFETCH(bool, answers);
        const auto* rx = reinterpret_cast<const std::uint8_t*>(reply.constData());
        QVERIFY(FrameCheckOk(rx, FrameLength(rx)));
        QCOMPARE(ReplyAnswers(reinterpret_cast<const std::uint8_t*>(request.constData()), rx),
                 answers);
    }

    void replyModel_shortFrame_unknown() {
        const std::uint8_t rx[8] = {0x7E, 0x08, 0x64, 0x00, 0x64, 0x00, 0, 0};
        QCOMPARE(int(ReplyModel(rx)), 0);
    }
};

QTEST_APPLESS_MAIN(TestFrames)
#include "tst_frames.moc"
