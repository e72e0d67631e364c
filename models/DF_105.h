#pragma once
// The window of model 105 (Mevra-F).
#include "models/DF_000.h"

namespace models {

class TDev_105 final : public TDeviceForm {
  public:
    explicit TDev_105(QWidget* parent = nullptr)
        : TDeviceForm(105, {.settings = true, .opensOnSettings = false}, parent) {}

  protected:
    QString ReplyCaption(std::uint16_t version) const override {
        return InstrumentCaption(version);
    }
};

}  // namespace models
