#include "logbook/LogbookModel.h"

#include <QPalette>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

#include "device/AppError.h"
#include "device/TimeTexts.h"
#include "logbook/Logbook.h"

namespace logbook {

namespace {

// Local take-off time in seconds: the instrument's zone where known.
constexpr const char* kLocalTakeoff = "(takeoff_utc + IFNULL(utc_offset_minutes, 0) * 60)";

// What each column sorts by; never text from a user.
const char* OrderOf(int column) {
    switch (column) {
        case TLogbookModel::ColTime:
            return "time(takeoff_utc + IFNULL(utc_offset_minutes, 0) * 60, 'unixepoch')";
        case TLogbookModel::ColSite:
            return "site COLLATE NOCASE";
        case TLogbookModel::ColDuration:
            return "duration_s";
        case TLogbookModel::ColHighest:
            return "max_alt";
        case TLogbookModel::ColLength:
            return "track_m";
        case TLogbookModel::ColScore:
            return "score";
        case TLogbookModel::ColGlider:
            return "glider COLLATE NOCASE";
        default:
            return "takeoff_utc";
    }
}

}  // namespace

TLogbookModel::TLogbookModel(QSqlDatabase database, QObject* parent)
    : QSqlQueryModel(parent), database_(database) {
    Refresh();
}

void TLogbookModel::Refresh() {
    QSqlQuery q(database_);
    // An entry of the same flight from another recorder sorts by the entry
    // it is counted in, and right below it.
    QString sql =
        QStringLiteral(
            "WITH keys AS (SELECT id AS kid, %2 AS sort_key FROM flights)"
            " SELECT id, date(%1, 'unixepoch'), strftime('%H:%M', %1, 'unixepoch'), site,"
            " duration_s, max_alt, track_m, score, glider, score_kind, same_flight_as, number,"
            " same_number, utc_offset_minutes, source"
            " FROM numbered JOIN keys ON kid = IFNULL(same_flight_as, id) WHERE 1")
            .arg(QLatin1String(kLocalTakeoff), QLatin1String(OrderOf(sortColumn_)));
    if (year_)
        sql += QStringLiteral(" AND CAST(strftime('%Y', %1, 'unixepoch') AS INTEGER) = ?")
                   .arg(QLatin1String(kLocalTakeoff));
    // The ids as one bound text: a JSON array.
    QString ids;
    if (shown_) {
        QStringList list;
        for (const std::int64_t id : *shown_) list << QString::number(id);
        ids = QLatin1Char('[') + list.join(QLatin1Char(',')) + QLatin1Char(']');
        sql += QStringLiteral(" AND id IN (SELECT value FROM json_each(?))");
    }
    const QString direction =
        sortOrder_ == Qt::AscendingOrder ? QStringLiteral("ASC") : QStringLiteral("DESC");
    sql += QStringLiteral(" ORDER BY sort_key %1, kid %1, same_flight_as IS NOT NULL, id")
               .arg(direction);
    q.prepare(sql);
    if (year_) q.addBindValue(*year_);
    if (shown_) q.addBindValue(ids);
    if (!q.exec()) throw device::TAppError(q.lastError().text());
    setQuery(std::move(q));
}

void TLogbookModel::SetYear(std::optional<int> year) {
    year_ = year;
    Refresh();
}

void TLogbookModel::SetShown(std::optional<std::vector<std::int64_t>> ids) {
    shown_ = std::move(ids);
    Refresh();
}

int TLogbookModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::min(int(ColCount), QSqlQueryModel::columnCount(parent));
}

void TLogbookModel::sort(int column, Qt::SortOrder order) {
    sortColumn_ = column;
    sortOrder_ = order;
    Refresh();
}

std::int64_t TLogbookModel::IdAt(int row) const { return record(row).value(ColId).toLongLong(); }
std::int64_t TLogbookModel::DurationAt(int row) const {
    return record(row).value(ColDuration).toLongLong();
}
double TLogbookModel::LengthAt(int row) const { return record(row).value(ColLength).toDouble(); }
std::optional<std::int64_t> TLogbookModel::SameFlightAt(int row) const {
    const QVariant as = record(row).value(ColSameFlight);
    return as.isNull() ? std::nullopt : std::optional<std::int64_t>(as.toLongLong());
}

QVariant TLogbookModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole && index.column() >= ColDuration &&
        index.column() <= ColScore)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    // An entry of a flight counted in another is shown as part of it. (A
    // record reads the edit role, never these.)
    const bool marked = role == Qt::ToolTipRole || role == Qt::ForegroundRole ||
                        (role == Qt::DisplayRole && index.column() == ColId);
    if (const auto as = marked ? SameFlightAt(index.row()) : std::nullopt) {
        const QSqlRecord row = record(index.row());
        if (role == Qt::ToolTipRole) return SameFlightText(row.value(ColSameNumber).toLongLong());
        if (role == Qt::ForegroundRole) return QPalette().brush(QPalette::Disabled, QPalette::Text);
        return QStringLiteral("\u21b3 %1").arg(row.value(ColNumber).toLongLong());
    }
    if (role != Qt::DisplayRole) return QSqlQueryModel::data(index, role);
    const QSqlRecord row = record(index.row());
    const QVariant raw = QSqlQueryModel::data(index, role);
    const bool manual = row.value(ColSource).toString() == QLatin1String("manual");
    switch (index.column()) {
        case ColId:
            return row.value(ColNumber);
        case ColTime: {
            const QVariant zone = row.value(ColZone);
            return raw.toString() + QLatin1Char(' ') +
                   ZoneText(zone.isNull() ? std::nullopt : std::optional<int>(zone.toInt()));
        }
        case ColDuration:
            return device::DurationText(raw.toLongLong());
        case ColHighest:
            return manual ? QString() : QString::number(qRound(raw.toDouble()));
        case ColLength:
            return manual ? NoTrackText() : KilometresText(raw.toDouble());
        case ColScore: {
            if (raw.isNull()) return QString();  // scored once its track is read
            return ScoreText(raw.toDouble(), record(index.row()).value(ColScoreKind).toString());
        }
        default:
            return raw;
    }
}

QVariant TLogbookModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QSqlQueryModel::headerData(section, orientation, role);
    switch (section) {
        case ColId:
            return tr("№");
        case ColDate:
            return tr("Дата");
        case ColTime:
            return tr("Взлёт");
        case ColSite:
            return tr("Место");
        case ColDuration:
            return tr("Время");
        case ColHighest:
            return tr("Высота, м");
        case ColLength:
            return tr("Трек, км");
        case ColScore:
            return tr("XContest, б");
        case ColGlider:
            return tr("Крыло");
        default:
            return {};
    }
}

}  // namespace logbook
