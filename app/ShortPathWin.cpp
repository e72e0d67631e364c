#include <windows.h>

#include <QDir>
#include <string>

#include "app/ShortPath.h"

namespace app {

QString CaptionPath(const QString& path) {
    const std::wstring longPath = QDir::toNativeSeparators(path).toStdWString();
    // A volume without short names, or a path that has gone, answers 0: the
    // caption then keeps the long form rather than showing nothing.
    const DWORD needed = GetShortPathNameW(longPath.c_str(), nullptr, 0);
    if (needed == 0) return QDir::toNativeSeparators(path);
    std::wstring shortPath(needed, L'\0');
    const DWORD written = GetShortPathNameW(longPath.c_str(), shortPath.data(), needed);
    if (written == 0 || written >= needed) return QDir::toNativeSeparators(path);
    shortPath.resize(written);
    return QString::fromStdWString(shortPath);
}

}  // namespace app
