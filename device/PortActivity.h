#pragma once
// Who is using the instrument's port, told to whoever cares. A worker counts
// from Start() until its end step has run; a workflow of several workers with
// questions between them (a firmware update) counts for its whole span, so
// that the port never looks free in a gap. Listeners hear every change from
// busy to idle and back, whatever the window that caused it: the main window
// enables its controls from this, not from the events it happens to see.
//
// Interface thread only.
#include <QObject>
#include <vector>

namespace serial {
class TNonVisComp;
}

namespace device {

class TPortActivity : public QObject {
    Q_OBJECT
  public:
    static TPortActivity& Instance();

    // Counts `holder` as using the port until End(holder); a second Begin of
    // the same holder counts once.
    void Begin(const void* holder);
    void End(const void* holder);
    // From here to End(holder), `holder` keeps nobody out: its last step
    // runs and may start the next worker of its chain. Listeners still see
    // the port busy until End, so they never see it free in between.
    void Ending(const void* holder);
    bool Busy() const { return holders_.size() > ending_.size(); }

  Q_SIGNALS:
    void BusyChanged(bool busy);

  private:
    std::vector<const void*> holders_;
    std::vector<const void*> ending_;
};

// The one rule for "busy": an operation holds the port, or a worker has
// claimed it. Every operation asks this before it starts.
bool PortInUse(const serial::TNonVisComp& link);

}  // namespace device
