#include "scoring/Optimizer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <numbers>
#include <unordered_map>

#include "scoring/Geodesy.h"
#include "track/FlightPhases.h"

namespace scoring {

namespace {

// The fixes are grouped in buckets of this many consecutive fixes: the tree's
// leaves. Three buckets are searched fix by fix.
constexpr int BucketFixes = 8;
// The closing bound of an interval triple looks at this many node pairs at
// most; the exact closing of a turnpoint triple looks as long as it takes.
constexpr std::size_t BoundPairBudget = 1024;
// Above this many fixes, a thinned copy of the flight is solved first: its
// optimum is a valid solution of the whole flight and a strong first bound.
constexpr int SeedAbove = 3000;
constexpr int SeedFixes = 1500;
constexpr int OpenSeedFixes = 300;
// Each step of the open distance's dynamic programme may miss its best by
// this much: four legs stay well within the proof's tolerance.
constexpr double OpenStepTolerance = 0.2;
// Closings kept at most (some 50 MB in all).
constexpr std::size_t MaxKeptClosings = 1 << 19;
// A node whose turnpoint the bound lets slide along its fixes is split only
// when it is this many times wider than the others: splitting the others is
// what tightens such a bound.
constexpr double SlideSplitFactor = 4;
// The open distance's quick bound works on this many nodes at most.
constexpr int CoarseOpenNodes = 256;

struct TSolution {
    double value = -1;  // score in metres (times the multiplier)
    int s = -1, a = -1, b = -1, c = -1, e = -1;
    double perimeter = 0, closing = 0;
};

// What a bound from the distances of centres and radii may be short of the
// distance it bounds: the distance's triangle defect, four times over (a bound
// chains up to three triangle inequalities).
double Slack(double distance) {
    return 4 * (TriangleDefectMetres + TriangleDefectRatio * distance);
}

// The fixes of one search and a tree over buckets of them: every node is a
// run of consecutive fixes with a centre fix and a radius around it, so the
// distance between any fixes of two nodes lies within the centres' distance
// plus or minus both radii.
class TProblem {
  public:
    TProblem(const std::vector<track::TFlightFix>& fixes, const std::vector<std::size_t>& indices,
             TEarth earth)
        : m_(int(indices.size())), earth_(earth) {
        geo_.reserve(m_);
        for (std::size_t index : indices)
            geo_.push_back(GeoPoint(fixes[index].latitude, fixes[index].longitude, earth_));
        const int buckets = (m_ + BucketFixes - 1) / BucketFixes;
        leaves_ = 1;
        while (leaves_ < buckets) leaves_ *= 2;
        lo_.resize(2 * leaves_);
        hi_.resize(2 * leaves_);
        centre_.resize(2 * leaves_);
        radius_.assign(2 * leaves_, 0);
        span_.assign(2 * leaves_, 0);
        for (int i = 0; i < leaves_; ++i) {
            lo_[leaves_ + i] = i * BucketFixes;
            hi_[leaves_ + i] = std::min(i * BucketFixes + BucketFixes - 1, m_ - 1);
        }
        for (int id = leaves_ - 1; id >= 1; --id) {
            lo_[id] = lo_[2 * id];
            hi_[id] = std::max(hi_[2 * id], hi_[2 * id + 1]);
        }
        for (int id = 1; id < 2 * leaves_; ++id) {
            if (Empty(id)) continue;
            centre_[id] = (lo_[id] + hi_[id]) / 2;
            double radius = 0, span = 0;
            for (int j = lo_[id]; j <= hi_[id]; ++j) {
                radius = std::max(radius, D(centre_[id], j));
                span = std::max(span, D(lo_[id], j) + D(j, hi_[id]));
            }
            radius_[id] = radius;
            span_[id] = span;
        }
    }

    int Size() const { return m_; }
    int Leaves() const { return leaves_; }
    bool Empty(int id) const { return lo_[id] > hi_[id]; }
    bool IsLeaf(int id) const { return id >= leaves_; }
    int Lo(int id) const { return lo_[id]; }
    int Hi(int id) const { return hi_[id]; }
    double Radius(int id) const { return radius_[id]; }
    // The longest way from the node's first fix through one of its fixes to
    // its last: a straight run of fixes has the span of its ends.
    double Span(int id) const { return span_[id]; }
    double D(int i, int j) const { return Distance(geo_[i], geo_[j], earth_); }

    // The greatest distance between any fixes of two nodes, at least.
    double MaxUp(int p, int q) const {
        const double d = D(centre_[p], centre_[q]) + radius_[p] + radius_[q];
        return d + Slack(d);
    }
    // The least distance between any fixes of two nodes, at most.
    double MinLo(int p, int q) const {
        const double d = D(centre_[p], centre_[q]);
        return std::max(0.0, d - radius_[p] - radius_[q] - Slack(d));
    }
    // The greatest distance from fix i to any fix of node q, at least.
    double MaxUpFromFix(int i, int q) const {
        const double d = D(i, centre_[q]) + radius_[q];
        return d + Slack(d);
    }

