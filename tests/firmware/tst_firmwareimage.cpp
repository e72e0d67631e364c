#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <vector>

#include "firmware/FirmwareImage.h"

using namespace firmware;

Q_DECLARE_METATYPE(firmware::LoadResult)

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
// A canary beyond the capacity shows any write past it.
constexpr std::uint8_t kCanary = 0xA5;

struct Parsed {
    LoadOutcome outcome;
    QByteArray image;  // the first outcome.length bytes
    bool canaryIntact = true;
};

Parsed Parse(const QByteArray& text, int capacity) {
    std::vector<std::uint8_t> buffer(std::size_t(capacity) + 16, kCanary);
    Parsed p;
    p.outcome = ParseFirmwareText(text, buffer.data(), capacity);
    p.image = QByteArray(reinterpret_cast<const char*>(buffer.data()), p.outcome.length);
    for (std::size_t i = std::size_t(capacity); i < buffer.size(); ++i)
        p.canaryIntact = p.canaryIntact && buffer[i] == kCanary;
    return p;
}
}  // namespace

class TestFirmwareImage : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

  private Q_SLOTS:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void parse_text_outcome_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<LoadResult>("result");
        QTest::addColumn<QByteArray>("image");

        const auto ok = LoadResult::Ok;
        QTest::newRow("empty") << QByteArray() << 16 << ok << QByteArray();
        QTest::newRow("one block")
            << QByteArray("0003AABBCC") << 16 << ok << QByteArray::fromHex("0003aabbcc");
        QTest::newRow("several blocks, one empty") << QByteArray("0001ff00000002a0b1") << 16 << ok
                                                   << QByteArray::fromHex("0001ff00000002a0b1");
        QTest::newRow("exactly the capacity")
            << QByteArray("0002abcd") << 4 << ok << QByteArray::fromHex("0002abcd");
        QTest::newRow("odd count")
            << QByteArray("0003AABBC") << 16 << LoadResult::NotHex << QByteArray();
        QTest::newRow("trailing line break")
            << QByteArray("0003AABBCC\n") << 16 << LoadResult::NotHex << QByteArray();
        QTest::newRow("non-hex character")
            << QByteArray("0003AAgBCC") << 16 << LoadResult::NotHex << QByteArray();
        QTest::newRow("one byte too many")
            << QByteArray("0003aabbcc") << 4 << LoadResult::TooLarge << QByteArray();
        QTest::newRow("nothing fits")
            << QByteArray("00") << 0 << LoadResult::TooLarge << QByteArray();
        QTest::newRow("count past the end")
            << QByteArray("0004aabbcc") << 16 << LoadResult::BrokenChain << QByteArray();
        QTest::newRow("count short of the end")
            << QByteArray("0002aabbcc") << 16 << LoadResult::BrokenChain << QByteArray();
        QTest::newRow("one-byte tail")
            << QByteArray("0001aa00") << 16 << LoadResult::BrokenChain << QByteArray();
    }
    void parse_text_outcome() {
        QFETCH(QByteArray, text);
        QFETCH(int, capacity);
        QFETCH(LoadResult, result);
        QFETCH(QByteArray, image);
        const Parsed p = Parse(text, capacity);
        QCOMPARE(p.outcome.result, result);
        QVERIFY(p.canaryIntact);
        if (result == LoadResult::Ok) {
            QCOMPARE(p.outcome.length, image.size());
            QCOMPARE(p.image, image);
        }
    }

    void parse_upperAndLowerCase_sameImage() {
        const Parsed upper = Parse("0006ABCDEF0A1B2C", 16);
        const Parsed lower = Parse("0006abcdef0a1b2c", 16);
        QCOMPARE(upper.outcome.result, LoadResult::Ok);
        QCOMPARE(lower.outcome.result, LoadResult::Ok);
        QCOMPARE(upper.image, lower.image);
        QCOMPARE(upper.image, QByteArray::fromHex("0006abcdef0a1b2c"));
    }

    void chain_images_wholeOrNot_data() {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<bool>("whole");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("empty block") << QByteArray::fromHex("0000") << true;
        QTest::newRow("largest count, short image") << QByteArray::fromHex("ffff00") << false;
        QTest::newRow("count cut in half") << QByteArray::fromHex("000100ff") << false;
    }
    void chain_images_wholeOrNot() {
        QFETCH(QByteArray, image);
        QFETCH(bool, whole);
        QCOMPARE(device::BlockChainIsWhole(reinterpret_cast<const std::uint8_t*>(image.constData()),
                                           int(image.size())),
                 whole);
    }

    void load_file_parsedLikeText() {
        const QString path = dir_.filePath(QStringLiteral("fw.enc"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("0002beef0000");
        file.close();
        std::uint8_t buffer[8] = {};
        const LoadOutcome outcome = LoadFirmwareFile(path, buffer, 8);
        QCOMPARE(outcome.result, LoadResult::Ok);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(buffer), outcome.length),
                 QByteArray::fromHex("0002beef0000"));
    }

    // Sending an empty image would report an update that never happened.
    void load_emptyFile_refusedBeforeTransfer() {
        const QString path = dir_.filePath(QStringLiteral("empty.enc"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        std::uint8_t byte = 0;
        const LoadOutcome outcome = LoadFirmwareFile(path, &byte, 1);
        QCOMPARE(outcome.result, LoadResult::Empty);
        QVERIFY(!LoadRefusalText(outcome).isEmpty());
    }

    void load_fifoOrFolder_refusedWithoutBlocking_data() {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("fifo") << true;
        QTest::newRow("folder") << false;
    }
    void load_fifoOrFolder_refusedWithoutBlocking() {
        QFETCH(bool, fifo);
        const QString path =
            dir_.filePath(fifo ? QStringLiteral("fifo.enc") : QStringLiteral("folder.enc"));
        if (fifo) {
#ifdef Q_OS_WIN
            QSKIP("Windows has no FIFOs among its files");
#else
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
        } else
            QVERIFY(QDir().mkpath(path));
        std::uint8_t byte = 0;
        const LoadOutcome outcome = LoadFirmwareFile(path, &byte, 1);
        QCOMPARE(outcome.result, LoadResult::CannotOpen);
        QVERIFY2(LoadRefusalText(outcome).contains(QDir::toNativeSeparators(path)),
                 qPrintable(LoadRefusalText(outcome)));
    }

    void load_fileLargerThanCapacity_tooLarge() {
        const QString path = dir_.filePath(QStringLiteral("big.enc"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(10000, 'a'));
        file.close();
        std::vector<std::uint8_t> buffer(64 + 16, kCanary);
        QCOMPARE(LoadFirmwareFile(path, buffer.data(), 64).result, LoadResult::TooLarge);
        for (std::size_t i = 64; i < buffer.size(); ++i) QCOMPARE(buffer[i], kCanary);
    }

    void load_missingFile_cannotOpenWithSystemReason() {
        std::uint8_t byte = 0;
        const QString path = dir_.filePath(QStringLiteral("absent.enc"));
        const LoadOutcome outcome = LoadFirmwareFile(path, &byte, 1);
        QCOMPARE(outcome.result, LoadResult::CannotOpen);
        QVERIFY2(outcome.systemReason.contains(MissingFileReason(path)),
                 qPrintable(outcome.systemReason));
    }
};

QTEST_APPLESS_MAIN(TestFirmwareImage)
#include "tst_firmwareimage.moc"
