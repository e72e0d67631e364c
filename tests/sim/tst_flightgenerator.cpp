// Generated flights: memory laid out as the instrument writes it, statistics
// that agree with it.
#include <QTest>
#include <algorithm>

#include "sim/FlightGenerator.h"
#include "sim/TrackMemory.h"

using Bytes = std::vector<std::uint8_t>;

namespace {

struct TSector {
    int flight, number, year, month, day, hour, minute, second;
    int gps = 0, eng = 0, unknown = 0;
    int end = 256;  // offset after the last record read
    int maxAltitude = -32768;
};

int U16(const Bytes& m, std::size_t at) { return m[at] | m[at + 1] << 8; }

// Reads a sector the way the instrument's reader does, stepping over the
// generator's 18-byte records of unknown kind.
TSector ReadSector(const Bytes& m, int sector) {
    const std::size_t s = std::size_t(sector) * 4096;
    TSector r{U16(m, s + 4), U16(m, s + 6), U16(m, s + 8), m[s + 10],
              m[s + 11],     m[s + 12],     m[s + 13],     m[s + 14]};
    while (r.end < 4096) {
        const int kind = m[s + std::size_t(r.end)];
        if (kind == 12 && r.end + 12 <= 4096) {
            ++r.gps;
            r.maxAltitude = std::max(r.maxAltitude, int(std::int16_t(U16(m, s + r.end + 2))));
        } else if (kind == 6) {
            ++r.eng;
        } else if (kind == 18) {
            ++r.unknown;
        } else {
            break;
        }
        r.end += kind;
    }
    return r;
}

int Seconds(const TSector& s) { return (s.day * 24 + s.hour) * 3600 + s.minute * 60 + s.second; }

}  // namespace

