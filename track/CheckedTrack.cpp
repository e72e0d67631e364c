#include "track/CheckedTrack.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cmath>

#include "device/AppError.h"
#include "track/FlightPhases.h"
#include "track/Geodesy.h"

namespace track {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
// A receiver without a solution writes zeros; nobody flies within 10 m of
// 0°N 0°E in the Gulf of Guinea.
constexpr double NullIslandDegrees = 0.0001;
// A run of fixes unreachable from the flight around it is a glitch when it
// is this small a share of the flight or lasts no longer than this (a GNSS
// altitude that swings by hundreds of metres for some seconds); a larger one
// is a flight of its own (or a receiver that found itself again) and stays.
constexpr double GlitchShare = 0.05;
constexpr device::TrackTime GlitchSeconds = 60;
constexpr double SpikeMetres = 50;
constexpr std::size_t SpikeNeighbours = 5;
constexpr device::TrackTime SpikeWindow = 60;

bool AtNullIsland(const TRecordedFix& f) {
    return std::fabs(f.latitude) < NullIslandDegrees && std::fabs(f.longitude) < NullIslandDegrees;
}

bool HasPressure(const TRecordedFix& f) {
    return !std::isnan(f.pressureAltitude) && f.pressureAltitude != 0;
}

TAltitudeSource ChooseSource(const std::vector<TRecordedFix>& fixes) {
    std::size_t pressure = 0, gnss = 0;
    for (const TRecordedFix& f : fixes) {
        if (HasPressure(f)) ++pressure;
        if (f.valid && !std::isnan(f.gnssAltitude)) ++gnss;
    }
    if (pressure > 0 && double(pressure) >= PressureShare * double(fixes.size()))
        return TAltitudeSource::Pressure;
    return gnss > 0 ? TAltitudeSource::Gnss : TAltitudeSource::None;
}

double AltitudeOf(const TRecordedFix& f, TAltitudeSource source) {
    switch (source) {
        case TAltitudeSource::Pressure:
            return HasPressure(f) ? f.pressureAltitude : NaN;
        case TAltitudeSource::Gnss:
            return f.valid ? f.gnssAltitude : NaN;
        case TAltitudeSource::None:
            break;
    }
    return NaN;
}

struct TRun {
    std::size_t first = 0;
    std::size_t end = 0;  // one past the last
    std::size_t Size() const { return end - first; }
};

bool ReachableOverGround(const TFlightFix& a, const TFlightFix& b) {
    if (!a.hasTime || !b.hasTime) return true;
    return FixDistance(a, b) <= MaxGroundSpeed * double(b.time - a.time) + HorizontalNoise;
}

// Leaves out the fixes whose altitudes stand out of the fixes around them:
// more than SpikeMetres from the median of SpikeNeighbours fixes either side
// (within SpikeWindow seconds). The median of a steady climb or dive is the
// fix's own level, so only what no glider can do stands out, a lone spike or
// a receiver's swing of a few fixes alike. Returns how many went.
int LeaveOutAltitudeSpikes(std::vector<TFlightFix>& fixes) {
    std::vector<double> around;
    std::vector<std::size_t> spikes;
    for (std::size_t i = 0; i < fixes.size(); ++i) {
        const TFlightFix& f = fixes[i];
        around.clear();
        for (std::size_t k = i, n = 0;
             k-- > 0 && n < SpikeNeighbours && f.time - fixes[k].time <= SpikeWindow; ++n)
            around.push_back(fixes[k].altitude);
        for (std::size_t k = i + 1, n = 0;
             k < fixes.size() && n < SpikeNeighbours && fixes[k].time - f.time <= SpikeWindow;
             ++k, ++n)
            around.push_back(fixes[k].altitude);
        if (around.size() < 4 || std::isnan(f.altitude)) continue;
        std::sort(around.begin(), around.end());
        const std::size_t half = around.size() / 2;
        const double median =
            around.size() % 2 ? around[half] : (around[half - 1] + around[half]) / 2;
        if (std::fabs(f.altitude - median) > SpikeMetres) spikes.push_back(i);
    }
    for (auto i = spikes.rbegin(); i != spikes.rend(); ++i)
        fixes.erase(fixes.begin() + std::ptrdiff_t(*i));
    return int(spikes.size());
}

// Leaves out the small runs that cannot be reached from the flight around
// them, walking out from the largest run; returns how many fixes went.
template <typename TReachable>
int LeaveOutUnreachable(std::vector<TFlightFix>& fixes, TReachable reachableFrom) {
    if (fixes.size() < 2) return 0;
    std::vector<TRun> runs{{0, 1}};
    for (std::size_t i = 1; i < fixes.size(); ++i) {
        if (reachableFrom(fixes[i - 1], fixes[i]))
            runs.back().end = i + 1;
        else
            runs.push_back({i, i + 1});
    }
    if (runs.size() == 1) return 0;
    const std::size_t glitchSize =
        std::max<std::size_t>(1, std::size_t(GlitchShare * double(fixes.size())));
    const auto anchor = std::size_t(
        std::max_element(runs.begin(), runs.end(),
                         [](const TRun& a, const TRun& b) { return a.Size() < b.Size(); }) -
        runs.begin());
    std::vector<bool> keep(runs.size(), false);
    keep[anchor] = true;
    auto walk = [&](std::size_t from, int step) {
        std::size_t kept = from;
        for (auto r = std::ptrdiff_t(from) + step; r >= 0 && r < std::ptrdiff_t(runs.size());
             r += step) {
            const TRun& run = runs[std::size_t(r)];
            const TFlightFix& near = step > 0 ? fixes[runs[kept].end - 1] : fixes[runs[kept].first];
            const bool reachable = step > 0 ? reachableFrom(near, fixes[run.first])
                                            : reachableFrom(fixes[run.end - 1], near);
            const bool brief = run.Size() <= glitchSize ||
                               (fixes[run.first].hasTime &&
                                fixes[run.end - 1].time - fixes[run.first].time <= GlitchSeconds);
            // Of two runs of one size neither tells which is the glitch.
            if (reachable || !brief || run.Size() >= runs[anchor].Size()) {
                keep[std::size_t(r)] = true;
                kept = std::size_t(r);
            }
        }
    };
    walk(anchor, +1);
    walk(anchor, -1);
    std::vector<TFlightFix> out;
    out.reserve(fixes.size());
    for (std::size_t r = 0; r < runs.size(); ++r)
        if (keep[r])
            out.insert(out.end(), fixes.begin() + std::ptrdiff_t(runs[r].first),
                       fixes.begin() + std::ptrdiff_t(runs[r].end));
    const int leftOut = int(fixes.size() - out.size());
    fixes = std::move(out);
    return leftOut;
}

bool InTimeOrder(const std::vector<TFlightFix>& fixes) {
    const TFlightFix* last = nullptr;
    for (const TFlightFix& f : fixes) {
        if (!f.hasTime) continue;
        if (last && f.time < last->time) return false;
        last = &f;
    }
    return true;
}

}  // namespace

