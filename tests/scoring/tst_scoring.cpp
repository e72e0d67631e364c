#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <numbers>
#include <optional>

#include "scoring/Optimizer.h"
#include "scoring/ScoreRunner.h"
#include "tests/scoring/FlightMaker.h"
#include "tests/support/WaitFor.h"

using testflights::TLocalPoint;

// The independent scorer's own time limit per flight.
constexpr int OracleSeconds = 20;

Q_DECLARE_METATYPE(std::vector<TLocalPoint>)

namespace {

// The corners of a triangle with sides a (c0-c1), b (c1-c2), c (c2-c0), in metres.
std::vector<TLocalPoint> Triangle(double a, double b, double c) {
    const double x = (a * a + c * c - b * b) / (2 * a);
    return {{0, 0}, {a, 0}, {x, std::sqrt(c * c - x * x)}};
}

std::vector<TLocalPoint> Closed(std::vector<TLocalPoint> corners) {
    corners.push_back(corners.front());
    return corners;
}

scoring::TScoreResult Score(const std::vector<track::TFlightFix>& fixes,
                            const scoring::TRuleSet& rules, scoring::TScoreOptions options = {}) {
    return scoring::ScoreFixes(fixes, 0, fixes.size() - 1, rules, options);
}

}  // namespace

class TstScoring : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    // Flights whose best solution is known by construction: the corners of
    // the shape are fixes (within a few metres), the wander is far below the legs.
    void knownOptimum_data() {
        QTest::addColumn<std::vector<TLocalPoint>>("corners");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<double>("score");

        const auto equilateral = Closed(Triangle(30000, 30000, 30000));
        QTest::newRow("equilateral, closed: closed FAI triangle") << equilateral << "xcontest"
                                                                  << "closed-fai" << 1.6 * 90;
        QTest::newRow("equilateral under the French rules: FAI triangle") << equilateral << "ffvl"
                                                                          << "fai" << 1.4 * 90;
        // Taken off halfway along a side: the closing points lie on that side,
        // away from the turnpoints, and the first leg slides along it.
        auto midway = Triangle(30000, 30000, 30000);
        const TLocalPoint halfway{midway[2].east / 2, midway[2].north / 2};
        midway.insert(midway.begin(), halfway);
        midway.push_back(halfway);
        QTest::newRow("equilateral taken off halfway along a side") << midway << "xcontest"
                                                                    << "closed-fai" << 1.6 * 90;
        QTest::newRow("out-and-return: closed flat triangle")
            << std::vector<TLocalPoint>{{0, 0}, {40000, 0}, {0, 0}} << "xcontest"
            << "closed-triangle" << 1.4 * 80;
        QTest::newRow("out-and-return under the French rules")
            << std::vector<TLocalPoint>{{0, 0}, {40000, 0}, {0, 0}} << "ffvl"
            << "triangle" << 1.2 * 80;
        QTest::newRow("out-and-return under the UK XC League: two turnpoints, over 35 km")
            << std::vector<TLocalPoint>{{0, 0}, {40000, 0}, {0, 0}} << "xcleague"
            << "out-return-35" << 2.0 * 80;
        QTest::newRow("straight line: free flight")
            << std::vector<TLocalPoint>{{0, 0}, {36000, 48000}} << "xcontest"
            << "free" << 60.0;
        QTest::newRow("straight line under the French rules")
            << std::vector<TLocalPoint>{{0, 0}, {36000, 48000}} << "ffvl"
            << "free" << 60.0;
        // The shortest side is 20 % of the perimeter: no triangle through
        // the corners is FAI, and none cut short scores more.
        QTest::newRow("flat triangle, no FAI")
            << Closed(Triangle(20000, 40000, 40000)) << "xcontest"
            << "closed-triangle" << 1.4 * 100;
        // The flight ends 6 % of the perimeter short of where it started.
        auto open = Triangle(30000, 30000, 30000);
        open.push_back({0.18 * open[2].east, 0.18 * open[2].north});
        QTest::newRow("FAI triangle that just fails to close within 5 %")
            << open << "xcontest"
            << "fai" << 1.4 * (90 - 5.4);
        // The flight ends 2 km short of where it started.
        auto nearlyClosed = Triangle(30000, 30000, 30000);
        nearlyClosed.push_back(
            {2000 / 30000.0 * nearlyClosed[2].east, 2000 / 30000.0 * nearlyClosed[2].north});
        QTest::newRow("closed within 5 %: the closing is taken off") << nearlyClosed << "xcontest"
                                                                     << "closed-fai" << 1.6 * 88;
        QTest::newRow("the same under XContest Norway: its own closed FAI factor")
            << nearlyClosed << "xcontest-norway"
            << "closed-fai" << 2.4 * 88;
        QTest::newRow("FAI triangle short of 5 % under XContest Norway")
            << open << "xcontest-norway"
            << "fai" << 2.2 * (90 - 5.4);
        QTest::newRow("closed within 3 km under the French rules: the whole perimeter")
            << nearlyClosed << "ffvl"
            << "fai" << 1.4 * 90;
        // The French rules take the closing off only when it is over 3 km.
        auto shortBy = [](double metres) {
            auto corners = Triangle(30000, 30000, 30000);
            corners.push_back(
                {metres / 30000 * corners[2].east, metres / 30000 * corners[2].north});
            return corners;
        };
        QTest::newRow("French rules, closing 2.9 km: the whole perimeter")
            << shortBy(2900) << "ffvl"
            << "fai" << 1.4 * 90;
        QTest::newRow("French rules, closing 4 km: taken off") << shortBy(4000) << "ffvl"
                                                               << "fai" << 1.4 * 86;
        QTest::newRow("not closed within 3 km under the French rules: distance")
            << open << "ffvl"
            << "free" << 90 - 5.4;
    }
    void knownOptimum() {
        QFETCH(std::vector<TLocalPoint>, corners);
        QFETCH(QString, rules);
        QFETCH(QString, kind);
        QFETCH(double, score);
        const auto fixes = testflights::AlongPolyline(corners, 3000, 3);
        const scoring::TScoreResult result = Score(fixes, *scoring::RuleSetById(rules));
        QVERIFY(result.found);
        QVERIFY(result.proven);
        QCOMPARE(result.kindId, kind);
        // The shapes are laid out in metres on a sphere: on the ellipsoid
        // their legs come out up to 0.3 % longer.
        QVERIFY2(std::fabs(result.score - score) < 0.004 * score + 0.15 * result.multiplier,
                 qPrintable(QString::number(result.score)));
        // The reported parts add up to the score.
        const scoring::TRuleSet& set = *scoring::RuleSetById(rules);
        const auto kindRule = std::find_if(set.kinds.begin(), set.kinds.end(),
                                           [&](const auto& k) { return k.id == kind; });
        double legs = 0;
        for (double leg : result.legsKm) legs += leg;
        legs -= scoring::ClosingPenalty(*kindRule, result.closingKm * 1000) / 1000;
        QVERIFY(std::fabs(legs - result.distanceKm) <= 0.03);
        QVERIFY(std::fabs(result.distanceKm * result.multiplier - result.score) <= 0.02);
        for (const scoring::TScorePoint& point : result.points) QVERIFY(point.index < fixes.size());
        if (result.closed) {
            QVERIFY(result.closingStart.index <= result.points.front().index);
            QVERIFY(result.closingEnd.index >= result.points.back().index);
        }
    }

    // Stopped by its time limit, the search reports a solution and the most
    // any solution could score: at least the optimum, be it a triangle or an
    // open distance.
    // A line flown at constant speed between ground on either side: take-off
    // and landing fall on its ends, and on the sphere XContest measures it is
    // its length to the metre.
    void constantSpeedLine() {
        std::vector<track::TFlightFix> fixes;
        constexpr double speed = 10, length = 400000;
        constexpr double degreesPerMetre = 180 / (std::numbers::pi * scoring::FaiRadius);
        track::TFlightFix fix;
        fix.latitude = 40;
        fix.longitude = 6;
        fix.altitude = 1000;
        fix.hasTime = true;
        fix.time = 1765272000;
        auto add = [&](int seconds, double metresPerSecond) {
            for (int s = 0; s < seconds; ++s) {
                fixes.push_back(fix);
                fix.latitude += metresPerSecond * degreesPerMetre;
                fix.time += 1;
            }
        };
        add(120, 0);
        add(int(length / speed), speed);
        add(120, 0);
        const scoring::TScoreResult result = scoring::ScoreFlight(fixes, scoring::XContestRules());
        QVERIFY(result.proven);
        QCOMPARE(result.kindId, QStringLiteral("free"));
        QCOMPARE(result.score, 400.00);
    }

    void timeLimitLeavesTheScoreUnproven_data() {
        QTest::addColumn<int>("flight");
        QTest::newRow("triangle") << 0;
        QTest::newRow("straight line") << 2;
    }
    void timeLimitLeavesTheScoreUnproven() {
        QFETCH(int, flight);
        const auto flights = testflights::GeneratedFlights({20000});
        const auto& fixes = flights[std::size_t(flight)].fixes;
        scoring::TScoreOptions options;
        options.timeLimitSeconds = 1e-6;
        const scoring::TScoreResult result = Score(fixes, scoring::XContestRules(), options);
        QVERIFY(!result.proven);
        QVERIFY(!result.cancelled);
        const scoring::TScoreResult optimum = Score(fixes, scoring::XContestRules());
        QVERIFY(optimum.proven);
        QVERIFY(result.score <= optimum.score);
        QVERIFY2(result.bound >= optimum.score - 0.01,
                 qPrintable(QStringLiteral("%1 < %2").arg(result.bound).arg(optimum.score)));
        // The bound is given as the score is: to the hundredth.
        QCOMPARE(std::round(result.bound * 100) / 100, result.bound);
    }

    void cancelStopsTheSearch() {
        const auto fixes =
            testflights::AlongPolyline(Closed(Triangle(30000, 30000, 30000)), 5000, 3);
        std::atomic<bool> cancel{true};
        scoring::TScoreOptions options;
        options.cancel = &cancel;
        const scoring::TScoreResult result = Score(fixes, scoring::XContestRules(), options);
        QVERIFY(result.cancelled);
        QVERIFY(!result.proven);
    }

    void tooFewFixesScoreNothing() {
        QVERIFY(!Score({}, scoring::XContestRules()).found);
        QVERIFY(!scoring::ScoreFlight({track::TFlightFix{}}, scoring::XContestRules()).found);
    }

    void runnerReportsOffTheCallingThread() {
        auto fixes = std::make_shared<const std::vector<track::TFlightFix>>(
            testflights::AlongPolyline(Closed(Triangle(30000, 30000, 30000)), 3000, 3));
        scoring::TScoreRunner runner;
        QSignalSpy finished(&runner, &scoring::TScoreRunner::Finished);
        runner.Start(fixes, scoring::FfvlRules());
        QVERIFY(finished.wait(60000));
        const auto report = finished.at(0).at(0).value<scoring::TFlightReport>();
        QCOMPARE(report.score.rulesName, QStringLiteral("FFVL"));
        QVERIFY(report.score.proven);
        QVERIFY(report.analysis.usable);

        // A newer start replaces the older search; only the newer one reports.
        finished.clear();
        runner.Start(fixes);
        runner.Start(fixes, scoring::FfvlRules());
        QVERIFY(finished.wait(60000));
        TRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 200);
        QCOMPARE(finished.at(0).at(0).value<scoring::TFlightReport>().score.rulesName,
                 QStringLiteral("FFVL"));

        finished.clear();
        runner.Start(std::make_shared<const std::vector<track::TFlightFix>>(
            testflights::GeneratedFlights({40000})[1].fixes));
        runner.Cancel();
        QVERIFY(finished.wait(60000));
        QVERIFY(finished.at(0).at(0).value<scoring::TFlightReport>().score.cancelled);
    }

    // The caller's rule set may change or go while the search runs.
    void runnerScoresByTheRulesGivenAtStart() {
        auto fixes = std::make_shared<const std::vector<track::TFlightFix>>(
            testflights::AlongPolyline(Closed(Triangle(30000, 30000, 30000)), 3000, 3));
        scoring::TScoreRunner runner;
        QSignalSpy finished(&runner, &scoring::TScoreRunner::Finished);
        {
            scoring::TRuleSet rules = scoring::FfvlRules();
            runner.Start(fixes, rules);
            rules.name = QStringLiteral("changed");
            rules.kinds.clear();
        }
        QVERIFY(finished.wait(60000));
        const auto report = finished.at(0).at(0).value<scoring::TFlightReport>();
        QCOMPARE(report.score.rulesName, QStringLiteral("FFVL"));
        QVERIFY(report.score.found);
        QVERIFY(report.score.proven);
    }

    // The same scores as an independent scorer on the generated flights. Its
    // figures are kept in data/independent-scores.txt; with
    // TOLMARIK_ORACLE_RECORD naming a file, the scorer runs afresh and its
    // figures are written there (scripts/oracle-scores).
    void sameAsIndependentScorer_data() {
        QTest::addColumn<int>("flight");
        QTest::addColumn<QString>("rules");
        for (int i = 0; i < 4; ++i)
            QTest::addRow("%s", qPrintable(flights_[i].name)) << i << QStringLiteral("xcontest");
        for (int i = 0; i < 2; ++i)
            QTest::addRow("%s, French rules", qPrintable(flights_[i].name))
                << i << QStringLiteral("ffvl");
    }
    void sameAsIndependentScorer() {
        QFETCH(int, flight);
        QFETCH(QString, rules);
        const testflights::TMadeFlight& made = flights_[flight];
        const QString record = qEnvironmentVariable("TOLMARIK_ORACLE_RECORD");
        std::optional<TOracleFigure> figure;
        if (record.isEmpty()) {
            figure = KeptFigure(made.name, rules);
            QVERIFY2(figure, "no kept figure for this flight: run scripts/oracle-scores");
        } else {
            figure = RunOracle(made, rules);
            QVERIFY(figure);
            QVERIFY(AppendFigure(record, made.name, rules, *figure));
        }
        // The other scorer measures every league on the ellipsoid.
        scoring::TRuleSet onEllipsoid = *scoring::RuleSetById(rules);
        onEllipsoid.earth = scoring::TEarth::Wgs84;
        const scoring::TScoreResult result = Score(made.fixes, onEllipsoid);
        QVERIFY(result.proven);
        // The other scorer may run out of time (long straight flights): its
        // best is then a solution ours must reach.
        const QString text = QStringLiteral(
                                 "%1 against %2 (a changed flight needs "
                                 "scripts/oracle-scores)")
                                 .arg(result.score)
                                 .arg(figure->score);
        // It adds up its legs (and closing) each rounded to 0.01 km, where
        // this scorer rounds their sum once: up to 0.005 km apart per part.
        const double rounding = 4 * 0.005 * result.multiplier + 0.0001;
        if (figure->optimal)
            QVERIFY2(std::fabs(result.score - figure->score) <= rounding, qPrintable(text));
        else
            QVERIFY2(result.score >= figure->score - rounding, qPrintable(text));
    }

  private:
    struct TOracleFigure {
        double score = 0;
        bool optimal = false;
    };

    // The kept figure of `name` under `rules`: lines "name<TAB>rules<TAB>
    // score<TAB>optimal", '#' starting a comment.
    static std::optional<TOracleFigure> KeptFigure(const QString& name, const QString& rules) {
        QFile file(QStringLiteral(":/independent-scores.txt"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (line.startsWith(QLatin1Char('#')) || fields.size() != 4) continue;
            if (fields[0] != name || fields[1] != rules) continue;
            bool ok = false;
            const double score = fields[2].toDouble(&ok);
            if (!ok) return std::nullopt;
            return TOracleFigure{score, fields[3] == QLatin1String("1")};
        }
        return std::nullopt;
    }

    std::optional<TOracleFigure> RunOracle(const testflights::TMadeFlight& made,
                                           const QString& rules) {
        const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
        if (node.isEmpty() || !QFile::exists(QStringLiteral(TOLMARIK_ORACLE))) {
            qWarning("igc-xc-score is not installed (scripts/oracle installs it)");
            return std::nullopt;
        }
        const QString igc = folder_.filePath(made.name + QStringLiteral(".igc"));
        const QString json = folder_.filePath(made.name + rules + QStringLiteral(".json"));
        QFile file(igc);
        if (!file.open(QIODevice::WriteOnly)) return std::nullopt;
        file.write(testflights::IgcText(made.fixes));
        file.close();
        QProcess oracle;
        oracle.start(node, {QStringLiteral(TOLMARIK_ORACLE), igc, QStringLiteral("out=") + json,
                            QStringLiteral("quiet=true"), QStringLiteral("hp=true"),
                            QStringLiteral("maxtime=%1").arg(OracleSeconds),
                            QStringLiteral("scoring=") + (rules == QLatin1String("ffvl")
                                                              ? QStringLiteral("FFVL")
                                                              : QStringLiteral("XContest"))});
        if (!oracle.waitForFinished(120000)) return std::nullopt;
        QFile out(json);
        if (!out.open(QIODevice::ReadOnly)) return std::nullopt;
        const QJsonObject properties =
            QJsonDocument::fromJson(out.readAll())[QStringLiteral("properties")].toObject();
        return TOracleFigure{properties[QStringLiteral("score")].toDouble(),
                             properties[QStringLiteral("optimal")].toBool()};
    }

    static bool AppendFigure(const QString& path, const QString& name, const QString& rules,
                             const TOracleFigure& figure) {
        QFile file(path);
        if (!file.open(QIODevice::Append | QIODevice::Text)) return false;
        const QByteArray line = QStringLiteral("%1\t%2\t%3\t%4\n")
                                    .arg(name, rules)
                                    .arg(figure.score, 0, 'f', 6)
                                    .arg(figure.optimal ? 1 : 0)
                                    .toUtf8();
        return file.write(line) == line.size();
    }

    std::vector<testflights::TMadeFlight> flights_ = testflights::GeneratedFlights({3000});
    QTemporaryDir folder_;
};

QTEST_GUILESS_MAIN(TstScoring)
#include "tst_scoring.moc"
