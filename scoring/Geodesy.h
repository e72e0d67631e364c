#pragma once
// Distances on the WGS84 ellipsoid or on the FAI sphere (a league's rules say
// which), made fast enough to be evaluated millions of times per flight.
//
// The distance is Andoyer and Lambert's first-order flattening correction of
// the great-circle distance between reduced latitudes. Against Vincenty's
// method it stays within DistanceErrorMetres plus DistanceErrorRatio of the
// distance for any two points up to 2000 km apart (measured over random pairs
// worldwide, tests/scoring/tst_geodesy.cpp): under a metre on a 500 km leg.
#include <cstddef>
#include <vector>

#include "track/FlightFix.h"

namespace scoring {

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

// Metres between two points prepared for the same earth.
double Distance(const TGeoPoint& a, const TGeoPoint& b, TEarth earth = TEarth::Wgs84);

// The same from degrees, for callers with few distances to take.
double EarthDistance(double lat1, double lon1, double lat2, double lon2, TEarth earth);
double EllipsoidDistance(double lat1, double lon1, double lat2, double lon2);

// Radii of curvature at a latitude: along the meridian (M) and of the parallel
// (N cos latitude), in metres per radian.
double MeridianRadius(double latitudeRad);
double ParallelRadius(double latitudeRad);

}  // namespace scoring
