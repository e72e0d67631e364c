#pragma once
// The folder the track page writes the track files into, chosen by the pilot
// and kept between runs. The program's settings store sits above this floor,
// so the program installs it here at start; without a store the folder is
// not kept and starts empty. Empty means the current directory.
#include <QString>
#include <functional>

namespace track {

struct TTrackFolderStore {
    std::function<QString()> read;
    std::function<void(const QString&)> write;
};

// Replaces the store; an empty one keeps the folder for this run only.
void SetTrackFolderStore(TTrackFolderStore store);
QString TrackFolder();
void SetTrackFolder(const QString& folder);

}  // namespace track
