#include "track/Geodesy.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace track {

namespace {
constexpr double toRad = std::numbers::pi / 180.0;
}

double FixDistance(const TFlightFix& a, const TFlightFix& b) {
    return EllipsoidDistance(a.latitude, a.longitude, b.latitude, b.longitude);
}

TGeoPoint GeoPoint(double latitudeDeg, double longitudeDeg, TEarth earth) {
    // The reduced latitude's sine and cosine straight from the latitude's:
    // tan(reduced) = (1 - f) tan(latitude), without the arctangent, and
    // sound at the poles.
    double sinLat = std::sin(latitudeDeg * toRad);
    double cosLat = std::cos(latitudeDeg * toRad);
    if (earth == TEarth::Wgs84) {
        sinLat *= 1 - WgsF;
        const double norm = std::hypot(sinLat, cosLat);
        sinLat /= norm;
        cosLat /= norm;
    }
    const double lon = longitudeDeg * toRad;
    return {cosLat * std::cos(lon), cosLat * std::sin(lon), sinLat};
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

}  // namespace track
