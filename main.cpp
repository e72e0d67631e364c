#include "app/MAIN.h"

#include "app/CommandLine.h"
#include "app/TApplication.h"
#include "serial/UnitNVC.h"

int main(int argc, char** argv) {
    // Answered before the application object connects to the window system.
    const app::TCommandLine line = app::ParseCommandLine(app::ArgumentsOf(argc, argv));
    if (line.action != app::TCommandLine::Run) return app::AnswerCommandLine(line);

    app::TApplication application(argc, argv);
    // Before the main window: its creation sets the port name.
    serial::TNonVisComp link;
    app::TMainForm form;
    if (!line.port.isEmpty()) form.UsePortForThisRun(line.port);
    form.show();
    return application.exec();
}
