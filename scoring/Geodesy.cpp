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

double Distance(const TGeoPoint& a, const TGeoPoint& b, TEarth earth) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    const double chord2 = dx * dx + dy * dy + dz * dz;
    if (chord2 <= 0) return 0;
    // sin and cos of half the central angle come from the chord directly.
    const double sinHalf2 = std::min(1.0, chord2 / 4);
    const double cosHalf2 = 1 - sinHalf2;
    const double sinHalf = std::sqrt(sinHalf2);
    const double sigma = 2 * std::asin(sinHalf);
    if (earth == TEarth::FaiSphere) return FaiRadius * sigma;
    if (cosHalf2 <= 1e-15) return WgsA * sigma;  // antipodes: never a flight
    const double sinSigma = 2 * sinHalf * std::sqrt(cosHalf2);
    // sin P cos Q and cos P sin Q of the half sum P and half difference Q of
    // the reduced latitudes.
    const double sum = (a.z + b.z) / 2, diff = (b.z - a.z) / 2;
    const double x = (sigma - sinSigma) * sum * sum / cosHalf2;
    const double y = (sigma + sinSigma) * diff * diff / sinHalf2;
    return WgsA * (sigma - WgsF / 2 * (x + y));
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
