#pragma once
// Windows only: what the port calls hand to the communications driver, so
// that it can be checked whole where a driver (a pseudo-terminal under Wine)
// keeps only part of it.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "serial/PortSystem.h"

namespace serial::platform {

// The device control block SetCommState receives for these line settings.
DCB ControlBlock(const LineSettings& s);

}  // namespace serial::platform
