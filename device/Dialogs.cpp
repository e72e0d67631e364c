#include "device/Dialogs.h"

#include <QCoreApplication>
#include <cstdio>

namespace device {

namespace {
class TTerminalDialogs : public TDialogs {
  public:
    void Message(QWidget*, TMessageKind, const QString&, const QString& text) override {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    }
    bool Ask(QWidget* parent, TMessageKind kind, const QString& title,
             const QString& text) override {
        Message(parent, kind, title, text);
        return false;
    }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString FolderName(QWidget*, const QString&) override { return {}; }
    void Exec(QDialog*) override {}
};

TTerminalDialogs g_terminal;
TDialogs* g_current = &g_terminal;
}  // namespace

TDialogs& Dialogs() { return *g_current; }

void SetDialogs(TDialogs* dialogs) { g_current = dialogs ? dialogs : &g_terminal; }

void ShowError(const QString& text) {
    Dialogs().Message(nullptr, TMessageKind::Error, QCoreApplication::applicationName(), text);
}

}  // namespace device
