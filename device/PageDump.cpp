#include "device/PageDump.h"

namespace device {

QStringList PageDumpLines(const std::uint8_t* reply) {
    static const char digits[] = "0123456789ABCDEF";
    QStringList lines;
    for (int row = 0; row < 16; ++row) {
        QString line;
        line.reserve(48);
        for (int col = 0; col < 16; ++col) {
            const std::uint8_t b = reply[4 + 16 * row + col];
            line += QLatin1Char(digits[b >> 4]);
            line += QLatin1Char(digits[b & 15]);
            line += QLatin1Char(' ');
        }
        lines << line;
    }
    return lines;
}

}  // namespace device
