#pragma once
// Why a port would not open, told to the user: the port, the system's reason
// and, for the usual causes, what to do about it. The window and the command
// line tool both show it under "Невозможно открыть порт".
#include <QString>

#include "serial/CPDrv.h"
#include "serial/PortSystem.h"

namespace serial {

using TOpenFailureCause = platform::OpenFailureCause;

// The cause behind a system error code of a failed open (errno, or
// GetLastError on Windows).
TOpenFailureCause OpenFailureCause(int systemCode);

// What the user can do about the cause; empty when there is no advice.
QString OpenFailureHint(TOpenFailureCause cause);

// "PATH: REASON", empty when nothing is known about the failure.
QString OpenFailureReason(const TPortError& error);

// The reason and the hint on one line each, as far as they are known.
QString OpenFailureDetail(const TPortError& error);

}  // namespace serial
