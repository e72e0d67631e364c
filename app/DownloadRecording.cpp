#include "app/DownloadRecording.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>
#include <QThreadPool>

#include "device/AppError.h"
#include "device/HandOver.h"
#include "device/UserTexts.h"
#include "track/KmlExport.h"

namespace app {

namespace {

struct TLine {
    QString text;
    TAfterDownload kind = TAfterDownload::Good;
};

// The flight for Google Earth beside the set's first file (the GPX file), and
// the line that tells so.
TLine WriteKml(const flow::TDownloadedTrack& track) {
    try {
        const QString kml = track::WriteKmlBeside(track.files.first(), track.checked->fixes);
        return {device::FileSavedText + QDir::toNativeSeparators(kml), TAfterDownload::Good};
    } catch (const device::TAppError& error) {
        return {error.Text(), TAfterDownload::Failed};
    }
}

}  // namespace

int RecordEveryDownload(QObject* context, TAfterDownloadReport report, bool inBackground) {
    return flow::AttachDownloadHook(
        [context, report, inBackground](const flow::TDownloadedTrack& track) {
            if (track.files.isEmpty() || !track.checked || !track.lists || track.lists->gps.empty())
                return;
            if (!inBackground) {
                const TLine kml = WriteKml(track);
                report(kml.text, kml.kind);
                RecordInLogbook(track, context, report, false);
                return;
            }
            // Writing a long flight's KML takes a good part of a second: a
            // pool thread does it, and the logbook's entry starts once the
            // KML is there, so the lines keep their order.
            QPointer<QObject> guard(context);
            QThreadPool::globalInstance()->start(device::HandedOver([track, guard, report] {
                const TLine kml = WriteKml(track);
                QMetaObject::invokeMethod(QCoreApplication::instance(),
                                          device::HandedOver([track, guard, report, kml] {
                                              if (!guard) return;
                                              report(kml.text, kml.kind);
                                              RecordInLogbook(track, guard.data(), report, true);
                                          }),
                                          Qt::QueuedConnection);
            }));
        });
}

QString FlightScanCacheFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tolmarik/TolmarikProg/flight-scans.json");
}

}  // namespace app
