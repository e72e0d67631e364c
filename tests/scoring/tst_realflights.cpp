// Real flights from other instruments (the independent scorer's test folder,
// installed by the build into build/oracle): scores against what the league's
// server gave, and every flight scored and analysed within reason.
#include <QDir>
#include <QTest>
#include <cmath>

#include "scoring/FlightAnalysis.h"
#include "scoring/Optimizer.h"
#include "track/TrackFileReader.h"

namespace {

// Long enough for any real flight on a busy machine; the benchmark, not this
// test, tells how long they take.
constexpr double TimeLimitSeconds = 60;

QString FlightPath(const QString& name) {
    return QDir(QStringLiteral(TOLMARIK_ORACLE_FLIGHTS)).filePath(name);
}

bool FlightsInstalled() { return QFile::exists(FlightPath(QStringLiteral("tri.igc"))); }

scoring::TScoreResult Score(const std::vector<track::TFlightFix>& fixes,
                            const scoring::TRuleSet& rules) {
    scoring::TScoreOptions options;
    options.timeLimitSeconds = TimeLimitSeconds;
    return scoring::ScoreFlight(fixes, rules, options);
}

// An answer is either proven or says how far it may be from the best.
bool ProvenOrBounded(const scoring::TScoreResult& result) {
    return result.proven || (result.bound >= result.score && result.bound <= 2 * result.score + 1);
}

}  // namespace

class TstRealFlights : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase() {
        if (!FlightsInstalled())
            QSKIP("the independent scorer's flights are not installed in build/oracle");
    }

    // The file names carry the score the league's server gave.
    void serverScores_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<double>("server");
        for (const char* name :
             {"trifai-xcontest-452.21.igc", "trifai-xcontest-362.70.igc",
              "trifai-xcontest-307.57.igc", "trifai-xcontest-189.65.igc",
              "flat-xcontest-106.82.igc", "flat-xcontest-100.59.igc", "flat-xcontest-8.01.igc",
              "freeflight-xcontest-465.33.igc", "freeflight-xcontest-66.46.igc",
              "opentri-xcontest-428.31.igc", "flat-ffvl-26.37.igc"}) {
            const QString file = QString::fromLatin1(name);
            const QString rules = file.section(QLatin1Char('-'), 1, 1);
            const double server = file.section(QLatin1Char('-'), 2).chopped(4).toDouble();
            QTest::newRow(name) << file << rules << server;
        }
    }
    void serverScores() {
        QFETCH(QString, file);
        QFETCH(QString, rules);
        QFETCH(double, server);
        const scoring::TScoreResult result =
            Score(track::ReadTrackFile(FlightPath(file)), *scoring::RuleSetById(rules));
        QVERIFY(result.proven);
        if (file.startsWith(QLatin1String("flat-ffvl")))
            QEXPECT_FAIL("", "26.40 here as in the public CFD scorer: 1.2 x 22.00 km, closed",
                         Abort);
        QVERIFY2(std::fabs(result.score - server) <= 0.01 + 1e-9,
                 qPrintable(QString::number(result.score, 'f', 2)));
    }

    // A flight with a gap in the track: the French closing rule once kept
    // its search from ending.
    void gapUnderFrenchRules() {
        const auto fixes = track::ReadTrackFile(FlightPath(QStringLiteral("discontinuity.igc")));
        const scoring::TScoreResult result = Score(fixes, scoring::FfvlRules());
        QVERIFY(result.found);
        QVERIFY2(ProvenOrBounded(result), qPrintable(QString::number(result.bound)));
        QVERIFY(result.score > 50);
    }

    // Every flight scored under both leagues' rules and analysed: climbs a
    // glider can make, and thermals that climb.
    void everyFlight_data() {
        QTest::addColumn<QString>("file");
        const QStringList files = QDir(QStringLiteral(TOLMARIK_ORACLE_FLIGHTS))
                                      .entryList({QStringLiteral("*.igc")}, QDir::Files);
        for (const QString& file : files) QTest::newRow(qPrintable(file)) << file;
    }
    void everyFlight() {
        QFETCH(QString, file);
        const auto fixes = track::ReadTrackFile(FlightPath(file));
        for (const scoring::TRuleSet* rules : {&scoring::XContestRules(), &scoring::FfvlRules()}) {
            const scoring::TScoreResult result = Score(fixes, *rules);
            QVERIFY(result.found);
            QVERIFY2(ProvenOrBounded(result), qPrintable(rules->id));
        }
        const scoring::TFlightAnalysis analysis = scoring::AnalyseFlight(fixes);
        QVERIFY(analysis.usable);
        QVERIFY2(analysis.extremes.climb10s <= 15,
                 qPrintable(QString::number(analysis.extremes.climb10s)));
        for (const scoring::TThermal& thermal : analysis.thermals) QVERIFY(thermal.gain > 0);
    }
};

QTEST_GUILESS_MAIN(TstRealFlights)
#include "tst_realflights.moc"
