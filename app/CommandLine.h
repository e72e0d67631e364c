#pragma once
// The window program's command line, read before the application object
// exists: help and version are answered without a window system.
#include <QString>
#include <QStringList>

namespace app {

struct TCommandLine {
    enum Action { Run, ShowHelp, ShowVersion, Refuse };
    // What a file given to the program is, told by its name's ending: the
    // system's file manager hands over a settings file or a flight.
    enum FileKind { NoFile, SettingsFile, FlightFile };
    Action action = Run;
    QString port;        // "--port PORT": this run's port, not stored
    QString transcript;  // "--transcript FILE": where the traffic is recorded
    QString file;        // the one file to open at start, as given
    FileKind fileKind = NoFile;
    QString error;  // what was wrong, when refused
};

// `arguments` starts with the program's name. Single-dash options belong to
// the toolkit (e.g. -platform offscreen, -style fusion) and are left to it.
TCommandLine ParseCommandLine(const QStringList& arguments);

// The program's arguments as the system gave them. Defined per platform
// (Runtime*.cpp): Windows's narrow argv loses letters outside the ANSI code
// page, so there the wide command line is read.
QStringList ArgumentsOf(int argc, char** argv);

QString CommandLineHelp();

// Prints the help, the version or the refusal; returns the exit status.
int AnswerCommandLine(const TCommandLine& line);

}  // namespace app
