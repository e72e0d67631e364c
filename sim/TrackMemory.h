#pragma once
// TTrackMemoryBuilder: lays out the instrument's track memory byte by byte,
// so that tests and the simulator can put sector headers and records exactly
// where they want them.
//
// A sector is 4096 bytes and starts at its number x 4096; its first 256 bytes
// are the header page, records follow from offset 256. Bytes never written
// read as 0xFF, as erased flash does.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

inline constexpr int TrackSectorSize = 4096;
inline constexpr int TrackPageSize = 256;
inline constexpr int TrackHeaderSize = 256;
inline constexpr std::uint8_t TrackErased = 0xFF;

class TTrackMemoryBuilder {
  public:
    // Writes the header page of sector `sectorNumber` (flight number at 4,
    // sector number at 6, year at 8, month 10, day 11, hour 12, minute 13,
    // second 14; the other header bytes erased) and puts the cursor at 256.
    // The rest of the sector is left as it is.
    void BeginSector(std::uint16_t sectorNumber, std::uint16_t flight, std::uint16_t year,
                     std::uint8_t month, std::uint8_t day, std::uint8_t hour, std::uint8_t minute,
                     std::uint8_t second);
    // Records at the cursor; the cursor moves past them. A record may run past
    // the end of the sector: its bytes then land in the next sector.
    void AddGps(std::int16_t altitude, float latitude, float longitude, std::uint8_t byte1 = 0);
    void AddEng(std::uint8_t value1, std::uint16_t value2, std::uint16_t value3);
    void AddRaw(const std::vector<std::uint8_t>& bytes);
    // Moves the cursor to an offset within the current sector.
    void SetCursor(int offsetInSector);
    int Cursor() const { return cursor_; }
    // Number of the current sector (0 before the first BeginSector).
    std::uint16_t CurrentSector() const { return sector_; }

    // The memory from address 0 to the end of the last sector begun or the
    // last byte written, whichever is further.
    std::vector<std::uint8_t> Memory() const { return memory_; }

  private:
    void Put(std::size_t address, std::uint8_t value);
    void Reserve(std::size_t end);

    std::vector<std::uint8_t> memory_;
    std::uint16_t sector_ = 0;
    int cursor_ = TrackHeaderSize;
};

// `size` bytes of `memory` from `address` on, into `out`, as the instrument
// reads them: past the end of the image the flash is erased.
void ReadMemory(const std::vector<std::uint8_t>& memory, std::uint64_t address, std::uint8_t* out,
                std::size_t size);

}  // namespace sim