    struct TClosing {
        double value = 0;  // a lower bound of the closing distance, exact when `exact`
        bool exact = false;
        int s = -1, e = -1;  // the pair, when exact and below the cutoff
    };
    // The nearest pair of a fix at or before `a` and one at or after `c`.
    // Stops at `cutoff` (the result is then at least the cutoff) and after
    // `budget` node pairs (the result is then a lower bound).
    TClosing Closing(int a, int c, double cutoff, std::size_t budget) {
        if (a >= c) return {0, true, c, c};
        double best = cutoff;
        int bs = -1, be = -1;
        std::vector<TPair>& heap = pairs_;
        heap.clear();
        heap.push_back({0, 1, 1});
        std::size_t taken = 0;
        while (!heap.empty()) {
            std::pop_heap(heap.begin(), heap.end());
            const TPair top = heap.back();
            heap.pop_back();
            if (top.lowerBound >= best) break;
            if (++taken > budget) return {std::min(best, top.lowerBound), false};
            const bool splitFirst =
                !IsLeaf(top.first) &&
                (IsLeaf(top.second) || radius_[top.first] >= radius_[top.second]);
            if (IsLeaf(top.first) && IsLeaf(top.second)) {
                for (int s = lo_[top.first], sHi = std::min(hi_[top.first], a); s <= sHi; ++s)
                    for (int e = std::max(lo_[top.second], c); e <= hi_[top.second]; ++e) {
                        const double d = D(s, e);
                        if (d < best) best = d, bs = s, be = e;
                    }
                continue;
            }
            auto push = [&](int first, int second) {
                if (Empty(first) || Empty(second)) return;
                if (lo_[first] > a || hi_[second] < c) return;
                const double lb = MinLo(first, second);
                if (lb >= best) return;
                heap.push_back({lb, first, second});
                std::push_heap(heap.begin(), heap.end());
            };
            if (splitFirst) {
                push(2 * top.first, top.second);
                push(2 * top.first + 1, top.second);
            } else {
                push(top.first, 2 * top.second);
                push(top.first, 2 * top.second + 1);
            }
        }
        if (bs < 0) return {best, true};
        return {best, true, bs, be};
    }

  private:
    struct TPair {
        double lowerBound;
        int first, second;
        bool operator<(const TPair& other) const { return lowerBound > other.lowerBound; }
    };

    int m_;
    TEarth earth_;
    int leaves_ = 1;
    std::vector<TGeoPoint> geo_;
    std::vector<int> lo_, hi_, centre_;
    std::vector<double> radius_, span_;
    std::vector<TPair> pairs_;
};

struct TNode {
    double bound;
    int a, b, c;
    // The node whose turnpoint the bound let slide along its fixes (0..2),
    // or -1: the others are split first.
    int slide = -1;
    bool operator<(const TNode& other) const { return bound < other.bound; }
};

struct TProgress {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    double timeLimit = 0;
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(int)> report;
    int lastPercent = -1;
    bool stopped = false;
    bool cancelled = false;

    // A hundredth of the limit is left for the steps between two looks at
    // the clock and for the answer itself, so that the answer comes within it.
    bool ShouldStop() {
        if (cancel && cancel->load(std::memory_order_relaxed)) stopped = cancelled = true;
        if (timeLimit > 0 &&
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >=
                0.99 * timeLimit)
            stopped = true;
        return stopped;
    }
    void Report(double share) {
        const int percent = std::clamp(int(share * 100), 0, 100);
        if (percent != lastPercent && report) report(percent);
        lastPercent = percent;
    }
};

// The search over one flight for every kind of the rule set.
class TSearch {
  public:
    TSearch(TProblem& problem, const TRuleSet& rules, TProgress& progress)
        : p_(problem), rules_(rules), progress_(progress) {
        best_.resize(rules_.kinds.size());
        bounds_.assign(rules_.kinds.size(), 0);
    }

    // A solution found elsewhere (on a thinned copy), in this problem's fixes.
    void Offer(std::size_t kind, int s, int a, int b, int c, int e) {
        const TFlightKind& rule = rules_.kinds[kind];
        if (rule.shape != TShape::Open) return Evaluate(kind, a, b, c);
        const double way = p_.D(s, a) + p_.D(a, b) + p_.D(b, c) + p_.D(c, e);
        if (way >= rule.minDistanceMetres && rule.multiplier * way > BestValue())
            best_[kind] = {rule.multiplier * way, s, a, b, c, e, way, 0};
    }

