#include "track/TrackFolder.h"

namespace track {

namespace {
struct TState {
    TTrackFolderStore store;
    QString folder;  // without a store
};
TState& State() {
    static TState state;
    return state;
}
}  // namespace

void SetTrackFolderStore(TTrackFolderStore store) { State().store = std::move(store); }

QString TrackFolder() {
    const TState& s = State();
    return s.store.read ? s.store.read() : s.folder;
}

void SetTrackFolder(const QString& folder) {
    TState& s = State();
    if (s.store.write)
        s.store.write(folder);
    else
        s.folder = folder;
}

}  // namespace track
