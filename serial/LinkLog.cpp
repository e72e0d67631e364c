#include "serial/LinkLog.h"

namespace serial {
Q_LOGGING_CATEGORY(lcLink, "tolmarik.link", QtInfoMsg)
}  // namespace serial