bool Reachable(const TFlightFix& a, const TFlightFix& b) {
    if (!a.hasTime || !b.hasTime) return true;
    const double dt = double(b.time - a.time);
    if (!ReachableOverGround(a, b)) return false;
    if (!std::isnan(a.altitude) && !std::isnan(b.altitude) &&
        std::fabs(b.altitude - a.altitude) > MaxVerticalSpeed * dt + VerticalNoise)
        return false;
    return true;
}

TCheckedTrack CheckFixes(const std::vector<TRecordedFix>& recorded, const QString& name) {
    TCheckedTrack track;
    track.altitude = ChooseSource(recorded);
    track.recorded.reserve(recorded.size());
    std::vector<TFlightFix> fixes;
    fixes.reserve(recorded.size());
    bool timed = false, untimed = false;
    for (const TRecordedFix& r : recorded) {
        const TFlightFix fix{r.latitude, r.longitude, AltitudeOf(r, track.altitude), r.hasTime,
                             r.time};
        track.recorded.push_back(fix);
        (r.hasTime ? timed : untimed) = true;
        // A fix without the flight's altitude (a "V" fix of a flight without
        // a barometer, a pressure sensor still warming up) would leave a hole
        // in every climb and in the barogram.
        if (AtNullIsland(r) ||
            (track.altitude != TAltitudeSource::None && std::isnan(fix.altitude)))
            ++track.leftOut;
        else
            fixes.push_back(fix);
    }
    if (!InTimeOrder(fixes)) {
        if (untimed)
            throw device::TAppError(
                QCoreApplication::translate(
                    "track",
                    "Файл \"%1\": точки трека не по порядку времени, и не у всех есть "
                    "время: порядок полёта не восстановить")
                    .arg(QDir::toNativeSeparators(name)));
        std::stable_sort(fixes.begin(), fixes.end(),
                         [](const TFlightFix& a, const TFlightFix& b) { return a.time < b.time; });
    }
    if (timed && !untimed) {
        // A repeat of a second: the first one read stands.
        fixes.erase(
            std::unique(fixes.begin(), fixes.end(),
                        [](const TFlightFix& a, const TFlightFix& b) { return a.time == b.time; }),
            fixes.end());
    }
    track.leftOut += LeaveOutUnreachable(fixes, ReachableOverGround);
    if (timed && !untimed) track.leftOut += LeaveOutAltitudeSpikes(fixes);
    track.fixes = std::move(fixes);
    return track;
}

std::vector<TRecordedFix> AsRecorded(const std::vector<TFlightFix>& fixes) {
    std::vector<TRecordedFix> recorded;
    recorded.reserve(fixes.size());
    for (const TFlightFix& f : fixes) {
        TRecordedFix r;
        r.latitude = f.latitude;
        r.longitude = f.longitude;
        r.gnssAltitude = f.altitude;
        r.hasTime = f.hasTime;
        r.time = f.time;
        recorded.push_back(r);
    }
    return recorded;
}

QString AltitudeSourceText(TAltitudeSource source) {
    switch (source) {
        case TAltitudeSource::Pressure:
            return QCoreApplication::translate("track", "барометрическая");
        case TAltitudeSource::Gnss:
            return QStringLiteral("GPS");
        case TAltitudeSource::None:
            break;
    }
    return QCoreApplication::translate("track", "нет данных");
}

QString LeftOutText(int count) {
    return QCoreApplication::translate("track", "Отброшено невозможных точек: %1").arg(count);
}

double HighestAltitude(const std::vector<TFlightFix>& fixes) {
    double highest = NaN;
    for (const TFlightFix& f : fixes)
        if (!std::isnan(f.altitude) && !(f.altitude <= highest)) highest = f.altitude;
    return highest;
}

}  // namespace track
