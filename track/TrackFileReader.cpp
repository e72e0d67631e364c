#include "track/TrackFileReader.h"

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
    return QStringLiteral("В файле \"%1\" полётов: %2; взят первый")
        .arg(QDir::toNativeSeparators(path))
        .arg(flightCount);
}

bool IsTrackFileName(const QString& fileName) {
    return HasSuffix(fileName, "igc") || HasSuffix(fileName, "gpx");
}

TTrackFile ReadTrackFileDetails(const QString& path) {
    const QByteArray head = device::ReadRegularFile(path, SniffBytes);
    std::optional<TTrackFormat> format = FormatOfContent(head);
    if (!format && HasSuffix(path, "igc")) format = TTrackFormat::Igc;
    if (!format && HasSuffix(path, "gpx")) format = TTrackFormat::Gpx;
    if (!format)
        throw device::TAppError(QStringLiteral("Файл \"%1\" не является треком IGC или GPX")
                                    .arg(QDir::toNativeSeparators(path)));
    TTrackFile file;
    file.format = *format;
    if (*format == TTrackFormat::Gpx) {
        file.flights = ReadGpxFile(path);
    } else {
        TIgcFlight igc = ReadIgcFile(path);
        file.pilot = igc.pilot;
        file.gliderType = igc.gliderType;
        file.gliderId = igc.gliderId;
        file.flights.push_back(std::move(static_cast<TCheckedTrack&>(igc)));
    }
    return file;
}

std::vector<TFlightFix> ReadTrackFile(const QString& path, std::size_t* flightCount) {
    TTrackFile file = ReadTrackFileDetails(path);
    if (flightCount) *flightCount = file.flights.size();
    return file.flights.empty() ? std::vector<TFlightFix>() : std::move(file.flights.front().fixes);
}

}  // namespace track
