#include "models/Instrument.h"

#include <QDir>
#include <QStandardPaths>

#include "device/AppError.h"
#include "device/Frames.h"
#include "device/UserTexts.h"
#include "models/UnitFileIO.h"

namespace models {

using namespace device;

namespace {
const QString kBackupPrefix = QStringLiteral("settings-");
const QString kBackupSuffix = QStringLiteral(".bcf");
}  // namespace

QString TInstrument::Name() const {
    return KnownModel() ? ModelText(model) : UnknownModelText(reportedModel);
}

TInstrument InstrumentOfReply(const std::uint8_t* rx, std::uint16_t reportedModel) {
    TInstrument instrument;
    instrument.model = ModelShown(reportedModel);
    instrument.firmwareVersion = FirmwareVersionOfReply(rx);
    instrument.config = ConfigOfReply(rx);
    instrument.reportedModel = device::ReplyModelNumber(rx);
    return instrument;
}

QString DefaultBackupFolder() {
    // The window program's own data folder, named in full so that the
    // command line keeps its backups in the same place.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tolmarik/TolmarikProg/backups");
}

QString BackupFileName(const QDateTime& when, const TInstrument& instrument) {
    return kBackupPrefix + when.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
           QStringLiteral("-model%1-fw%2").arg(instrument.model).arg(instrument.firmwareVersion) +
           kBackupSuffix;
}

QString SaveSettingsBackup(const QString& folder, const TInstrument& instrument,
                           const QDateTime& when) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        throw TAppError(device::FolderNotMadeText(QDir::toNativeSeparators(folder)));
    const QString path = dir.filePath(BackupFileName(when, instrument));
    SaveConfigFile(path, instrument.model, instrument.config.data());
    QStringList backups = dir.entryList({kBackupPrefix + QLatin1Char('*') + kBackupSuffix},
                                        QDir::Files, QDir::Name | QDir::Reversed);
    for (qsizetype i = BackupsKept; i < backups.size(); ++i) dir.remove(backups[i]);
    return path;
}

}  // namespace models
