#include "serial/PortHolders.h"

namespace serial {

// Windows names no holder of a device; the general hint stands.
QStringList PortHolders(const QString&) { return {}; }

}  // namespace serial
