#pragma once
// An identified instrument as its reply shows it, and the backups of its
// settings kept before a firmware update.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

#include "models/DeviceConfig.h"
#include "models/ModelTable.h"

namespace models {

// What an identification told: the model (0 already counted as 1), the
// firmware version and the settings.
struct TInstrument {
    DeviceModelId model = 0;
    std::uint16_t firmwareVersion = 0;
    TDeviceConfig config{};
    // The number the reply named, before the table was asked; none when it
    // named none.
    std::optional<std::uint16_t> reportedModel;

    // False for an instrument that stays read-only (KnownInstrumentModel).
    bool KnownModel() const { return KnownInstrumentModel(reportedModel); }
    // "Mevra-B (101)", or what is known of an unknown model.
    QString Name() const;
};

// The instrument as an identification reply in `rx` shows it, given the
// model that the worker reported.
TInstrument InstrumentOfReply(const std::uint8_t* rx, std::uint16_t reportedModel);

// Backups of the settings, taken before a firmware update.
inline constexpr int BackupsKept = 20;
// The per-user data folder's "backups".
QString DefaultBackupFolder();
// "settings-20240501-123005-042-model100-fw258.bcf": names sort by time.
QString BackupFileName(const QDateTime& when, const TInstrument& instrument);
// Writes the backup into `folder` (made if missing), then removes all but
// the newest BackupsKept backups there; returns its path. Throws
// device::TAppError when it cannot be written.
QString SaveSettingsBackup(const QString& folder, const TInstrument& instrument,
                           const QDateTime& when = QDateTime::currentDateTime());

}  // namespace models
