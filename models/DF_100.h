#pragma once
// The window of model 100 (Mevra-A).
#include "models/DF_000.h"

namespace models {

class TDev_100 final : public TDeviceForm {
  public:
    explicit TDev_100(QWidget* parent = nullptr)
        : TDeviceForm(100, {.settings = true, .opensOnSettings = false}, parent) {}

  protected:
    QString ReplyCaption(std::uint16_t version) const override {
        return InstrumentCaption(version);
    }
};

}  // namespace models
