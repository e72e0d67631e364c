// The track memory builder puts every byte where the layout says.
#include <QTest>
#include <cstring>

#include "sim/TrackMemory.h"

using Bytes = std::vector<std::uint8_t>;

namespace {
int U16(const Bytes& m, std::size_t at) { return m[at] | m[at + 1] << 8; }
float F32(const Bytes& m, std::size_t at) {
    const std::uint32_t bits = std::uint32_t(m[at]) | std::uint32_t(m[at + 1]) << 8 |
                               std::uint32_t(m[at + 2]) << 16 | std::uint32_t(m[at + 3]) << 24;
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}
}  // namespace

class TestTrackMemory : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void beginSector_headerFieldsAndErasedRest() {
        sim::TTrackMemoryBuilder b;
        b.BeginSector(3, 0x1234, 2024, 6, 7, 9, 5, 59);
        const Bytes m = b.Memory();
        QCOMPARE(m.size(), std::size_t(4 * 4096));
        const std::size_t s = 3 * 4096;
        QCOMPARE(U16(m, s + 4), 0x1234);
        QCOMPARE(U16(m, s + 6), 3);
        QCOMPARE(U16(m, s + 8), 2024);
        QCOMPARE((Bytes(m.begin() + s + 10, m.begin() + s + 15)), (Bytes{6, 7, 9, 5, 59}));
        for (std::size_t i : {std::size_t(0), s - 1, s, s + 3, s + 15, s + 255, s + 256, s + 4095})
            QCOMPARE(int(m[i]), 0xFF);
    }

    void records_packedFromOffset256WithTheirFields() {
        sim::TTrackMemoryBuilder b;
        b.BeginSector(1, 7, 2024, 1, 1, 0, 0, 0);
        b.AddGps(-15, 46.5f, 7.25f, 9);
        b.AddEng(3, 1013, 65535);
        b.AddRaw({18, 1, 2});
        const Bytes m = b.Memory();
        const std::size_t r = 4096 + 256;
        QCOMPARE(int(m[r]), 12);
        QCOMPARE(int(m[r + 1]), 9);
        QCOMPARE(std::int16_t(U16(m, r + 2)), std::int16_t(-15));
        QCOMPARE(F32(m, r + 4), 46.5f);
        QCOMPARE(F32(m, r + 8), 7.25f);
        QCOMPARE((Bytes(m.begin() + r + 12, m.begin() + r + 21)),
                 (Bytes{6, 3, 0xF5, 0x03, 0xFF, 0xFF, 18, 1, 2}));
        QCOMPARE(int(m[r + 21]), 0xFF);
        QCOMPARE(b.Cursor(), 256 + 21);
    }

    void setCursor_recordStraddlesPageBorder() {
        sim::TTrackMemoryBuilder b;
        b.BeginSector(2, 1, 2024, 1, 1, 0, 0, 0);
        b.SetCursor(512 - 5);
        b.AddGps(1000, 1.0f, 2.0f);
        const Bytes m = b.Memory();
        const std::size_t r = 2 * 4096 + 512 - 5;
        QCOMPARE(int(m[r - 1]), 0xFF);
        QCOMPARE(int(m[r]), 12);
        QCOMPARE(U16(m, r + 2), 1000);
        QCOMPARE(F32(m, r + 8), 2.0f);  // in the next page
        QCOMPARE(int(m[r + 12]), 0xFF);
    }

    void recordPastSectorEnd_spillsIntoNextSectorUntilItsHeaderIsWritten() {
        sim::TTrackMemoryBuilder b;
        b.BeginSector(2, 4, 2024, 5, 1, 8, 0, 0);
        b.SetCursor(4096 - 5);
        b.AddGps(2, 2.0f, 2.0f);
        Bytes m = b.Memory();
        QCOMPARE(m.size(), std::size_t(3 * 4096 + 7));
        QCOMPARE(int(m[2 * 4096 + 4096 - 5]), 12);
        b.BeginSector(3, 4, 2024, 5, 1, 9, 0, 0);
        m = b.Memory();
        QCOMPARE(U16(m, 3 * 4096 + 4), 4);
        QCOMPARE(U16(m, 3 * 4096 + 6), 3);
        QCOMPARE(int(m[3 * 4096]), 0xFF);
        QCOMPARE(b.Cursor(), 256);
    }
};

QTEST_APPLESS_MAIN(TestTrackMemory)
#include "tst_trackmemory.moc"
