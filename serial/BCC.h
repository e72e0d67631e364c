#pragma once
// The 8-bit check value of frames and configuration files: CRC-8 with the
// polynomial 0x1D processed least-significant bit first (reflected 0xB8),
// initial value 0, no final XOR. "123456789" gives 0x56.
#include <array>
#include <cstdint>

namespace serial {

extern const std::array<std::uint8_t, 256> Crc8Table;

// `highIndex` is the highest valid index of `data` (5120 for RxBuffer), not a
// length; `count` bytes from index 0 are covered and are clamped to the array.
std::uint8_t Crc8(const std::uint8_t* data, int highIndex, int count);

}  // namespace serial
