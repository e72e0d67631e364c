#pragma once
// The window of model 103 (Mevra-D). It opens on its settings tab.
#include "models/DF_000.h"

namespace models {

class TDev_103 final : public TDeviceForm {
  public:
    explicit TDev_103(QWidget* parent = nullptr)
        : TDeviceForm(103, {.settings = true, .opensOnSettings = true}, parent) {}

  protected:
    QString ReplyCaption(std::uint16_t version) const override {
        return InstrumentCaption(version);
    }
};

}  // namespace models
