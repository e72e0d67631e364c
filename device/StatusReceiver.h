#pragma once
// A window-less receiver of a worker's statuses: every WM_THREAD_MSG is
// handed to OnStatus on this thread, with the status code taken from wParam
// through `codeMask` (the identification and the firmware update read its
// low seven bits, the track operations its low eight).
#include <QObject>
#include <functional>

#include "device/Messages.h"

namespace device {

class TStatusReceiver : public QObject {
  public:
    explicit TStatusReceiver(quintptr codeMask = 0xFF) : codeMask_(codeMask) {}
    std::function<void(int code, qintptr value)> OnStatus;
    TTarget Target() const { return handle_.Target(); }

  protected:
    bool event(QEvent* e) override {
        if (e->type() != WM_THREAD_MSG) return QObject::event(e);
        const auto* message = static_cast<TMessageEvent*>(e);
        if (OnStatus) OnStatus(static_cast<int>(message->WParam & codeMask_), message->LParam);
        return true;
    }

  private:
    quintptr codeMask_;
    TWindowHandle handle_{this};
};

}  // namespace device
