#pragma once
// What the window tests share: an isolated settings store, the application
// object and link module of the program, and dialogs that answer at once and
// remember what they were shown.
#include <QDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "app/Dialogs.h"
#include "app/TApplication.h"
#include "device/Messages.h"
#include "serial/UnitNVC.h"

namespace testing {

struct TShownMessage {
    app::TMessageKind kind;
    QString title;
    QString text;
};

class TRecordingDialogs : public app::TDialogs {
  public:
    std::vector<TShownMessage> messages;
    QStringList openAnswers;  // taken in turn; empty = cancelled
    QStringList saveAnswers;
    QString openFolder;
    QString saveFolder;
    int executed = 0;

    void Message(QWidget*, app::TMessageKind kind, const QString& title,
                 const QString& text) override {
        messages.push_back({kind, title, text});
    }
    QString OpenFileName(QWidget*, const QString& folder, const QString&) override {
        openFolder = folder;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString& folder, const QString&) override {
        saveFolder = folder;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    void Exec(QDialog*) override { ++executed; }
};

// Hands a window a worker's status as if the worker had posted it.
inline void DeliverThreadMsg(QObject* window, int status, qintptr value = 0) {
    device::TMessageEvent e(device::WM_THREAD_MSG, quintptr(status), value);
    QCoreApplication::sendEvent(window, &e);
}

inline void ClearSettings() {
    QSettings(QStringLiteral("Tolmarik"), QStringLiteral("TolmarikProg")).clear();
}

// True once no operation holds the port (a worker releases it just after its
// last status).
inline bool WaitPortFree(int timeoutMs = 20000) {
    return QTest::qWaitFor([] { return !serial::TNonVisComp::Instance().PortClaimed(); },
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
