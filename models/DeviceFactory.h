#pragma once
// The one device window: which class serves which model, and its creation,
// reuse and replacement.
#include <QPointer>

#include "device/Messages.h"
#include "models/DF_000.h"

class QMdiArea;

namespace models {

// The device window now shown, or nullptr.
TDeviceForm* CurrentDeviceForm();

// A new window of the class that serves `model`, or nullptr when none does.
TDeviceForm* NewDeviceForm(DeviceModelId model);

// Makes CurrentDeviceForm a window of `model` in `area`, reporting to
// `owner`: false for model 0 (nothing changes) and for a model without a
// window class (a window of another model is closed all the same). A window
// of the same model is kept; it returns to the defaults and the caption "...".
bool CreateDeviceForm(DeviceModelId model, QMdiArea* area, device::TTarget owner);

// Closes the current window (it is freed once its queued messages are
// handled) and forgets it.
void CloseDeviceForm();

}  // namespace models