    void Run(bool open, bool closed) {
        const std::size_t kinds = rules_.kinds.size();
        progress_.ShouldStop();
        for (std::size_t k = 0; k < kinds && open; ++k) {
            if (rules_.kinds[k].shape != TShape::Open) continue;
            const double bound = rules_.kinds[k].multiplier * OpenBound();
            if (!progress_.stopped && bound > BestValue() + Tolerance(k)) SolveOpen(k);
            // An open distance not worked out to its end may still reach its bound.
            if (progress_.stopped) bounds_[k] = bound;
        }
        for (std::size_t k = 0; k < kinds && closed; ++k)
            if (rules_.kinds[k].shape != TShape::Open) bounds_[k] = Bound(k, 1, 1, 1);
        for (std::size_t k = 0; k < kinds && closed && !progress_.stopped; ++k)
            if (rules_.kinds[k].shape != TShape::Open) RunKind(k);
    }

    double BestValue() const {
        double value = -1;
        for (const TSolution& s : best_) value = std::max(value, s.value);
        return value;
    }
    const std::vector<TSolution>& Best() const { return best_; }
    double UpperBound() const {
        return std::max(BestValue(), *std::max_element(bounds_.begin(), bounds_.end()));
    }
    std::size_t Expanded() const { return expanded_; }

  private:
    double Tolerance(std::size_t kind) const {
        return ProofToleranceMetres * rules_.kinds[kind].multiplier;
    }

    void RunKind(std::size_t k) {
        std::vector<TNode> heap;
        const double root = bounds_[k];
        if (root > BestValue() + Tolerance(k)) heap.push_back({root, 1, 1, 1});
        std::size_t steps = 0;
        while (!heap.empty()) {
            const double top = heap.front().bound;
            const double best = BestValue();
            if (top <= best + Tolerance(k)) break;
            if (++steps % 32 == 1) {
                if (progress_.ShouldStop()) {
                    bounds_[k] = top;
                    return;
                }
                const double gap = root - best;
                const double share = gap > 0 ? 1 - (top - best) / gap : 1;
                progress_.Report((double(k) + std::clamp(share, 0.0, 1.0)) /
                                 double(rules_.kinds.size()));
            }
            std::pop_heap(heap.begin(), heap.end());
            const TNode node = heap.back();
            heap.pop_back();
            ++expanded_;
            // An out-and-return has no middle turnpoint: its node stays the root.
            const bool twoPoints = rules_.kinds[k].shape == TShape::OutAndReturn;
            if (p_.IsLeaf(node.a) && (twoPoints || p_.IsLeaf(node.b)) && p_.IsLeaf(node.c)) {
                if (twoPoints)
                    SearchBucketPairs(k, node.a, node.c);
                else
                    SearchBuckets(k, node.a, node.b, node.c);
                continue;
            }
            // The node of the widest radius is split, the sliding one last.
            TNode child = node;
            int* choice[3] = {&child.a, &child.b, &child.c};
            const int ids[3] = {node.a, node.b, node.c};
            int which = -1;
            double widest = -1;
            for (int i = 0; i < 3; ++i) {
                if (p_.IsLeaf(ids[i]) || (twoPoints && i == 1)) continue;
                double width = p_.Radius(ids[i]) + 1e-6 * (p_.Hi(ids[i]) - p_.Lo(ids[i]));
                if (i == node.slide) width /= SlideSplitFactor;
                if (width > widest) widest = width, which = i;
            }
            for (int half = 0; half < 2; ++half) {
                *choice[which] = 2 * ids[which] + half;
                if (!Ordered(child.a, child.b, child.c)) continue;
                int slide = -1;
                const double bound = Bound(k, child.a, child.b, child.c, &slide);
                if (bound > BestValue() + Tolerance(k)) {
                    heap.push_back({bound, child.a, child.b, child.c, slide});
                    std::push_heap(heap.begin(), heap.end());
                }
            }
        }
        bounds_[k] = 0;
    }

    bool Ordered(int a, int b, int c) const {
        if (p_.Empty(a) || p_.Empty(b) || p_.Empty(c)) return false;
        return p_.Lo(a) <= p_.Hi(b) && p_.Lo(b) <= p_.Hi(c) && p_.Lo(a) <= p_.Hi(c);
    }

