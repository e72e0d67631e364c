#include "app/DownloadRecording.h"

#include <QDir>
#include <QStandardPaths>

#include "device/AppError.h"
#include "device/UserTexts.h"
#include "track/KmlExport.h"
#include "track/TrackExport.h"

namespace app {

int RecordEveryDownload(QObject* context, TAfterDownloadReport report, bool inBackground) {
    return flow::AttachDownloadHook(
        [context, report, inBackground](const flow::TDownloadedTrack& track) {
            if (track.files.isEmpty() || !track.lists || track.lists->gps.empty()) return;
            // The KML file takes the name of the set's first file (the GPX file).
            try {
                const QString kml = track::WriteKmlBeside(
                    track.files.first(), track::CheckedDownload(track.lists->gps).fixes);
                report(device::FileSavedText + QDir::toNativeSeparators(kml), TAfterDownload::Good);
            } catch (const device::TAppError& error) {
                report(error.Text(), TAfterDownload::Failed);
            }
            RecordInLogbook(track, context, report, inBackground);
        });
}

QString FlightScanCacheFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tolmarik/TolmarikProg/flight-scans.json");
}

}  // namespace app
