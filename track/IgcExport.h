#pragma once
// The IGC flight recorder file of a download ("Track<flight>.igc"): an A
// record, the H header records and one B record per position that the GPX
// file holds, lines ending in CR LF. It carries no G record: the instrument
// has no signing key, so the file is not a validated flight record.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
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

// Who flies: the pilot's profile, kept per user by the program and written
// into every new IGC file and logbook entry.
struct TPilotProfile {
    QString pilot;
    QString gliderType;
    QString gliderId;
    QString civlId;
    QString competitionId;
    bool operator==(const TPilotProfile&) const = default;
};

// The profile in use: what the installed source gives (the program installs
// its settings store at start), else an empty one.
TPilotProfile CurrentPilotProfile();
void SetPilotProfileSource(std::function<TPilotProfile()> source);

// `text` as printable ASCII: Cyrillic letters transliterated (Ж "Zh",
// Щ "Shch", Ь and Ъ left out), other Latin letters without their marks where
// Unicode gives a plain base letter, and whatever else is not printable ASCII
// left out; blanks at either end trimmed.
QByteArray IgcAscii(const QString& text);

// The IGC text of `fixes`, which must all carry a time. The date record is
// the date of the first fix. Time of day only in B records: where the times
// go backwards (a sector without a date restarts at 2024-01-01 00:00:00) the
// fixes stay in their order and a reader counts a new day. Without fixes the
// date is that of a sector without one.
// The pilot's lines ("HFPLTPILOTINCHARGE:", "HFGTYGLIDERTYPE:", and
// "HFGIDGLIDERID:", "HFCIDCOMPETITIONID:" and "HFCIVCIVLID:" when the profile
// has them) carry the profile in IgcAscii.
QByteArray IgcText(const std::vector<TFlightFix>& fixes, const TIgcInstrument& instrument = {},
                   const TPilotProfile& pilot = {});

}  // namespace track
