#pragma once
// Which programs hold a port open, for the hint of a port that is busy.
#include <QString>
#include <QStringList>

namespace serial {

// The names of the processes that have `path` open (their command names, each
// once), as far as this user may see them; empty where the system does not
// tell (Windows).
QStringList PortHolders(const QString& path);

// The advice for a port held by the named programs: brltty and ModemManager
// take USB-serial adapters on their own and get a hint of their own; for any
// other holder the general one.
QString BusyHint(const QStringList& holders);

}  // namespace serial
