// The flights a scan's sector headers list: what starts a listed flight,
// what continues it, their order, their files' names, their estimated
// durations and the order downloads take them in.
#include <QTest>

#include "track/FlightList.h"

using track::TListedFlight;

namespace {

// Each header: sector, flight, sector number, day in June 2024 (0: no date),
// minute of 10 o'clock.
device::TSectorHeader Header(const QList<int>& h) {
    device::TSectorHeader header;
    header.sector = std::uint16_t(h[0]);
    header.flight = std::uint16_t(h[1]);
    header.sectorNumber = std::uint16_t(h[2]);
    if (h[3] != 0) {
        header.year = 2024;
        header.month = 6;
        header.day = std::uint8_t(h[3]);
        header.hour = 10;
        header.minute = std::uint8_t(h.value(4));
    }
    if (h[1] == 0xFFFF && h[2] == 0xFFFF) header.year = 0xFFFF;
    return header;
}

std::vector<device::TSectorHeader> Headers(const QList<QList<int>>& rows) {
    std::vector<device::TSectorHeader> read;
    for (const QList<int>& h : rows) read.push_back(Header(h));
    return read;
}

}  // namespace

class TestFlightList : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    // Expected: "flight@first+sectors" newest first.
    void headers_data() {
        QTest::addColumn<QList<QList<int>>>("headers");
        QTest::addColumn<QStringList>("listed");
        const int E = 0xFFFF;
        QTest::newRow("erased sectors between flights are skipped")
            << QList<QList<int>>{{1, 5, 1, 7}, {2, 5, 2, 7}, {3, E, E, 0}, {4, 6, 4, 8}}
            << QStringList{QStringLiteral("6@4+1"), QStringLiteral("5@1+2")};
        QTest::newRow("a header naming another sector continues a flight, starts none")
            << QList<QList<int>>{{1, 5, 1, 7}, {2, 5, 9, 7}, {3, 6, 8, 8}, {4, 6, 4, 8}}
            << QStringList{QStringLiteral("6@4+1"), QStringLiteral("5@1+2")};
        QTest::newRow("flight 65535 is a flight; erased flash ends it")
            << QList<QList<int>>{{1, E, 1, 7}, {2, E, 2, 7}, {3, E, E, 0}}
            << QStringList{QStringLiteral("65535@1+2")};
        QTest::newRow("undated flights after dated ones, later sectors first")
            << QList<QList<int>>{{1, 3, 1, 0}, {2, 4, 2, 0}, {3, 5, 3, 1}}
            << QStringList{QStringLiteral("5@3+1"), QStringLiteral("4@2+1"),
                           QStringLiteral("3@1+1")};
        QTest::newRow("a stranger's sector splits a flight")
            << QList<QList<int>>{{1, 5, 1, 7}, {2, 9, 2, 7}, {3, 5, 3, 7}, {4, 5, 4, 7}}
            << QStringList{QStringLiteral("5@3+2"), QStringLiteral("9@2+1"),
                           QStringLiteral("5@1+1")};
    }
    void headers() {
        QFETCH(QList<QList<int>>, headers);
        QFETCH(QStringList, listed);
        QStringList found;
        for (const TListedFlight& f : track::FlightsInHeaders(Headers(headers)))
            found
                << QStringLiteral("%1@%2+%3").arg(f.flightNumber).arg(f.firstSector).arg(f.sectors);
        QCOMPARE(found, listed);
    }

    // The duration a flight is listed with: from the times of its first and
    // last sectors when both are dated, else from a typical sector; the last
    // sector counts half.
    void duration_data() {
        QTest::addColumn<QList<QList<int>>>("headers");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("duration");
        QTest::newRow("three dated sectors five minutes apart")
            << QList<QList<int>>{{1, 5, 1, 7, 0}, {2, 5, 2, 7, 5}, {3, 5, 3, 7, 10}}
            << QStringLiteral("2024-06-07") << QStringLiteral("10:00:00")
            << QStringLiteral("~0:13");
        QTest::newRow("one undated sector: half a typical one")
            << QList<QList<int>>{{1, 5, 1, 0}} << QStringLiteral("без даты")
            << QStringLiteral("--:--:--") << QStringLiteral("~0:03");
        QTest::newRow("a last sector dated before the first: typical sectors")
            << QList<QList<int>>{{1, 5, 1, 7, 30}, {2, 5, 2, 7, 0}} << QStringLiteral("2024-06-07")
            << QStringLiteral("10:30:00") << QStringLiteral("~0:09");
        QTest::newRow("twenty typical sectors pass the hour") <<
            [] {
                QList<QList<int>> rows;
                for (int s = 1; s <= 20; ++s) rows.append({s, 5, s, 0});
                return rows;
            }() << QStringLiteral("без даты") << QStringLiteral("--:--:--")
                                                              << QStringLiteral("~1:55");
    }
    void duration() {
        QFETCH(QList<QList<int>>, headers);
        QFETCH(QString, date);
        QFETCH(QString, start);
        QFETCH(QString, duration);
        const std::vector<TListedFlight> listed = track::FlightsInHeaders(Headers(headers));
        QCOMPARE(listed.size(), std::size_t(1));
        QCOMPARE(track::ListedDateText(listed[0]), date);
        QCOMPARE(track::ListedTimeText(listed[0]), start);
        QCOMPARE(track::ListedDurationText(listed[0]), duration);
        QVERIFY(listed[0].LatestEnd() >= listed[0].start + listed[0].durationEstimateSeconds);
    }

    // Listed flights that share a number get the date and start in their
    // files' names, or the first sector where even those are shared.
    void sharedNumbers_getTheDateOrTheSector() {
        const auto flight = [](std::uint16_t number, std::uint16_t sector, device::TrackTime start,
                               bool dated) {
            TListedFlight f;
            f.flightNumber = number;
            f.firstSector = sector;
            f.start = start;
            f.dated = dated;
            return f;
        };
        device::TrackTime june7 = 0;
        device::MakeTrackTime(2024, 6, 7, 9, 12, 5, june7);
        std::vector<TListedFlight> flights{flight(7, 40, june7 + 86400, true),
                                           flight(7, 3, june7, true),
                                           flight(8, 50, june7 + 2 * 86400, true),
                                           flight(9, 60, 0, false), flight(9, 70, 0, false)};
        track::NameFlightFiles(flights);
        QCOMPARE(flights[0].fileBase, QStringLiteral("Track7-2024-06-08-0912"));
        QCOMPARE(flights[1].fileBase, QStringLiteral("Track7-2024-06-07-0912"));
        QCOMPARE(flights[2].fileBase, QStringLiteral("Track8"));
        QCOMPARE(flights[3].fileBase, QStringLiteral("Track9-s60"));
        QCOMPARE(flights[4].fileBase, QStringLiteral("Track9-s70"));
    }

    // Downloads take the chosen flights in the order the instrument wrote
    // them, whichever way they were chosen.
    void downloads_oldestFirst() {
        const std::vector<TListedFlight> listed = track::FlightsInHeaders(
            Headers({{1, 3, 1, 5}, {2, 4, 2, 6}, {3, 5, 3, 7}, {4, 6, 4, 8}}));
        std::vector<TListedFlight> marked = listed;
        marked[1].inLogbook = true;  // flight 5
        const auto numbers = [](const std::vector<TListedFlight>& flights) {
            QList<int> n;
            for (const TListedFlight& f : flights) n << f.flightNumber;
            return n;
        };
        QCOMPARE(numbers(listed), (QList<int>{6, 5, 4, 3}));
        QCOMPARE(numbers(track::NewFlights(marked)), (QList<int>{3, 4, 6}));
        QCOMPARE(numbers(track::OldestFirst(listed, [](std::size_t i) { return i != 2; })),
                 (QList<int>{3, 5, 6}));
    }

    // A download stamps the records of a sector without a date from the
    // fallback time; the list says the same flight is undated.
    void headerTime_undatedFallsBack_data() {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<bool>("dated");
        QTest::newRow("dated") << 6 << 7 << true;
        QTest::newRow("month 0: the instrument had no date") << 0 << 7 << false;
        QTest::newRow("no such day") << 2 << 30 << false;
    }
    void headerTime_undatedFallsBack() {
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(bool, dated);
        device::TSectorHeader h = Header({1, 5, 1, 7});
        h.month = std::uint8_t(month);
        h.day = std::uint8_t(day);
        const TListedFlight f = track::FlightsInHeaders({h}).front();
        QCOMPARE(f.dated, dated);
        QCOMPARE(f.start, h.RecordTime());
        QCOMPARE(h.RecordTime() == device::FallbackTrackTime(), !dated);
    }
};

QTEST_MAIN(TestFlightList)
#include "tst_flightlist.moc"
