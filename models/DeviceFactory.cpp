#include "models/DeviceFactory.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "models/DF_001.h"
#include "models/DF_100.h"
#include "models/DF_101.h"
#include "models/DF_102.h"
#include "models/DF_103.h"
#include "models/DF_104.h"
#include "models/DF_105.h"

namespace models {

namespace {
QPointer<TDeviceForm> g_current;

QMdiSubWindow* FrameOf(TDeviceForm* form) {
    return qobject_cast<QMdiSubWindow*>(form->parentWidget());
}
}  // namespace

TDeviceForm* CurrentDeviceForm() { return g_current.data(); }

TDeviceForm* NewDeviceForm(DeviceModelId model) {
    if (!HasDeviceWindow(model)) return nullptr;
    switch (model) {
        case 1:
            return new TDev_001;
        case 100:
            return new TDev_100;
        case 101:
            return new TDev_101;
        case 102:
            return new TDev_102;
        case 103:
            return new TDev_103;
        case 104:
            return new TDev_104;
        case 105:
            return new TDev_105;
        default:
            return nullptr;
    }
}

void CloseDeviceForm() {
    TDeviceForm* form = g_current.data();
    g_current = nullptr;
    if (!form) return;
    if (QMdiSubWindow* frame = FrameOf(form))
        frame->close();
    else
        form->close();
}

bool CreateDeviceForm(DeviceModelId model, QMdiArea* area, device::TTarget owner) {
    if (model == 0) return false;
    if (g_current && g_current->ModelId != model) CloseDeviceForm();
    if (!g_current) {
        TDeviceForm* form = NewDeviceForm(model);
        if (!form) return false;
        form->setAttribute(Qt::WA_DeleteOnClose);
        QMdiSubWindow* frame = area->addSubWindow(form, Qt::FramelessWindowHint);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->resize(DeviceFormWidth, DeviceFormHeight);
        frame->show();
        g_current = form;
    }
    TDeviceForm* form = g_current.data();
    form->SetSourceFile({});
    form->ForgetInstrument();
    form->setWindowTitle(QStringLiteral("..."));
    form->OwnerHandle = owner;
    form->ModelId = model;
    if (QMdiSubWindow* frame = FrameOf(form)) frame->move(0, 0);
    form->LoadDefaults();
    return true;
}

}  // namespace models
