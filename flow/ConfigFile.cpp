#include "flow/ConfigFile.h"

#include "device/AppError.h"
#include "device/Frames.h"
#include "device/UserTexts.h"
#include "models/UnitFileIO.h"

namespace flow {

std::optional<TReport> OpenConfigFile(const QString& fileName, TOpenedConfig& opened) {
    TOpenedConfig file;
    try {
        models::TFileIOSaver saver(0);
        file.model = saver.LoadFile(fileName);
        models::TDeviceConfig block{};
        if (saver.ReadBlock(block.data(), device::DeviceConfigSize) != 0) {
            file.config = block;
            file.hasSettings = true;
        }
    } catch (const device::TAppError& error) {
        return Report(TOutcome::BadFile, error.Text());
    }
    if (!models::HasDeviceWindow(file.model)) return Report(TOutcome::FileUnsupported);
    opened = file;
    return std::nullopt;
}

TReport SaveConfigFile(const QString& chosen, models::DeviceModelId model,
                       const models::TDeviceConfig& config) {
    const QString name = models::ConfigFileName(chosen);
    try {
        models::SaveConfigFile(name, model, config.data());
    } catch (const device::TAppError& error) {
        return Report(TOutcome::FileNotWritten, error.Text());
    }
    return Report(TOutcome::Done, device::FileSavedText + name);
}

}  // namespace flow
