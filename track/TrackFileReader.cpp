#include "track/TrackFileReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <optional>

#include "device/AppError.h"
#include "device/FileStore.h"
#include "track/GpxReader.h"
#include "track/IgcReader.h"

namespace track {

namespace {

// Enough to hold a byte order mark and some blank lines before the first tag
// or record.
constexpr qint64 SniffBytes = 4096;

bool HasSuffix(const QString& path, const char* suffix) {
    return QFileInfo(path).suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

std::optional<TTrackFormat> FormatOfContent(const QByteArray& head) {
    QByteArray text = head;
    if (text.startsWith("\xEF\xBB\xBF")) text = text.mid(3);
    text = text.trimmed();
    if (text.isEmpty()) return std::nullopt;
    if (text[0] == '<') return TTrackFormat::Gpx;
    // An IGC file begins with its A record; some programs start with H.
    const char first = text[0];
    if ((first == 'A' || first == 'H' || first == 'h') && text.size() >= 2 && text[1] >= 0x20)
        return TTrackFormat::Igc;
    return std::nullopt;
}

}  // namespace

QString FirstFlightTakenText(const QString& path, std::size_t flightCount) {
    return QCoreApplication::translate("track", "В файле \"%1\" полётов: %2; взят первый")
        .arg(device::ShownName(path))
        .arg(flightCount);
}

bool IsTrackFileName(const QString& fileName) {
    return HasSuffix(fileName, "igc") || HasSuffix(fileName, "gpx");
}

namespace {

TTrackFormat FormatOf(const QByteArray& head, const QString& path) {
    std::optional<TTrackFormat> format = FormatOfContent(head.left(SniffBytes));
    if (!format && HasSuffix(path, "igc")) format = TTrackFormat::Igc;
    if (!format && HasSuffix(path, "gpx")) format = TTrackFormat::Gpx;
    if (!format)
        throw device::TAppError(
            QCoreApplication::translate("track", "Файл \"%1\" не является треком IGC или GPX")
                .arg(device::ShownName(path)));
    return *format;
}

TTrackFile FromIgc(TIgcFlight igc) {
    TTrackFile file;
    file.format = TTrackFormat::Igc;
    file.pilot = igc.pilot;
    file.gliderType = igc.gliderType;
    file.gliderId = igc.gliderId;
    file.civlId = igc.civlId;
    file.site = igc.site;
    file.utcOffsetMinutes = igc.utcOffsetMinutes;
    file.flights.push_back(std::move(static_cast<TCheckedTrack&>(igc)));
    return file;
}

TTrackFile FromGpx(std::vector<TCheckedTrack> flights) {
    TTrackFile file;
    file.format = TTrackFormat::Gpx;
    file.flights = std::move(flights);
    return file;
}

}  // namespace

TTrackFile ReadTrackFileDetails(const QString& path) {
    if (FormatOf(device::ReadRegularFile(path, SniffBytes), path) == TTrackFormat::Igc)
        return FromIgc(ReadIgcFile(path));
    return FromGpx(ReadGpxFile(path));
}

TTrackFile ParseTrackFile(const QByteArray& bytes, const QString& name) {
    if (FormatOf(bytes, name) == TTrackFormat::Igc) return FromIgc(ParseIgc(bytes, name));
    return FromGpx(ParseGpx(bytes, name));
}

std::vector<TFlightFix> ReadTrackFile(const QString& path, std::size_t* flightCount) {
    TTrackFile file = ReadTrackFileDetails(path);
    if (flightCount) *flightCount = file.flights.size();
    return file.flights.empty() ? std::vector<TFlightFix>() : std::move(file.flights.front().fixes);
}

}  // namespace track
