#pragma once
// The dates, times of day and durations the pilot reads (flight lists,
// reports, the logbook, KML, the flight picture), in one form everywhere.
// A time is shown as given: UTC or the wall clock, whichever the caller holds.
#include <QString>
#include <cstdint>

#include "device/TrackLists.h"

namespace device {

QString DateText(TrackTime t);  // "2024-06-07"
// "09:12:05", or "09:12" without seconds: the hours of the day, from
// midnight, two digits.
QString TimeOfDayText(TrackTime t, bool withSeconds = true);
// What stands for the time of day of a fix or flight that has none.
QString NoTimeOfDayText();  // "--:--:--"
// Hours and whole minutes: "0:05", "1:30", "26:00" (hours neither padded nor
// wrapped at a day).
QString DurationText(std::int64_t seconds);

}  // namespace device
