// Statistics reply fields, their text, and the download progress position.
#include <QTest>

#include "track/FlightStats.h"

using namespace track;

namespace {
void Put16(std::uint8_t* r, int at, int v) {
    r[at] = std::uint8_t(v);
    r[at + 1] = std::uint8_t(v >> 8);
}
}  // namespace

class TestFlightStats : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void lines_exampleFlight_commaLocale() {
        std::uint8_t r[64] = {0x14, 0x03, 0x00, 0x30};
        Put16(r, 8, 12);
        Put16(r, 10, 64);
        Put16(r, 22, 2024);
        r[24] = 6;
        r[25] = 7;
        r[26] = 9;
        r[27] = 5;
        Put16(r, 30, 95);
        Put16(r, 32, 34);
        Put16(r, 34, -52);
        Put16(r, 36, 1870);
        r[38] = 61;
        Put16(r, 40, 123);
        Put16(r, 42, 456);
        const TFlightStatsReply s = ParseFlightStats(r);
        QCOMPARE(s.startSector, std::uint16_t(64));
        const QStringList expected = {
            QStringLiteral("Полет №12"),
            QStringLiteral("Полет 7.6.2024 09:05"),
            QStringLiteral("Продолжительноость 95 минут"),
            QStringLiteral("---------------------------"),
            QStringLiteral("Максимальные значения:"),
            QStringLiteral("Высота 1870 м"),
            QStringLiteral("Верт.скорость вверх 3,40 м/c"),
            QStringLiteral("Верт.скорость вниз -5,20 м/c"),
            QStringLiteral("Cкорость 61 км/ч"),
            QStringLiteral("Удаление от базы 12,30 км"),
            QStringLiteral("Расстояние  45,60 км"),
        };
        const QStringList lines = FlightStatsLines(s, QLocale(QLocale::German));
        QCOMPARE(lines, expected);
        // Latin C and c where the instrument's texts have them.
        QCOMPARE(lines[8].at(0), QChar(u'C'));
        QVERIFY(lines[6].endsWith(QStringLiteral("м/c")) && lines[6].back() == QChar(u'c'));
    }

    // The locale gives the separator, never the minus sign: Swedish and
    // Norwegian would write U+2212.
    void lines_negativeSink_asciiMinus_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("sink");
        QTest::newRow("English") << QLocale(QLocale::English) << QStringLiteral("-5.20");
        QTest::newRow("Swedish") << QLocale(QLocale::Swedish) << QStringLiteral("-5,20");
        QTest::newRow("Norwegian") << QLocale(QLocale::NorwegianBokmal) << QStringLiteral("-5,20");
    }
    void lines_negativeSink_asciiMinus() {
        QFETCH(QLocale, locale);
        QFETCH(QString, sink);
        TFlightStatsReply s;
        s.maxSink = -52;
        QCOMPARE(FlightStatsLines(s, locale).at(7),
                 QStringLiteral("Верт.скорость вниз %1 м/c").arg(sink));
    }

    void lines_largeDistance_noGroupSeparator() {
        TFlightStatsReply s;
        s.distance = 65535;
        QCOMPARE(FlightStatsLines(s, QLocale(QLocale::English)).last(),
                 QStringLiteral("Расстояние  6553.50 км"));
    }

    void lines_shortReply_zeroFields() {
        std::uint8_t r[64] = {0x7E, 0x04, 0x03, 0x00};
        const QStringList lines = FlightStatsLines(ParseFlightStats(r), QLocale(QLocale::English));
        QCOMPARE(lines[1], QStringLiteral("Полет 0.0.0 00:00"));
        QCOMPARE(lines[6], QStringLiteral("Верт.скорость вверх 0.00 м/c"));
    }

    void progress_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("bySector");
        QTest::addColumn<int>("position");
        QTest::newRow("sector 3 of 95 min") << 3 << 95 << true << 16;
        QTest::newRow("page 48 of 95 min") << 48 << 95 << false << 16;
        QTest::newRow("unknown duration") << 7 << 0 << true << 90;
        QTest::newRow("tie down to even") << 1 << 200 << true << 2;  // 2.5
        QTest::newRow("tie up to even") << 7 << 1000 << true << 4;   // 3.5
        QTest::newRow("past the end") << 301 << 60 << true << 2508;
    }
    void progress() {
        QFETCH(int, count);
        QFETCH(int, minutes);
        QFETCH(bool, bySector);
        QFETCH(int, position);
        QCOMPARE(TrackProgressPosition(count, minutes, bySector), position);
    }
};

QTEST_APPLESS_MAIN(TestFlightStats)
#include "tst_flightstats.moc"
