#include "device/Messages.h"

#include <QCoreApplication>
#include <atomic>

namespace device {

namespace {
// A status on its way from a worker to the window's thread.
constexpr auto kRelayedType = static_cast<QEvent::Type>(QEvent::User + 1025);

class TRelayedEvent : public QEvent {
  public:
    TRelayedEvent(QEvent::Type type, quintptr wParam, qintptr lParam)
        : QEvent(kRelayedType), Type(type), WParam(wParam), LParam(lParam) {}
    const QEvent::Type Type;
    const quintptr WParam;
    const qintptr LParam;
};

// Qt's event queue puts the worker's building of an event before the window
// thread's reading of it, but under a lock the thread checker cannot see.
// Each post releases this counter after the event is built, and the relay
// acquires it before it reads any event: the same order, stated in code the
// checker sees, so no suppression is needed.
std::atomic<std::uint64_t> g_handoffs{0};
}  // namespace

// Lives on the window's thread. The window gets a TMessageEvent made on its
// own thread, never one a worker built.
class TRelay : public QObject {
  public:
    explicit TRelay(TTarget::Slot& slot) : slot_(slot) {}

    bool event(QEvent* e) override {
        g_handoffs.load(std::memory_order_acquire);
        if (e->type() != kRelayedType) return QObject::event(e);
        const auto* relayed = static_cast<const TRelayedEvent*>(e);
        QObject* window = nullptr;
        {
            std::lock_guard lock(slot_.m);
            window = slot_.window;
        }
        if (window != nullptr) {
            TMessageEvent message(relayed->Type, relayed->WParam, relayed->LParam);
            QCoreApplication::sendEvent(window, &message);
        }
        return true;
    }

  private:
    TTarget::Slot& slot_;
};

bool TTarget::Post(QEvent::Type type, quintptr wParam, qintptr lParam) const {
    if (!slot_) return false;
    std::lock_guard lock(slot_->m);
    if (slot_->window == nullptr) return false;
    auto* event = new TRelayedEvent(type, wParam, lParam);
    g_handoffs.fetch_add(1, std::memory_order_release);
    QCoreApplication::postEvent(slot_->relay, event);
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

TWindowHandle::TWindowHandle(QObject* window)
    : slot_(std::make_shared<TTarget::Slot>()), relay_(std::make_unique<TRelay>(*slot_)) {
    slot_->window = window;
    slot_->relay = relay_.get();
}

// Posts already queued for the relay go with it; later ones find no window.
TWindowHandle::~TWindowHandle() {
    std::lock_guard lock(slot_->m);
    slot_->window = nullptr;
    slot_->relay = nullptr;
}

}  // namespace device
