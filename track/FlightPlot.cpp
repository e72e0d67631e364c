#include "track/FlightPlot.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "device/TimeTexts.h"

namespace track {

namespace {

// Metres along a meridian per degree, on the mean Earth sphere.
constexpr double MetresPerDegree = 6371008.8 * std::numbers::pi / 180.0;
// The smallest spans drawn, so that one point or a level flight still has
// axes to stand on.
constexpr double MinGroundSpan = 200.0;   // m
constexpr double MinAltitudeSpan = 20.0;  // m
constexpr double MinTimeSpan = 60.0;      // s

const QColor Ink(0x20, 0x20, 0x20);
const QColor GridColour(0xDD, 0xDD, 0xDD);
const QColor TrackColour(0x1F, 0x4E, 0xA8);
const QColor FillColour(0x1F, 0x4E, 0xA8, 0x38);
const QColor TakeOffColour(0x1B, 0x8A, 0x2E);
const QColor LandingColour(0xC0, 0x1E, 0x1E);
const QColor PeakColour(0xC0, 0x1E, 0x1E);
const QColor RouteColour(0xD3, 0x6B, 0x00);
const QColor ClosingColour(0x7B, 0x1F, 0xA2);
const QColor ThermalColour(0xF5, 0xA6, 0x23, 0x40);

QLocale Russian() {
    QLocale locale(QLocale::Russian, QLocale::Russia);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString Decimal(double value, int decimals) { return Russian().toString(value, 'f', decimals); }

// A step of 1, 2 or 5 times a power of ten that gives about `ticks` ticks.
double NiceStep(double span, int ticks) {
    const double raw = span / std::max(ticks, 1);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / magnitude;
    return (f < 1.5 ? 1 : f < 3 ? 2 : f < 7 ? 5 : 10) * magnitude;
}

double NiceTimeStep(double span, int ticks) {
    static constexpr double steps[] = {10,   15,   30,   60,    120,   300,   600,  900,
                                       1800, 3600, 7200, 10800, 21600, 43200, 86400};
    const double raw = span / std::max(ticks, 1);
    for (double s : steps)
        if (s >= raw) return s;
    return NiceStep(span / 86400, ticks) * 86400;
}

// Decimals that tell the ticks of `step` apart.
int DecimalsFor(double step) { return std::max(0, int(std::ceil(-std::log10(step) - 1e-9))); }

struct TRange {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void Add(double v) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool Empty() const { return low > high; }
    // Widened about its middle to at least `span`, then by a margin.
    void Settle(double span, double margin) {
        if (high - low < span) {
            const double mid = (low + high) / 2;
            low = mid - span / 2;
            high = mid + span / 2;
        }
        const double pad = (high - low) * margin;
        low -= pad;
        high += pad;
    }
};

class TPlotPainter {
  public:
    TPlotPainter(QImage& image, const std::vector<TFlightFix>& fixes, TTrackEnd end,
                 const TFlightMarks& marks)
        : p_(&image), fixes_(fixes), marks_(marks), size_(image.size()), end_(end) {
        p_.setRenderHint(QPainter::Antialiasing);
        p_.setRenderHint(QPainter::TextAntialiasing);
        unit_ = std::clamp(std::min(size_.width() / 1.6, double(size_.height())) / 48.0, 9.0, 40.0);
        font_ = QFont(QStringLiteral("DejaVu Sans"));
        font_.setPixelSize(int(std::lround(unit_)));
    }

    void Draw() {
        p_.fillRect(QRect(QPoint(0, 0), size_), Qt::white);
        const double margin = unit_ * 1.2;
        QRectF area(margin, margin, size_.width() - 2 * margin, size_.height() - 2 * margin);
        area.setTop(area.top() + DrawTitle(area) + unit_ * 0.8);

        // The ground track takes a square beside the barogram as long as the
        // barogram keeps at least half the width.
        const double side = std::min(area.height(), area.width() * 0.45);
        const QRectF ground(area.left(), area.top(), side, area.height());
        const QRectF barogram(ground.right() + unit_ * 2, area.top(),
                              area.right() - ground.right() - unit_ * 2, area.height());
        DrawGroundTrack(ground);
        DrawBarogram(barogram);
    }

  private:
    QFont Font(double scale, bool bold = false) const {
        QFont f = font_;
        f.setPixelSize(std::max(1, int(std::lround(unit_ * scale))));
        f.setBold(bold);
        return f;
    }

    // Text with its top left corner, or another anchor, at `at`.
    void Text(QPointF at, const QString& text, Qt::Alignment anchor, const QFont& font,
              const QColor& colour = Ink) {
        p_.setFont(font);
        p_.setPen(colour);
        const QFontMetricsF m(font);
        const double w = m.horizontalAdvance(text), h = m.height();
        double x = at.x(), y = at.y();
        if (anchor & Qt::AlignRight) x -= w;
        if (anchor & Qt::AlignHCenter) x -= w / 2;
        if (anchor & Qt::AlignBottom) y -= h;
        if (anchor & Qt::AlignVCenter) y -= h / 2;
        p_.drawText(QRectF(x, y, w + 1, h), Qt::AlignLeft | Qt::AlignTop, text);
    }

    // Title line over both panels; returns its height.
    double DrawTitle(const QRectF& area) {
        QString title = QCoreApplication::translate("track", "Полёт");
        const bool timed =
            !fixes_.empty() && std::all_of(fixes_.begin(), fixes_.end(),
                                           [](const TFlightFix& f) { return f.hasTime; });
        if (timed) {
            const auto [first, last] = std::minmax_element(
                fixes_.begin(), fixes_.end(),
                [](const TFlightFix& a, const TFlightFix& b) { return a.time < b.time; });
            const std::string day = device::TimeText(first->time);
            title += QStringLiteral(" %1.%2.%3, %4–%5 UTC")
                         .arg(QString::fromStdString(day.substr(8, 2)),
                              QString::fromStdString(day.substr(5, 2)),
                              QString::fromStdString(day.substr(0, 4)),
                              device::TimeOfDayText(first->time, false),
                              device::TimeOfDayText(last->time, false));
        }
        title += QCoreApplication::translate("track", " (точек: %1)").arg(fixes_.size());
        const QFont font = Font(1.3, true);
        Text(area.topLeft(), title, Qt::AlignLeft | Qt::AlignTop, font);
        return QFontMetricsF(font).height();
    }

    // The frame of a panel with its caption above; returns the inner area.
    QRectF Panel(const QRectF& outer, const QString& caption) {
        const QFont font = Font(1.1, true);
        Text(outer.topLeft(), caption, Qt::AlignLeft | Qt::AlignTop, font);
        return outer.adjusted(0, QFontMetricsF(font).height() + unit_ * 0.4, 0, 0);
    }

    void NoData(const QRectF& r, const QString& text) {
        p_.setPen(QPen(Ink, 1));
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(r);
        Text(r.center(), text, Qt::AlignHCenter | Qt::AlignVCenter, Font(1.0));
    }

    // Ticks of `range` along one axis: grid lines through `plot` and labels
    // outside it.
    template <typename Label>
    void Ticks(const QRectF& plot, const TRange& range, double step, bool horizontal,
               Label&& label) {
        const QFont font = Font(0.85);
        const double first = std::ceil(range.low / step - 1e-9) * step;
        for (double v = first; v <= range.high + step * 1e-9; v += step) {
            const double f = (v - range.low) / (range.high - range.low);
            p_.setPen(QPen(GridColour, 1));
            if (horizontal) {
                const double x = plot.left() + f * plot.width();
                p_.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
                const QString text = label(v);
                const double half = QFontMetricsF(font).horizontalAdvance(text) / 2;
                const double cx = std::clamp(x, half + 1, size_.width() - half - 1);
                Text(QPointF(cx, plot.bottom() + unit_ * 0.3), text,
                     Qt::AlignHCenter | Qt::AlignTop, font);
            } else {
                const double y = plot.bottom() - f * plot.height();
                p_.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
                Text(QPointF(plot.left() - unit_ * 0.4, y), label(v),
                     Qt::AlignRight | Qt::AlignVCenter, font);
            }
        }
    }

    void AxisTitles(const QRectF& plot, const QString& x, const QString& y) {
        const QFont font = Font(0.9);
        const QFontMetricsF m(font);
        Text(QPointF(plot.center().x(), plot.bottom() + unit_ * 0.4 + m.height()), x,
             Qt::AlignHCenter | Qt::AlignTop, font);
        p_.save();
        p_.translate(plot.left() - unit_ * 0.4 - LabelWidth() - unit_ * 0.5, plot.center().y());
        p_.rotate(-90);
        Text(QPointF(0, 0), y, Qt::AlignHCenter | Qt::AlignBottom, font);
        p_.restore();
    }

    // How many ticks fit along an axis of `length` pixels with labels like
    // `widest` (or, vertically, of one line).
    int TickCount(double length, bool horizontal, const QString& widest = {}) const {
        const QFontMetricsF m(Font(0.85));
        const double room = horizontal ? m.horizontalAdvance(widest) * 1.8 : m.height() * 3;
        return std::clamp(int(length / room), 2, 8);
    }

    double LabelWidth() const {
        return QFontMetricsF(Font(0.85)).horizontalAdvance(QStringLiteral("-00000"));
    }

    // Room left for the tick labels and axis titles around a plot.
    QRectF PlotArea(const QRectF& inner) const {
        const double text = QFontMetricsF(Font(0.9)).height();
        return inner.adjusted(LabelWidth() + text + unit_ * 1.3, unit_ * 0.5, -unit_ * 0.8,
                              -(2 * text + unit_ * 0.9));
    }

    void Marker(QPointF at, const QColor& colour, bool square) {
        const double r = unit_ * 0.45;
        p_.setPen(QPen(Qt::white, std::max(1.0, unit_ / 10)));
        p_.setBrush(colour);
        if (square)
            p_.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
        else
            p_.drawEllipse(at, r, r);
    }

    // A label beside a marker, turned to whichever side stays within `plot`.
    void MarkerLabel(QPointF at, const QString& text, const QRectF& plot, bool below,
                     const QColor& colour) {
        const QFont font = Font(0.9, true);
        const QFontMetricsF m(font);
        const double gap = unit_ * 0.7;
        Qt::Alignment h = Qt::AlignLeft;
        double x = at.x() + gap;
        if (x + m.horizontalAdvance(text) > plot.right()) {
            h = Qt::AlignRight;
            x = at.x() - gap;
        }
        double y = below ? at.y() + gap * 0.4 : at.y() - gap * 0.4;
        Qt::Alignment v = below ? Qt::AlignTop : Qt::AlignBottom;
        if (!below && y - m.height() < plot.top()) v = Qt::AlignTop, y = at.y() + gap * 0.4;
        if (below && y + m.height() > plot.bottom()) v = Qt::AlignBottom, y = at.y() - gap * 0.4;
        // A white halo keeps the label readable over the track.
        const QRectF box = m.boundingRect(text);
        const double bx = h == Qt::AlignRight ? x - box.width() : x;
        const double by = v == Qt::AlignBottom ? y - m.height() : y;
        p_.fillRect(QRectF(bx - 2, by, box.width() + 4, m.height()), QColor(255, 255, 255, 200));
        Text(QPointF(x, y), text, h | v, font, colour);
    }

    void DrawGroundTrack(const QRectF& outer) {
        const QRectF inner =
            Panel(outer, QCoreApplication::translate("track", "Трек (вид сверху)"));
        const QRectF frame = PlotArea(inner);
        if (fixes_.empty()) {
            NoData(frame, QCoreApplication::translate("track", "Нет точек"));
            return;
        }
        // East and north of the take-off in metres, the longitude taken
        // across the date line by the shorter way.
        double latSum = 0;
        for (const TFlightFix& f : fixes_) latSum += f.latitude;
        const double scaleX =
            std::cos(latSum / double(fixes_.size()) * std::numbers::pi / 180.0) * MetresPerDegree;
        const TFlightFix& start = fixes_.front();
        std::vector<QPointF> metres;
        metres.reserve(fixes_.size());
        TRange east, north;
        for (const TFlightFix& f : fixes_) {
            double dLon = f.longitude - start.longitude;
            if (dLon > 180) dLon -= 360;
            if (dLon < -180) dLon += 360;
            const QPointF m(dLon * scaleX, (f.latitude - start.latitude) * MetresPerDegree);
            east.Add(m.x());
            north.Add(m.y());
            metres.push_back(m);
        }
        // One scale for both axes, so the track keeps its shape.
        const double span = std::max({east.high - east.low, north.high - north.low, MinGroundSpan});
        const double metresPerPixel = span * 1.12 / std::min(frame.width(), frame.height());
        const double halfW = frame.width() * metresPerPixel / 2;
        const double halfH = frame.height() * metresPerPixel / 2;
        const double cx = (east.low + east.high) / 2, cy = (north.low + north.high) / 2;
        TRange x{cx - halfW, cx + halfW}, y{cy - halfH, cy + halfH};
        auto toPixel = [&](const QPointF& m) {
            return QPointF(frame.left() + (m.x() - x.low) / metresPerPixel,
                           frame.bottom() - (m.y() - y.low) / metresPerPixel);
        };

        const bool km = span >= 2000;
        const double unit = km ? 1000 : 1;
        const double step =
            NiceStep((x.high - x.low) / unit, TickCount(std::min(frame.width(), frame.height()),
                                                        true, QStringLiteral("-0000"))) *
            unit;
        const int decimals = km ? DecimalsFor(step / unit) : 0;
        auto label = [&](double v) { return Decimal(v / unit, decimals); };
        Ticks(frame, x, step, true, label);
        Ticks(frame, y, step, false, label);
        const QString u = km ? QCoreApplication::translate("track", "км")
                             : QCoreApplication::translate("track", "м");
        AxisTitles(frame, QCoreApplication::translate("track", "На восток от старта, %1").arg(u),
                   QCoreApplication::translate("track", "На север от старта, %1").arg(u));

        p_.save();
        p_.setClipRect(frame);
        QPolygonF line;
        line.reserve(qsizetype(metres.size()));
        QPoint last(std::numeric_limits<int>::min(), 0);
        for (const QPointF& m : metres) {
            const QPointF px = toPixel(m);
            const QPoint cell(int(std::floor(px.x())), int(std::floor(px.y())));
            if (cell == last) continue;  // a point in the same pixel draws nothing new
            last = cell;
            line << px;
        }
        line << toPixel(metres.back());
        p_.setPen(QPen(TrackColour, std::max(1.5, unit_ / 7), Qt::SolidLine, Qt::RoundCap,
                       Qt::RoundJoin));
        p_.setBrush(Qt::NoBrush);
        p_.drawPolyline(line);
        DrawScoredRoute([&](std::size_t i) { return toPixel(metres[i]); });
        const QPointF takeOff = toPixel(metres.front()), landing = toPixel(metres.back());
        Marker(landing, LandingColour, true);
        Marker(takeOff, TakeOffColour, false);
        p_.restore();
        MarkerLabel(takeOff, QCoreApplication::translate("track", "Старт"), frame, false,
                    TakeOffColour);
        // A download cut off by a lost link did not see the landing.
        MarkerLabel(landing,
                    end_ == TTrackEnd::Cut ? QCoreApplication::translate("track", "Обрыв")
                                           : QCoreApplication::translate("track", "Посадка"),
                    frame, true, LandingColour);
        p_.setPen(QPen(Ink, 1));
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(frame);
        DrawScale(frame, metresPerPixel);
        DrawNorth(frame);
    }

    // A bar of a round length in the lower left corner of the track.
    void DrawScale(const QRectF& frame, double metresPerPixel) {
        const double target = frame.width() / 4 * metresPerPixel;
        const double length = NiceStep(target, 1);
        const double px = length / metresPerPixel;
        const QPointF a(frame.left() + unit_, frame.bottom() - unit_);
        const QPointF b(a.x() + px, a.y());
        const QString text = length >= 1000
                                 ? Decimal(length / 1000, DecimalsFor(length / 1000)) +
                                       QCoreApplication::translate("track", " км")
                                 : Decimal(length, 0) + QCoreApplication::translate("track", " м");
        const QFont font = Font(0.85, true);
        const QFontMetricsF m(font);
        p_.fillRect(
            QRectF(a.x() - unit_ * 0.3, a.y() - m.height() - unit_ * 0.6,
                   std::max(px, m.horizontalAdvance(text)) + unit_ * 0.6, m.height() + unit_ * 0.9),
            QColor(255, 255, 255, 220));
        p_.setPen(QPen(Ink, std::max(2.0, unit_ / 6), Qt::SolidLine, Qt::FlatCap));
        p_.drawLine(a, b);
        p_.setPen(QPen(Ink, std::max(1.0, unit_ / 10)));
        p_.drawLine(a + QPointF(0, -unit_ * 0.3), a + QPointF(0, unit_ * 0.3));
        p_.drawLine(b + QPointF(0, -unit_ * 0.3), b + QPointF(0, unit_ * 0.3));
        Text(QPointF(a.x(), a.y() - unit_ * 0.35), text, Qt::AlignLeft | Qt::AlignBottom, font);
    }

    void DrawNorth(const QRectF& frame) {
        const QPointF tip(frame.right() - unit_ * 1.2, frame.top() + unit_ * 0.6);
        const double h = unit_ * 1.4, w = unit_ * 0.5;
        QPolygonF arrow;
        arrow << tip << tip + QPointF(w, h) << tip + QPointF(0, h * 0.75) << tip + QPointF(-w, h);
        p_.setPen(Qt::NoPen);
        p_.setBrush(Ink);
        p_.drawPolygon(arrow);
        Text(tip + QPointF(0, h + unit_ * 0.1), QCoreApplication::translate("track", "С"),
             Qt::AlignHCenter | Qt::AlignTop, Font(0.85, true));
    }

    // The scored route: straight legs between the turnpoints (closed for a
    // triangle), the turnpoints numbered, the closing points joined.
    template <typename ToPixel>
    void DrawScoredRoute(ToPixel toPixel) {
        const std::size_t n = fixes_.size();
        QPolygonF route;
        for (std::size_t i : marks_.turnpoints)
            if (i < n) route << toPixel(i);
        if (route.isEmpty()) return;
        const double width = std::max(1.5, unit_ / 6);
        p_.setPen(QPen(RouteColour, width, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
        p_.setBrush(Qt::NoBrush);
        if (marks_.closedShape)
            p_.drawPolygon(route);
        else
            p_.drawPolyline(route);
        QPolygonF closing;
        for (std::size_t i : marks_.closingPoints)
            if (i < n) closing << toPixel(i);
        if (closing.size() == 2) {
            p_.setPen(QPen(ClosingColour, width, Qt::DotLine, Qt::RoundCap));
            p_.drawLine(closing[0], closing[1]);
        }
        for (const QPointF& at : closing) Marker(at, ClosingColour, true);
        for (qsizetype k = 0; k < route.size(); ++k) {
            Marker(route[k], RouteColour, false);
            Text(route[k] + QPointF(unit_ * 0.6, -unit_ * 0.6), QString::number(k + 1),
                 Qt::AlignLeft | Qt::AlignBottom, font_, RouteColour);
        }
    }

    void DrawBarogram(const QRectF& outer) {
        const QRectF inner = Panel(outer, QCoreApplication::translate("track", "Барограмма"));
        const QRectF plot = PlotArea(inner);
        // Time along x when every fix has one and they never go back;
        // otherwise the point numbers.
        bool byTime = !fixes_.empty();
        for (std::size_t i = 0; byTime && i < fixes_.size(); ++i)
            byTime = fixes_[i].hasTime && (i == 0 || fixes_[i].time >= fixes_[i - 1].time);
        auto xOf = [&](std::size_t i) {
            return byTime ? double(fixes_[i].time - fixes_.front().time) : double(i + 1);
        };
        TRange x, alt;
        std::optional<std::size_t> peak;
        for (std::size_t i = 0; i < fixes_.size(); ++i) {
            if (std::isnan(fixes_[i].altitude)) continue;
            x.Add(xOf(i));
            alt.Add(fixes_[i].altitude);
            if (!peak || fixes_[i].altitude > fixes_[*peak].altitude) peak = i;
        }
        if (!peak) {
            NoData(plot, QCoreApplication::translate("track", "Нет данных о высоте"));
            return;
        }
        x.Settle(byTime ? MinTimeSpan : 1, 0);
        alt.Settle(MinAltitudeSpan, 0.06);
        const double x0 = byTime ? double(fixes_.front().time) : 0;
        const double xStep =
            byTime
                ? NiceTimeStep(x.high - x.low,
                               TickCount(plot.width(), true,
                                         x.high - x.low < 600 ? QStringLiteral("00:00:00")
                                                              : QStringLiteral("00:00")))
                : NiceStep(x.high - x.low, TickCount(plot.width(), true, QStringLiteral("000000")));
        // Time ticks fall on whole minutes of the clock, not of the flight.
        TRange xTicks{x.low + x0, x.high + x0};
        Ticks(plot, xTicks, xStep, true, [&](double v) {
            return byTime ? device::TimeOfDayText(std::llround(v), xStep < 60) : Decimal(v, 0);
        });
        const double aStep = NiceStep(alt.high - alt.low, TickCount(plot.height(), false));
        Ticks(plot, alt, aStep, false, [&](double v) { return Decimal(v, DecimalsFor(aStep)); });
        AxisTitles(plot,
                   byTime ? QCoreApplication::translate("track", "Время, UTC")
                          : QCoreApplication::translate("track", "Номер точки"),
                   QCoreApplication::translate("track", "Высота, м"));

        auto toPixel = [&](double xv, double a) {
            return QPointF(plot.left() + (xv - x.low) / (x.high - x.low) * plot.width(),
                           plot.bottom() - (a - alt.low) / (alt.high - alt.low) * plot.height());
        };
        // Per pixel column the first, lowest, highest and last altitude: the
        // same picture as every point, at the cost of the width.
        QPolygonF line;
        int column = std::numeric_limits<int>::min();
        double first = 0, low = 0, high = 0, last = 0, colX = 0;
        auto flush = [&] {
            if (column == std::numeric_limits<int>::min()) return;
            line << toPixel(colX, first);
            if (low != first && low != last) line << toPixel(colX, low);
            if (high != first && high != last) line << toPixel(colX, high);
            if (last != first) line << toPixel(colX, last);
        };
        for (std::size_t i = 0; i < fixes_.size(); ++i) {
            const double a = fixes_[i].altitude;
            if (std::isnan(a)) continue;
            const double xv = xOf(i);
            const int c = int(std::floor(toPixel(xv, a).x()));
            if (c != column) {
                flush();
                column = c;
                colX = xv;
                first = low = high = last = a;
            } else {
                low = std::min(low, a);
                high = std::max(high, a);
                last = a;
            }
        }
        flush();

        p_.save();
        p_.setClipRect(plot);
        // Thermals as bands behind the altitude.
        for (const TFlightMarks::TSpan& t : marks_.thermals) {
            if (t.first >= fixes_.size() || t.last >= fixes_.size() || t.last < t.first) continue;
            const double left = toPixel(xOf(t.first), alt.low).x();
            const double right = toPixel(xOf(t.last), alt.low).x();
            p_.fillRect(QRectF(QPointF(left, plot.top()),
                               QPointF(std::max(right, left + 1), plot.bottom())),
                        ThermalColour);
        }
        QPolygonF area = line;
        area << QPointF(line.back().x(), plot.bottom()) << QPointF(line.front().x(), plot.bottom());
        p_.setPen(Qt::NoPen);
        p_.setBrush(FillColour);
        p_.drawPolygon(area);
        p_.setPen(QPen(TrackColour, std::max(1.5, unit_ / 7), Qt::SolidLine, Qt::RoundCap,
                       Qt::RoundJoin));
        p_.setBrush(Qt::NoBrush);
        if (line.size() == 1)
            p_.drawPoint(line.front());
        else
            p_.drawPolyline(line);
        const QPointF top = toPixel(xOf(*peak), fixes_[*peak].altitude);
        Marker(top, PeakColour, false);
        p_.restore();
        MarkerLabel(top,
                    QCoreApplication::translate("track", "Макс. %1 м")
                        .arg(Decimal(fixes_[*peak].altitude, 0)),
                    plot, false, PeakColour);
        p_.setPen(QPen(Ink, 1));
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(plot);
    }

    QPainter p_;
    const std::vector<TFlightFix>& fixes_;
    const TFlightMarks& marks_;
    QSize size_;
    TTrackEnd end_;
    double unit_ = 12;
    QFont font_;
};

}  // namespace

QImage RenderFlightPlot(const std::vector<TFlightFix>& fixes, QSize size, TTrackEnd end,
                        const TFlightMarks& marks) {
    size = size.expandedTo(MinFlightPlotSize).boundedTo(MaxFlightPlotSize);
    QImage image(size, QImage::Format_RGB32);
    TPlotPainter(image, fixes, end, marks).Draw();
    return image;
}

}  // namespace track
