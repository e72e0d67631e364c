#pragma once
// The best scoring solution of a flight under a rule set, proven by branch and
// bound: the turnpoints range over index intervals of the fixes (the nodes of
// a binary tree over the fixes, each with its latitude/longitude box), an
// interval triple is bounded from the boxes, and the closing points of a
// triangle come from a nearest-pair search between the fixes before the first
// turnpoint and those after the last. docs/scoring.md explains the bounds.
#include <QString>
#include <atomic>
#include <cstddef>
#include <functional>
#include <vector>

#include "scoring/RuleSets.h"
#include "track/FlightFix.h"

namespace scoring {

// The search stops proving once no solution can beat the best found by more
// than this many metres (times the multiplier): far below the 10 m a score's
// last decimal stands for.
inline constexpr double ProofToleranceMetres = 1.0;

struct TScoreOptions {
    double timeLimitSeconds = 0;  // 0: until proven
    const std::atomic<bool>* cancel = nullptr;
    // Called now and then from the searching thread with 0..100.
    std::function<void(int)> progress;
};

struct TScorePoint {
    std::size_t index = 0;  // into the fixes given
    double latitude = 0, longitude = 0;
    bool hasTime = false;
    device::TrackTime time = 0;
};

struct TScoreResult {
    bool found = false;  // false when the flight has fewer than two fixes
    QString rulesName;
    QString kindId;
    QString kindName;
    double multiplier = 1;
    // In km, rounded as the rule set says; the score in points.
    double distanceKm = 0;
    double score = 0;
    std::vector<double> legsKm;
    double closingKm = 0;  // triangles only
    // Open flights: start, turnpoints, finish. Triangles: the three turnpoints.
    std::vector<TScorePoint> points;
    // Triangles: where the flight closes (before the first turnpoint and after
    // the last); open flights leave these unset.
    bool closed = false;
    TScorePoint closingStart, closingEnd;
    // Proven: no solution scores more than `score` (within the tolerance).
    // Otherwise `bound` is the most any solution could score.
    bool proven = false;
    bool cancelled = false;
    double bound = 0;
    // Fixes searched (take-off to landing) and the work it took.
    std::size_t firstFix = 0, lastFix = 0;
    std::size_t nodesExpanded = 0;
};

// Scores the fixes between take-off and landing (track::DetectFlight).
TScoreResult ScoreFlight(const std::vector<track::TFlightFix>& fixes, const TRuleSet& rules,
                         const TScoreOptions& options = {});

// Scores fixes[first..last] as they stand.
TScoreResult ScoreFixes(const std::vector<track::TFlightFix>& fixes, std::size_t first,
                        std::size_t last, const TRuleSet& rules, const TScoreOptions& options = {});

}  // namespace scoring
