#pragma once
// What a write of settings would change, and how the question before it
// names the instrument and the changes: the windows show the text, the
// command line prints it.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "models/DeviceConfig.h"
#include "models/Instrument.h"

namespace models {

struct TByteChange {
    int offset = 0;
    std::uint8_t before = 0;
    std::uint8_t after = 0;
};

// The bytes that differ, in the order of their offsets.
std::vector<TByteChange> CompareSettings(const TDeviceConfig& before, const TDeviceConfig& after);
// One line a change: the time zone by name, any other byte by its offset
// with its old and new value in the settings view's hexadecimal. With a
// `limit` above 0, at most that many lines and one that counts the rest.
QStringList ChangeLines(const std::vector<TByteChange>& changes, int limit = 0);
// The instrument named, the lines of the changes and the question.
QString ChangeSummary(const TInstrument& instrument, const std::vector<TByteChange>& changes,
                      int limit = 0);

}  // namespace models
