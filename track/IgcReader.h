#pragma once
// IGC flight recorder files as real instruments and programs write them: both
// forms of the date header, I-record extensions after the position, fixes
// with "V" validity, repeated fixes, flights across midnight UTC, LF-only or
// CR LF lines, headers in any case, and whatever follows the last record.
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "track/CheckedTrack.h"

namespace track {

// The checked fixes (see CheckFixes), every one with its UTC time.
struct TIgcFlight : TCheckedTrack {
    // From the header; empty when the file names none. Plain text of the file.
    QString pilot;
    QString gliderType;
    QString gliderId;
    QString civlId;    // "HFCIVCIVLID", as this program writes it
    QString recorder;  // "HFFTYFRTYPE"
    QString site;      // "HOSITSite": the take-off site
    // "HFTZNTIMEZONE": the recorder's time zone in minutes east of UTC.
    std::optional<int> utcOffsetMinutes;
};

// The flight of an IGC text. A B record that cannot be read is left out; a
// fix at the same second as the one before is a repeat and left out; a time
// of day more than 12 hours before the one before starts the next day (a
// shorter step back keeps its day, and the fixes are put in time order).
// Throws device::TAppError naming the file and the reason when the text holds
// no fix or no date.
TIgcFlight ParseIgc(const QByteArray& text, const QString& name);

// The same for a file; refuses what is no regular file or is far too large.
TIgcFlight ReadIgcFile(const QString& path);

}  // namespace track
