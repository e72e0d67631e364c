#pragma once
// Window messages between workers and windows: Qt events of type 1025
// (WM_THREAD_MSG, posted by a worker) and 1026 (WM_DEVICE_MSG, sent by a
// device window to the main window), each with two parameters.
//
// A worker holds a TTarget, never a QObject pointer: the window may close
// while its worker runs, and a post to a destroyed object would crash. The
// window's TWindowHandle detaches the target in the window's destructor, so
// later posts are dropped.
#include <QEvent>
#include <QObject>
#include <memory>
#include <mutex>

namespace device {

inline constexpr QEvent::Type WM_THREAD_MSG = static_cast<QEvent::Type>(1025);
inline constexpr QEvent::Type WM_DEVICE_MSG = static_cast<QEvent::Type>(1026);

// Result codes of WM_DEVICE_MSG (first parameter). DM_PORT_FAILED, DM_NO_LINK
// and DM_PORT_BUSY carry the operation's outcome (flow::TOutcome) as the
// second; the others carry 0.
enum TDeviceMsg : quintptr {
    DM_LOADED = 0,
    DM_WRITTEN = 1,
    DM_PORT_FAILED = 2,
    DM_NO_LINK = 3,
    DM_CONFIG_ERROR = 5,
    // WriteToDevice has ended: the device window's LastWriteReport() says how
    // (written, nothing to write, not confirmed, refused for the instrument's
    // model, read back other bytes, no link).
    DM_WRITE_ENDED = 6,
    // Another operation holds the port; nothing was started.
    DM_PORT_BUSY = 8,
};

class TMessageEvent : public QEvent {
  public:
    TMessageEvent(QEvent::Type type, quintptr wParam, qintptr lParam)
        : QEvent(type), WParam(wParam), LParam(lParam) {}
    const quintptr WParam;
    const qintptr LParam;
};

class TTarget {
  public:
    TTarget() = default;
    // Queues the message for the window; false (and nothing queued) when the
    // window is gone. Safe from any thread.
    bool Post(QEvent::Type type, quintptr wParam, qintptr lParam) const;
    // Delivers the message before returning; only on the window's own thread.
    bool Send(QEvent::Type type, quintptr wParam, qintptr lParam) const;
    bool operator==(const TTarget& other) const { return slot_ == other.slot_; }

  private:
    friend class TWindowHandle;
    friend class TRelay;
    struct Slot {
        std::mutex m;
        QObject* window = nullptr;
        // Receives the posts on the window's thread and hands each to the
        // window as an event made there (see Messages.cpp).
        QObject* relay = nullptr;
    };
    explicit TTarget(std::shared_ptr<Slot> slot) : slot_(std::move(slot)) {}
    std::shared_ptr<Slot> slot_;
};

// Owned by a window (a member, so it detaches before the QObject dies).
class TWindowHandle {
  public:
    explicit TWindowHandle(QObject* window);
    ~TWindowHandle();
    TWindowHandle(const TWindowHandle&) = delete;
    TWindowHandle& operator=(const TWindowHandle&) = delete;
    TTarget Target() const { return TTarget(slot_); }

  private:
    std::shared_ptr<TTarget::Slot> slot_;
    std::unique_ptr<QObject> relay_;
};

}  // namespace device