class TestFlightGenerator : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void flights_sectorsHeadersAndStatsAgreeWithMemory() {
        sim::TFlightPlan plan;
        plan.flights = 3;
        plan.minutes = 20;
        plan.firstSector = 5;
        plan.firstFlightNumber = 40;
        const sim::TGeneratedMemory g = sim::GenerateFlights(plan);
        QCOMPARE(g.flights.size(), std::size_t(3));
        int sector = 5;
        for (std::size_t k = 0; k < g.flights.size(); ++k) {
            const auto& f = g.flights[k];
            QCOMPARE(int(f.flightNumber), 40 + int(k));
            QCOMPARE(int(f.firstSector), sector);
            QCOMPARE(int(f.stats.startSector), sector);
            QCOMPARE(f.stats.flightNumber, f.flightNumber);
            int records = 0, maxAltitude = -32768;
            int expectedStart = 0;
            for (int i = 0; i < f.sectors; ++i, ++sector) {
                const TSector s = ReadSector(g.memory, sector);
                QCOMPARE(s.flight, int(f.flightNumber));
                QCOMPARE(s.number, sector);
                if (i == 0) {
                    QCOMPARE(s.year, int(f.stats.year));
                    QCOMPARE((std::vector<int>{s.month, s.day, s.hour, s.minute}),
                             (std::vector<int>{f.stats.month, f.stats.day, f.stats.hour,
                                               f.stats.minute}));
                } else {
                    // Each header carries the time of its first record.
                    QCOMPARE(Seconds(s), expectedStart);
                }
                if (i + 1 < f.sectors) QCOMPARE(s.end, 4096);
                expectedStart = Seconds(s) + s.gps + s.eng;
                records += s.gps + s.eng;
                maxAltitude = std::max(maxAltitude, s.maxAltitude);
            }
            QCOMPARE(records, f.gpsRecords + f.engRecords);
            QCOMPARE(int(f.stats.durationMinutes), records / 60);
            QCOMPARE(int(f.stats.durationMinutes), 20);
            QCOMPARE(int(f.stats.maxAltitude), maxAltitude);
            QVERIFY(f.stats.maxClimb > 0 && f.stats.maxClimb < 80);
            QVERIFY(f.stats.maxSink < 0 && f.stats.maxSink > -120);
            QVERIFY(f.stats.maxSpeed > 20 && f.stats.maxSpeed < 90);
            QVERIFY(f.stats.maxDistance > 0 && f.stats.maxDistance <= f.stats.distance);
        }
        // Nothing after the last flight: the simulator reads that as erased.
        QCOMPARE(g.memory.size(), std::size_t(sector) * 4096);
        QCOMPARE(g.stats[0].flightNumber, g.flights[2].flightNumber);
        QCOMPARE(g.stats[1].flightNumber, g.flights[1].flightNumber);
    }

    void sameSeed_sameFlights_otherSeed_otherFlights() {
        sim::TFlightPlan plan;
        plan.minutes = 5;
        const auto a = sim::GenerateFlights(plan);
        QCOMPARE(sim::GenerateFlights(plan).memory, a.memory);
        plan.seed = 2;
        QVERIFY(sim::GenerateFlights(plan).memory != a.memory);
    }

    void oneFlight_previousStatsEmpty() {
        sim::TFlightPlan plan;
        plan.flights = 1;
        plan.minutes = 3;
        const auto g = sim::GenerateFlights(plan);
        QCOMPARE(int(g.stats[0].startSector), int(plan.firstSector));
        QCOMPARE(int(g.stats[1].startSector), 0);
        QCOMPARE(int(g.stats[1].flightNumber), 0);
    }

    void oddDates_inLastFlightHeadersAndStats_data() {
        QTest::addColumn<bool>("monthZero");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::newRow("month 0") << true << 0 << 7;
        QTest::newRow("30 February") << false << 2 << 30;
    }
    void oddDates_inLastFlightHeadersAndStats() {
        QFETCH(bool, monthZero);
        QFETCH(int, month);
        QFETCH(int, day);
        sim::TFlightPlan plan;
        plan.minutes = 10;
        plan.day = 6;  // the last of the two flights is on the 7th
        plan.monthZero = monthZero;
        plan.invalidDate = !monthZero;
        const auto g = sim::GenerateFlights(plan);
        const auto& last = g.flights.back();
        for (int i = 0; i < last.sectors; ++i) {
            const TSector s = ReadSector(g.memory, last.firstSector + i);
            QCOMPARE(s.month, month);
            QCOMPARE(s.day, day);
        }
        QCOMPARE(int(g.stats[0].month), month);
        QCOMPARE(int(g.stats[0].day), day);
        QCOMPARE(int(g.stats[1].month), int(plan.month));  // the earlier flight keeps its date
        QCOMPARE(int(g.stats[1].day), 6);
    }

    void unknownRecord_oneInLastFlightsFirstSector() {
        sim::TFlightPlan plan;
        plan.minutes = 10;
        plan.unknownRecord = true;
        const auto g = sim::GenerateFlights(plan);
        QCOMPARE(ReadSector(g.memory, g.flights.back().firstSector).unknown, 1);
        QCOMPARE(ReadSector(g.memory, g.flights.front().firstSector).unknown, 0);
    }

    void recordIntoNextSector_lastSixBytesOfFirstSectorOpenAGpsRecord() {
        sim::TFlightPlan plan;
        plan.flights = 1;
        plan.minutes = 10;
        plan.recordIntoNextSector = true;
        const auto g = sim::GenerateFlights(plan);
        const std::size_t first = std::size_t(g.flights[0].firstSector) * 4096;
        QCOMPARE(int(g.memory[first + 4096 - 6]), 12);
        QCOMPARE(ReadSector(g.memory, g.flights[0].firstSector).end, 4096 - 6);
        QCOMPARE(U16(g.memory, first + 4096 + 4), int(g.flights[0].flightNumber));
    }

    // Several flights: each its own length, erased sectors between them,
    // numbers wrapping after 65535.
    void severalFlights_lengthsGapsAndWrappingNumbers() {
        sim::TFlightPlan plan;
        plan.minutesEach = {40, 5, 20};
        plan.gapSectors = 3;
        plan.firstFlightNumber = 65535;
        const auto g = sim::GenerateFlights(plan);
        QCOMPARE(g.flights.size(), std::size_t(3));
        const int numbers[] = {65535, 0, 1};
        for (std::size_t k = 0; k < 3; ++k) {
            const sim::TGeneratedFlight& f = g.flights[k];
            QCOMPARE(int(f.flightNumber), numbers[k]);
            QCOMPARE(int(f.stats.durationMinutes), plan.minutesEach[k]);
            for (int sector = f.firstSector; sector < f.firstSector + f.sectors; ++sector)
                QCOMPARE(ReadSector(g.memory, sector).flight, numbers[k]);
            if (k == 0) continue;
            const sim::TGeneratedFlight& before = g.flights[k - 1];
            QCOMPARE(int(f.firstSector), before.firstSector + before.sectors + plan.gapSectors);
            for (int sector = before.firstSector + before.sectors; sector < f.firstSector;
                 ++sector) {
                const auto first = g.memory.begin() + std::ptrdiff_t(sector) * 4096;
                QVERIFY(std::all_of(first, first + 4096, [](std::uint8_t b) { return b == 0xFF; }));
            }
        }
        QCOMPARE(g.foreignSector, std::uint16_t(0));
    }

    // The stranger's sector: a header of an older flight numbered one before
    // the first, in the middle of the first flight long enough; the records
    // and every other header stay.
    void foreignSector_inTheFirstLongFlight() {
        sim::TFlightPlan plan;
        plan.minutesEach = {5, 40, 40};
        plan.foreignSector = true;
        sim::TFlightPlan plain = plan;
        plain.foreignSector = false;
        const auto g = sim::GenerateFlights(plan);
        const auto p = sim::GenerateFlights(plain);
        const sim::TGeneratedFlight& f = g.flights[1];
        QVERIFY(f.sectors >= 3);
        QCOMPARE(int(g.foreignSector), f.firstSector + f.sectors / 2);
        QCOMPARE(int(g.foreignFlightNumber), plan.firstFlightNumber - 1);
        const TSector stranger = ReadSector(g.memory, g.foreignSector);
        QCOMPARE(stranger.flight, plan.firstFlightNumber - 1);
        QCOMPARE(stranger.number, int(g.foreignSector));
        QCOMPARE(stranger.year, int(f.stats.year) - 1);
        QCOMPARE(g.memory.size(), p.memory.size());
        std::size_t differ = 0;
        for (std::size_t i = 0; i < g.memory.size(); ++i) differ += g.memory[i] != p.memory[i];
        QVERIFY(differ >= 1 && differ <= 4);  // flight number and year bytes only
    }

    void longFlight_fillsMoreThan301Sectors() {
        sim::TFlightPlan plan;
        plan.flights = 1;
        plan.minutes = 1800;
        const auto g = sim::GenerateFlights(plan);
        QVERIFY(g.flights[0].sectors > 301);
        QCOMPARE(int(g.stats[0].durationMinutes), 1800);
    }
};

QTEST_APPLESS_MAIN(TestFlightGenerator)
#include "tst_flightgenerator.moc"
