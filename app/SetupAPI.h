#pragma once
// The per-user settings store: "comportname" (the last port) and "filepath"
// (the folder of the last opened configuration file).
#include <QString>

namespace app {

// The stored value of `name`; a missing or empty value is stored as
// `defaultValue` and that is returned.
QString ReadSetting(const QString& name, const QString& defaultValue);
void WriteSetting(const QString& name, const QString& value);

}  // namespace app
