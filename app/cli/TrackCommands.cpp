#include "app/cli/TrackCommands.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "device/AppError.h"
#include "device/UserTexts.h"
#include "track/KmlExport.h"
#include "track/TrackFileReader.h"

namespace cli {

using flow::TOutcome;

namespace {

void Complain(const QString& text) {
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

TOutcome Kml(const QString& trackFile, const QString& kmlFile) {
    std::vector<track::TFlightFix> fixes;
    std::size_t flights = 0;
    try {
        fixes = track::ReadTrackFile(trackFile, &flights);
    } catch (const device::TAppError& error) {
        Complain(error.Text());
        return TOutcome::BadFile;
    }
    if (flights > 1) Complain(track::FirstFlightTakenText(trackFile, flights));
    if (fixes.empty()) {
        Complain(device::NoTrackPointsText(QDir::toNativeSeparators(trackFile)));
        return TOutcome::BadFile;
    }
    try {
        track::WriteKmlFile(
            kmlFile, {QFileInfo(trackFile).completeBaseName(), track::FlightFacts(fixes), fixes});
    } catch (const device::TAppError& error) {
        Complain(error.Text());
        return TOutcome::FileNotWritten;
    }
    std::fputs(
        (device::FileSavedText + QDir::toNativeSeparators(kmlFile) + u'\n').toUtf8().constData(),
        stdout);
    return TOutcome::Done;
}

}  // namespace

std::optional<TOutcome> RunTrackCommand(const QStringList& args) {
    if (args.size() == 3 && args[0] == QLatin1String("kml")) return Kml(args[1], args[2]);
    if (!args.isEmpty() && args[0] == QLatin1String("logbook"))
        return RunLogbookCommand(args.mid(1));
    return std::nullopt;
}

}  // namespace cli
