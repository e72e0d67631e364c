#include "device/PortActivity.h"

#include <algorithm>

namespace device {

TPortActivity& TPortActivity::Instance() {
    static TPortActivity activity;
    return activity;
}

void TPortActivity::Begin(const void* holder) {
    if (std::find(holders_.begin(), holders_.end(), holder) != holders_.end()) return;
    holders_.push_back(holder);
    if (holders_.size() == 1) Q_EMIT BusyChanged(true);
}

void TPortActivity::End(const void* holder) {
    const auto found = std::find(holders_.begin(), holders_.end(), holder);
    if (found == holders_.end()) return;
    holders_.erase(found);
    if (holders_.empty()) Q_EMIT BusyChanged(false);
}

}  // namespace device
