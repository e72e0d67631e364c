#pragma once
// The IGC flight recorder file of a download ("Track<flight>.igc"): an A
// record, the H header records and one B record per position that the GPX
// file holds, lines ending in CR LF. It carries no G record: the instrument
// has no signing key, so the file is not a validated flight record.
#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

#include "models/ModelTable.h"
#include "track/FlightFix.h"

namespace track {

// What the header says about the instrument; an unknown field is left out.
struct TIgcInstrument {
    std::optional<models::DeviceModelId> model;
    std::optional<std::uint16_t> firmwareVersion;
};

// The IGC text of `fixes`, which must all carry a time. The date record is
// the date of the first fix. Time of day only in B records: where the times
// go backwards (a sector without a date restarts at 2024-01-01 00:00:00) the
// fixes stay in their order and a reader counts a new day. Without fixes the
// date is that of a sector without one.
QByteArray IgcText(const std::vector<TFlightFix>& fixes, const TIgcInstrument& instrument = {});

}  // namespace track
