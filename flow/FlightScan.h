#pragma once
// TFlightScan: every flight in an instrument's track memory, for the flight
// list window and the command line alike. It reads the header page of each
// sector (flight number, sector number, date) up to the sector cap of a
// download; erased sectors may lie between flights, so they do not end it.
// The flights are told from the headers by track::FlightsInHeaders.
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
// track::FlightKey) beside the kept scans, so that a flight the logbook
// cannot recognise (one without a date) is new only once. The marks live
// here, not with the list's rules, because they are what the runs did: they
// are written with the kept scans and read back by the next scan.
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
#include "track/FlightList.h"
#include "track/FlightStats.h"

namespace serial {
class TNonVisComp;
}

namespace flow {

// The sectors a scan reads: from sector 1 (a start sector of 0 means no
// track), as many as a download reads at most.
inline constexpr std::uint16_t ScanFirstSector = 1;
inline constexpr int ScanSectorCount = device::MaxSectorCount + 1;

// Whether the pilot's logbook holds a flight: the app answers from the
// logbook, a build without one answers no.
class TFlightLookup {
  public:
    virtual ~TFlightLookup() = default;
    virtual bool Holds(const track::TListedFlight& flight) = 0;
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
    const std::vector<track::TListedFlight>& Flights() const { return flights_; }
    // Asks the lookup again (after downloads, say).
    void RefreshLogbookMarks();

    TFlightLookup* Lookup = nullptr;
    // A file that keeps the scans between runs; empty: memory only.
    QString CacheFile;
    device::TWorkerTiming Timing;
    // How many sectors a scan reads from ScanFirstSector. The program reads
    // a download's cap; a test may read fewer to keep its scans short. A kept
    // scan of another length is not whole and is read again.
    int SectorCount = ScanSectorCount;

    // Forgets every kept scan and downloaded mark, in memory (tests).
    static void ForgetKeptScans();
    // Remembers that `flight` of the instrument `key` has been downloaded, in
    // memory and, when `cacheFile` is given, in that file.
    static void MarkDownloaded(const TInstrumentKey& key, const track::TListedFlight& flight,
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
    std::vector<track::TListedFlight> flights_;
};

}  // namespace flow
