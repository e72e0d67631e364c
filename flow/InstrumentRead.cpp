#include "flow/InstrumentRead.h"

#include <QPointer>

#include "device/PortActivity.h"
#include "serial/UnitNVC.h"

namespace flow {

using namespace device;

TInstrumentRead::TInstrumentRead(serial::TNonVisComp& link, TInstrumentReports& reports,
                                 QObject* parent)
    : QObject(parent), link_(link), reports_(reports) {
    receiver_.OnStatus = [this](int code, qintptr value) { OnStatus(code, value); };
}

bool TInstrumentRead::Start() {
    if (PortInUse(link_)) {
        reports_.Failed(Report(TOutcome::PortBusy));
        return false;
    }
    TDeviceIO* worker = TDeviceIO::Create(link_, receiver_.Target());
    worker->Operation = OP_IDENTIFY;
    worker->Timing = Timing;
    // The worker posts its final status before it ends; should it end without
    // one, the caller must not stay waiting.
    worker->OnTerminate = [self = QPointer<TInstrumentRead>(this)] {
        if (self) self->reports_.ReadEnded();
    };
    worker->Start();
    return true;
}

void TInstrumentRead::OnStatus(int code, qintptr value) {
    switch (code) {
        case ST_PORT_OPEN:
            reports_.PortOpened(PortOpenText());
            break;
        case ST_IDENTIFIED:
            reports_.Identified(models::ModelShown(static_cast<std::uint16_t>(value & 0xFF)));
            break;
        case ST_PORT_FAILED:
        case ST_NO_LINK:
            // A vanished device needs no advice about the port.
            reports_.Failed(FailureOfStatus(code, value, TOutcome::NoLinkCheckPort, link_));
            break;
        default:
            break;
    }
}

}  // namespace flow
