// What is one flight in the logbook: pilots who took off together stay
// apart, the same flight from two recorders is one flight in the totals, a
// rescan or a recording split in two never makes a second entry, a GPX file
// of several flights gives an entry each; and every real flight of the
// independent scorer's package gives figures a glider could fly.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "LogbookFlights.h"
#include "device/FileStore.h"
#include "logbook/Logbook.h"
#include "track/FlightPhases.h"
#include "track/Geodesy.h"
#include "track/TrackExport.h"

using namespace logbook;
using tracktest::Time;

namespace {

track::TPilotProfile Pilot(const QString& name) { return {name, {}, {}, {}, {}}; }

// The same flight as a second recorder logs it: every other second, 20 m
// off (a phone beside the vario).
std::vector<device::GpsListEntry> SecondRecorder(const std::vector<device::GpsListEntry>& gps) {
    std::vector<device::GpsListEntry> other;
    for (std::size_t i = 0; i < gps.size(); i += 2)
        other.push_back(tracktest::Gps(gps[i].time, gps[i].Altitude() + 15,
                                       gps[i].Latitude() + 0.00018f, gps[i].Longitude()));
    return other;
}

TDownloadedFlight Downloaded(std::vector<device::GpsListEntry> gps) {
    TDownloadedFlight d;
    d.checked = logbooktest::Checked(gps);
    return d;
}

int CountedFlights(TLogbook& book) { return TLogbook::Totals(book.Flights()).all.flights; }

}  // namespace

