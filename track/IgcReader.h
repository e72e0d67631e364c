#pragma once
// IGC flight recorder files as real instruments and programs write them: both
// forms of the date header, I-record extensions after the position, fixes
// with "V" validity, repeated fixes, flights across midnight UTC, LF-only or
// CR LF lines, headers in any case, and whatever follows the last record.
#include <QByteArray>
#include <QString>
#include <vector>

#include "track/FlightFix.h"

namespace track {

struct TIgcFlight {
    std::vector<TFlightFix> fixes;  // every fix with its UTC time, in time order
    // From the header; empty when the file names none. Plain text of the file.
    QString pilot;
    QString gliderType;
    QString gliderId;
    QString recorder;  // "HFFTYFRTYPE"
};

// The flight of an IGC text. A B record that cannot be read is left out; a
// fix at the same second as the one before is a repeat and left out; a time
// of day well before the one before starts the next day (a shorter step back
// is a glitch of the logger and the fix is left out). Altitude: the GNSS
// altitude of a valid ("A") fix, else the pressure altitude when it is not
// zero, else none. Throws device::TAppError naming the file and the reason
// when the text holds no fix or no date.
TIgcFlight ParseIgc(const QByteArray& text, const QString& name);

// The same for a file; refuses what is no regular file or is far too large.
TIgcFlight ReadIgcFile(const QString& path);

}  // namespace track
