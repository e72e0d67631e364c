#include "flow/WindowTiming.h"

namespace flow {

device::TWorkerTiming& WindowTiming() {
    static device::TWorkerTiming timing;
    return timing;
}

}  // namespace flow
