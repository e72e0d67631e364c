#pragma once
// The serial component's platform calls (serial/PortSystem.h) and the port
// names in the Qt types the program uses. Callers never see the platform.
#include <QString>

#include "serial/PortSystem.h"

namespace serial::platform {

// The path to open for what the user typed or picked in the port list, or an
// empty string when the text does not name a port on this platform.
inline QString PortPathFromText(const QString& text) {
    return QString::fromStdString(PortPath(text.toStdString()));
}

// The port shown when nothing has been stored yet.
inline QString DefaultPortText() { return QString::fromLatin1(DefaultPortName()); }

// The opening of a port name in a device's readable name, e.g. "(COM" in
// "USB-SERIAL CH340 (COM3)".
inline QString PortNameOpening() {
    return QLatin1Char('(') + QString::fromLatin1(PortNamePrefix());
}

}  // namespace serial::platform
