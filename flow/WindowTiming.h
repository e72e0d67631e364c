#pragma once
// The waits of the workers the windows start. Each window gives them to the
// controllers it builds. The program keeps the protocol's own (the defaults
// of TWorkerTiming); a test bench on the program's link shortens them while
// it stands, as it does the link's polling.
#include "device/DeviceIO.h"

namespace flow {

device::TWorkerTiming& WindowTiming();

}  // namespace flow
