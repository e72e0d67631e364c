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

    void replyModel_shortFrame_unknown() {
        const std::uint8_t rx[8] = {0x7E, 0x08, 0x64, 0x00, 0x64, 0x00, 0, 0};
        QCOMPARE(int(ReplyModel(rx)), 0);
    }
};

QTEST_APPLESS_MAIN(TestFrames)
#include "tst_frames.moc"
