#pragma once
// A track file of any kind the program reads (IGC or GPX), told apart by its
// content, and by its name only when the content does not tell.
#include <QString>
#include <optional>
#include <vector>

#include "track/CheckedTrack.h"

namespace track {

enum class TTrackFormat { Igc, Gpx };

struct TTrackFile {
    TTrackFormat format = TTrackFormat::Igc;
    // Every flight of the file with its checked fixes: one for IGC, one a
    // track for GPX (see ParseGpx); none when the file holds no point.
    std::vector<TCheckedTrack> flights;
    // From an IGC header; empty for GPX or when the file names none.
    QString pilot;
    QString gliderType;
    QString gliderId;
    QString civlId;
    QString site;  // "HOSIT"
    // "HFTZN": the recorder's zone in minutes east of UTC.
    std::optional<int> utcOffsetMinutes;
};

// Throws device::TAppError naming the file and the reason when it cannot be
// read, is of neither kind, or is damaged.
TTrackFile ReadTrackFileDetails(const QString& path);
// The same from a file's bytes the caller read (no bound on their size);
// `name` names the file in messages and tells the kind when the content
// does not.
TTrackFile ParseTrackFile(const QByteArray& bytes, const QString& name);
// The checked fixes of the file's first flight (none when it holds no
// point), and in `flightCount` how many flights it holds.
std::vector<TFlightFix> ReadTrackFile(const QString& path, std::size_t* flightCount = nullptr);

// What a command that takes one flight says of a file that holds several.
QString FirstFlightTakenText(const QString& path, std::size_t flightCount);

// True for the names of files ReadTrackFile takes (".igc" or ".gpx", any
// case): what an import of a folder looks at.
bool IsTrackFileName(const QString& fileName);

}  // namespace track
