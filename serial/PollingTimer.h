#pragma once
// The serial component's polling timer. It lives on the thread that created
// the component; Start and Stop may be called from any thread and take effect
// there, in the order they were called.
#include <QObject>
#include <QTimer>
#include <functional>

namespace serial {

class TPollingTimer : public QObject {
    Q_OBJECT
  public:
    explicit TPollingTimer(std::function<void()> onTick) : onTick_(std::move(onTick)) {
        connect(&timer_, &QTimer::timeout, this, [this] { onTick_(); });
        // Queued when emitted from another thread, direct on this one.
        connect(this, &TPollingTimer::StartRequested, &timer_, qOverload<int>(&QTimer::start));
        connect(this, &TPollingTimer::StopRequested, &timer_, &QTimer::stop);
    }

    void Start(int periodMs) { Q_EMIT StartRequested(periodMs); }
    void Stop() { Q_EMIT StopRequested(); }

  Q_SIGNALS:
    void StartRequested(int periodMs);
    void StopRequested();

  private:
    std::function<void()> onTick_;
    QTimer timer_;
};

}  // namespace serial
