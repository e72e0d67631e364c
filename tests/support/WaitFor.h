#pragma once
// Waiting on a condition without sleeping. QTest::qWaitFor (and the QTRY_
// macros built on it) sleeps 10 ms between rounds of events in this Qt, so a
// polling timer or a worker's status on this thread waits up to 10 ms each
// time: a scan of 300 sectors took 3 s where the exchanges take a third of
// that. This runs the event loop instead and looks at the condition every
// millisecond. The window suites keep QTRY_: a nested loop changes when their
// windows close and their dialogs return.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace testsupport {

inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
    if (done()) return true;
    QEventLoop loop;
    QTimer look;
    look.setTimerType(Qt::PreciseTimer);
    look.setInterval(1);
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        // A nested loop leaves the deletions asked for outside it alone;
        // a window closed by the test must go as it does under qWaitFor.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (done()) loop.quit();
    });
    QTimer::singleShot(timeoutMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    look.start();
    loop.exec();
    return done();
}

}  // namespace testsupport

// The QTRY_ checks on the same wait, with QTRY_'s default of 5 s.
#define TRY_VERIFY_WITH_TIMEOUT(expr, timeout) \
    QVERIFY2(testsupport::WaitFor([&] { return bool(expr); }, timeout), #expr)
#define TRY_VERIFY(expr) TRY_VERIFY_WITH_TIMEOUT(expr, 5000)
#define TRY_VERIFY2_WITH_TIMEOUT(expr, message, timeout)           \
    do {                                                           \
        testsupport::WaitFor([&] { return bool(expr); }, timeout); \
        QVERIFY2(expr, message);                                   \
    } while (false)
#define TRY_VERIFY2(expr, message) TRY_VERIFY2_WITH_TIMEOUT(expr, message, 5000)
#define TRY_COMPARE_WITH_TIMEOUT(actual, expected, timeout)                          \
    do {                                                                             \
        testsupport::WaitFor([&] { return bool((actual) == (expected)); }, timeout); \
        QCOMPARE(actual, expected);                                                  \
    } while (false)
#define TRY_COMPARE(actual, expected) TRY_COMPARE_WITH_TIMEOUT(actual, expected, 5000)
