#pragma once
// The scorer measures on the same earth as the rest of the program: the
// distances of track/Geodesy.h, named here for the scorer's code.
#include "track/Geodesy.h"

namespace scoring {

using track::CentralAngle;
using track::Distance;
using track::DistanceErrorMetres;
using track::DistanceErrorRatio;
using track::EarthDistance;
using track::EllipsoidDistance;
using track::FaiRadius;
using track::GeoPoint;
using track::MeridianRadius;
using track::ParallelRadius;
using track::TEarth;
using track::TGeoPoint;
using track::TriangleDefectMetres;
using track::TriangleDefectRatio;
using track::WgsA;
using track::WgsF;

}  // namespace scoring
