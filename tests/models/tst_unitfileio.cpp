#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>

#include "device/AppError.h"
#include "models/UnitFileIO.h"
#include "serial/BCC.h"

using namespace models;

namespace {
// What the system says when the missing file at `path` is opened: the C
// library's text on POSIX systems, the system's own message on Windows.
QString MissingFileReason(const QString& path) {
#ifdef Q_OS_WIN
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.errorString();
#else
    Q_UNUSED(path);
    return QString::fromLocal8Bit(std::strerror(ENOENT));
#endif
}

const QString kDamaged = QStringLiteral("Файл поврежден");
const QString kVersion = QStringLiteral("Версия файла не поддерживается");

QByteArray DefaultConfig() {
    QByteArray config(150, '\0');
    config[4] = 3;
    return config;
}

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

// Appends the check byte over everything before it.
QByteArray WithCheck(QByteArray body) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(body.constData());
    body.append(char(serial::Crc8(p, int(body.size()) - 1, int(body.size()))));
    return body;
}

QByteArray SettingsFile(const char* header, char check) {
    return Hex(header) + DefaultConfig() + QByteArray(1, check);
}
}  // namespace

class TestUnitFileIO : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString Write(const QByteArray& bytes, const QString& name = QStringLiteral("f.bcf")) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
        return path;
    }

    // The error text of loading `bytes`, or an empty string when it loads.
    QString LoadError(const QByteArray& bytes) {
        TFileIOSaver saver(0);
        try {
            saver.LoadFile(Write(bytes));
        } catch (const device::TAppError& e) {
            return e.Text();
        }
        return {};
    }

  private Q_SLOTS:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    // --- loading ---

    void load_validFile_returnsModel_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("model");
        QTest::newRow("empty block") << Hex("01000100 00c7") << 1;
        QTest::newRow("settings of model 100") << SettingsFile("0100640096", 0x42) << 100;
        QTest::newRow("settings of model 1") << SettingsFile("0100010096", 0x65) << 1;
        QTest::newRow("model 50, not a device") << WithCheck(Hex("0100320000")) << 50;
        QTest::newRow("model 105") << WithCheck(Hex("0100690000")) << 105;
    }
    void load_validFile_returnsModel() {
        QFETCH(QByteArray, file);
        QFETCH(int, model);
        TFileIOSaver saver(0);
        QCOMPARE(int(saver.LoadFile(Write(file))), model);
        QCOMPARE(saver.Pos, 4);
    }

    void load_badFile_refusedWithText_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray() << kDamaged;
        QTest::newRow("4 bytes") << Hex("01000100") << kDamaged;
        QTest::newRow("version 2, right check") << WithCheck(Hex("0200010000")) << kVersion;
        QTest::newRow("version 2, wrong check") << Hex("020001000000") << kVersion;
        QTest::newRow("wrong check") << Hex("01000100 00c8") << kDamaged;
        QTest::newRow("model 0") << WithCheck(Hex("0100000000")) << kDamaged;
        QTest::newRow("model 106") << WithCheck(Hex("01006a0000")) << kDamaged;
        QTest::newRow("model 356, low byte 100") << WithCheck(Hex("0101640000")) << kDamaged;
    }
    void load_badFile_refusedWithText() {
        QFETCH(QByteArray, file);
        QFETCH(QString, text);
        QCOMPARE(LoadError(file), text);
    }

    void load_anyBitFlippedPastFirstByte_damaged() {
        const QByteArray good = SettingsFile("0100640096", 0x42);
        QCOMPARE(LoadError(good), QString());
        for (int i = 1; i < good.size(); ++i) {
            for (int bit = 0; bit < 8; ++bit) {
                QByteArray bad = good;
                bad[i] = char(bad[i] ^ (1 << bit));
                QVERIFY2(LoadError(bad) == kDamaged,
                         qPrintable(QStringLiteral("byte %1 bit %2").arg(i).arg(bit)));
            }
        }
    }

    void load_longFile_judgedByFirst4096Bytes() {
        QByteArray first = Hex("0100640000");
        first.append(QByteArray(4095 - first.size(), '\x5a'));
        first = WithCheck(first);  // the check byte at offset 4095
        QCOMPARE(LoadError(first + QByteArray(1000, '\x77')), QString());

        // Checked over the whole file instead, it is damaged.
        const QByteArray whole = WithCheck(first.left(4095) + QByteArray(1001, '\x77'));
        QCOMPARE(LoadError(whole), kDamaged);
    }

    void load_missingFile_systemMessageNamingFile() {
        TFileIOSaver saver(0);
        const QString path = dir_.filePath(QStringLiteral("absent.bcf"));
        try {
            saver.LoadFile(path);
            QFAIL("loaded a missing file");
        } catch (const device::TAppError& e) {
            QVERIFY2(e.Text().contains(MissingFileReason(path)) &&
                         e.Text().contains(QDir::toNativeSeparators(path)),
                     qPrintable(e.Text()));
        }
    }

    // Opening a FIFO for reading would wait for a writer for ever.
    void load_fifoOrDevice_refusedWithoutBlocking_data() {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("fifo") << true;
        QTest::newRow("character device") << false;
    }
    void load_fifoOrDevice_refusedWithoutBlocking() {
#ifdef Q_OS_WIN
        QSKIP("Windows has neither FIFOs nor character devices among its files");
#else
        QFETCH(bool, fifo);
        QString path = QStringLiteral("/dev/null");
        if (fifo) {
            path = dir_.filePath(QStringLiteral("pipe.bcf"));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        }
        TFileIOSaver saver(0);
        try {
            saver.LoadFile(path);
            QFAIL("loaded a special file");
        } catch (const device::TAppError& e) {
            QVERIFY2(e.Text().contains(path) && e.Text() != kDamaged, qPrintable(e.Text()));
        }
#endif
    }

    void load_directory_refusedWithSystemMessage() {
        TFileIOSaver saver(0);
        try {
            saver.LoadFile(dir_.path());
            QFAIL("loaded a directory");
        } catch (const device::TAppError& e) {
            QVERIFY2(!e.Text().isEmpty() && e.Text() != kDamaged, qPrintable(e.Text()));
        }
    }

    void load_refusedFile_leavesEarlierFileInPlace() {
        QByteArray config = DefaultConfig();
        config[0] = 'x';
        TFileIOSaver saver(0);
        QCOMPARE(int(saver.LoadFile(Write(BuildConfigFile(
                     101, reinterpret_cast<const std::uint8_t*>(config.constData()))))),
                 101);
        QVERIFY_THROWS_EXCEPTION(device::TAppError, saver.LoadFile(Write(Hex("0100000000ff"))));
        QByteArray block(150, '\0');
        QCOMPARE(saver.ReadBlock(reinterpret_cast<std::uint8_t*>(block.data()), 150), 150);
        QCOMPARE(block, config);
    }

    // --- blocks ---

    void readBlock_settingsFile_yieldsExactSettings() {
        TFileIOSaver saver(0);
        QCOMPARE(int(saver.LoadFile(Write(SettingsFile("0100640096", 0x42)))), 100);
        QByteArray block(150, '\x55');
        QCOMPARE(saver.ReadBlock(reinterpret_cast<std::uint8_t*>(block.data()), 150), 150);
        QCOMPARE(block, DefaultConfig());
    }

    void readBlock_lengthOtherThanExpected_zeroAndDestUntouched_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty block") << Hex("01000100 00c7");
        QTest::newRow("149 bytes") << WithCheck(Hex("0100640095") + QByteArray(149, '\1'));
        QTest::newRow("151 bytes") << WithCheck(Hex("0100640097") + QByteArray(151, '\1'));
    }
    void readBlock_lengthOtherThanExpected_zeroAndDestUntouched() {
        QFETCH(QByteArray, file);
        TFileIOSaver saver(0);
        saver.LoadFile(Write(file));
        QByteArray block(150, '\x55');
        QCOMPARE(saver.ReadBlock(reinterpret_cast<std::uint8_t*>(block.data()), 150), 0);
        QCOMPARE(block, QByteArray(150, '\x55'));
    }

    void readBlock_shortFile_bytesPastEndReadAsZero() {
        const QByteArray file = WithCheck(Hex("0100640096"));
        TFileIOSaver saver(0);
        saver.LoadFile(Write(file));
        QByteArray block(150, '\x55');
        QCOMPARE(saver.ReadBlock(reinterpret_cast<std::uint8_t*>(block.data()), 150), 150);
        QByteArray expected(150, '\0');
        expected[0] = file[5];  // the check byte
        QCOMPARE(block, expected);
    }

    void readBlock_anyLength_boundedBy4096Bytes_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("returned");
        QTest::newRow("ends on the last byte") << 4091 << 4091;
        QTest::newRow("one byte past") << 4092 << 0;
        QTest::newRow("largest length") << 65535 << 0;
    }
    void readBlock_anyLength_boundedBy4096Bytes() {
        QFETCH(int, length);
        QFETCH(int, returned);
        QByteArray body =
            Hex("010064") + QByteArray(1, char(length >> 8)) + QByteArray(1, char(length & 0xff));
        body.append(QByteArray(4095 - body.size(), '\x33'));
        TFileIOSaver saver(0);
        saver.LoadFile(Write(WithCheck(body)));
        QByteArray block(4100, '\x55');
        QCOMPARE(saver.ReadBlock(reinterpret_cast<std::uint8_t*>(block.data()), 0), returned);
        if (returned == 0)
            QCOMPARE(block, QByteArray(4100, '\x55'));
        else
            QCOMPARE(block.left(returned - 1), QByteArray(returned - 1, '\x33'));
    }

    void readBlock_lengthFieldPastBuffer_zero() {
        TFileIOSaver saver(1);
        saver.Data[4096] = 1;
        saver.Pos = 4096;
        std::uint8_t byte = 0x55;
        QCOMPARE(saver.ReadBlock(&byte, 0), 0);
        QCOMPARE(byte, std::uint8_t(0x55));
    }

    // --- saving ---

    void build_defaultSettings_matchKnownFile() {
        const QByteArray config = DefaultConfig();
        QCOMPARE(BuildConfigFile(100, reinterpret_cast<const std::uint8_t*>(config.constData())),
                 SettingsFile("0100640096", 0x42));
    }

    void save_thenLoad_sameModelAndSettings() {
        QByteArray config(150, '\0');
        for (int i = 0; i < config.size(); ++i) config[i] = char(i * 7 + 1);
        const QString path = dir_.filePath(QStringLiteral("saved.bcf"));
        SaveConfigFile(path, 103, reinterpret_cast<const std::uint8_t*>(config.constData()));
        QCOMPARE(QFileInfo(path).size(), 156);

        TFileIOSaver saver(0);
        QCOMPARE(int(saver.LoadFile(path)), 103);
        QByteArray block(150, '\0');
        QCOMPARE(saver.ReadBlock(reinterpret_cast<std::uint8_t*>(block.data()), 150), 150);
        QCOMPARE(block, config);
    }

    void save_impossibleTarget_errorNamesFile_existingUntouched() {
        const QString plain = Write("keep me", QStringLiteral("plain.bcf"));
        const QString subDir = dir_.filePath(QStringLiteral("adir.bcf"));
        QVERIFY(QDir().mkpath(subDir));
        const QByteArray config = DefaultConfig();
        for (const QString& target : {plain + QStringLiteral("/under.bcf"), subDir}) {
            try {
                SaveConfigFile(target, 1,
                               reinterpret_cast<const std::uint8_t*>(config.constData()));
                QFAIL(qPrintable(QStringLiteral("saved to ") + target));
            } catch (const device::TAppError& e) {
                QVERIFY2(e.Text().contains(QDir::toNativeSeparators(target)), qPrintable(e.Text()));
            }
        }
        QFile file(plain);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep me"));
        QVERIFY(QFileInfo(subDir).isDir());
    }
};

QTEST_APPLESS_MAIN(TestUnitFileIO)
#include "tst_unitfileio.moc"
