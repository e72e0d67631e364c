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

// The picture of `fixes` at `size` (clamped to the limits above). Fixes
// without an altitude are left out of the barogram; when some fix has no
// time, or the times go backwards, the barogram runs over the point numbers.
// The last point is labelled as `end` says.
QImage RenderFlightPlot(const std::vector<TFlightFix>& fixes, QSize size = DefaultFlightPlotSize,
                        TTrackEnd end = TTrackEnd::Landing);

}  // namespace track
