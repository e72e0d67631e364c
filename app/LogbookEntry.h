#pragma once
// The main window's way into the logbook. The build picks the file: the
// logbook's own, or one that says the program was built without it.
class QMdiArea;
class QString;

namespace app {

// Shows the logbook window in `area`, or says why there is none.
void ShowLogbook(QMdiArea* area);
// Shows the logbook with the flight of the track file `path` taken into it
// (the import's own report says whether it was new), or says why there is
// no logbook.
void ShowFlightFile(QMdiArea* area, const QString& path);

}  // namespace app
