#include "sim/FlightGenerator.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <numbers>
#include <random>

#include "sim/TrackMemory.h"

namespace sim {

namespace {

constexpr double MetresPerDegree = 111320.0;
constexpr int GroundSeconds = 10;  // standing before launch and after landing

// Uniform numbers from the raw engine output: the standard fixes mt19937's
// sequence but not the distributions', and the flights must not depend on
// the standard library in use.
class TRandom {
  public:
    explicit TRandom(std::uint32_t seed) : engine_(seed) {}
    double Uniform(double low, double high) {
        return low + (high - low) * (double(engine_()) / 4294967296.0);
    }
    bool Chance(double p) { return Uniform(0, 1) < p; }

  private:
    std::mt19937 engine_;
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back. The
// program decodes the same dates in device/TrackLists.cpp; the simulator
// keeps its own copy on purpose, as the instrument would, so that a fault in
// the program's date arithmetic shows in the round-trip tests instead of
// cancelling itself out.
std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = int(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct TCivil {
    int year, month, day, hour, minute, second;
};

TCivil CivilFromSeconds(std::int64_t s) {
    std::int64_t days = s / 86400;
    int rest = int(s % 86400);
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = int(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp < 10 ? mp + 3 : mp - 9;
    const int y = int(yoe + era * 400) + (m <= 2);
    return {y, m, d, rest / 3600, rest / 60 % 60, rest % 60};
}

struct TFix {
    double x = 0, y = 0;  // metres east and north of the take-off
    double altitude = 0;
};

// One paraglider flight, advanced one second at a time.
class TPilot {
  public:
    TPilot(TRandom& random, const TFlightPlan& plan, int seconds)
        : random_(random), plan_(plan), seconds_(seconds) {
        const double windSpeed = random_.Uniform(1.5, 4.0);
        const double windFrom = random_.Uniform(0, 2 * std::numbers::pi);
        windX_ = windSpeed * std::cos(windFrom);
        windY_ = windSpeed * std::sin(windFrom);
        heading_ = random_.Uniform(0, 2 * std::numbers::pi);
        fix_.altitude = plan.takeoffAltitude;
        landing_ = plan.takeoffAltitude;
        const int air = std::max(0, seconds - 2 * GroundSeconds);
        finalSeconds_ = std::clamp(air / 5, std::min(air, 30), 600);
        StartGlide();
    }

    TFix Step(int t) {
        const int landed = seconds_ - GroundSeconds;
        if (t < GroundSeconds) {
            // The launch run: the last seconds on the slope.
            if (t >= GroundSeconds - 3) Move(3.0, false, 0);
        } else if (t >= landed) {
            fix_.altitude = landing_;
        } else if (t >= landed - finalSeconds_) {
            if (t == landed - finalSeconds_) {
                // Short flights land on the slope below rather than dive to the valley.
                landing_ =
                    std::max(double(plan_.landingAltitude), fix_.altitude - 5.0 * finalSeconds_);
            }
            const double left = landed - t;
            const double vz = std::clamp((landing_ - fix_.altitude) / left, -8.0, 0.0);
            heading_ += random_.Uniform(-0.05, 0.05);
            Move(random_.Uniform(8.5, 9.5), true, vz);
        } else if (thermal_) {
            Circle();
        } else {
            Glide();
        }
        return fix_;
    }

  private:
    void Move(double airspeed, bool withWind, double vz) {
        fix_.x += airspeed * std::cos(heading_) + (withWind ? windX_ : 0);
        fix_.y += airspeed * std::sin(heading_) + (withWind ? windY_ : 0);
        fix_.altitude += vz;
    }

    void StartGlide() {
        thermal_ = false;
        phaseLeft_ = int(random_.Uniform(40, 150));
        airspeed_ = random_.Uniform(9.0, 11.0);
        heading_ += random_.Uniform(-1.0, 1.0);
    }

    void StartThermal() {
        thermal_ = true;
        phaseLeft_ = int(random_.Uniform(240, 600));
        strength_ = random_.Uniform(1.2, 3.4);
        top_ = std::min(fix_.altitude + random_.Uniform(300, 900), 3300.0);
        turn_ = (random_.Chance(0.5) ? 1 : -1) * 2 * std::numbers::pi / random_.Uniform(18, 26);
    }

    void Glide() {
        heading_ += random_.Uniform(-0.04, 0.04);
        Move(airspeed_ + random_.Uniform(-0.5, 0.5), true, -random_.Uniform(0.9, 1.4));
        if (--phaseLeft_ <= 0 || fix_.altitude < plan_.landingAltitude + 350) StartThermal();
    }

    void Circle() {
        heading_ += turn_;
        // Stronger lift on one side of the circle, as in a real core.
        const double vz = strength_ + 0.8 * std::sin(heading_) + random_.Uniform(-0.3, 0.3);
        Move(9.0, true, vz);
        if (--phaseLeft_ <= 0 || fix_.altitude >= top_) StartGlide();
    }

    TRandom& random_;
    const TFlightPlan& plan_;
    int seconds_;
    int finalSeconds_ = 0;
    double landing_ = 0;
    TFix fix_;
    double windX_ = 0, windY_ = 0;
    double heading_ = 0;
    bool thermal_ = false;
    int phaseLeft_ = 0;
    double airspeed_ = 10;
    double strength_ = 0, top_ = 0, turn_ = 0;
};

struct TStored {
    int t;
    double altitude;
    double latitude, longitude;
};

double Haversine(double lat1, double lon1, double lat2, double lon2) {
    constexpr double R = 6371000.0;
    const double rad = std::numbers::pi / 180;
    const double dLat = (lat2 - lat1) * rad, dLon = (lon2 - lon1) * rad;
    const double a =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(lat1 * rad) * std::cos(lat2 * rad) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * R * std::asin(std::min(1.0, std::sqrt(a)));
}

// The maxima the instrument reports, from the fixes it stored: rates over a
// sliding window of about ten seconds, speed over about five.
void FillMaxima(const std::vector<TStored>& fixes, TFlightStats& s) {
    if (fixes.empty()) return;
    std::vector<double> along(fixes.size(), 0.0);
    double maxAlt = fixes[0].altitude, maxClimb = 0, maxSink = 0, maxSpeed = 0, maxAway = 0;
    std::size_t climbFrom = 0, speedFrom = 0;
    for (std::size_t i = 1; i < fixes.size(); ++i) {
        const auto& f = fixes[i];
        along[i] = along[i - 1] + Haversine(fixes[i - 1].latitude, fixes[i - 1].longitude,
                                            f.latitude, f.longitude);
        maxAlt = std::max(maxAlt, f.altitude);
        maxAway = std::max(
            maxAway, Haversine(fixes[0].latitude, fixes[0].longitude, f.latitude, f.longitude));
        while (f.t - fixes[climbFrom + 1].t >= 10) ++climbFrom;
        while (f.t - fixes[speedFrom + 1].t >= 5) ++speedFrom;
        if (int dt = f.t - fixes[climbFrom].t; dt >= 5) {
            const double vz = (f.altitude - fixes[climbFrom].altitude) / dt;
            maxClimb = std::max(maxClimb, vz);
            maxSink = std::min(maxSink, vz);
        }
        if (int dt = f.t - fixes[speedFrom].t; dt >= 4)
            maxSpeed = std::max(maxSpeed, (along[i] - along[speedFrom]) / dt * 3.6);
    }
    s.maxAltitude = std::int16_t(std::lround(maxAlt));
    s.maxClimb = std::int16_t(std::lround(maxClimb * 10));
    s.maxSink = std::int16_t(std::lround(maxSink * 10));
    s.maxSpeed = std::uint8_t(std::min(255L, std::lround(maxSpeed)));
    s.maxDistance = std::uint16_t(std::min(65535L, std::lround(maxAway / 100)));
    s.distance = std::uint16_t(std::min(65535L, std::lround(along.back() / 100)));
}

// Sensor values as the instrument logs them: battery percent, pressure in
// tenths of hPa, temperature in tenths of kelvin.
void AddSensor(TTrackMemoryBuilder& b, TRandom& random, double altitude, int t) {
    const double pressure = 1013.25 * std::pow(1 - 2.25577e-5 * altitude, 5.25588);
    const double kelvin = 288.15 - 0.0065 * altitude + random.Uniform(-0.3, 0.3);
    b.AddEng(std::uint8_t(std::max(0, 100 - t / 600)), std::uint16_t(std::lround(pressure * 10)),
             std::uint16_t(std::lround(kelvin * 10)));
}

// Rewrites the header of the first long flight's middle sector: its records
// stay, but they now belong to a flight a number before the first, flown a
// year earlier.
void PlaceForeignSector(const TFlightPlan& plan, TGeneratedMemory& out) {
    for (const TGeneratedFlight& flight : out.flights) {
        if (flight.sectors < 3) continue;
        const std::uint16_t sector = std::uint16_t(flight.firstSector + flight.sectors / 2);
        const std::size_t base = std::size_t(sector) * TrackSectorSize;
        const std::uint16_t number = std::uint16_t(plan.firstFlightNumber - 1);
        const std::uint16_t year = std::uint16_t(flight.stats.year - 1);
        std::uint8_t* h = out.memory.data() + base;
        h[4] = std::uint8_t(number);
        h[5] = std::uint8_t(number >> 8);
        h[8] = std::uint8_t(year);
        h[9] = std::uint8_t(year >> 8);
        out.foreignSector = sector;
        out.foreignFlightNumber = number;
        return;
    }
}

}  // namespace

TGeneratedMemory GenerateFlights(const TFlightPlan& plan) {
    TRandom random(plan.seed);
    TTrackMemoryBuilder b;
    TGeneratedMemory out;
    const std::int64_t firstStart = DaysFromCivil(plan.year, plan.month, plan.day) * 86400 +
                                    plan.hour * 3600 + plan.minute * 60 + plan.second;
    const double metresPerDegreeEast =
        MetresPerDegree * std::cos(plan.latitude * std::numbers::pi / 180);
    int sector = plan.firstSector;
    const int flights = plan.minutesEach.empty() ? plan.flights : int(plan.minutesEach.size());

    for (int k = 0; k < flights; ++k) {
        const bool last = k + 1 == flights;
        const int minutes =
            plan.minutesEach.empty() ? plan.minutes : plan.minutesEach[std::size_t(k)];
        const int seconds = std::max(0, minutes) * 60;
        if (k > 0) sector += std::max(0, plan.gapSectors);
        const std::int64_t start =
            firstStart + std::int64_t(k) * 86400 + std::int64_t(random.Uniform(0, 2 * 3600));
        TGeneratedFlight flight;
        flight.flightNumber = std::uint16_t(plan.firstFlightNumber + k);
        flight.firstSector = std::uint16_t(sector);

        const auto begin = [&](int t) {
            TCivil c = CivilFromSeconds(start + t);
            if (last && plan.invalidDate) c.month = 2, c.day = 30;
            if (last && plan.monthZero) c.month = 0;
            b.BeginSector(std::uint16_t(sector++), flight.flightNumber, std::uint16_t(c.year),
                          std::uint8_t(c.month), std::uint8_t(c.day), std::uint8_t(c.hour),
                          std::uint8_t(c.minute), std::uint8_t(c.second));
            ++flight.sectors;
        };
        begin(0);

        TPilot pilot(random, plan, seconds);
        std::vector<TStored> stored;
        const int unknownAt = std::min(100, seconds / 2);
        bool unknownPlaced = !(last && plan.unknownRecord);
        bool crossPlaced = !(last && plan.recordIntoNextSector);
        for (int t = 0; t < seconds; ++t) {
            const TFix fix = pilot.Step(t);
            // 12 bytes of the largest record and one erased byte after it.
            const int room = plan.erasedSectorEnds ? 13 : 1;
            if (b.Cursor() > TrackSectorSize - room) begin(t);
            if (!unknownPlaced && t == unknownAt && TrackSectorSize - b.Cursor() >= 18) {
                std::vector<std::uint8_t> event(18, 0);
                event[0] = 18;
                b.AddRaw(event);
                unknownPlaced = true;
            }
            bool gps = t % 5 != 4;
            if (gps && TrackSectorSize - b.Cursor() == 6) {
                // A GPS record does not fit: the instrument takes a sensor
                // sample instead, so the sector is used to its last byte.
                const bool cross = !crossPlaced && flight.sectors == 1 && t + 1 < seconds;
                if (cross)
                    crossPlaced = true;
                else
                    gps = false;
            }
            if (gps) {
                const auto altitude = std::int16_t(std::lround(fix.altitude));
                const float latitude = float(plan.latitude + fix.y / MetresPerDegree);
                const float longitude = float(plan.longitude + fix.x / metresPerDegreeEast);
                b.AddGps(altitude, latitude, longitude, std::uint8_t(random.Uniform(6, 12)));
                stored.push_back({t, double(altitude), latitude, longitude});
                ++flight.gpsRecords;
            } else {
                AddSensor(b, random, fix.altitude, t);
                ++flight.engRecords;
            }
        }
        TCivil c = CivilFromSeconds(start);
        if (last && plan.invalidDate) c.month = 2, c.day = 30;
        if (last && plan.monthZero) c.month = 0;
        TFlightStats& s = flight.stats;
        s.flightNumber = flight.flightNumber;
        s.startSector = flight.firstSector;
        s.year = std::uint16_t(c.year);
        s.month = std::uint8_t(c.month);
        s.day = std::uint8_t(c.day);
        s.hour = std::uint8_t(c.hour);
        s.minute = std::uint8_t(c.minute);
        s.durationMinutes = std::uint16_t((flight.gpsRecords + flight.engRecords) / 60);
        FillMaxima(stored, s);
        out.flights.push_back(flight);
    }

    out.memory = b.Memory();
    if (plan.foreignSector) PlaceForeignSector(plan, out);
    const std::size_t n = out.flights.size();
    if (n >= 1) out.stats[0] = out.flights[n - 1].stats;
    if (n >= 2) out.stats[1] = out.flights[n - 2].stats;
    return out;
}

}  // namespace sim
