#pragma once
#include <QStringList>
#include <cstdint>

namespace device {

// Reply bytes 4..259 of a memory page reply as 16 lines of 16 upper-case hex
// pairs, each followed by a blank.
QStringList PageDumpLines(const std::uint8_t* reply);

}  // namespace device
