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

    // Each request takes the replies the protocol allows it: its frame kind
    // and length; byte 1 of a long reply is anything at all.
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
        const auto longFrame = [](std::uint8_t byte1, int length) {
            return Frame(FRAME_LONG, byte1, length);
        };
        const QByteArray written = Frame(FRAME_SHORT, CMD_WRITE_CONFIG, 4);

        QTest::newRow("identify: 159, byte 1 its command")
            << identify << longFrame(0x52, 159) << true;
        QTest::newRow("identify: 159, byte 1 zero") << identify << longFrame(0, 159) << true;
        QTest::newRow("identify: bytes after the settings block")
            << identify << longFrame(0xA7, 200) << true;
        QTest::newRow("identify: the companion word cut")
            << identify << longFrame(0x52, 158) << false;
        QTest::newRow("identify: 48-byte statistics") << identify << longFrame(3, 48) << false;
        QTest::newRow("identify: short frame") << identify << Frame(FRAME_SHORT, 0x52, 4) << true;
        QTest::newRow("identify: short frame of any command and length")
            << identify << Frame(FRAME_SHORT, 0x99, 30) << true;
        QTest::newRow("stats: 48") << stats << longFrame(3, 48) << true;
        QTest::newRow("stats: 45, up to its last field") << stats << longFrame(0, 45) << true;
        QTest::newRow("stats: 64, byte 1 random") << stats << longFrame(0xC4, 64) << true;
        QTest::newRow("stats: 44, the distance cut") << stats << longFrame(3, 44) << false;
        QTest::newRow("stats: short frame") << stats << Frame(FRAME_SHORT, 3, 48) << false;
        QTest::newRow("page: 261") << page << longFrame(2, 261) << true;
        QTest::newRow("page: 261, byte 1 random") << page << longFrame(0x7F, 261) << true;
        QTest::newRow("page: 260") << page << longFrame(2, 260) << false;
        QTest::newRow("page: 262") << page << longFrame(2, 262) << false;
        QTest::newRow("page: a sector") << page << longFrame(4, 4101) << false;
        QTest::newRow("sector: 4101, byte 1 zero") << sector << longFrame(0, 4101) << true;
        QTest::newRow("sector: a page") << sector << longFrame(4, 261) << false;
        QTest::newRow("sector: statistics") << sector << longFrame(3, 48) << false;
        QTest::newRow("write: settings written") << write << written << true;
        QTest::newRow("write: short identification")
            << write << Frame(FRAME_SHORT, CMD_IDENTIFY, 4) << false;
        QTest::newRow("write: its command, 5 bytes")
            << write << Frame(FRAME_SHORT, CMD_WRITE_CONFIG, 5) << false;
        QTest::newRow("write: identification") << write << longFrame(0x52, 159) << false;
        QTest::newRow("prepared frame of its own: anything") << unknown << longFrame(3, 48) << true;
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
