#pragma once
// The window of model 104 (Mevra-E).
#include "models/DF_000.h"

namespace models {

class TDev_104 final : public TDeviceForm {
  public:
    explicit TDev_104(QWidget* parent = nullptr)
        : TDeviceForm(104, {.settings = true, .opensOnSettings = false}, parent) {}

  protected:
    QString ReplyCaption(std::uint16_t version) const override {
        return InstrumentCaption(version);
    }
};

}  // namespace models
