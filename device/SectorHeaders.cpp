#include "device/SectorHeaders.h"

#include "device/Frames.h"

namespace device {

TSectorHeader ParseSectorHeader(std::uint16_t sector, const std::uint8_t* bytes) {
    TSectorHeader h;
    h.sector = sector;
    h.flight = LE16(bytes + 4);
    h.sectorNumber = LE16(bytes + 6);
    h.year = LE16(bytes + 8);
    h.month = bytes[10];
    h.day = bytes[11];
    h.hour = bytes[12];
    h.minute = bytes[13];
    h.second = bytes[14];
    return h;
}

std::optional<TrackTime> TSectorHeader::Time() const {
    TrackTime time = 0;
    if (month == 0 || !MakeTrackTime(year, month, day, hour, minute, second, time))
        return std::nullopt;
    return time;
}

TrackTime TSectorHeader::RecordTime() const { return Time().value_or(FallbackTrackTime()); }

void TSectorHeaderLog::Append(const TSectorHeader& header) {
    const std::lock_guard lock(mutex_);
    headers_.push_back(header);
}

std::vector<TSectorHeader> TSectorHeaderLog::Snapshot() const {
    const std::lock_guard lock(mutex_);
    return headers_;
}

}  // namespace device
