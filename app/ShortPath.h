#pragma once
// How a window caption shows the path of an opened file.
#include <QString>

namespace app {

// `path` in the platform's own form for a caption: on Windows its short (8.3)
// form when the file system gives one, else the long form with native
// separators.
QString CaptionPath(const QString& path);

}  // namespace app
