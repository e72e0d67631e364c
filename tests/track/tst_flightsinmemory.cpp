// The flights listed for memory laid out as the instrument writes it: the
// simulator's generated flights (of different lengths, with erased sectors
// between them, numbers that wrap, a stranger's sector, no date), their
// sector headers decoded as a scan decodes them, no link between.
#include <QTest>
#include <optional>

#include "sim/FlightGenerator.h"
#include "tests/support/ScannedHeaders.h"
#include "track/FlightList.h"

using track::TListedFlight;

Q_DECLARE_METATYPE(sim::TFlightPlan)

namespace {

sim::TFlightPlan Plan(std::vector<int> minutes) {
    sim::TFlightPlan plan;
    plan.minutesEach = std::move(minutes);
    return plan;
}

device::TrackTime Time(const track::TFlightStatsReply& s) {
    device::TrackTime t = 0;
    device::MakeTrackTime(s.year, s.month, s.day, s.hour, s.minute, 0, t);
    return t;
}

}  // namespace

class TestFlightsInMemory : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    // Each flight the generator wrote is listed once, newest first, with its
    // number, first sector, sectors, date and start; a duration estimate
    // within a sector's time of the truth; files named after its number.
    void asWritten_data() {
        QTest::addColumn<sim::TFlightPlan>("plan");
        QTest::newRow("the simulator's default: two flights") << sim::TFlightPlan{};
        QTest::newRow("different lengths") << Plan({45, 5, 90, 20});
        sim::TFlightPlan gaps = Plan({20, 30, 10});
        gaps.gapSectors = 7;
        QTest::newRow("erased sectors between flights") << gaps;
        sim::TFlightPlan late = Plan({10, 20});
        late.firstSector = 40;
        QTest::newRow("erased sectors before the first flight") << late;
        sim::TFlightPlan wrap = Plan({10, 10, 10, 10});
        wrap.firstFlightNumber = 65534;
        QTest::newRow("numbers wrap from 65535 to 0, newest still first") << wrap;
        // Erased flash reads as flight 65535 too.
        sim::TFlightPlan last65535 = Plan({10, 10});
        last65535.firstFlightNumber = 65534;
        QTest::newRow("flight 65535 followed by erased memory") << last65535;
        sim::TFlightPlan none;
        none.flights = 0;
        QTest::newRow("an empty memory") << none;
    }
    void asWritten() {
        QFETCH(sim::TFlightPlan, plan);
        const sim::TGeneratedMemory memory = sim::GenerateFlights(plan);
        const std::vector<TListedFlight> listed = testsupport::ScannedFlights(memory.memory);
        QCOMPARE(listed.size(), memory.flights.size());
        for (std::size_t i = 0; i < listed.size(); ++i) {
            const TListedFlight& f = listed[i];
            const sim::TGeneratedFlight& w = memory.flights[memory.flights.size() - 1 - i];
            QCOMPARE(f.flightNumber, w.flightNumber);
            QCOMPARE(f.firstSector, w.firstSector);
            QCOMPARE(f.sectors, w.sectors);
            QVERIFY(f.dated);
            QCOMPARE(f.start / 60, Time(w.stats) / 60);
            QVERIFY2(std::abs(f.durationEstimateSeconds - w.stats.durationMinutes * 60) <=
                         track::TypicalSectorSeconds,
                     qPrintable(track::ListedDurationText(f)));
            QCOMPARE(f.fileBase, QStringLiteral("Track%1").arg(w.flightNumber));
            QVERIFY(!f.inLogbook);
        }
    }

    // The stranger's sector is a flight of its own, and splits the flight it
    // lies in: each part is what a download from its first sector reads, and
    // the two parts' files do not share a name.
    void foreignSector_splitsTheFlightItLiesIn() {
        sim::TFlightPlan plan = Plan({10, 45, 10});
        plan.foreignSector = true;
        const sim::TGeneratedMemory memory = sim::GenerateFlights(plan);
        const sim::TGeneratedFlight& split = memory.flights[1];
        QCOMPARE(memory.foreignSector, std::uint16_t(split.firstSector + split.sectors / 2));
        const std::vector<TListedFlight> listed = testsupport::ScannedFlights(memory.memory);
        QCOMPARE(listed.size(), std::size_t(5));
        std::vector<TListedFlight> parts;
        std::optional<TListedFlight> stranger;
        for (const TListedFlight& f : listed) {
            if (f.flightNumber == split.flightNumber) parts.push_back(f);
            if (f.flightNumber == memory.foreignFlightNumber) stranger = f;
        }
        QVERIFY(stranger);
        QCOMPARE(stranger->firstSector, memory.foreignSector);
        QCOMPARE(stranger->sectors, 1);
        QCOMPARE(listed.back(), *stranger);  // a year older than the rest
        QCOMPARE(parts.size(), std::size_t(2));
        QCOMPARE(parts[1].firstSector, split.firstSector);
        QCOMPARE(parts[0].firstSector, std::uint16_t(memory.foreignSector + 1));
        QCOMPARE(parts[0].sectors + parts[1].sectors + 1, split.sectors);
        QVERIFY(parts[0].fileBase != parts[1].fileBase);
    }

    // A last flight without a date starts at the fallback time a download
    // gives its records: older than every dated flight, so listed last, its
    // duration told from typical sectors.
    void undatedLastFlight_listedOldest_data() {
        QTest::addColumn<bool>("monthZero");
        QTest::newRow("month 0: the instrument had no date") << true;
        QTest::newRow("30 February") << false;
    }
    void undatedLastFlight_listedOldest() {
        QFETCH(bool, monthZero);
        sim::TFlightPlan plan = Plan({10, 10});
        plan.monthZero = monthZero;
        plan.invalidDate = !monthZero;
        const sim::TGeneratedMemory memory = sim::GenerateFlights(plan);
        const std::vector<TListedFlight> listed = testsupport::ScannedFlights(memory.memory);
        QCOMPARE(listed.size(), std::size_t(2));
        const TListedFlight& undated = listed.back();
        const sim::TGeneratedFlight& last = memory.flights.back();
        QCOMPARE(undated.flightNumber, last.flightNumber);
        QCOMPARE(undated.firstSector, last.firstSector);
        QCOMPARE(undated.sectors, last.sectors);
        QVERIFY(!undated.dated);
        QCOMPARE(undated.start, device::FallbackTrackTime());
        QCOMPARE(undated.durationEstimateSeconds, (last.sectors - 1) * track::TypicalSectorSeconds +
                                                      track::TypicalSectorSeconds / 2);
        QCOMPARE(undated.fileBase, QStringLiteral("Track%1").arg(last.flightNumber));
        QVERIFY(listed.front().dated);
        QCOMPARE(listed.front().flightNumber, memory.flights.front().flightNumber);
    }

    // A flight longer than a scan reads is listed as far as the scan reads,
    // which is as far as a download from its first sector reads.
    void longerFlightThanTheScan_listedAsFarAsItReads() {
        sim::TFlightPlan plan = Plan({1800});
        const sim::TGeneratedMemory memory = sim::GenerateFlights(plan);
        QVERIFY(memory.flights[0].sectors > flow::ScanSectorCount);
        const std::vector<TListedFlight> listed = testsupport::ScannedFlights(memory.memory);
        QCOMPARE(listed.size(), std::size_t(1));
        QCOMPARE(listed[0].firstSector, flow::ScanFirstSector);
        QCOMPARE(listed[0].sectors, flow::ScanSectorCount);
    }
};

QTEST_GUILESS_MAIN(TestFlightsInMemory)
#include "tst_flightsinmemory.moc"
