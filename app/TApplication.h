#pragma once
// The application object: title, version, icon, and the top-level error
// handler for failures that escape an event handler.
#include <QApplication>
#include <QStringList>

namespace app {

class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The value of "--port PATH" (or "--port=PATH"), or empty: lets a developer
// start the program on a given port, as if it had been typed into the list.
QString PortArgument(const QStringList& arguments);

// Registers the program's icons; safe to call more than once.
void InitResources();

}  // namespace app