    // The most a triangle with turnpoints in the nodes a, b, c may score
    // (negative when none can be valid).
    double Bound(std::size_t k, int a, int b, int c, int* slide = nullptr) {
        const TFlightKind& kind = rules_.kinds[k];
        if (kind.shape == TShape::OutAndReturn) {
            if (slide) *slide = -1;
            return ClosedBound(k, 2 * p_.MaxUp(a, c), a, c);
        }
        const double ab = p_.MaxUp(a, b), bc = p_.MaxUp(b, c), ca = p_.MaxUp(c, a);
        // Besides the three node distances, each node in turn is passed
        // through from one neighbour to the other by way of its first and last
        // fixes: tight where the turnpoint may slide along a straight leg.
        // When the other two are buckets, their fixes are measured one by one.
        const double through[3] = {ThroughWithBuckets(a, c, b, bc), ThroughWithBuckets(b, a, c, ca),
                                   ThroughWithBuckets(c, b, a, ab)};
        double perimeter = ab + bc + ca;
        int slides = -1;
        for (int i = 0; i < 3; ++i)
            if (through[i] < perimeter) perimeter = through[i], slides = i;
        if (slide) *slide = slides;
        double bound = perimeter;
        if (kind.minLegShare > 0) {
            bound = std::min(bound, std::min({ab, bc, ca}) / kind.minLegShare);
            // The perimeter is at least the sum of the least leg distances: a
            // thin run of fixes (an out-and-return) has no room for a leg
            // that long.
            if (bound < p_.MinLo(a, b) + p_.MinLo(b, c) + p_.MinLo(c, a)) return -1;
        }
        return ClosedBound(k, bound, a, c);
    }

    // The most a closed flight of way round at most `way`, first turnpoint in
    // node a and last in node c, may score (negative when none can count).
    double ClosedBound(std::size_t k, double way, int a, int c) {
        const TFlightKind& kind = rules_.kinds[k];
        if (kind.multiplier * way <= BestValue() + Tolerance(k) || way < kind.minDistanceMetres)
            return -1;
        const double closing = ClosingAtLeast(kind, way, p_.Hi(a), p_.Lo(c));
        if (closing < 0) return -1;
        // The penalty grows with the closing: that of a lower bound is a lower bound.
        const double distance = way - ClosingPenalty(kind, closing);
        if (distance < kind.minDistanceMetres) return -1;
        return kind.multiplier * distance;
    }

    // The most the perimeter may be when the turnpoint of node x slides
    // between those of p and n (`pn` bounding their leg).
    double ThroughWithBuckets(int x, int p, int n, double pn) const {
        if (!p_.IsLeaf(p) || !p_.IsLeaf(n)) return pn + Through(x, p, n);
        const int first = p_.Lo(x), last = p_.Hi(x);
        double vFirst[BucketFixes], vLast[BucketFixes];
        const int vLo = p_.Lo(n), vHi = p_.Hi(n);
        for (int v = vLo; v <= vHi; ++v)
            vFirst[v - vLo] = p_.D(first, v), vLast[v - vLo] = p_.D(last, v);
        double most = 0;
        for (int u = p_.Lo(p); u <= p_.Hi(p); ++u) {
            const double uFirst = p_.D(u, first), uLast = p_.D(u, last);
            for (int v = vLo; v <= vHi; ++v)
                most = std::max(
                    most, p_.D(u, v) + std::min(uFirst + vLast[v - vLo], uLast + vFirst[v - vLo]));
        }
        most += p_.Span(x);
        return most + Slack(most);
    }

    // The most d(p, x) + d(x, n) may be for fixes of the nodes p, x, n.
    double Through(int x, int p, int n) const {
        const int first = p_.Lo(x), last = p_.Hi(x);
        return p_.Span(x) + std::min(p_.MaxUpFromFix(first, p) + p_.MaxUpFromFix(last, n),
                                     p_.MaxUpFromFix(last, p) + p_.MaxUpFromFix(first, n));
    }

    // The most an open flight may measure, from a dynamic programme over the
    // nodes of one level of the tree (a few hundred): every leg is at most
    // the greatest distance between the nodes of its ends. Cheap, and enough
    // to show that a closed flight's triangle beats any open distance.
    double OpenBound() const {
        int first = 1;
        while (first < p_.Leaves() && 2 * first <= CoarseOpenNodes) first *= 2;
        std::vector<int> nodes;
        for (int id = first; id < 2 * first; ++id)
            if (!p_.Empty(id)) nodes.push_back(id);
        const std::size_t n = nodes.size();
        std::vector<double> before(n, 0), now(n);
        for (int leg = 0; leg < 4; ++leg) {
            for (std::size_t j = 0; j < n; ++j) {
                double best = 0;
                for (std::size_t i = 0; i <= j; ++i)
                    best = std::max(best, before[i] + p_.MaxUp(nodes[i], nodes[j]));
                now[j] = best;
            }
            std::swap(before, now);
        }
        return n ? *std::max_element(before.begin(), before.end()) : 0;
    }

