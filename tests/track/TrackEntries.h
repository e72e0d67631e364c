#pragma once
// List entries built from readable values, as the download would store them.
#include <cstring>

#include "device/TrackLists.h"

namespace tracktest {

inline device::TrackTime Time(int y, int mo, int d, int h, int mi, int s) {
    device::TrackTime t = 0;
    device::MakeTrackTime(y, mo, d, h, mi, s, t);
    return t;
}

inline void PutFloat(std::uint8_t* at, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

inline device::GpsListEntry Gps(device::TrackTime time, int altitude, float lat, float lon) {
    device::GpsListEntry e;
    e.time = time;
    e.record[0] = device::TrackGpsKind;
    e.record[2] = static_cast<std::uint8_t>(altitude);
    e.record[3] = static_cast<std::uint8_t>(altitude >> 8);
    PutFloat(&e.record[4], lat);
    PutFloat(&e.record[8], lon);
    return e;
}

inline device::EngListEntry Eng(device::TrackTime time, unsigned v1, unsigned v2, unsigned v3) {
    device::EngListEntry e;
    e.time = time;
    e.record = {device::TrackEngKind,          static_cast<std::uint8_t>(v1),
                static_cast<std::uint8_t>(v2), static_cast<std::uint8_t>(v2 >> 8),
                static_cast<std::uint8_t>(v3), static_cast<std::uint8_t>(v3 >> 8)};
    return e;
}

}  // namespace tracktest
