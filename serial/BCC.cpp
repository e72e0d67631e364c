#include "serial/BCC.h"

#include <algorithm>

namespace serial {

namespace {
constexpr std::array<std::uint8_t, 256> MakeTable() {
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        unsigned c = static_cast<unsigned>(i);
        for (int bit = 0; bit < 8; ++bit) c = (c & 1u) ? (c >> 1) ^ 0xB8u : c >> 1;
        table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c);
    }
    return table;
}
}  // namespace

const std::array<std::uint8_t, 256> Crc8Table = MakeTable();

std::uint8_t Crc8(const std::uint8_t* data, int highIndex, int count) {
    count = std::min(count, highIndex + 1);
    std::uint8_t c = 0;
    for (int i = 0; i < count; ++i) c = Crc8Table[c ^ data[i]];
    return c;
}

}  // namespace serial
