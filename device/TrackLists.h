#pragma once
// The decoded track of the last download: GPS points and sensor samples with
// their time stamps. The worker appends, the export reads a snapshot; both go
// through the lock, so an export during a running download sees a consistent
// prefix.
#include <array>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace device {

// Seconds since 1970-01-01 00:00:00 in the proleptic Gregorian calendar, no
// time zone: the instrument's own clock.
using TrackTime = std::int64_t;

// The time for the given fields, or nullopt-like false when they do not form
// a valid date and time (year 1..9999, month 1..12, day in month, 0..23:59:59).
bool MakeTrackTime(int year, int month, int day, int hour, int minute, int second, TrackTime& out);
// "yyyy-mm-ddThh:mm:ssZ".
std::string TimeText(TrackTime t);
// 2024-01-01 00:00:00, the time of records whose sector carries no valid date.
TrackTime FallbackTrackTime();

inline constexpr std::uint8_t TrackGpsKind = 12;
inline constexpr std::uint8_t TrackEngKind = 6;

struct GpsListEntry {
    TrackTime time = 0;
    std::array<std::uint8_t, 12> record{};  // kind byte included

    std::int16_t Altitude() const {
        return static_cast<std::int16_t>(record[2] | (record[3] << 8));
    }
    float Latitude() const { return FloatAt(4); }
    float Longitude() const { return FloatAt(8); }

private:
    float FloatAt(int offset) const {
        const std::uint32_t bits = static_cast<std::uint32_t>(record[offset]) |
                                   (static_cast<std::uint32_t>(record[offset + 1]) << 8) |
                                   (static_cast<std::uint32_t>(record[offset + 2]) << 16) |
                                   (static_cast<std::uint32_t>(record[offset + 3]) << 24);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};

struct EngListEntry {
    TrackTime time = 0;
    std::array<std::uint8_t, 6> record{};  // kind byte included

    unsigned Value1() const { return record[1]; }
    unsigned Value2() const { return static_cast<unsigned>(record[2] | (record[3] << 8)); }
    unsigned Value3() const { return static_cast<unsigned>(record[4] | (record[5] << 8)); }
};

struct TrackSnapshot {
    std::vector<GpsListEntry> gps;
    std::vector<EngListEntry> eng;
};

class TTrackLists {
public:
    void Clear();
    void AppendGps(const GpsListEntry& entry);
    void AppendEng(const EngListEntry& entry);
    TrackSnapshot Snapshot() const;
    std::size_t GpsCount() const;
    std::size_t EngCount() const;

private:
    mutable std::mutex m_;
    std::vector<GpsListEntry> gps_;
    std::vector<EngListEntry> eng_;
};

// The process-wide GpsList and EngList.
TTrackLists& TrackLists();

}  // namespace device
