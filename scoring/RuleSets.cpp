#include "scoring/RuleSets.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <map>
#include <mutex>

namespace scoring {

namespace {

// The documents the numbers come from (docs/scoring.md quotes them).
const char* const XContestText = "XContest rules, \"Scoring\" (xcontest.org/world/en/rules)";
const char* const XContestEarth =
    "XContest server: ten server-scored flights (igc-xc-score test folder) measure on the FAI "
    "sphere, R = 6371 km, within 0.01 points";
const char* const AnnecyText =
    "Annecy XC Challenge rules, \"Tracks value\" (xcontest.org/axcc/rules): XContest rules with "
    "a closing under 10 %";
const char* const NorwayText =
    "XContest Norway rules, \"Scoringfaktorer\" (xcontest.org/norway/regler): 1.0, 1.5, 1.7, "
    "2.2, 2.4; triangle within 20 %, closed triangle within 5 %";
const char* const CfdText =
    "FFVL, Coupe Fédérale de Distance rules, section 6 (flight types and coefficients; triangle "
    "closed within 3 km)";
const char* const CfdScorers =
    "igc-xc-score scoring-rules.config.js, FFVL: closing at most 3 km or 5 %, taken off over "
    "3 km (closingDistanceFree 3)";
const char* const CfdEarth =
    "igc-xc-score (public CFD scorer): distances on the WGS84 ellipsoid (Vincenty)";
const char* const XcLeagueText =
    "UK XC League rules, \"Flights\" (xcleague.com/xc/info/rulesflights-circuit.html): circuit "
    "gap within 800 m (two 400 m cylinders) and deducted; minimum distance after the deduction; "
    "flat triangle legs 15-45 %";
const char* const XcLeagueTable =
    "igc-xc-score scoring-rules.config.js, XCLeague: multipliers and minimum distances";

TFlightKind Open(QString id, QString name, double multiplier, const char* source) {
    TFlightKind kind;
    kind.id = std::move(id);
    kind.name = std::move(name);
    kind.multiplier = multiplier;
    kind.source = QString::fromUtf8(source);
    return kind;
}

TFlightKind Closed(TShape shape, QString id, QString name, double multiplier, double closingShare,
                   double closingMetres, double minLegShare, const char* source) {
    TFlightKind kind = Open(std::move(id), std::move(name), multiplier, source);
    kind.shape = shape;
    kind.closingShare = closingShare;
    kind.closingMetres = closingMetres;
    kind.minLegShare = minLegShare;
    return kind;
}

TFlightKind Triangle(QString id, QString name, double multiplier, double closingShare,
                     double closingMetres, double minLegShare, const char* source) {
    return Closed(TShape::Triangle, std::move(id), std::move(name), multiplier, closingShare,
                  closingMetres, minLegShare, source);
}

// The FAI triangle's least leg: FAI Sporting Code, Section 7D (and every
// league's text that names it).
constexpr double FaiLegShare = 0.28;

QString FreeFlightName() { return QCoreApplication::translate("scoring", "свободный полёт"); }

// XContest's free flight, free and FAI triangle; its leagues differ in the
// closing share.
std::vector<TFlightKind> XContestKinds(double closingShare, const char* source) {
    return {
        Open(QStringLiteral("free"), FreeFlightName(), 1.0, source),
        Triangle(QStringLiteral("triangle"), QCoreApplication::translate("scoring", "треугольник"),
                 1.2, closingShare, 0, 0, source),
        Triangle(QStringLiteral("fai"), QCoreApplication::translate("scoring", "треугольник FAI"),
                 1.4, closingShare, 0, FaiLegShare, source)};
}

TRuleSet XContest() {
    std::vector<TFlightKind> kinds = XContestKinds(0.2, XContestText);
    kinds.push_back(Triangle(QStringLiteral("closed-triangle"),
                             QCoreApplication::translate("scoring", "замкнутый треугольник"), 1.4,
                             0.05, 0, 0, XContestText));
    kinds.push_back(Triangle(QStringLiteral("closed-fai"),
                             QCoreApplication::translate("scoring", "замкнутый треугольник FAI"),
                             1.6, 0.05, 0, FaiLegShare, XContestText));
    return {QStringLiteral("xcontest"), QStringLiteral("XContest"),      TEarth::FaiSphere, 2,
            std::move(kinds),           QString::fromUtf8(XContestEarth)};
}

TRuleSet Annecy() {
    return {QStringLiteral("xcontest-annecy"),
            QStringLiteral("XContest Annecy XC Challenge"),
            TEarth::FaiSphere,
            2,
            XContestKinds(0.1, AnnecyText),
            QString::fromUtf8(XContestEarth)};
}

TRuleSet Norway() {
    return {
        QStringLiteral("xcontest-norway"),
        QStringLiteral("XContest Norway"),
        TEarth::FaiSphere,
        2,
        {Open(QStringLiteral("free"), FreeFlightName(), 1.0, NorwayText),
         Triangle(QStringLiteral("triangle"), QCoreApplication::translate("scoring", "треугольник"),
                  1.5, 0.2, 0, 0, NorwayText),
         Triangle(QStringLiteral("fai"), QCoreApplication::translate("scoring", "треугольник FAI"),
                  2.2, 0.2, 0, FaiLegShare, NorwayText),
         Triangle(QStringLiteral("closed-triangle"),
                  QCoreApplication::translate("scoring", "замкнутый треугольник"), 1.7, 0.05, 0, 0,
                  NorwayText),
         Triangle(QStringLiteral("closed-fai"),
                  QCoreApplication::translate("scoring", "замкнутый треугольник FAI"), 2.4, 0.05, 0,
                  FaiLegShare, NorwayText)},
        QString::fromUtf8(XContestEarth)};
}

TRuleSet Ffvl() {
    auto closedByCfd = [](TFlightKind kind) {
        kind.closingFreeMetres = 3000;
        return kind;
    };
    return {QStringLiteral("ffvl"),
            QStringLiteral("FFVL"),
            TEarth::Wgs84,
            2,
            {Open(QStringLiteral("free"),
                  QCoreApplication::translate("scoring", "дистанция через 3 точки"), 1.0, CfdText),
             closedByCfd(Triangle(QStringLiteral("triangle"),
                                  QCoreApplication::translate("scoring", "плоский треугольник"),
                                  1.2, 0.05, 3000, 0, CfdScorers)),
             closedByCfd(Triangle(QStringLiteral("fai"),
                                  QCoreApplication::translate("scoring", "треугольник FAI"), 1.4,
                                  0.05, 3000, FaiLegShare, CfdScorers))},
            QString::fromUtf8(CfdEarth)};
}

TRuleSet XcLeague() {
    auto least = [](TFlightKind kind, double km) {
        kind.minDistanceMetres = km * 1000;
        return kind;
    };
    auto outAndReturn = [&](const char* tier, double multiplier, double km) {
        return least(
            Closed(TShape::OutAndReturn, QStringLiteral("out-return-%1").arg(tier),
                   QCoreApplication::translate("scoring", "туда и обратно от %1 км").arg(tier),
                   multiplier, 0, 800, 0, XcLeagueText),
            km);
    };
    auto flat = [&](const char* tier, double multiplier, double km) {
        TFlightKind kind = least(
            Triangle(
                QStringLiteral("triangle-%1").arg(tier),
                QCoreApplication::translate("scoring", "плоский треугольник от %1 км").arg(tier),
                multiplier, 0, 800, 0.15, XcLeagueText),
            km);
        kind.maxLegShare = 0.45;
        return kind;
    };
    auto fai = [&](const char* tier, double multiplier, double km) {
        return least(
            Triangle(QStringLiteral("fai-%1").arg(tier),
                     QCoreApplication::translate("scoring", "треугольник FAI от %1 км").arg(tier),
                     multiplier, 0, 800, FaiLegShare, XcLeagueText),
            km);
    };
    return {QStringLiteral("xcleague"),
            QStringLiteral("UK XC League"),
            TEarth::Wgs84,
            1,
            {least(Open(QStringLiteral("free"),
                        QCoreApplication::translate("scoring", "полёт через 3 точки"), 1.0,
                        XcLeagueTable),
                   5),
             outAndReturn("35", 2.0, 35), outAndReturn("15", 1.5, 15), outAndReturn("5", 1.2, 5),
             flat("35", 2.0, 35), flat("15", 1.5, 15), flat("5", 1.2, 5), fai("25", 2.3, 25),
             fai("15", 2.0, 15), fai("5", 1.5, 5)},
            QStringLiteral("%1; distances on WGS84 and the score to 0.1 as igc-xc-score does")
                .arg(QString::fromUtf8(XcLeagueTable))};
}

}  // namespace

const std::vector<TRuleSet>& AllRuleSets() {
    // The names follow the language in force when asked, and one name tells
    // the languages apart: building the sets to compare them would cost more
    // than a lookup is worth. Each language's sets are kept for good, as
    // callers hold references to them.
    static std::mutex mutex;
    static std::map<QString, std::vector<TRuleSet>> byLanguage;
    const QString language = FreeFlightName();
    const std::lock_guard lock(mutex);
    auto known = byLanguage.find(language);
    if (known == byLanguage.end())
        known = byLanguage
                    .emplace(language, std::vector<TRuleSet>{XContest(), Ffvl(), Annecy(), Norway(),
                                                             XcLeague()})
                    .first;
    return known->second;
}

const TRuleSet& XContestRules() { return AllRuleSets()[0]; }
const TRuleSet& FfvlRules() { return AllRuleSets()[1]; }

const TRuleSet* RuleSetById(const QString& id) {
    for (const TRuleSet& rules : AllRuleSets())
        if (rules.id == id) return &rules;
    return nullptr;
}

QStringList RuleSetIds() {
    QStringList ids;
    for (const TRuleSet& rules : AllRuleSets()) ids << rules.id;
    return ids;
}

const TFlightKind* KindById(const TRuleSet& rules, const QString& id) {
    for (const TFlightKind& kind : rules.kinds)
        if (kind.id == id) return &kind;
    return nullptr;
}

double ClosingLimit(const TFlightKind& kind, double perimeter) {
    return std::max(kind.closingShare * perimeter, kind.closingMetres);
}

double ClosingPenalty(const TFlightKind& kind, double closing) {
    return kind.subtractClosing && closing > kind.closingFreeMetres ? closing : 0;
}

bool LegsFit(const TFlightKind& kind, double ab, double bc, double ca, double perimeter) {
    if (kind.minLegShare > 0 && std::min({ab, bc, ca}) < kind.minLegShare * perimeter) return false;
    if (kind.maxLegShare > 0 && std::max({ab, bc, ca}) > kind.maxLegShare * perimeter) return false;
    return true;
}

}  // namespace scoring
