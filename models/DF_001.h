#pragma once
// The window of the default model (1), also used for instruments whose model
// the table does not know: the track page only.
#include "models/DF_000.h"

namespace models {

class TDev_001 final : public TDeviceForm {
  public:
    explicit TDev_001(QWidget* parent = nullptr)
        : TDeviceForm(1, {.settings = false, .opensOnSettings = false}, parent) {}

  protected:
    QString ReplyCaption(std::uint16_t) const override {
        return TDeviceForm::tr("Прибор по усмолчанию");
    }
};

}  // namespace models
