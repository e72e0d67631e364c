#include "track/GpxReader.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <pugixml.hpp>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "device/UserTexts.h"

namespace track {

namespace {

// Far beyond any flight (a day of one-second points is about 15 MB), and
// small enough to hold in memory with its parsed tree.
constexpr qint64 MaxGpxBytes = 512LL * 1024 * 1024;
// A track that begins this soon after the one before ends goes on with the
// same flight (a program that starts a new track when the receiver lost and
// found the satellites); a later one is a flight of its own.
constexpr device::TrackTime JoinedTrackGap = 10 * 60;

QString Shown(const QString& path) { return device::ShownName(path); }

[[noreturn]] void ThrowNotGpx(const QString& name) {
    throw device::TAppError(
        QCoreApplication::translate("track", "Файл \"%1\" не является файлом GPX")
            .arg(Shown(name)));
}

// The name without a namespace prefix: other programs write "gpx:trkpt".
bool Named(const pugi::xml_node& node, const char* local) {
    const char* name = node.name();
    if (const char* colon = std::strrchr(name, ':')) name = colon + 1;
    return std::strcmp(name, local) == 0;
}

pugi::xml_node Child(const pugi::xml_node& node, const char* local) {
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_element && Named(child, local)) return child;
    return {};
}

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

const char* SkipBlanks(const char* p) {
    while (Blank(*p)) ++p;
    return p;
}

// A decimal number in any locale; false when the text is not one or is not
// finite.
bool Number(const char* text, double& out) {
    const char* p = SkipBlanks(text);
    const char* end = p + std::strlen(p);
    while (end > p && Blank(end[-1])) --end;
    if (p != end && *p == '+') ++p;
    const auto res = std::from_chars(p, end, out);
    return res.ec == std::errc() && res.ptr == end && p != end && std::isfinite(out);
}

bool Digits(const char*& p, int count, int& out) {
    out = 0;
    for (int i = 0; i < count; ++i, ++p) {
        if (*p < '0' || *p > '9') return false;
        out = out * 10 + (*p - '0');
    }
    return true;
}

bool Expect(const char*& p, char c) { return *p++ == c; }

// xsd:dateTime: yyyy-mm-ddThh:mm:ss[.fff][Z|+hh:mm|-hh:mm]; no zone is UTC.
bool Time(const char* text, device::TrackTime& out) {
    const char* p = SkipBlanks(text);
    int y, mo, d, h, mi, s;
    if (!Digits(p, 4, y) || !Expect(p, '-') || !Digits(p, 2, mo) || !Expect(p, '-') ||
        !Digits(p, 2, d) || !Expect(p, 'T') || !Digits(p, 2, h) || !Expect(p, ':') ||
        !Digits(p, 2, mi) || !Expect(p, ':') || !Digits(p, 2, s))
        return false;
    if (*p == '.') {
        ++p;
        while (*p >= '0' && *p <= '9') ++p;
    }
    int offset = 0;
    if (*p == '+' || *p == '-') {
        const int sign = *p++ == '-' ? -1 : 1;
        int oh, om;
        if (!Digits(p, 2, oh) || !Expect(p, ':') || !Digits(p, 2, om) || oh > 14 || om > 59)
            return false;
        offset = sign * (oh * 3600 + om * 60);
    } else if (*p == 'Z') {
        ++p;
    }
    if (*SkipBlanks(p) != '\0') return false;
    if (s == 60) s = 59;  // a leap second: the one before it is near enough for a picture
    if (!device::MakeTrackTime(y, mo, d, h, mi, s, out)) return false;
    out -= offset;
    return true;
}

void AddPoint(const pugi::xml_node& point, std::vector<TFlightFix>& fixes) {
    TFlightFix fix;
    if (!Number(point.attribute("lat").value(), fix.latitude) ||
        !Number(point.attribute("lon").value(), fix.longitude) || std::fabs(fix.latitude) > 90 ||
        std::fabs(fix.longitude) > 180)
        return;
    double altitude = 0;
    if (Number(Child(point, "ele").child_value(), altitude)) fix.altitude = altitude;
    fix.hasTime = Time(Child(point, "time").child_value(), fix.time);
    fixes.push_back(fix);
}

void AddPoints(const pugi::xml_node& parent, const char* leaf, std::vector<TFlightFix>& fixes) {
    for (pugi::xml_node p : parent.children())
        if (Named(p, leaf)) AddPoint(p, fixes);
}

struct TTimeSpan {
    device::TrackTime first = 0;
    device::TrackTime last = 0;
};

// Where a track read so far stands among the fixes.
struct TReadTrack {
    std::size_t start = 0;
    std::size_t count = 0;
};

std::optional<TTimeSpan> SpanOf(const std::vector<TFlightFix>& points) {
    std::optional<TTimeSpan> span;
    for (const TFlightFix& p : points) {
        if (!p.hasTime) continue;
        if (!span) span = TTimeSpan{p.time, p.time};
        span->first = std::min(span->first, p.time);
        span->last = std::max(span->last, p.time);
    }
    return span;
}

// Programs that convert an IGC file write one track per altitude source
// (GNSS and pressure) of the same flight: a track whose times lie within a
// track already read, or an untimed one whose points are those read already,
// is the same flight again.
bool IsRepeat(const std::vector<TFlightFix>& points, const std::optional<TTimeSpan>& span,
              const std::vector<TTimeSpan>& kept, const std::vector<TFlightFix>& read,
              const std::vector<TReadTrack>& readTracks) {
    if (points.empty()) return false;
    if (span) {
        for (const TTimeSpan& k : kept)
            if (span->first >= k.first && span->last <= k.last && span->last > span->first)
                return true;
        return false;
    }
    for (const TReadTrack& r : readTracks) {
        if (r.count != points.size()) continue;
        bool same = true;
        for (std::size_t i = 0; same && i < points.size(); ++i)
            same = read[r.start + i].latitude == points[i].latitude &&
                   read[r.start + i].longitude == points[i].longitude;
        if (same) return true;
    }
    return false;
}

}  // namespace

