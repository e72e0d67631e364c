#include <QTest>

#include "serial/BCC.h"

using serial::Crc8;

class TestBcc : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void table_telltaleEntries_matchPolynomial() {
        QCOMPARE(serial::Crc8Table[0], 0x00);
        QCOMPARE(serial::Crc8Table[1], 0x64);
        QCOMPARE(serial::Crc8Table[2], 0xC8);
        QCOMPARE(serial::Crc8Table[0x80], 0xB8);
        QCOMPARE(serial::Crc8Table[0xFF], 0x23);
    }

    void crc8_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty") << QByteArray() << 0x00;
        QTest::newRow("single 01") << QByteArray("\x01", 1) << 0x64;
        QTest::newRow("check string") << QByteArray("123456789") << 0x56;
        QTest::newRow("abc") << QByteArray("abc") << 0x87;
        QTest::newRow("identify request") << QByteArray::fromHex("7e0a520100000000") + QByteArray(1, 0)
                                          << 0xE3;
        QTest::newRow("identify after page 64")
            << QByteArray::fromHex("7e0a520100400000") + QByteArray(1, 0) << 0x07;
    }
    void crc8() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, expected);
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        QCOMPARE(int(Crc8(data, int(bytes.size()) - 1, int(bytes.size()))), expected);
    }

    void crc8_countBeyondHighIndex_staysInsideArray() {
        const std::uint8_t data[3] = {'a', 'b', 'c'};
        QCOMPARE(int(Crc8(data, 2, 100)), 0x87);
        QCOMPARE(int(Crc8(data, 2, -5)), 0);
    }
};

QTEST_APPLESS_MAIN(TestBcc)
#include "tst_bcc.moc"
