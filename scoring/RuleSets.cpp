#include "scoring/RuleSets.h"

#include <QStringList>
#include <algorithm>

namespace scoring {

namespace {
TFlightKind Open(QString id, QString name, double multiplier) {
    TFlightKind kind;
    kind.id = std::move(id);
    kind.name = std::move(name);
    kind.multiplier = multiplier;
    return kind;
}

TFlightKind Triangle(QString id, QString name, double multiplier, double closingShare,
                     double closingMetres, double minLegShare, bool subtractClosing = true) {
    TFlightKind kind = Open(std::move(id), std::move(name), multiplier);
    kind.shape = TShape::Triangle;
    kind.closingShare = closingShare;
    kind.closingMetres = closingMetres;
    kind.minLegShare = minLegShare;
    kind.subtractClosing = subtractClosing;
    return kind;
}

constexpr double FaiLegShare = 0.28;
}  // namespace

const TRuleSet& XContestRules() {
    static const TRuleSet rules{
        QStringLiteral("xcontest"),
        QStringLiteral("XContest"),
        {Open(QStringLiteral("free"), QStringLiteral("свободный полёт"), 1.0),
         Triangle(QStringLiteral("triangle"), QStringLiteral("треугольник"), 1.2, 0.2, 0, 0),
         Triangle(QStringLiteral("fai"), QStringLiteral("треугольник FAI"), 1.4, 0.2, 0,
                  FaiLegShare),
         Triangle(QStringLiteral("closed-triangle"), QStringLiteral("замкнутый треугольник"), 1.4,
                  0.05, 0, 0),
         Triangle(QStringLiteral("closed-fai"), QStringLiteral("замкнутый треугольник FAI"), 1.6,
                  0.05, 0, FaiLegShare)},
        2};
    return rules;
}

const TRuleSet& FfvlRules() {
    static const TRuleSet rules{
        QStringLiteral("ffvl"),
        QStringLiteral("FFVL"),
        {Open(QStringLiteral("free"), QStringLiteral("дистанция через 3 точки"), 1.0),
         // The French league scores a closed triangle by its whole perimeter:
         // the closing distance is only the condition of being closed.
         Triangle(QStringLiteral("triangle"), QStringLiteral("плоский треугольник"), 1.2, 0.05,
                  3000, 0, false),
         Triangle(QStringLiteral("fai"), QStringLiteral("треугольник FAI"), 1.4, 0.05, 3000,
                  FaiLegShare, false)},
        2};
    return rules;
}

const TRuleSet* RuleSetById(const QString& id) {
    for (const TRuleSet* rules : {&XContestRules(), &FfvlRules()})
        if (rules->id == id) return rules;
    return nullptr;
}

QStringList RuleSetIds() { return {XContestRules().id, FfvlRules().id}; }

const TFlightKind* KindById(const TRuleSet& rules, const QString& id) {
    for (const TFlightKind& kind : rules.kinds)
        if (kind.id == id) return &kind;
    return nullptr;
}

double ClosingLimit(const TFlightKind& kind, double perimeter) {
    return std::max(kind.closingShare * perimeter, kind.closingMetres);
}

}  // namespace scoring
