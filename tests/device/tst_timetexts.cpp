// The dates, times of day and durations every list, report and file shows.
#include <QDateTime>
#include <QTest>

#include "device/TimeTexts.h"

namespace {
device::TrackTime At(int year, int month, int day, int hour, int minute, int second) {
    device::TrackTime t = 0;
    device::MakeTrackTime(year, month, day, hour, minute, second, t);
    return t;
}
}  // namespace

class TestTimeTexts : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void timeOfDay_data() {
        QTest::addColumn<qint64>("time");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("withSeconds");
        QTest::addColumn<QString>("withoutSeconds");
        QTest::newRow("a morning") << qint64(At(2024, 6, 7, 9, 12, 5)) << "2024-06-07"
                                   << "09:12:05"
                                   << "09:12";
        QTest::newRow("midnight starts the day") << qint64(At(2024, 6, 8, 0, 0, 0)) << "2024-06-08"
                                                 << "00:00:00"
                                                 << "00:00";
        QTest::newRow("the last second of a day")
            << qint64(At(2024, 2, 29, 23, 59, 59)) << "2024-02-29"
            << "23:59:59"
            << "23:59";
        QTest::newRow("before 1970 the clock still runs forward") << qint64(-1) << "1969-12-31"
                                                                  << "23:59:59"
                                                                  << "23:59";
        QTest::newRow("the first year") << qint64(At(1, 1, 1, 12, 0, 0)) << "0001-01-01"
                                        << "12:00:00"
                                        << "12:00";
        QTest::newRow("the last year") << qint64(At(9999, 12, 31, 23, 0, 1)) << "9999-12-31"
                                       << "23:00:01"
                                       << "23:00";
    }
    void timeOfDay() {
        QFETCH(qint64, time);
        QFETCH(QString, date);
        QFETCH(QString, withSeconds);
        QFETCH(QString, withoutSeconds);
        QCOMPARE(device::DateText(time), date);
        QCOMPARE(device::TimeOfDayText(time), withSeconds);
        QCOMPARE(device::TimeOfDayText(time, false), withoutSeconds);
        // The same as the calendar of Qt, which the files were once written with.
        const QDateTime qt = QDateTime::fromSecsSinceEpoch(time, Qt::UTC);
        QCOMPARE(qt.toString(QStringLiteral("yyyy-MM-dd")), date);
        QCOMPARE(qt.toString(QStringLiteral("HH:mm:ss")), withSeconds);
    }

    void duration_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << qint64(0) << "0:00";
        QTest::newRow("seconds are cut, not rounded") << qint64(59) << "0:00";
        QTest::newRow("one minute") << qint64(60) << "0:01";
        QTest::newRow("hours are not padded") << qint64(3 * 3600 + 5 * 60 + 59) << "3:05";
        QTest::newRow("a day does not wrap") << qint64(26 * 3600) << "26:00";
        QTest::newRow("a season of flying") << qint64(123 * 3600 + 45 * 60) << "123:45";
        // Measured durations never run backwards; a stored one might.
        QTest::newRow("negative: one figure with its sign") << qint64(-5400) << "-1:30";
    }
    void duration() {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(device::DurationText(seconds), text);
    }
};

QTEST_MAIN(TestTimeTexts)
#include "tst_timetexts.moc"
