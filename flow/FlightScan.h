#pragma once
// TFlightScan: every flight in an instrument's track memory, for the flight
// list window and the command line alike. It reads the header page of each
// sector (flight number, sector number, date) up to the sector cap of a
// download; erased sectors may lie between flights, so they do not end it.
//
// A listed flight is a run of sectors of one flight number from a sector
// whose header names itself: what a download from that sector reads before
// it meets another flight. A sector of another flight inside a flight thus
// splits it into two listed flights, the second downloaded from the sector
// after the stranger.
//
// A sector that reads as erased may be the stale answer to the request before
// (an erased sector too): before the scan is trusted, every erased sector
// that lies before a written one is read again in a worker of its own, and
// so is the last flight's first sector when no listed flight starts there.
//
// What a scan found is kept per instrument (model and firmware version) in
// memory and, when CacheFile is set, in that file. Before it is used again
// the statistics of the last flight are read (one short request): when they
// match those read with the scan and the list accounts for the last flight,
// the sector before each listed flight that the list holds as erased is read
// again; only when all of them still read so is the memory not read again.
//
// Flights downloaded from a list are remembered by their key (instrument,
// number, first sector, start) beside the kept scans, so that a flight the
// logbook cannot recognise (one without a date) is new only once.
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "device/DeviceIO.h"
#include "device/SectorHeaders.h"
#include "device/StatusReceiver.h"
#include "device/TrackLists.h"
#include "flow/Outcome.h"
#include "track/FlightStats.h"

namespace serial {
class TNonVisComp;
}

namespace flow {

// The sectors a scan reads: from sector 1 (a start sector of 0 means no
// track), as many as a download reads at most.
inline constexpr std::uint16_t ScanFirstSector = 1;
inline constexpr int ScanSectorCount = device::MaxSectorCount + 1;
// Seconds of track one full sector holds at one record a second, four GPS
// records and one sensor sample in five seconds: (4096 - 256) / 10.8.
inline constexpr int TypicalSectorSeconds = 355;
// At most one record a second, each of six bytes at least.
inline constexpr int MaxSectorSeconds = (4096 - 256) / 6;

struct TListedFlight {
    std::uint16_t flightNumber = 0;
    std::uint16_t firstSector = 0;
    int sectors = 0;
    // The first header carries a valid date; otherwise `start` is the
    // fallback time a download gives its records.
    bool dated = false;
    device::TrackTime start = 0;       // the time of its first record
    device::TrackTime lastSector = 0;  // the time of its last sector's first record
    int durationEstimateSeconds = 0;
    bool inLogbook = false;
    // The file name without extension its download is written under.
    QString fileBase;

    // The latest a record of this flight can be stamped with.
    device::TrackTime LatestEnd() const { return lastSector + MaxSectorSeconds; }
    bool operator==(const TListedFlight&) const = default;
};

// The flights in `headers` (in sector order), newest first; undated flights
// after dated ones of the same time, later sectors first among equals.
std::vector<TListedFlight> FlightsInHeaders(const std::vector<device::TSectorHeader>& headers);

// "Track<N>" unless another listed flight has the same number; then the
// date and start time are added ("Track7-2024-06-07-0912"), and where even
// that is shared, the first sector ("Track7-s40").
void NameFlightFiles(std::vector<TListedFlight>& flights);

// Texts of a listed flight, for the window and the command line.
QString ListedDateText(const TListedFlight& flight);      // "2024-06-07", "без даты"
QString ListedTimeText(const TListedFlight& flight);      // "09:12:05", "--:--:--"
QString ListedDurationText(const TListedFlight& flight);  // "~0:31"
// "Полётов в памяти: 5, новых: 2"
QString FlightsFoundText(std::size_t total, std::size_t fresh);
// What "all new" says when the logbook holds every listed flight.
QString NothingNewText();
// Whether the logbook holds a listed flight: "да", "нет", or "неизвестно"
// when the logbook could not be read.
QString InLogbookText(bool held, bool known);

// Whether the pilot's logbook holds a flight: the app answers from the
// logbook, a build without one answers no.
class TFlightLookup {
  public:
    virtual ~TFlightLookup() = default;
    virtual bool Holds(const TListedFlight& flight) = 0;
    // Why the logbook could not be read, so that the answers were guesses;
    // empty when it could.
    virtual QString Failure() const { return {}; }
};

// The identity a scan is kept under.
struct TInstrumentKey {
    int model = 0;
    int firmwareVersion = 0;
    QString Text() const;
};

class TScanReports {
  public:
    virtual ~TScanReports() = default;
    // `done` of `total` sectors read.
    virtual void Progress(int done, int total) = 0;
    // The scan is over (Flights() holds what it found, also when cancelled);
    // `fromCache`: the memory was not read again.
    virtual void Finished(const TReport& outcome, bool fromCache) = 0;
};

class TFlightScan : public QObject {
  public:
    TFlightScan(serial::TNonVisComp& link, TScanReports& reports, QObject* parent = nullptr);
    ~TFlightScan() override;

    // Reads the last flight's statistics, then the memory unless the scan
    // kept for `key` is still good (or `fresh` asks to read it anyway).
    // False when a worker of this scan runs.
    bool Start(const TInstrumentKey& key, bool fresh = false);
    // Stops reading after the sector under way; the flights found so far
    // are listed, but not kept.
    void Cancel();
    // Where this operation's workers post their statuses: its own receiver.
    device::TTarget StatusTarget() const { return receiver_.Target(); }
    bool Running() const { return active_; }

    // Newest first, each marked by the lookup as it stood at the scan's end.
    const std::vector<TListedFlight>& Flights() const { return flights_; }
    // Asks the lookup again (after downloads, say).
    void RefreshLogbookMarks();

    TFlightLookup* Lookup = nullptr;
    // A file that keeps the scans between runs; empty: memory only.
    QString CacheFile;
    device::TWorkerTiming Timing;

    // Forgets every kept scan and downloaded mark, in memory (tests).
    static void ForgetKeptScans();
    // Remembers that `flight` of the instrument `key` has been downloaded, in
    // memory and, when `cacheFile` is given, in that file.
    static void MarkDownloaded(const TInstrumentKey& key, const TListedFlight& flight,
                               const QString& cacheFile);

  private:
    enum class TPhase { Stats, Memory, Recheck, KeptCheck };
    struct TRange {
        std::uint16_t first = 0;
        int count = 0;
    };

    bool StartWorker(device::TDeviceIO* worker);
    void WorkerEnded();
    void StatsEnded();
    void StartReading();
    void MemoryEnded();
    // Reads the next of ranges_ again, or ends the phase when none is left.
    void NextRange();
    void RangeEnded();
    void Conclude(const std::vector<device::TSectorHeader>& headers);
    void Finish(const TReport& outcome);

    void OnStatus(int code, qintptr value);

    serial::TNonVisComp& link_;
    device::TStatusReceiver receiver_;
    TScanReports& reports_;
    QPointer<device::TDeviceIO> running_;
    std::shared_ptr<device::TSectorHeaderLog> log_;
    bool active_ = false;
    bool cancelled_ = false;
    bool fresh_ = false;
    bool fromCache_ = false;
    TPhase phase_ = TPhase::Stats;
    // The headers of the scan, or of the kept one, being checked.
    std::vector<device::TSectorHeader> headers_;
    std::vector<TRange> ranges_;
    bool keptDiffers_ = false;
    std::optional<TReport> outcome_;
    TInstrumentKey key_;
    std::optional<track::TFlightStatsReply> lastStats_;
    std::vector<TListedFlight> flights_;
};

}  // namespace flow
