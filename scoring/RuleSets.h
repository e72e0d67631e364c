#pragma once
// The leagues' rules as data: each rule set is a list of flight kinds, and the
// optimiser treats every kind alike from its fields. Every number names the
// text it comes from (docs/scoring.md quotes them); a new league is one more
// entry in RuleSets.cpp.
#include <QString>
#include <vector>

#include "scoring/Geodesy.h"

namespace scoring {

enum class TShape {
    Open,          // start, up to three turnpoints, finish
    Triangle,      // three turnpoints, closed by a start and a finish point near each other
    OutAndReturn,  // two turnpoints, the way there and back, closed like a triangle
};

struct TFlightKind {
    QString id;    // for scripts: "free", "triangle", "fai", ...
    QString name;  // shown to the pilot
    TShape shape = TShape::Open;
    double multiplier = 1.0;
    // A closed kind's closing distance may be at most the greater of
    // closingShare × the turnpoints' way round and closingMetres.
    double closingShare = 0;
    double closingMetres = 0;
    // The closing distance is taken off the way round when it is over
    // closingFreeMetres (never when subtractClosing is false).
    bool subtractClosing = true;
    double closingFreeMetres = 0;
    // Every leg of a triangle at least / at most this share of the perimeter;
    // 0 for no such rule.
    double minLegShare = 0;
    double maxLegShare = 0;
    // The scored distance (after the closing is taken off) must reach this.
    double minDistanceMetres = 0;
    // Where the numbers come from: document and section.
    QString source;
};

struct TRuleSet {
    QString id;    // "xcontest", "ffvl", ...
    QString name;  // "XContest", "FFVL", ...
    TEarth earth = TEarth::Wgs84;
    // Legs, distances (km) and scores are rounded to this many decimals.
    int decimals = 2;
    std::vector<TFlightKind> kinds;
    // Where the earth model and the rounding come from.
    QString source;
};

const TRuleSet& XContestRules();
const TRuleSet& FfvlRules();
// Every rule set, XContest first.
const std::vector<TRuleSet>& AllRuleSets();
// Null when no rule set has that id.
const TRuleSet* RuleSetById(const QString& id);
QStringList RuleSetIds();
// Null when the rule set has no kind of that id.
const TFlightKind* KindById(const TRuleSet& rules, const QString& id);

// The greatest closing distance a closed kind allows for a way round of
// `perimeter` metres.
double ClosingLimit(const TFlightKind& kind, double perimeter);
// What the closing distance takes off the way round (0 when it is free).
double ClosingPenalty(const TFlightKind& kind, double closing);
// Whether the legs (metres) of a triangle of that perimeter keep the kind's
// leg shares.
bool LegsFit(const TFlightKind& kind, double ab, double bc, double ca, double perimeter);

}  // namespace scoring
