#pragma once
// The window of model 101 (Mevra-B).
#include "models/DF_000.h"

namespace models {

class TDev_101 final : public TDeviceForm {
  public:
    explicit TDev_101(QWidget* parent = nullptr)
        : TDeviceForm(101, {.settings = true, .opensOnSettings = false}, parent) {}

  protected:
    QString ReplyCaption(std::uint16_t version) const override {
        return InstrumentCaption(version);
    }
};

}  // namespace models
