#pragma once
// The picture of a flight: the barogram (altitude over time, the greatest
// altitude marked) beside the ground track (seen from above, with a distance
// scale, take-off and landing marked), labelled in Russian.
//
// Drawn with QPainter onto a QImage of its own, so it may run on any thread
// (fonts need a QGuiApplication to exist, a window is not needed).
#include <QImage>
#include <QSize>
#include <vector>

#include "track/FlightFix.h"

namespace track {

inline constexpr QSize DefaultFlightPlotSize{1200, 720};
// Below the smallest size the labels no longer fit; the largest keeps the
// image within about 100 MB.
inline constexpr QSize MinFlightPlotSize{480, 320};
inline constexpr QSize MaxFlightPlotSize{5000, 5000};

// How the track ends: with the landing, or where a download was cut off.
enum class TTrackEnd { Landing, Cut };

// What the picture may mark besides the flight itself, as fix indices: the
// scored turnpoints and the points where the flight closes on the ground
// track, the thermals on the barogram. Indices past the fixes are ignored.
struct TFlightMarks {
    std::vector<std::size_t> turnpoints;  // in flying order; for a triangle the three corners
    bool closedShape = false;             // the turnpoints make a triangle
    std::vector<std::size_t> closingPoints;
    struct TSpan {
        std::size_t first = 0, last = 0;
    };
    std::vector<TSpan> thermals;
};

// The picture of `fixes` at `size` (clamped to the limits above). Fixes
// without an altitude are left out of the barogram; when some fix has no
// time, or the times go backwards, the barogram runs over the point numbers.
// The last point is labelled as `end` says.
QImage RenderFlightPlot(const std::vector<TFlightFix>& fixes, QSize size = DefaultFlightPlotSize,
                        TTrackEnd end = TTrackEnd::Landing, const TFlightMarks& marks = {});

}  // namespace track
