#pragma once
// What must hold for any input to the configuration file reader and the
// firmware loader. Shared by the libFuzzer targets and by the test that
// replays the committed corpora, so both check exactly the same things.
#include <cstddef>
#include <cstdint>

namespace fuzz {

// Each returns nullptr when every property held, otherwise what broke.
const char* CheckConfigFile(const std::uint8_t* data, std::size_t size);
const char* CheckFirmwareText(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
