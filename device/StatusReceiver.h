#pragma once
// A window-less receiver of a worker's statuses, for the command line and the
// benchmarks: every WM_THREAD_MSG is handed to OnStatus on this thread.
#include <QObject>
#include <functional>

#include "device/Messages.h"

namespace device {

class TStatusReceiver : public QObject {
  public:
    std::function<void(int code, qintptr value)> OnStatus;
    TTarget Target() const { return handle_.Target(); }

  protected:
    bool event(QEvent* e) override {
        if (e->type() != WM_THREAD_MSG) return QObject::event(e);
        const auto* message = static_cast<TMessageEvent*>(e);
        if (OnStatus) OnStatus(static_cast<int>(message->WParam & 0xFF), message->LParam);
        return true;
    }

  private:
    TWindowHandle handle_{this};
};

}  // namespace device
