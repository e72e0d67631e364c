#pragma once
// The window of model 102 (Mevra-C). It opens on its settings tab.
#include "models/DF_000.h"

namespace models {

class TDev_102 final : public TDeviceForm {
  public:
    explicit TDev_102(QWidget* parent = nullptr)
        : TDeviceForm(102, {.settings = true, .opensOnSettings = true}, parent) {}

  protected:
    QString ReplyCaption(std::uint16_t version) const override {
        return InstrumentCaption(version);
    }
};

}  // namespace models
