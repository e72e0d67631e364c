#pragma once
// A change of the logbook made on the interface thread, which must keep
// answering while another program (the command line importing, say) holds
// the logbook's lock: the change is tried again from a timer, never by
// waiting on the thread, until the lock is free or LockWaitMs have passed.
#include <QDeadlineTimer>
#include <QString>
#include <QTimer>
#include <functional>

namespace logbook {

// How long a change waits for another program's lock before the lock is
// reported. The other program's own changes (one file of an import, one
// entry) hold it for well under a second, so a lock held for seconds belongs
// to a program busy for long or stuck: the pilot is told and tries later.
inline constexpr int LockWaitMs = 5000;
// How often it is tried meanwhile; each try waits InterfaceBusyTimeoutMs at
// most, so the window stays answering in between.
inline constexpr int LockRetryMs = 200;

class TLockRetry {
  public:
    using TChange = std::function<void()>;
    // Empty when the change was made; else the text of its failure.
    using TDone = std::function<void(const QString& failure)>;

    explicit TLockRetry(int waitMs = LockWaitMs);

    // Makes `change` (which throws device::TAppError on failure, and
    // TLogbookLocked while the lock is held elsewhere) now or later; `done`
    // follows on this thread, at once when the change did not meet the
    // lock. False, and nothing done, while another change waits.
    bool Run(TChange change, TDone done);
    bool Waiting() const { return static_cast<bool>(change_); }
    // The tries of the change under way or last made.
    int Tries() const { return tries_; }

  private:
    void Try();

    int waitMs_;
    QTimer timer_;
    QDeadlineTimer deadline_;
    TChange change_;
    TDone done_;
    int tries_ = 0;
};

}  // namespace logbook
