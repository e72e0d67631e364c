#pragma once
// TInstrumentRead: "Считать" — identifies the connected instrument and reads
// its settings with one worker posting to the read's own receiver; the caller
// shows what it reports. The settings
// stay in the identification reply (RxBuffer) for the device window.
#include <QObject>
#include <functional>

#include "device/DeviceIO.h"
#include "device/StatusReceiver.h"
#include "flow/Outcome.h"
#include "models/ModelTable.h"

namespace serial {
class TNonVisComp;
}

namespace flow {

class TInstrumentReports {
  public:
    virtual ~TInstrumentReports() = default;
    // `model` as the windows show it (ModelShown).
    virtual void Identified(models::DeviceModelId model) = 0;
    // The port is open and the request goes out; `text` says so.
    virtual void PortOpened(const QString& text) = 0;
    virtual void Failed(const TReport& report) = 0;
    // The worker has let go; called after the report of its final status, or
    // alone when it posted none.
    virtual void ReadEnded() = 0;
};

class TInstrumentRead : public QObject {
  public:
    TInstrumentRead(serial::TNonVisComp& link, TInstrumentReports& reports,
                    QObject* parent = nullptr);
    // False, with PortBusy reported, while another operation holds the port.
    bool Start();
    // Where this operation's workers post their statuses: its own receiver.
    device::TTarget StatusTarget() const { return receiver_.Target(); }

    device::TWorkerTiming Timing;

  private:
    void OnStatus(int code, qintptr value);

    serial::TNonVisComp& link_;
    device::TStatusReceiver receiver_{0x7F};
    TInstrumentReports& reports_;
};

}  // namespace flow
