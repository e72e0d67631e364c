#pragma once
// The table of the logbook window: a model over one query, so that ten
// thousand flights cost no widget and no copy; sorting asks the database.
#include <QSqlQueryModel>
#include <cstdint>
#include <optional>
#include <vector>

namespace logbook {

class TLogbookModel : public QSqlQueryModel {
    Q_OBJECT
  public:
    enum TColumn {
        ColId,
        ColDate,
        ColTime,
        ColSite,
        ColDuration,
        ColHighest,
        ColLength,
        ColScore,
        ColGlider,
        ColCount,
        // Past the columns shown: the score's flight kind, the entry an
        // entry from another recorder is counted in, the logbook numbers of
        // both, the zone and the source.
        ColScoreKind = ColCount,
        ColSameFlight,
        ColNumber,
        ColSameNumber,
        ColZone,
        ColSource
    };

    explicit TLogbookModel(QSqlDatabase database, QObject* parent = nullptr);

    // Runs the query again (after a change, or for another year).
    void Refresh();
    void SetYear(std::optional<int> year);
    // Shows only the entries `ids` (a filter's), or (none) every one.
    void SetShown(std::optional<std::vector<std::int64_t>> ids);
    std::optional<int> Year() const { return year_; }
    std::int64_t IdAt(int row) const;
    std::int64_t DurationAt(int row) const;
    double LengthAt(int row) const;
    // The entry this row's flight is counted in, when it is the same flight
    // from another recorder.
    std::optional<std::int64_t> SameFlightAt(int row) const;

    int columnCount(const QModelIndex& parent = {}) const override;
    void sort(int column, Qt::SortOrder order) override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    QSqlDatabase database_;
    std::optional<int> year_;
    std::optional<std::vector<std::int64_t>> shown_;
    int sortColumn_ = ColDate;
    Qt::SortOrder sortOrder_ = Qt::DescendingOrder;
};

}  // namespace logbook