class TestSameFlight : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString Db() const { return dir_.filePath(QStringLiteral("book/logbook.sqlite")); }
    QString File(const QString& name) const { return dir_.filePath(name); }

  private Q_SLOTS:
    void init() {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
    }

    void pilotsWhoTookOffTogether_areSeparateFlights() {
        // A competition task: one take-off, starts minutes apart, two at the
        // same second, two files with the very same fixes handed round under
        // two names, and two unnamed pilots who left together and split up.
        struct TPilotRow {
            const char* name;
            int startOffset;  // s
            float lonOffset;  // degrees
        };
        const TPilotRow rows[] = {
            {"Anna", 0, 0},         {"Boris", 120, 0.0003f}, {"Vera", 240, 0.0006f},
            {"Gleb", 240, 0.0009f},  // same start as Vera, 70 m beside her all along
            {"Dina", 360, 0},       {"Egor", 360, 0},  // the same fixes as Dina
            {"", 600, 0},           {"", 600, 0.02f},  // 1.6 km apart
        };
        TLogbook book(Db());
        int i = 0;
        for (const TPilotRow& row : rows) {
            const QString path = File(QStringLiteral("pilot%1.igc").arg(i++));
            device::WriteFileSafely(
                path, logbooktest::Igc(
                          logbooktest::Download(Time(2024, 7, 16, 11, 0, 0) + row.startOffset,
                                                52.1f, 2.2f + row.lonOffset),
                          Pilot(QString::fromUtf8(row.name))));
            const std::vector<TRecordOutcome> outcomes = book.ImportFile(path, {});
            QCOMPARE(int(outcomes.size()), 1);
            QVERIFY2(outcomes[0].result == TRecordResult::Added, qPrintable(path));
        }
        QCOMPARE(book.Store().Count(), int(std::size(rows)));
        QCOMPARE(CountedFlights(book), int(std::size(rows)));
        // Importing them again adds nothing.
        for (int k = 0; k < i; ++k)
            QCOMPARE(book.ImportFile(File(QStringLiteral("pilot%1.igc").arg(k)), {}).front().result,
                     TRecordResult::AlreadyKept);
    }

    void twoRecorders_oneFlightInTotals_mergedOrApartAtWill() {
        const auto vario = logbooktest::Download(Time(2024, 6, 7, 9, 0, 0), 45.1f, 6.2f);
        TLogbook book(Db());
        const TRecordOutcome first = book.RecordDownload(Downloaded(vario), Pilot("Иван"));
        QCOMPARE(first.result, TRecordResult::Added);
        const QString phone = File(QStringLiteral("phone.igc"));
        device::WriteFileSafely(phone, logbooktest::Igc(SecondRecorder(vario), Pilot("иван ")));
        const TRecordOutcome second = book.ImportFile(phone, {}).front();
        QCOMPARE(second.result, TRecordResult::Added);
        QCOMPARE(book.Flight(second.id)->sameFlightAs, std::optional<std::int64_t>(first.id));
        QCOMPARE(CountedFlights(book), 1);
        QVERIFY(FactsText(*book.Flight(second.id)).contains(SameFlightText(first.id)));

        book.Unmerge(second.id);
        QCOMPARE(CountedFlights(book), 2);
        // Merged the other way: the phone's entry is the one that counts.
        book.Merge(second.id, first.id);
        QCOMPARE(book.Flight(first.id)->sameFlightAs, std::optional<std::int64_t>(second.id));
        QCOMPARE(book.Flight(second.id)->sameFlightAs, std::nullopt);
        QCOMPARE(CountedFlights(book), 1);
        // Removing the one that counts lets the other count again.
        book.Remove(second.id);
        QCOMPARE(book.Flight(first.id)->sameFlightAs, std::nullopt);
        QCOMPARE(CountedFlights(book), 1);
    }

    void rescanOrSplit_neverASecondEntry_data() {
        QTest::addColumn<int>("firstFrom");
        QTest::addColumn<int>("firstTo");
        QTest::addColumn<int>("secondFrom");
        QTest::addColumn<int>("secondTo");
        QTest::addColumn<int>("fixes");  // of the one entry
        // A damaged scan kept part of the flight; the rescan brings it all.
        QTest::newRow("rescan after a damaged scan") << 0 << 1100 << 0 << 1800 << 1800;
        QTest::newRow("the damaged part again after the whole") << 0 << 1800 << 0 << 1100 << 1800;
        // Another flight's sector in the middle of memory cut it in two.
        QTest::newRow("a flight split in two by memory") << 0 << 1000 << 1000 << 1800 << 1800;
        QTest::newRow("the later part first") << 1000 << 1800 << 0 << 1000 << 1800;
    }

    void rescanOrSplit_neverASecondEntry() {
        QFETCH(int, firstFrom);
        QFETCH(int, firstTo);
        QFETCH(int, secondFrom);
        QFETCH(int, secondTo);
        QFETCH(int, fixes);
        const auto gps = logbooktest::Download(Time(2024, 6, 7, 9, 0, 0), 45.1f, 6.2f);
        auto part = [&gps](int from, int to) {
            return Downloaded({gps.begin() + from, gps.begin() + to});
        };
        TLogbook book(Db());
        const TRecordOutcome first = book.RecordDownload(part(firstFrom, firstTo), {});
        QCOMPARE(first.result, TRecordResult::Added);
        book.Edit(first.id, QStringLiteral("Юца"), QStringLiteral("Rush 6"), QStringLiteral("x"));
        const TRecordOutcome second = book.RecordDownload(part(secondFrom, secondTo), {});
        QCOMPARE(second.result, TRecordResult::AlreadyKept);
        QCOMPARE(second.id, first.id);
        QCOMPARE(book.Store().Count(), 1);
        const TFlightEntry e = *book.Flight(first.id);
        QCOMPARE(e.fixCount, fixes);
        QCOMPARE(int(book.FlightFixes(e).size()), fixes);
        QVERIFY(e.durationSeconds > 1500);
        QCOMPARE(e.site, QStringLiteral("Юца"));  // what the pilot wrote stays
        QVERIFY(e.score.has_value());
        // The whole flight from a file is the same flight too.
        const QString whole = File(QStringLiteral("whole.igc"));
        device::WriteFileSafely(whole, logbooktest::Igc(gps));
        QCOMPARE(book.ImportFile(whole, {}).front().result, TRecordResult::AlreadyKept);
        QCOMPARE(book.Store().Count(), 1);
    }

    void gpxOfTwoFlights_twoEntriesEachWithItsOwnTrack() {
        const auto morning = logbooktest::Download(Time(2024, 6, 7, 9, 0, 0), 45.1f, 6.2f, 1200);
        const auto later = logbooktest::Download(Time(2024, 6, 10, 9, 0, 0), 45.1f, 6.2f, 1500);
        const std::string a = track::GpxText(morning), b = track::GpxText(later);
        // The second file's track inside the first's document.
        const std::size_t trackStart = b.find("<trk>"), trackEnd = b.find("</trk>") + 6;
        std::string both = a;
        both.insert(both.find("</gpx>"), b.substr(trackStart, trackEnd - trackStart));
        const QString path = File(QStringLiteral("two.gpx"));
        device::WriteFileSafely(path, QByteArray::fromStdString(both));
        TLogbook book(Db());
        const std::vector<TRecordOutcome> outcomes = book.ImportFile(path, {});
        QCOMPARE(int(outcomes.size()), 2);
        QCOMPARE(outcomes[0].result, TRecordResult::Added);
        QCOMPARE(outcomes[1].result, TRecordResult::Added);
        QCOMPARE(int(book.FlightFixes(*book.Flight(outcomes[0].id)).size()), 1200);
        QCOMPARE(int(book.FlightFixes(*book.Flight(outcomes[1].id)).size()), 1500);
        QVERIFY(book.Flight(outcomes[1].id)->durationSeconds < 1500);
    }

    // Every real flight of the independent scorer's package.
    void realFlights_everyFigurePossible() {
#ifndef TOLMARIK_ORACLE_FLIGHTS
        QSKIP("built without the oracle's flights");
#else
        const QDir flights(QStringLiteral(TOLMARIK_ORACLE_FLIGHTS));
        const QStringList files = flights.entryList({QStringLiteral("*.igc")}, QDir::Files);
        if (files.isEmpty()) QSKIP("the oracle's flights are not installed");
        TLogbook book(Db());
        for (const QString& name : files) {
            const std::vector<TRecordOutcome> outcomes =
                book.ImportFile(flights.filePath(name), {});
            for (const TRecordOutcome& o : outcomes) {
                QVERIFY2(o.result == TRecordResult::Added || o.result == TRecordResult::AlreadyKept,
                         qPrintable(name + QLatin1Char(' ') + o.error));
                const TFlightEntry e = *book.Flight(o.id);
                const QString what = name + QStringLiteral(": ") + FactsText(e);
                // A climb of 15 m/s over 10 s is a strong thermal's core;
                // spiral dives sink at 25 m/s at most.
                QVERIFY2(e.climb10s <= 15 && e.sink10s >= -25, qPrintable(what));
                // Altitudes a receiver can see: the Dead Sea to above Everest.
                QVERIFY2(e.lowestAltitude >= -450 && e.highestAltitude <= 9000, qPrintable(what));
                // No glider flies faster than 70 m/s (250 km/h) over 10 s.
                const std::vector<track::TFlightFix> fixes = book.FlightFixes(e);
                std::size_t from = 0;
                for (std::size_t k = 1; k < fixes.size(); ++k) {
                    while (fixes[k].time - fixes[from].time > 10) ++from;
                    const auto dt = fixes[k].time - fixes[from].time;
                    if (dt < 10) continue;
                    const double speed = track::FixDistance(fixes[from], fixes[k]) / double(dt);
                    QVERIFY2(speed <= 70,
                             qPrintable(what +
                                        QStringLiteral("\nspeed %1 at fix %2").arg(speed).arg(k)));
                }
            }
        }
#endif
    }
};

QTEST_GUILESS_MAIN(TestSameFlight)
#include "tst_sameflight.moc"