    // Start, up to three turnpoints and finish, by dynamic programming over
    // the legs: the longest way of L legs ending at fix j is the longest of
    // L-1 legs ending at some fix i <= j plus the leg i-j. Each step asks the
    // tree for the best i with a bound per node: the best way into the node's
    // fixes continued to its last fix, plus the way from there to j, which
    // the triangle inequality allows and which is tight on straight legs.
    void SolveOpen(std::size_t k) {
        const TFlightKind& kind = rules_.kinds[k];
        const int m = p_.Size(), nodes = 2 * p_.Leaves();
        constexpr int legs = 4;
        std::vector<double> before(m, 0), now(m, 0);
        std::vector<std::vector<int>> from(legs + 1, std::vector<int>(m, 0));
        std::vector<double> reach(nodes, 0);
        struct TOpenNode {
            int id;
            double most;
        };
        std::vector<TOpenNode> stack;
        // The distance from each fix to the last fix of every node holding
        // it, the same for every leg: taken once.
        std::vector<std::size_t> toLastAt(nodes + 1, 0);
        for (int id = 1; id < nodes; ++id)
            toLastAt[id + 1] = toLastAt[id] + (p_.Empty(id) ? 0 : p_.Hi(id) - p_.Lo(id) + 1);
        std::vector<double> toLast(toLastAt[nodes]);
        for (int id = 1; id < nodes; ++id)
            for (int i = p_.Lo(id); i <= p_.Hi(id); ++i)
                toLast[toLastAt[id] + (i - p_.Lo(id))] = p_.D(i, p_.Hi(id));
        for (int leg = 1; leg <= legs; ++leg) {
            for (int id = 1; id < nodes; ++id) {
                double value = 0;
                for (int i = p_.Lo(id); i <= p_.Hi(id); ++i)
                    value = std::max(value, before[i] + toLast[toLastAt[id] + (i - p_.Lo(id))]);
                reach[id] = value;
            }
            for (int j = 0; j < m; ++j) {
                if (j % 4096 == 0 && progress_.ShouldStop()) return;
                double best = before[j];
                int arg = j;
                // The best start of the previous fix is nearly always close
                // to the best of this one: the tree is then mostly skipped.
                if (j > 0) {
                    const int previous = from[leg][j - 1];
                    const double value = before[previous] + p_.D(previous, j);
                    if (value > best) best = value, arg = previous;
                }
                // The most a start in the node may give: its best way to the
                // node's last fix, then on to j.
                auto bound = [&](int id) {
                    const double d = p_.D(p_.Hi(id), j);
                    return reach[id] + d + Slack(d);
                };
                stack.assign(1, {1, bound(1)});
                while (!stack.empty()) {
                    const auto [id, most] = stack.back();
                    stack.pop_back();
                    if (most <= best + OpenStepTolerance) continue;
                    if (p_.IsLeaf(id)) {
                        for (int i = p_.Lo(id), end = std::min(p_.Hi(id), j); i <= end; ++i) {
                            const double value = before[i] + p_.D(i, j);
                            if (value > best) best = value, arg = i;
                        }
                        continue;
                    }
                    // The more promising child is looked at first.
                    const int l = 2 * id, r = l + 1;
                    const bool rightToo = !p_.Empty(r) && p_.Lo(r) <= j;
                    const TOpenNode left{l, bound(l)};
                    if (!rightToo) {
                        stack.push_back(left);
                        continue;
                    }
                    const TOpenNode right{r, bound(r)};
                    stack.push_back(right.most > left.most ? left : right);
                    stack.push_back(right.most > left.most ? right : left);
                }
                now[j] = best;
                from[leg][j] = arg;
            }
            std::swap(before, now);
        }
        const int e = int(std::max_element(before.begin(), before.end()) - before.begin());
        const double value = kind.multiplier * before[e];
        if (value <= BestValue() || before[e] < kind.minDistanceMetres) return;
        const int c = from[4][e], b = from[3][c], a = from[2][b], start = from[1][a];
        best_[k] = {value, start, a, b, c, e, before[e], 0};
    }

    // A lower bound of the closing distance of turnpoints at or before a and
    // at or after c, for a perimeter of at most `perimeter`; negative when
    // no such triangle closes or beats the best.
    double ClosingAtLeast(const TFlightKind& kind, double perimeter, int a, int c) {
        const double limit = ClosingLimit(kind, perimeter);
        const double notBetter = NotBetterClosing(kind, perimeter);
        const double closing =
            KnownClosing(a, c, std::max(limit, notBetter), BoundPairBudget).value;
        if (closing > limit || closing >= notBetter) return -1;
        return closing;
    }

    // The closing from which a closed flight of that way round no longer
    // beats the best: one that is taken off and leaves no more than the best.
    double NotBetterClosing(const TFlightKind& kind, double perimeter) const {
        if (!kind.subtractClosing) return std::numeric_limits<double>::infinity();
        const double left = perimeter - BestValue() / kind.multiplier;
        return left > kind.closingFreeMetres ? left : std::nextafter(kind.closingFreeMetres, 1e300);
    }

