#pragma once
// Opening and saving a ".bcf" configuration file, for the main window and the
// command line alike.
#include <QString>
#include <optional>

#include "flow/Outcome.h"
#include "models/DeviceConfig.h"
#include "models/ModelTable.h"

namespace flow {

struct TOpenedConfig {
    models::DeviceModelId model = 0;
    // The defaults when the file holds no settings block.
    models::TDeviceConfig config = models::DefaultConfig();
    bool hasSettings = false;
};

// The model and settings of `fileName`, or why they cannot be used: BadFile
// with the loader's text, or FileUnsupported for a model without a window.
std::optional<TReport> OpenConfigFile(const QString& fileName, TOpenedConfig& opened);

// Writes the settings to `chosen` (".bcf" added by the usual rule): Done
// with "Файл сохранен: " and the name, or FileNotWritten with the reason.
TReport SaveConfigFile(const QString& chosen, models::DeviceModelId model,
                       const models::TDeviceConfig& config);

}  // namespace flow
