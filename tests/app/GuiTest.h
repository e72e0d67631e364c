#pragma once
// What the window tests share: an isolated settings store, the application
// object and link module of the program, and dialogs that answer at once and
// remember what they were shown.
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/TApplication.h"
#include "device/Messages.h"
#include "device/PortActivity.h"
#include "serial/UnitNVC.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/support/WaitFor.h"

namespace testing {

// Hands an operation a worker's status as if its worker had posted it.
inline void DeliverStatus(const device::TTarget& operation, int status, qintptr value = 0) {
    operation.Send(device::WM_THREAD_MSG, quintptr(status), value);
}

inline void ClearSettings() {
    QSettings(QStringLiteral("Tolmarik"), QStringLiteral("TolmarikProg")).clear();
}

// True once no operation holds the port by the rule every operation asks
// before it starts: a worker releases the port just after its last status,
// and its end step on this thread comes later still. Looked at every
// millisecond, unlike qWaitFor's 10 ms sleeps.
inline bool WaitPortFree(int timeoutMs = 20000) {
    return testsupport::WaitFor([] { return !device::PortInUse(serial::TNonVisComp::Instance()); },
                                timeoutMs);
}

}  // namespace testing

// The settings go to a temporary folder before anything can read them; the
// receive polling runs every 5 ms to keep the simulated exchanges short.
#define TOLMARIK_GUI_TEST_MAIN(TestClass)                                                      \
    int main(int argc, char** argv) {                                                          \
        QTemporaryDir settingsDir;                                                             \
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path()); \
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());    \
        app::TApplication application(argc, argv);                                             \
        serial::TNonVisComp link;                                                              \
        link.comport.SetPollingDelay(5);                                                       \
        TestClass test;                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                             \
        return QTest::qExec(&test, argc, argv);                                                \
    }