    // Every pair of turnpoints of two buckets, for an out-and-return.
    void SearchBucketPairs(std::size_t k, int a, int c) {
        const TFlightKind& kind = rules_.kinds[k];
        for (int i = p_.Lo(a); i <= p_.Hi(a); ++i)
            for (int l = std::max(i, p_.Lo(c)); l <= p_.Hi(c); ++l) {
                const double way = 2 * p_.D(i, l);
                if (kind.multiplier * way <= BestValue() || way < kind.minDistanceMetres) continue;
                const double closing = ClosingBelow(
                    i, l, std::min(ClosingLimit(kind, way), NotBetterClosing(kind, way)));
                if (closing < 0 || closing > ClosingLimit(kind, way)) continue;
                const double distance = way - ClosingPenalty(kind, closing);
                if (distance < kind.minDistanceMetres) continue;
                const double value = kind.multiplier * distance;
                if (value > BestValue()) Keep(k, value, i, i, l, way);
            }
    }

    // Every turnpoint triple of three buckets. A pair of first and last
    // turnpoints is measured for its closing only when its longest perimeter
    // could still close and beat the best, and then only up to that cutoff.
    void SearchBuckets(std::size_t k, int a, int b, int c) {
        const TFlightKind& kind = rules_.kinds[k];
        const int aLo = p_.Lo(a), aHi = p_.Hi(a), bLo = p_.Lo(b), bHi = p_.Hi(b);
        const int cLo = p_.Lo(c), cHi = p_.Hi(c);
        double ab[BucketFixes][BucketFixes], bc[BucketFixes][BucketFixes];
        double perimeters[BucketFixes];
        for (int i = aLo; i <= aHi; ++i)
            for (int j = std::max(i, bLo); j <= bHi; ++j) ab[i - aLo][j - bLo] = p_.D(i, j);
        for (int j = bLo; j <= bHi; ++j)
            for (int l = std::max(j, cLo); l <= cHi; ++l) bc[j - bLo][l - cLo] = p_.D(j, l);
        for (int i = aLo; i <= aHi; ++i)
            for (int l = std::max(i, cLo); l <= cHi; ++l) {
                const double ca = p_.D(l, i);
                double longest = 0;
                const int jLo = std::max(i, bLo), jHi = std::min(bHi, l);
                for (int j = jLo; j <= jHi; ++j) {
                    const double legAB = ab[i - aLo][j - bLo], legBC = bc[j - bLo][l - cLo];
                    const double perimeter = legAB + legBC + ca;
                    const bool valid = perimeter > 0 && perimeter >= kind.minDistanceMetres &&
                                       LegsFit(kind, legAB, legBC, ca, perimeter);
                    perimeters[j - jLo] = valid ? perimeter : -1;
                    if (valid) longest = std::max(longest, perimeter);
                }
                if (kind.multiplier * longest <= BestValue()) continue;
                const double cutoff =
                    std::min(ClosingLimit(kind, longest), NotBetterClosing(kind, longest));
                const double closing = ClosingBelow(i, l, cutoff);
                if (closing < 0) continue;
                for (int j = jLo; j <= jHi; ++j) {
                    const double perimeter = perimeters[j - jLo];
                    if (perimeter <= 0 || closing > ClosingLimit(kind, perimeter)) continue;
                    const double distance = perimeter - ClosingPenalty(kind, closing);
                    if (distance < kind.minDistanceMetres) continue;
                    const double value = kind.multiplier * distance;
                    if (value > BestValue()) Keep(k, value, i, j, l, perimeter);
                }
            }
    }

    // The closing distance of turnpoints a and c when it is at most `cutoff`,
    // negative otherwise.
    double ClosingBelow(int a, int c, double cutoff) {
        if (cutoff < 0) return -1;
        // Measured in full: the same first turnpoint recurs with many last
        // ones, and exact closings bound theirs.
        const TKnownClosing known = KnownClosing(a, c, std::numeric_limits<double>::infinity(),
                                                 std::numeric_limits<std::size_t>::max());
        return known.exact && known.value <= cutoff ? known.value : -1;
    }

    // The closing distance of turnpoints at or before a and at or after c:
    // exact when below `cutoff`, otherwise at least `value` (the cutoff, or
    // less when the search ran out of its budget). The same pairs recur
    // with every node of the middle turnpoint: what is learnt of them is kept.
    struct TKnownClosing {
        double value = 0;
        bool exact = false;
    };
    TKnownClosing KnownClosing(int a, int c, double cutoff, std::size_t budget) {
        const std::uint64_t key = (std::uint64_t(std::uint32_t(a)) << 32) | std::uint32_t(c);
        const auto known = closings_.find(key);
        if (known != closings_.end() && (known->second.exact || known->second.value >= cutoff))
            return known->second;
        // The closing grows as the last turnpoint moves on: the exact
        // closings of the same first turnpoint before and after c bound it
        // (and give it when they are equal).
        const auto row = exactRows_.find(a);
        if (row != exactRows_.end()) {
            const auto after = row->second.lower_bound(c);
            if (after != row->second.begin()) {
                const double atLeast = std::prev(after)->second;
                if (after != row->second.end() && after->second == atLeast) return {atLeast, true};
                if (atLeast >= cutoff) return {atLeast, false};
            }
        }
        const TProblem::TClosing found = p_.Closing(a, c, cutoff, budget);
        TKnownClosing learnt{found.value, found.s >= 0};
        if (learnt.exact && exactRowEntries_ < MaxKeptClosings) {
            exactRows_[a][c] = learnt.value;
            ++exactRowEntries_;
        }
        if (known != closings_.end()) {
            if (!learnt.exact) learnt.value = std::max(learnt.value, known->second.value);
            known->second = learnt;
        } else if (closings_.size() < MaxKeptClosings) {
            closings_.emplace(key, learnt);
        }
        return learnt;
    }

