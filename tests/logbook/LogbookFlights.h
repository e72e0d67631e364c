#pragma once
// Made-up flights for the logbook's tests and benchmarks: a download's GPS
// list with two minutes on the ground at either end, and its IGC text.
#include <QByteArray>
#include <cmath>
#include <memory>
#include <vector>

#include "../track/TrackEntries.h"
#include "track/IgcExport.h"
#include "track/TrackExport.h"

namespace logbooktest {

// One fix a second for `seconds`; take-off after 120 s, landing 120 s
// before the end, the flight a slow circle drifting north-east.
inline std::vector<device::GpsListEntry> Download(device::TrackTime start, float lat, float lon,
                                                  int seconds = 1800) {
    std::vector<device::GpsListEntry> gps;
    gps.reserve(std::size_t(seconds));
    const int flying = seconds - 240;
    for (int i = 0; i < seconds; ++i) {
        const int f = std::clamp(i - 120, 0, flying);
        const double a = f / 120.0;
        const float la = lat + float(0.004 * std::sin(a) + f * 0.00001);
        const float lo = lon + float(0.004 * (1 - std::cos(a)) + f * 0.00001);
        const int altitude = 600 + int(700 * std::sin(3.14159 * f / flying));
        gps.push_back(tracktest::Gps(start + i, altitude, la, lo));
    }
    return gps;
}

// The checked track a download hands the logbook.
inline std::shared_ptr<const track::TCheckedTrack> Checked(
    const std::vector<device::GpsListEntry>& gps) {
    return std::make_shared<const track::TCheckedTrack>(track::CheckedDownload(gps));
}

inline QByteArray Igc(const std::vector<device::GpsListEntry>& gps,
                      const track::TPilotProfile& pilot = {}) {
    return track::IgcText(track::FlightFixes(gps), {}, pilot);
}

}  // namespace logbooktest
