#include "logbook/LockRetry.h"

#include "device/AppError.h"
#include "logbook/LogbookStore.h"

namespace logbook {

TLockRetry::TLockRetry(int waitMs) : waitMs_(waitMs) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Try(); });
}

bool TLockRetry::Run(TChange change, TDone done) {
    if (Waiting()) return false;
    change_ = std::move(change);
    done_ = std::move(done);
    tries_ = 0;
    deadline_.setRemainingTime(waitMs_);
    Try();
    return true;
}

void TLockRetry::Try() {
    ++tries_;
    QString failure;
    try {
        change_();
    } catch (const TLogbookLocked& locked) {
        if (!deadline_.hasExpired()) {
            timer_.start(LockRetryMs);
            return;
        }
        failure = locked.Text();
    } catch (const device::TAppError& error) {
        failure = error.Text();
    }
    change_ = nullptr;
    // `done` may start the next change.
    const TDone done = std::move(done_);
    done_ = nullptr;
    done(failure);
}

}  // namespace logbook
