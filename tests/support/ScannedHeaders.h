#pragma once
// The sector headers a scan of the track memory reads, taken straight from a
// memory image: the header page of each of the `count` sectors a scan reads, decoded by the
// decoder the scanning worker uses, the page read as the simulator reads it
// (sim::ReadMemory). The flight-scan suite checks that a scan through
// the link lists what these headers list.
#include <array>
#include <cstdint>
#include <vector>

#include "device/SectorHeaders.h"
#include "flow/FlightScan.h"
#include "sim/TrackMemory.h"
#include "track/FlightList.h"

namespace testsupport {

inline std::vector<device::TSectorHeader> ScannedHeaders(const std::vector<std::uint8_t>& memory,
                                                         int count = flow::ScanSectorCount) {
    std::vector<device::TSectorHeader> headers;
    std::array<std::uint8_t, sim::TrackPageSize> page;
    for (int i = 0; i < count; ++i) {
        const std::uint16_t sector = std::uint16_t(flow::ScanFirstSector + i);
        sim::ReadMemory(memory, std::uint64_t(sector) * sim::TrackSectorSize, page.data(),
                        page.size());
        headers.push_back(device::ParseSectorHeader(sector, page.data()));
    }
    return headers;
}

// The flights a scan of `count` sectors of `memory` lists.
inline std::vector<track::TListedFlight> ScannedFlights(const std::vector<std::uint8_t>& memory,
                                                        int count = flow::ScanSectorCount) {
    return track::FlightsInHeaders(ScannedHeaders(memory, count));
}

}  // namespace testsupport
