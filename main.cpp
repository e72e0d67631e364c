#include "app/MAIN.h"

#include "app/SetupUnit.h"
#include "app/TApplication.h"
#include "serial/UnitNVC.h"

int main(int argc, char** argv) {
    app::TApplication application(argc, argv);
    // Before the main window: its creation sets the port name.
    serial::TNonVisComp link;
    app::TMainForm form;
    const QString port = app::PortArgument(QCoreApplication::arguments());
    if (!port.isEmpty()) form.UsePortForThisRun(port);
    form.show();
    return application.exec();
}
