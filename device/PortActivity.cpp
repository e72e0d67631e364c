#include "device/PortActivity.h"

#include <algorithm>

#include "serial/UnitNVC.h"

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
    std::erase(ending_, holder);
    if (holders_.empty()) Q_EMIT BusyChanged(false);
}

void TPortActivity::Ending(const void* holder) {
    if (std::find(holders_.begin(), holders_.end(), holder) == holders_.end()) return;
    if (std::find(ending_.begin(), ending_.end(), holder) == ending_.end())
        ending_.push_back(holder);
}

bool PortInUse(const serial::TNonVisComp& link) {
    return link.PortClaimed() || TPortActivity::Instance().Busy();
}

}  // namespace device
