#include "scoring/Geodesy.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace scoring {

namespace {
constexpr double toRad = std::numbers::pi / 180.0;
}

TGeoPoint GeoPoint(double latitudeDeg, double longitudeDeg, TEarth earth) {
    const double reduced = earth == TEarth::FaiSphere
                               ? latitudeDeg * toRad
                               : std::atan((1 - WgsF) * std::tan(latitudeDeg * toRad));
    const double lon = longitudeDeg * toRad;
    return {std::cos(reduced) * std::cos(lon), std::cos(reduced) * std::sin(lon),
            std::sin(reduced)};
}

double EarthDistance(double lat1, double lon1, double lat2, double lon2, TEarth earth) {
    return Distance(GeoPoint(lat1, lon1, earth), GeoPoint(lat2, lon2, earth), earth);
}

double EllipsoidDistance(double lat1, double lon1, double lat2, double lon2) {
    return EarthDistance(lat1, lon1, lat2, lon2, TEarth::Wgs84);
}

double MeridianRadius(double latitudeRad) {
    const double e2 = WgsF * (2 - WgsF);
    const double s = std::sin(latitudeRad);
    return WgsA * (1 - e2) / std::pow(1 - e2 * s * s, 1.5);
}

double ParallelRadius(double latitudeRad) {
    const double e2 = WgsF * (2 - WgsF);
    const double s = std::sin(latitudeRad);
    return WgsA / std::sqrt(1 - e2 * s * s) * std::cos(latitudeRad);
}

}  // namespace scoring
