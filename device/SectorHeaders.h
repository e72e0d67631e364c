#pragma once
// The sector headers a scan of the track memory has read so far, shared by
// the scanning worker (the only writer) and the controller that lists the
// flights. The controller may also ask the worker to stop between two pages.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "device/TrackLists.h"

namespace device {

struct TSectorHeader {
    std::uint16_t sector = 0;  // where it was read
    std::uint16_t flight = 0;
    std::uint16_t sectorNumber = 0;  // what the header says of itself
    std::uint16_t year = 0;
    std::uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;

    // Erased flash: the flight and the sector number both read 0xFFFF.
    bool Erased() const { return flight == 0xFFFF && sectorNumber == 0xFFFF; }
    // The time of the sector's first record; none when the instrument had no
    // date (month 0) or the date is not one.
    std::optional<TrackTime> Time() const;
    // The time a download gives the sector's first record: Time(), or the
    // fallback time when there is none.
    TrackTime RecordTime() const;
    bool operator==(const TSectorHeader&) const = default;
};

// `bytes` are the first 15 bytes of a sector.
TSectorHeader ParseSectorHeader(std::uint16_t sector, const std::uint8_t* bytes);

class TSectorHeaderLog {
  public:
    void Append(const TSectorHeader& header);
    std::vector<TSectorHeader> Snapshot() const;
    void Cancel() { cancelled_.store(true, std::memory_order_release); }
    bool Cancelled() const { return cancelled_.load(std::memory_order_acquire); }

  private:
    mutable std::mutex mutex_;
    std::vector<TSectorHeader> headers_;
    std::atomic<bool> cancelled_{false};
};

}  // namespace device
