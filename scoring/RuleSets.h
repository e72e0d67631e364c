#pragma once
// The leagues' rules as data: each rule set is a list of flight kinds, and the
// optimiser treats every kind alike from its fields.
#include <QString>
#include <vector>

namespace scoring {

enum class TShape {
    Open,      // start, up to three turnpoints, finish
    Triangle,  // three turnpoints, closed by a start and a finish point near each other
};

struct TFlightKind {
    QString id;    // for scripts: "free", "triangle", "fai", ...
    QString name;  // shown to the pilot
    TShape shape = TShape::Open;
    double multiplier = 1.0;
    // A triangle's closing distance may be at most the greater of
    // closingShare × perimeter and closingMetres.
    double closingShare = 0;
    double closingMetres = 0;
    // Every leg at least this share of the perimeter; 0 for none.
    double minLegShare = 0;
    // The kind's distance is the perimeter less the closing distance.
    bool subtractClosing = true;
};

struct TRuleSet {
    QString id;    // "xcontest", "ffvl"
    QString name;  // "XContest", "FFVL"
    std::vector<TFlightKind> kinds;
    // Legs, distances (km) and scores are rounded to this many decimals.
    int decimals = 2;
};

const TRuleSet& XContestRules();
const TRuleSet& FfvlRules();
// Null when no rule set has that id.
const TRuleSet* RuleSetById(const QString& id);
QStringList RuleSetIds();
// Null when the rule set has no kind of that id.
const TFlightKind* KindById(const TRuleSet& rules, const QString& id);

double ClosingLimit(const TFlightKind& kind, double perimeter);

}  // namespace scoring
