#pragma once
// Distances on the WGS84 ellipsoid or on the FAI sphere (a league's rules say
// which), made fast enough to be evaluated millions of times per flight. Every
// figure of a flight (the logbook's, the picture's, the score's) is measured
// with these, so that two figures of one flight never come from two earths.
//
// The distance is Andoyer and Lambert's first-order flattening correction of
// the great-circle distance between reduced latitudes. Against Vincenty's
// method it stays within DistanceErrorMetres plus DistanceErrorRatio of the
// distance for any two points up to 2000 km apart (measured over random pairs
// worldwide, tests/scoring/tst_geodesy.cpp): under a metre on a 500 km leg.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "track/FlightFix.h"

namespace track {

inline constexpr double WgsA = 6378137.0;
inline constexpr double WgsF = 1.0 / 298.257223563;

// The sphere of the FAI's sporting code: radius 6371 km.
inline constexpr double FaiRadius = 6371000.0;

enum class TEarth {
    Wgs84,      // the ellipsoid
    FaiSphere,  // great circles on the FAI sphere
};

inline constexpr double DistanceErrorMetres = 0.001;
inline constexpr double DistanceErrorRatio = 1.5e-6;

// The error is smooth along a line, so the distance itself keeps the triangle
// inequality far more closely than its error would allow: for any points x, y,
// z, Distance(x, z) <= Distance(x, y) + Distance(y, z) + TriangleDefectMetres
// + TriangleDefectRatio * Distance(x, z) (worst over millions of near-collinear
// triples up to 2000 km: 7.8e-9 of the distance). Bounds built from the
// triangle inequality carry this defect, not the error against the geodesic.
inline constexpr double TriangleDefectMetres = 0.001;
inline constexpr double TriangleDefectRatio = 2e-8;

// A fix prepared for distances: the unit vector of its reduced latitude (on
// the sphere: of its latitude) and its longitude; z is the sine of that
// latitude.
struct TGeoPoint {
    double x = 0, y = 0, z = 0;
};

TGeoPoint GeoPoint(double latitudeDeg, double longitudeDeg, TEarth earth = TEarth::Wgs84);

// The central angle whose half has the sine `sinHalf` (0 to 1). The search
// takes millions of distances a flight, nearly all under a few hundred
// kilometres (a half-chord sine up to 0.05 is 637 km): there the arcsine's
// series, cut where its next term falls below 1e-22 of the angle, is several
// times cheaper than the library's arcsine.
inline double CentralAngle(double sinHalf) {
    if (sinHalf > 0.05) return 2 * std::asin(sinHalf);
    const double s2 = sinHalf * sinHalf;
    // asin x = x (1 + x²/6 + 3x⁴/40 + 5x⁶/112 + 35x⁸/1152 + 63x¹⁰/2816 + 231x¹²/13312
    //             + 143x¹⁴/10240)
    double series = 143.0 / 10240;
    series = series * s2 + 231.0 / 13312;
    series = series * s2 + 63.0 / 2816;
    series = series * s2 + 35.0 / 1152;
    series = series * s2 + 5.0 / 112;
    series = series * s2 + 3.0 / 40;
    series = series * s2 + 1.0 / 6;
    series = series * s2 + 1;
    return 2 * sinHalf * series;
}

// Metres between two points prepared for the same earth. Inline: the search
// calls it from its innermost loops.
inline double Distance(const TGeoPoint& a, const TGeoPoint& b, TEarth earth = TEarth::Wgs84) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    const double chord2 = dx * dx + dy * dy + dz * dz;
    if (chord2 <= 0) return 0;
    // sin and cos of half the central angle come from the chord directly.
    const double sinHalf2 = std::min(1.0, chord2 / 4);
    const double cosHalf2 = 1 - sinHalf2;
    const double sinHalf = std::sqrt(sinHalf2);
    const double sigma = CentralAngle(sinHalf);
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

// The same from degrees, for callers with few distances to take.
double EarthDistance(double lat1, double lon1, double lat2, double lon2, TEarth earth);
double EllipsoidDistance(double lat1, double lon1, double lat2, double lon2);

// Metres between two fixes on the ellipsoid.
double FixDistance(const TFlightFix& a, const TFlightFix& b);

// Radii of curvature at a latitude: along the meridian (M) and of the parallel
// (N cos latitude), in metres per radian.
double MeridianRadius(double latitudeRad);
double ParallelRadius(double latitudeRad);

}  // namespace track
