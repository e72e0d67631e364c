#pragma once
// Writing a downloaded track: "Track<flight>.gpx" (GPX 1.1),
// "Track<flight>.enx" (one "time;v1;v2;v3" line per sensor sample) and
// "Track<flight>.igc" (IGC flight recorder file) in a folder, with the totals
// reported line by line to a memo.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "device/TrackLists.h"
#include "track/CheckedTrack.h"
#include "track/IgcExport.h"

namespace track {

// Where WriteTrackFiles reports: the track page's memo, or a terminal.
class TMemoSink {
  public:
    virtual ~TMemoSink() = default;
    virtual void Clear() = 0;
    virtual void AddLine(const QString& line) = 0;
};

// Latitude or longitude as written in the GPX file: the single value widened
// to double, at most 15 significant digits, fixed notation, no trailing
// zeros, "." in every locale; "nan", "inf" or "-inf" for a value that is none.
std::string CoordinateText(float value);

// The GPX document (UTF-8, CR LF, tab indentation) for the points of `gps`;
// points with a non-finite coordinate, or one outside the range GPX allows
// (latitude -90..90, longitude -180..180), are left out, and a longitude of
// 180 is written as -180.
std::string GpxText(const std::vector<device::GpsListEntry>& gps);
// The ENX text for `eng`.
std::string EnxText(const std::vector<device::EngListEntry>& eng);
// The points of `gps` that the GPX file holds, in the same order and with the
// same longitude: what the IGC file and the flight picture take.
std::vector<TFlightFix> FlightFixes(const std::vector<device::GpsListEntry>& gps);
// The checked flight of a download (see CheckFixes), its fixes as
// FlightFixes gives them: what the picture, the statistics, the KML file, the
// score and the logbook take. Its `recorded` fixes are FlightFixes(gps) to
// the bit: the IGC file keeps every fix the instrument wrote. Made once per
// download, off the interface thread (RunExport), and handed on.
TCheckedTrack CheckedDownload(const std::vector<device::GpsListEntry>& gps);

// What WriteTrackFiles writes beside the GPX and ENX files.
struct TTrackFileOptions {
    bool igc = true;  // "Track<flight>.igc", whenever there are GPS points
    TIgcInstrument instrument;
    // What a cut-off download read: the files are named
    // "Track<flight>-partial.*" ("-partial-2" and on when that set exists),
    // so that they never replace the files of a complete download, nor
    // those of an earlier partial save.
    bool partial = false;
    // The name of the files without extension instead of "Track<flight>"
    // (or of DatedTrackBaseName, where "Track<flight>" holds the files of a
    // flight that started at another time); a partial save adds "-partial"
    // to it as well.
    QString baseName;
    // Taken when the options are made, so a download writes the profile of
    // the moment it was asked for.
    TPilotProfile pilot = CurrentPilotProfile();
};

// Clears the memo, reports the totals, writes the GPX file when there are GPS
// points, the ENX file when there are sensor samples and then the IGC file
// when there are GPS points and `options` asks for it (each replaced
// atomically: a failed write leaves an earlier file intact), then reports
// "___ Файлы созданы ____". Throws device::TAppError naming the file and the
// system's reason when a file cannot be written; the memo then lacks the
// last line. `folder` empty means the current directory. Returns the full
// paths of the files written.
QStringList WriteTrackFiles(int flightNumber, const device::TrackSnapshot& lists, TMemoSink& memo,
                            const QString& folder = {}, const TTrackFileOptions& options = {});
// The same, the IGC file taking `recorded` (FlightFixes(lists.gps), or the
// `recorded` fixes of its CheckedDownload) instead of converting the list.
QStringList WriteTrackFiles(int flightNumber, const device::TrackSnapshot& lists,
                            const std::vector<TFlightFix>& recorded, TMemoSink& memo,
                            const QString& folder, const TTrackFileOptions& options);

// "Track7-2024-06-07-0912": the files of flight 7 that started then.
QString DatedTrackBaseName(int flightNumber, device::TrackTime start);

// The memo line (and command-line message) for a download that ended without
// the end of the track: how far it got, and that what it read is in no file.
QString UnfinishedDownloadText(int count, bool bySector, std::size_t gps, std::size_t eng);
// The same, for a download whose partial files have been written.
QString UnfinishedDownloadSavedText(int count, bool bySector, std::size_t gps, std::size_t eng);

}  // namespace track
