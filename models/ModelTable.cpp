#include "models/ModelTable.h"

#include <QCoreApplication>

namespace models {

const std::array<DeviceModelInfo, 8> DeviceModelTable = {{
    {1, QT_TRANSLATE_NOOP("models", "По умолчанию")},
    {100, "Mevra-A"},
    {101, "Mevra-B"},
    {102, "Mevra-C"},
    {103, "Mevra-D"},
    {104, "Mevra-E"},
    {105, "Mevra-F"},
    {0, QT_TRANSLATE_NOOP("models", "Неизвестное устройство")},
}};

bool IsKnownModel(std::uint16_t model) {
    for (const auto& row : DeviceModelTable)
        if (std::uint16_t{row.id} == model) return true;
    return false;
}

QString GetModelName(DeviceModelId model) {
    for (const auto& row : DeviceModelTable)
        if (row.id == model) return QCoreApplication::translate("models", row.name);
    return QStringLiteral("???");
}

QString ModelText(DeviceModelId model) {
    return QStringLiteral("%1 (%2)").arg(GetModelName(model)).arg(model);
}

bool HasDeviceWindow(DeviceModelId model) {
    return model == 1 || (model >= 100 && model <= MaxModelId);
}

bool KnownInstrumentModel(std::optional<std::uint16_t> reported) {
    return reported && *reported <= 0xFF && HasDeviceWindow(static_cast<DeviceModelId>(*reported));
}

DeviceModelId ModelShown(std::uint16_t reported) {
    return reported == 0 ? 1 : static_cast<DeviceModelId>(reported);
}

}  // namespace models
