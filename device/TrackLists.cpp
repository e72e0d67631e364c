#include "device/TrackLists.h"

#include <cstdio>

namespace device {

namespace {
// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
}  // namespace

bool MakeTrackTime(int year, int month, int day, int hour, int minute, int second,
                   TrackTime& out) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
    const int inMonth = days[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
    if (day < 1 || day > inMonth) return false;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    out = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
          hour * 3600 + minute * 60 + second;
    return true;
}

TrackTime FallbackTrackTime() {
    TrackTime t = 0;
    MakeTrackTime(2024, 1, 1, 0, 0, 0, t);
    return t;
}

std::string TimeText(TrackTime t) {
    std::int64_t days = t / 86400;
    std::int64_t rest = t % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02uT%02d:%02d:%02dZ", static_cast<long long>(y), m,
                  d, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return buf;
}

void TTrackLists::Clear() {
    std::lock_guard lock(m_);
    gps_.clear();
    eng_.clear();
}

void TTrackLists::AppendGps(const GpsListEntry& entry) {
    std::lock_guard lock(m_);
    gps_.push_back(entry);
}

void TTrackLists::AppendEng(const EngListEntry& entry) {
    std::lock_guard lock(m_);
    eng_.push_back(entry);
}

TrackSnapshot TTrackLists::Snapshot() const {
    std::lock_guard lock(m_);
    return {gps_, eng_};
}

std::size_t TTrackLists::GpsCount() const {
    std::lock_guard lock(m_);
    return gps_.size();
}

std::size_t TTrackLists::EngCount() const {
    std::lock_guard lock(m_);
    return eng_.size();
}

TTrackLists& TrackLists() {
    static TTrackLists lists;
    return lists;
}

}  // namespace device
