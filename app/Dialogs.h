#pragma once
// The window program's dialogs: modal message boxes and the system's file
// dialogs, installed at start.
#include "device/Dialogs.h"

namespace app {

class TWindowDialogs : public device::TDialogs {
  public:
    void Message(QWidget* parent, device::TMessageKind kind, const QString& title,
                 const QString& text) override;
    bool Ask(QWidget* parent, device::TMessageKind kind, const QString& title,
             const QString& text) override;
    QString OpenFileName(QWidget* parent, const QString& folder, const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& folder, const QString& filter) override;
    QString FolderName(QWidget* parent, const QString& folder) override;
    void Exec(QDialog* dialog) override;
};

// Makes the window dialogs the ones in use.
void UseWindowDialogs();

}  // namespace app