    // The exact closing of turnpoints a and c, with its pair.
    double ExactClosing(int a, int c) {
        const TProblem::TClosing closing = p_.Closing(a, c, std::numeric_limits<double>::infinity(),
                                                      std::numeric_limits<std::size_t>::max());
        lastClosingStart_ = closing.s;
        lastClosingEnd_ = closing.e;
        return closing.value;
    }

    // A triangle better than any so far; its closing pair is looked up again
    // (another pair may have been measured since).
    void Keep(std::size_t k, double value, int a, int b, int c, double perimeter) {
        const double closing = ExactClosing(a, c);
        best_[k] = {value, lastClosingStart_, a, b, c, lastClosingEnd_, perimeter, closing};
    }

    void Evaluate(std::size_t k, int a, int b, int c) {
        if (a > b || b > c) return;
        const TFlightKind& kind = rules_.kinds[k];
        const double ab = p_.D(a, b), bc = p_.D(b, c), ca = p_.D(c, a);
        const bool twoPoints = kind.shape == TShape::OutAndReturn;
        const double perimeter = twoPoints ? 2 * ca : ab + bc + ca;
        if (perimeter <= 0 || perimeter < kind.minDistanceMetres) return;
        if (!twoPoints && !LegsFit(kind, ab, bc, ca, perimeter)) return;
        const double closing = ExactClosing(a, c);
        if (closing > ClosingLimit(kind, perimeter)) return;
        const double distance = perimeter - ClosingPenalty(kind, closing);
        if (distance < kind.minDistanceMetres) return;
        const double value = kind.multiplier * distance;
        if (value > BestValue()) Keep(k, value, a, twoPoints ? a : b, c, perimeter);
    }

