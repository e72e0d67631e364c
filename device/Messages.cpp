#include "device/Messages.h"

#include <QCoreApplication>

namespace device {

bool TTarget::Post(QEvent::Type type, quintptr wParam, qintptr lParam) const {
    if (!slot_) return false;
    std::lock_guard lock(slot_->m);
    if (slot_->window == nullptr) return false;
    QCoreApplication::postEvent(slot_->window, new TMessageEvent(type, wParam, lParam));
    return true;
}

bool TTarget::Send(QEvent::Type type, quintptr wParam, qintptr lParam) const {
    QObject* window = nullptr;
    if (slot_) {
        std::lock_guard lock(slot_->m);
        window = slot_->window;
    }
    if (window == nullptr) return false;
    TMessageEvent event(type, wParam, lParam);
    QCoreApplication::sendEvent(window, &event);
    return true;
}

TWindowHandle::TWindowHandle(QObject* window) : slot_(std::make_shared<TTarget::Slot>()) {
    slot_->window = window;
}

TWindowHandle::~TWindowHandle() {
    std::lock_guard lock(slot_->m);
    slot_->window = nullptr;
}

}  // namespace device
