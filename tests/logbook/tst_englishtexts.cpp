// The track, scoring and logbook texts with the English translation loaded,
// the Russian plural forms with and without the Russian one, and the
// Russian back once the English is taken away.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <memory>

#include "logbook/Logbook.h"
#include "logbook/LogbookModel.h"
#include "scoring/ScoreReport.h"
#include "track/FlightStats.h"

namespace {

// Installs the program's compiled catalogue for as long as it lives.
class TLanguage {
  public:
    explicit TLanguage(const QString& name) {
        loaded_ = translator_.load(QStringLiteral(TOLMARIK_QM_DIR "/%1.qm").arg(name)) &&
                  QCoreApplication::installTranslator(&translator_);
    }
    ~TLanguage() { QCoreApplication::removeTranslator(&translator_); }
    bool Loaded() const { return loaded_; }

  private:
    QTranslator translator_;
    bool loaded_ = false;
};

const char* const NotLoaded = "The program's compiled catalogue could not be loaded";

track::TFlightStatsReply Stats(int minutes) {
    track::TFlightStatsReply s;
    s.flightNumber = 12;
    s.year = 2024;
    s.month = 6;
    s.day = 7;
    s.hour = 9;
    s.minute = 5;
    s.durationMinutes = std::uint16_t(minutes);
    return s;
}

QStringList ModelHeaders() {
    const QTemporaryDir dir;
    logbook::TLogbook book(dir.filePath(QStringLiteral("headers.sqlite")));
    const logbook::TLogbookModel model(book.Store().Database());
    QStringList headers;
    for (int c = 0; c < logbook::TLogbookModel::ColCount; ++c)
        headers << model.headerData(c, Qt::Horizontal).toString();
    return headers;
}

scoring::TScoreResult Scored() {
    scoring::TScoreResult scored;
    scored.found = true;
    scored.proven = true;
    scored.rulesName = QStringLiteral("XContest");
    scored.kindName = logbook::KindName(QStringLiteral("free"));
    scored.score = 12.345;
    return scored;
}

QByteArray CsvHeader() { return logbook::TLogbook::CsvText({}).trimmed(); }

}  // namespace

class TestEnglishTexts : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void english_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("expected");
        TLanguage en(QStringLiteral("tolmarik_en"));
        QVERIFY2(en.Loaded(), NotLoaded);
        const QStringList stats = track::FlightStatsLines(Stats(95));
        QTest::newRow("statistics, first line") << stats.value(0) << "Flight No. 12";
        QTest::newRow("statistics, duration, many") << stats.value(2) << "Duration 95 minutes";
        QTest::newRow("statistics, duration, one")
            << track::FlightStatsLines(Stats(1)).value(2) << "Duration 1 minute";
        QTest::newRow("logbook columns") << ModelHeaders().join(QLatin1Char('|'))
                                         << "No.|Date|Takeoff|Site|Time|Altitude, m|Track, km|"
                                            "XContest, pts|Glider";
        QTest::newRow("flight kind under XContest")
            << logbook::KindName(QStringLiteral("fai")) << "FAI triangle";
        scoring::TScoreResult none;
        none.rulesName = QStringLiteral("XContest");
        QTest::newRow("score report, no score")
            << scoring::ScoreLine(none) << "XContest: no score (too few points)";
        QTest::newRow("score report, decimal point")
            << scoring::ScoreLine(Scored()) << "XContest: 12.35 pts, free flight";
    }
    void english() {
        QFETCH(QString, shown);
        QFETCH(QString, expected);
        QCOMPARE(shown, expected);
    }

    void csvHeader_followsLanguage_columnsStay() {
        const QByteArray russian = CsvHeader();
        QVERIFY(russian.startsWith("\"Дата\",\"Взлёт\",\"Посадка\","));
        {
            TLanguage en(QStringLiteral("tolmarik_en"));
            QVERIFY2(en.Loaded(), NotLoaded);
            const QByteArray english = CsvHeader();
            QVERIFY2(english.startsWith("\"Date\",\"Takeoff\",\"Landing\",\"Takeoff UTC\","),
                     english.constData());
            QVERIFY(english.endsWith(",\"Zone\",\"Zone source\",\"Track\""));
            QCOMPARE(english.count(','), russian.count(','));
        }
        QCOMPARE(CsvHeader(), russian);
    }

    void flightCount_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("russian");
        QTest::addColumn<QString>("english");
        QTest::newRow("one") << 1 << "1 полёт"
                             << "1 flight";
        QTest::newRow("two to four") << 3 << "3 полёта"
                                     << "3 flights";
        QTest::newRow("five and up") << 5 << "5 полётов"
                                     << "5 flights";
        QTest::newRow("teens") << 12 << "12 полётов"
                               << "12 flights";
        QTest::newRow("twenty one") << 21 << "21 полёт"
                                    << "21 flights";
        QTest::newRow("none") << 0 << "0 полётов"
                              << "0 flights";
    }
    void flightCount() {
        QFETCH(int, count);
        QFETCH(QString, russian);
        QFETCH(QString, english);
        // The source itself, with no translation loaded.
        QCOMPARE(logbook::FlightCountText(count), russian);
        {
            TLanguage ru(QStringLiteral("tolmarik_ru"));
            QVERIFY2(ru.Loaded(), NotLoaded);
            QCOMPARE(logbook::FlightCountText(count), russian);
        }
        TLanguage en(QStringLiteral("tolmarik_en"));
        QVERIFY2(en.Loaded(), NotLoaded);
        QCOMPARE(logbook::FlightCountText(count), english);
    }

    // A text made once and kept must not stay in the first language asked.
    void russianAgain_afterEnglish() {
        {
            TLanguage en(QStringLiteral("tolmarik_en"));
            QVERIFY2(en.Loaded(), NotLoaded);
            QCOMPARE(logbook::KindName(QStringLiteral("free")), QStringLiteral("free flight"));
        }
        QCOMPARE(logbook::KindName(QStringLiteral("free")), QStringLiteral("свободный полёт"));
        QCOMPARE(track::FlightStatsLines(Stats(95)).value(2),
                 QStringLiteral("Продолжительноость 95 минут"));
        QCOMPARE(ModelHeaders().value(1), QStringLiteral("Дата"));
        QCOMPARE(scoring::ScoreLine(Scored()),
                 QStringLiteral("XContest: 12,35 б, свободный полёт"));
    }
};

QTEST_GUILESS_MAIN(TestEnglishTexts)
#include "tst_englishtexts.moc"