    TProblem& p_;
    const TRuleSet& rules_;
    TProgress& progress_;
    std::vector<TSolution> best_;
    // Per kind: what is still open when the search stops (0 once proven).
    std::vector<double> bounds_;
    std::size_t expanded_ = 0;
    int lastClosingStart_ = -1, lastClosingEnd_ = -1;
    std::unordered_map<std::uint64_t, TKnownClosing> closings_;
    // Exact closings by first turnpoint, then last.
    std::unordered_map<int, std::map<int, double>> exactRows_;
    std::size_t exactRowEntries_ = 0;
};

struct TSolved {
    std::vector<TSolution> best;  // per kind, in the indices given
    double upperBound = 0;
    std::size_t expanded = 0;
};

// Every step-th of the indices, the last one always: the indices and their
// positions in the whole.
struct TThinned {
    std::vector<std::size_t> indices, positions;
};
TThinned Thin(const std::vector<std::size_t>& indices, int most) {
    const int m = int(indices.size());
    const int step = (m + most - 1) / most;
    TThinned thinned;
    for (int i = 0; i < m; i += step) {
        thinned.indices.push_back(indices[i]);
        thinned.positions.push_back(i);
    }
    if (thinned.positions.back() != std::size_t(m - 1)) {
        thinned.indices.push_back(indices[m - 1]);
        thinned.positions.push_back(m - 1);
    }
    return thinned;
}

// What one search works out: the whole flight; a thinned copy whose closed
// flights seed the whole; or the open distance of a coarser copy still, which
// seeds the thinned one (its closed flights are found far sooner with a good
// open distance to beat, and a coarse one is nearly as good and far cheaper).
enum class TSearchRole { Whole, Seed, OpenSeed };

void OfferSeed(TSearch& search, const TSolved& seed, const std::vector<std::size_t>& positions) {
    for (std::size_t k = 0; k < seed.best.size(); ++k) {
        const TSolution& s = seed.best[k];
        if (s.value >= 0)
            search.Offer(k, int(positions[s.s]), int(positions[s.a]), int(positions[s.b]),
                         int(positions[s.c]), int(positions[s.e]));
    }
}

TSolved Solve(const std::vector<track::TFlightFix>& fixes, const std::vector<std::size_t>& indices,
              const TRuleSet& rules, TProgress& progress, TSearchRole role = TSearchRole::Whole) {
    TProblem problem(fixes, indices, rules.earth);
    TSearch search(problem, rules, progress);
    const int m = problem.Size();
    // The seeds report no progress but keep to the same limit.
    TProgress quiet;
    quiet.start = progress.start;
    quiet.timeLimit = progress.timeLimit;
    quiet.cancel = progress.cancel;
    if (role == TSearchRole::Whole && m > SeedAbove) {
        const TThinned thinned = Thin(indices, SeedFixes);
        OfferSeed(search, Solve(fixes, thinned.indices, rules, quiet, TSearchRole::Seed),
                  thinned.positions);
    } else if (role == TSearchRole::Seed && m > OpenSeedFixes) {
        const TThinned thinned = Thin(indices, OpenSeedFixes);
        OfferSeed(search, Solve(fixes, thinned.indices, rules, quiet, TSearchRole::OpenSeed),
                  thinned.positions);
    }
    search.Run(role != TSearchRole::Seed || m <= OpenSeedFixes, role != TSearchRole::OpenSeed);
    return {search.Best(), search.UpperBound(), search.Expanded()};
}

double Round(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// A bound is rounded up so that what is shown still bounds the score.
double RoundUp(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::ceil(value * scale - 1e-6) / scale;
}

}  // namespace

TScoreResult ScoreFixes(const std::vector<track::TFlightFix>& fixes, std::size_t first,
                        std::size_t last, const TRuleSet& rules, const TScoreOptions& options) {
    TScoreResult result;
    result.rulesName = rules.name;
    result.firstFix = first;
    result.lastFix = last;
    if (fixes.empty() || last >= fixes.size() || last <= first || rules.kinds.empty())
        return result;
    std::vector<std::size_t> indices(last - first + 1);
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = first + i;

    TProgress progress;
    progress.timeLimit = options.timeLimitSeconds;
    progress.cancel = options.cancel;
    progress.report = options.progress;
    const TSolved solved = Solve(fixes, indices, rules, progress);
    result.nodesExpanded = solved.expanded;

    std::size_t kindIndex = 0;
    for (std::size_t k = 1; k < solved.best.size(); ++k)
        if (solved.best[k].value > solved.best[kindIndex].value) kindIndex = k;
    const TSolution& best = solved.best[kindIndex];
    result.cancelled = progress.cancelled;
    result.proven = !progress.stopped;
    if (!result.proven)
        result.bound = RoundUp(std::max(0.0, solved.upperBound / 1000), rules.decimals);
    if (best.value < 0) return result;
    const TFlightKind& kind = rules.kinds[kindIndex];
    auto point = [&](int i) {
        const track::TFlightFix& fix = fixes[indices[i]];
        return TScorePoint{indices[i], fix.latitude, fix.longitude, fix.hasTime, fix.time};
    };
    auto km = [&](int i, int j) {
        return Round(
            EarthDistance(fixes[indices[i]].latitude, fixes[indices[i]].longitude,
                          fixes[indices[j]].latitude, fixes[indices[j]].longitude, rules.earth) /
                1000,
            rules.decimals);
    };
    result.found = true;
    result.kindId = kind.id;
    result.kindName = kind.name;
    result.multiplier = kind.multiplier;
    if (kind.shape == TShape::Open) {
        std::vector<int> route{best.s, best.a, best.b, best.c, best.e};
        route.erase(std::unique(route.begin(), route.end()), route.end());
        for (std::size_t i = 0; i < route.size(); ++i) {
            result.points.push_back(point(route[i]));
            if (i > 0) result.legsKm.push_back(km(route[i - 1], route[i]));
        }
    } else {
        if (kind.shape == TShape::OutAndReturn) {
            result.points = {point(best.a), point(best.c)};
            result.legsKm = {km(best.a, best.c), km(best.c, best.a)};
        } else {
            result.points = {point(best.a), point(best.b), point(best.c)};
            result.legsKm = {km(best.a, best.b), km(best.b, best.c), km(best.c, best.a)};
        }
        result.closed = true;
        result.closingStart = point(best.s);
        result.closingEnd = point(best.e);
        result.closingKm = Round(best.closing / 1000, rules.decimals);
    }
    result.distanceKm = Round(best.value / kind.multiplier / 1000, rules.decimals);
    result.score = Round(best.value / 1000, rules.decimals);
    result.bound = result.proven ? result.score : RoundUp(solved.upperBound / 1000, rules.decimals);
    return result;
}

TScoreResult ScoreFlight(const std::vector<track::TFlightFix>& fixes, const TRuleSet& rules,
                         const TScoreOptions& options) {
    const track::TFlightSpan span = track::DetectFlight(fixes);
    return ScoreFixes(fixes, span.takeoff, span.landing, rules, options);
}

}  // namespace scoring
