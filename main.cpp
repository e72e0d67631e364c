#include "app/MAIN.h"

#include <QTimer>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/GivenFile.h"
#include "app/Runtime.h"
#include "app/SetupAPI.h"
#include "app/TApplication.h"
#include "flow/Outcome.h"
#include "serial/Transcript.h"
#include "serial/UnitNVC.h"

int main(int argc, char** argv) {
    app::SetUpRuntime();
    // Answered before the application object connects to the window system,
    // in the program's language.
    app::TCommandLine line;
    {
        QCoreApplication texts(argc, argv);
        app::InstallTranslations(texts, app::ProgramLanguage());
        line = app::ParseCommandLine(app::ArgumentsOf(argc, argv));
        if (line.action != app::TCommandLine::Run) return app::AnswerCommandLine(line);
    }

    app::TApplication application(argc, argv);
    // Outlives the port that records into it.
    serial::TTranscript transcript;
    if (!line.transcript.isEmpty() && !transcript.Open(line.transcript)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(line.transcript),
                     qPrintable(transcript.Error()));
        return flow::ExitStatusOf(flow::TOutcome::FileNotWritten);
    }
    // Before the main window: its creation sets the port name.
    serial::TNonVisComp link;
    if (transcript.IsOpen()) link.comport.SetTranscript(&transcript);
    app::ApplyAdapterGapFromEnvironment(link);
    app::TMainForm form;
    if (!line.port.isEmpty()) form.UsePortForThisRun(line.port);
    form.show();
    // Once the loop runs: a failure of the file reaches the application's
    // error handler, as from the menu, over the shown window.
    if (line.fileKind != app::TCommandLine::NoFile)
        QTimer::singleShot(0, &form, [&form, &line] { app::OpenGivenFile(form, line); });
    return application.exec();
}
