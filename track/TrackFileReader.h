#pragma once
// A track file of any kind the program reads (IGC or GPX), told apart by its
// content, and by its name only when the content does not tell.
#include <QString>
#include <vector>

#include "track/FlightFix.h"

namespace track {

enum class TTrackFormat { Igc, Gpx };

struct TTrackFile {
    TTrackFormat format = TTrackFormat::Igc;
    std::vector<TFlightFix> fixes;
    // From an IGC header; empty for GPX or when the file names none.
    QString pilot;
    QString gliderType;
    QString gliderId;
};

// Throws device::TAppError naming the file and the reason when it cannot be
// read, is of neither kind, or is damaged.
TTrackFile ReadTrackFileDetails(const QString& path);
// The same from a file's bytes the caller read (no bound on their size);
// `name` names the file in messages and tells the kind when the content
// does not.
TTrackFile ParseTrackFile(const QByteArray& bytes, const QString& name);
// The fixes only.
std::vector<TFlightFix> ReadTrackFile(const QString& path);

// True for the names of files ReadTrackFile takes (".igc" or ".gpx", any
// case): what an import of a folder looks at.
bool IsTrackFileName(const QString& fileName);

}  // namespace track
