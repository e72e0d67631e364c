// Systems without short names show the path as it is.
#include <QDir>

#include "app/ShortPath.h"

namespace app {

QString CaptionPath(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace app
