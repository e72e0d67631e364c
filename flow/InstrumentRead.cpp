#include "flow/InstrumentRead.h"

#include <QPointer>

#include "serial/UnitNVC.h"

namespace flow {

using namespace device;

TInstrumentRead::TInstrumentRead(serial::TNonVisComp& link, TTarget target,
                                 TInstrumentReports& reports, QObject* parent)
    : QObject(parent), link_(link), target_(std::move(target)), reports_(reports) {}

void TInstrumentRead::Start() {
    TDeviceIO* worker = TDeviceIO::Create(link_, target_);
    worker->Operation = OP_IDENTIFY;
    // The worker posts its final status before it ends; should it end without
    // one, the caller must not stay waiting.
    worker->OnTerminate = [self = QPointer<TInstrumentRead>(this)] {
        if (self) self->reports_.ReadEnded();
    };
    worker->Start();
}

void TInstrumentRead::OnStatus(int code, qintptr value) {
    switch (code) {
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
