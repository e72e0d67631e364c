#include "scoring/ScoreReport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "device/TimeTexts.h"

namespace scoring {

namespace {

// The report's decimal separator follows its language: a comma in Russian.
QString Number(double value, int decimals = 2) {
    return QString::number(value, 'f', decimals)
        .replace(QLatin1Char('.'),
                 QCoreApplication::translate("scoring", ",", "decimal separator"));
}

QString TimeOf(const TScorePoint& point) {
    return point.hasTime ? device::TimeOfDayText(point.time) : device::NoTimeOfDayText();
}

QString PointText(const QString& label, const TScorePoint& point) {
    return QCoreApplication::translate("scoring", "  %1 %2  %3 %4  (точка %5)")
        .arg(label, -16)
        .arg(TimeOf(point))
        .arg(point.latitude, 0, 'f', 5)
        .arg(point.longitude, 0, 'f', 5)
        .arg(point.index);
}

QJsonObject PointJson(const TScorePoint& point) {
    QJsonObject object{{QStringLiteral("index"), qint64(point.index)},
                       {QStringLiteral("latitude"), point.latitude},
                       {QStringLiteral("longitude"), point.longitude}};
    if (point.hasTime)
        object.insert(QStringLiteral("time"),
                      QDateTime::fromSecsSinceEpoch(point.time, Qt::UTC).toString(Qt::ISODate));
    return object;
}

}  // namespace

QString ScoreLine(const TScoreResult& result) {
    if (!result.found)
        return QCoreApplication::translate("scoring", "%1: нет оценки (мало точек)")
            .arg(result.rulesName);
    QString line = QCoreApplication::translate("scoring", "%1: %2 б, %3")
                       .arg(result.rulesName, Number(result.score), result.kindName);
    if (!result.proven)
        line += QCoreApplication::translate("scoring", " (поиск прерван; возможно до %1 б)")
                    .arg(Number(result.bound));
    return line;
}

QStringList ScoreText(const TScoreResult& result) {
    QStringList lines{ScoreLine(result)};
    if (!result.found) return lines;
    lines << QCoreApplication::translate("scoring", "  Дистанция %1 км × %2")
                 .arg(Number(result.distanceKm), Number(result.multiplier, 1));
    QStringList legs;
    for (double leg : result.legsKm) legs << Number(leg);
    lines << QCoreApplication::translate("scoring", "  Плечи, км: %1")
                 .arg(legs.join(QStringLiteral("; ")));
    if (result.closed) {
        lines << QCoreApplication::translate("scoring", "  Замыкание %1 км")
                     .arg(Number(result.closingKm));
        lines << PointText(QCoreApplication::translate("scoring", "Начало"), result.closingStart);
    }
    for (std::size_t i = 0; i < result.points.size(); ++i) {
        QString label =
            QCoreApplication::translate("scoring", "ППМ %1").arg(result.closed ? i + 1 : i);
        if (!result.closed && i == 0) label = QCoreApplication::translate("scoring", "Старт");
        if (!result.closed && i + 1 == result.points.size())
            label = QCoreApplication::translate("scoring", "Финиш");
        lines << PointText(label, result.points[i]);
    }
    if (result.closed)
        lines << PointText(QCoreApplication::translate("scoring", "Конец"), result.closingEnd);
    return lines;
}

QByteArray ScoreJson(const TScoreResult& result) {
    QJsonObject object{{QStringLiteral("rules"), result.rulesName},
                       {QStringLiteral("found"), result.found}};
    if (result.found) {
        object.insert(QStringLiteral("type"), result.kindId);
        object.insert(QStringLiteral("typeName"), result.kindName);
        object.insert(QStringLiteral("multiplier"), result.multiplier);
        object.insert(QStringLiteral("distanceKm"), result.distanceKm);
        object.insert(QStringLiteral("score"), result.score);
        QJsonArray legs;
        for (double leg : result.legsKm) legs.append(leg);
        object.insert(QStringLiteral("legsKm"), legs);
        QJsonArray points;
        for (const TScorePoint& point : result.points) points.append(PointJson(point));
        object.insert(QStringLiteral("turnpoints"), points);
        if (result.closed) {
            object.insert(QStringLiteral("closingKm"), result.closingKm);
            object.insert(QStringLiteral("closingStart"), PointJson(result.closingStart));
            object.insert(QStringLiteral("closingEnd"), PointJson(result.closingEnd));
        }
    }
    object.insert(QStringLiteral("proven"), result.proven);
    object.insert(QStringLiteral("cancelled"), result.cancelled);
    object.insert(QStringLiteral("bound"), result.bound);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QStringList AnalysisText(const TFlightAnalysis& analysis) {
    if (!analysis.usable)
        return {QCoreApplication::translate("scoring",
                                            "Подъёмы и переходы: в треке нет времени или высоты")};
    QStringList lines;
    const long long flying = std::max(1LL, analysis.secondsFlying);
    lines << QCoreApplication::translate("scoring", "Полёт %1, в термиках %2 (%3 %)")
                 .arg(device::DurationText(analysis.secondsFlying),
                      device::DurationText(analysis.secondsCircling))
                 .arg(analysis.secondsCircling * 100 / flying);
    const track::TClimbExtremes& e = analysis.extremes;
    lines << QCoreApplication::translate("scoring",
                                         "Наибольший подъём %1 м/с за 1 с, %2 м/с за 10 с")
                 .arg(Number(e.climb1s, 1), Number(e.climb10s, 1));
    lines << QCoreApplication::translate("scoring",
                                         "Наибольшее снижение %1 м/с за 1 с, %2 м/с за 10 с")
                 .arg(Number(e.sink1s, 1), Number(e.sink10s, 1));
    lines << QCoreApplication::translate("scoring", "Термики: %1").arg(analysis.thermals.size());
    for (const TThermal& t : analysis.thermals)
        lines << QCoreApplication::translate("scoring", "  %1–%2  набор %3 м, в среднем %4 м/с")
                     .arg(device::TimeOfDayText(t.start), device::TimeOfDayText(t.end))
                     .arg(std::lround(t.gain))
                     .arg(Number(t.averageClimb, 1));
    lines << QCoreApplication::translate("scoring", "Переходы: %1").arg(analysis.glides.size());
    for (const TGlide& g : analysis.glides)
        lines << QCoreApplication::translate("scoring", "  %1–%2  %3 км, %4 км/ч, качество %5")
                     .arg(device::TimeOfDayText(g.start), device::TimeOfDayText(g.end),
                          Number(g.distance / 1000, 1), Number(g.averageSpeed * 3.6, 0),
                          g.glideRatio > 0 ? Number(g.glideRatio, 1) : QStringLiteral("—"));
    return lines;
}

}  // namespace scoring
