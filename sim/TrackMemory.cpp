#include "sim/TrackMemory.h"

#include <cstring>

namespace sim {

void TTrackMemoryBuilder::Reserve(std::size_t end) {
    if (memory_.size() < end) memory_.resize(end, TrackErased);
}

void TTrackMemoryBuilder::Put(std::size_t address, std::uint8_t value) {
    Reserve(address + 1);
    memory_[address] = value;
}

void TTrackMemoryBuilder::BeginSector(std::uint16_t sectorNumber, std::uint16_t flight,
                                      std::uint16_t year, std::uint8_t month, std::uint8_t day,
                                      std::uint8_t hour, std::uint8_t minute, std::uint8_t second) {
    sector_ = sectorNumber;
    cursor_ = TrackHeaderSize;
    const std::size_t base = std::size_t(sectorNumber) * TrackSectorSize;
    Reserve(base + TrackSectorSize);
    std::memset(memory_.data() + base, TrackErased, TrackHeaderSize);
    const auto put16 = [&](int offset, std::uint16_t v) {
        memory_[base + offset] = std::uint8_t(v);
        memory_[base + offset + 1] = std::uint8_t(v >> 8);
    };
    put16(4, flight);
    put16(6, sectorNumber);
    put16(8, year);
    memory_[base + 10] = month;
    memory_[base + 11] = day;
    memory_[base + 12] = hour;
    memory_[base + 13] = minute;
    memory_[base + 14] = second;
}

void TTrackMemoryBuilder::SetCursor(int offsetInSector) { cursor_ = offsetInSector; }

void TTrackMemoryBuilder::AddRaw(const std::vector<std::uint8_t>& bytes) {
    const std::size_t at = std::size_t(sector_) * TrackSectorSize + std::size_t(cursor_);
    for (std::size_t i = 0; i < bytes.size(); ++i) Put(at + i, bytes[i]);
    cursor_ += int(bytes.size());
}

void TTrackMemoryBuilder::AddGps(std::int16_t altitude, float latitude, float longitude,
                                 std::uint8_t byte1) {
    std::uint32_t lat;
    std::uint32_t lon;
    std::memcpy(&lat, &latitude, 4);
    std::memcpy(&lon, &longitude, 4);
    const auto alt = std::uint16_t(altitude);
    AddRaw({12, byte1, std::uint8_t(alt), std::uint8_t(alt >> 8), std::uint8_t(lat),
            std::uint8_t(lat >> 8), std::uint8_t(lat >> 16), std::uint8_t(lat >> 24),
            std::uint8_t(lon), std::uint8_t(lon >> 8), std::uint8_t(lon >> 16),
            std::uint8_t(lon >> 24)});
}

void TTrackMemoryBuilder::AddEng(std::uint8_t value1, std::uint16_t value2, std::uint16_t value3) {
    AddRaw({6, value1, std::uint8_t(value2), std::uint8_t(value2 >> 8), std::uint8_t(value3),
            std::uint8_t(value3 >> 8)});
}

void ReadMemory(const std::vector<std::uint8_t>& memory, std::uint64_t address, std::uint8_t* out,
                std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint64_t at = address + i;
        out[i] = at < memory.size() ? memory[std::size_t(at)] : TrackErased;
    }
}

}  // namespace sim
