#pragma once
// The main window's way into the logbook. The build picks the file: the
// logbook's own, or one that says the program was built without it.
class QMdiArea;

namespace app {

// Shows the logbook window in `area`, or says why there is none.
void ShowLogbook(QMdiArea* area);

}  // namespace app
