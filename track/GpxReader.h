#pragma once
// The positions of a GPX file, whichever program wrote it: GPX 1.1 or 1.0,
// with or without namespace prefixes and extensions.
#include <QByteArray>
#include <QString>
#include <vector>

#include "track/CheckedTrack.h"

namespace track {

// The flights of the file, in file order, each with its checked fixes (see
// CheckFixes): a track is a flight, except that a track that repeats the
// flight of one before it (its times within that one's, or without times the
// same points) is read once, and a track that begins within ten minutes of
// the end of the one before goes on with its flight. When the file holds no
// track point, the points of its routes are one flight. A point without a
// valid latitude and longitude is left out; "ele" and "time" are optional (a
// time with a zone offset is taken to UTC, fractions of a second are
// dropped). A file without a point gives no flight.
// Throws device::TAppError with a Russian text naming the file when the path
// is no regular file (a folder, device or pipe is refused without being
// opened), cannot be read, or holds no GPX document.
std::vector<TCheckedTrack> ReadGpxFile(const QString& path);

// The same for a document already in memory; `name` names it in the error.
std::vector<TCheckedTrack> ParseGpx(const QByteArray& document, const QString& name);

}  // namespace track