std::vector<TCheckedTrack> ParseGpx(const QByteArray& document, const QString& name) {
    pugi::xml_document doc;
    if (!doc.load_buffer(document.constData(), std::size_t(document.size()), pugi::parse_default))
        ThrowNotGpx(name);
    const pugi::xml_node root = doc.document_element();
    if (!Named(root, "gpx")) ThrowNotGpx(name);
    std::vector<TFlightFix> fixes;
    std::vector<TTimeSpan> kept;
    std::vector<TReadTrack> readTracks;
    // The flights: where each begins among the fixes.
    std::vector<std::size_t> starts;
    std::optional<TTimeSpan> lastSpan;
    for (pugi::xml_node track : root.children()) {
        if (!Named(track, "trk")) continue;
        std::vector<TFlightFix> points;
        for (pugi::xml_node segment : track.children())
            if (Named(segment, "trkseg")) AddPoints(segment, "trkpt", points);
        const std::optional<TTimeSpan> span = SpanOf(points);
        if (points.empty() || IsRepeat(points, span, kept, fixes, readTracks)) continue;
        if (!(span && lastSpan && span->first >= lastSpan->last &&
              span->first - lastSpan->last <= JoinedTrackGap))
            starts.push_back(fixes.size());
        if (span) kept.push_back(*span);
        lastSpan = span;
        readTracks.push_back({fixes.size(), points.size()});
        fixes.insert(fixes.end(), points.begin(), points.end());
    }
    if (fixes.empty()) {
        for (pugi::xml_node route : root.children())
            if (Named(route, "rte")) AddPoints(route, "rtept", fixes);
        if (!fixes.empty()) starts.push_back(0);
    }
    std::vector<TCheckedTrack> flights;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const auto first = fixes.begin() + std::ptrdiff_t(starts[i]);
        const auto last =
            i + 1 < starts.size() ? fixes.begin() + std::ptrdiff_t(starts[i + 1]) : fixes.end();
        flights.push_back(CheckFixes(AsRecorded({first, last}), name));
    }
    return flights;
}

std::vector<TCheckedTrack> ReadGpxFile(const QString& path) {
    // One byte more than the bound tells a file that is too large.
    const QByteArray data = device::ReadRegularFile(path, MaxGpxBytes + 1);
    if (data.size() > MaxGpxBytes)
        throw device::TAppError(device::TrackFileTooLargeText(Shown(path)));
    return ParseGpx(data, path);
}

}  // namespace track
