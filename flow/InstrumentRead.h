#pragma once
// TInstrumentRead: "Считать" — identifies the connected instrument and reads
// its settings with one worker posting to the caller's target; the caller
// hands the statuses back (OnStatus) and shows what it reports. The settings
// stay in the identification reply (RxBuffer) for the device window.
#include <QObject>
#include <functional>

#include "device/DeviceIO.h"
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
    virtual void Failed(const TReport& report) = 0;
    // The worker has let go; called after the report of its final status, or
    // alone when it posted none.
    virtual void ReadEnded() = 0;
};

class TInstrumentRead : public QObject {
  public:
    TInstrumentRead(serial::TNonVisComp& link, device::TTarget target, TInstrumentReports& reports,
                    QObject* parent = nullptr);
    void Start();
    void OnStatus(int code, qintptr value);

  private:
    serial::TNonVisComp& link_;
    device::TTarget target_;
    TInstrumentReports& reports_;
};

}  // namespace flow
