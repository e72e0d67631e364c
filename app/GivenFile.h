#pragma once
// The file given to the window program at start (a double click on a .bcf or
// an .igc in the system's file manager), opened the way the program's own
// actions open such a file.
namespace app {

class TMainForm;
struct TCommandLine;

// A settings file goes where the File menu's open action takes it, with the
// same messages; a flight goes into the logbook, which shows it. Nothing
// happens when the line names no file.
void OpenGivenFile(TMainForm& form, const TCommandLine& line);

}  // namespace app
