#pragma once
// The application object: title, version, icon, and the top-level error
// handler for failures that escape an event handler.
#include <QApplication>

#include "app/Language.h"

namespace app {

class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The window program's language: the menu's choice kept in the settings, or
// the system's (app::ChosenLanguage).
QString ProgramLanguage();

// Registers the program's icons; safe to call more than once.
void InitResources();

}  // namespace app
