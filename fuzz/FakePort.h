#pragma once
// An instrument made of bytes, in place of the port's system calls: linked
// before the serial library, its serial::platform functions are the ones the
// port uses. Every write hands what was sent to the answerer, which may put
// reply bytes straight into the receive accumulator.
#include <cstdint>
#include <functional>

namespace fuzz {

// What to do with bytes the worker sent; returns false when the device is
// to vanish (the write then fails as on a hang-up).
using TAnswerer = std::function<bool(const std::uint8_t* sent, std::uint32_t size)>;
void SetAnswerer(TAnswerer answerer);

}  // namespace fuzz
