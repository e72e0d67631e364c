#pragma once
// The application object: title, version, icon, and the top-level error
// handler for failures that escape an event handler.
#include <QApplication>

namespace app {

class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Loads the toolkit's own Russian texts (dialog buttons, file dialogs) into
// `application`, whatever the user's locale; false when the catalogue is
// missing, in which case those texts stay English.
bool InstallToolkitTranslations(QCoreApplication& application);

// Registers the program's icons; safe to call more than once.
void InitResources();

}  // namespace app
