#pragma once
// The link's log: port opens and closes, requests sent and replies received,
// at debug level. Off by default; a support session turns it on with
// QT_LOGGING_RULES="tolmarik.link.debug=true".
#include <QLoggingCategory>

namespace serial {
Q_DECLARE_LOGGING_CATEGORY(lcLink)
}  // namespace serial
