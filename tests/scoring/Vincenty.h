#pragma once
// Vincenty's inverse method on WGS84: the reference the scorer's distance is
// measured against (iterated until the longitude converges to 1e-13 rad).
#include <cmath>
#include <numbers>

namespace testgeo {

inline double VincentyDistance(double lat1, double lon1, double lat2, double lon2) {
    constexpr double a = 6378137.0, f = 1 / 298.257223563, b = a * (1 - f);
    constexpr double toRad = std::numbers::pi / 180;
    const double L = (lon2 - lon1) * toRad;
    const double U1 = std::atan((1 - f) * std::tan(lat1 * toRad));
    const double U2 = std::atan((1 - f) * std::tan(lat2 * toRad));
    const double sinU1 = std::sin(U1), cosU1 = std::cos(U1);
    const double sinU2 = std::sin(U2), cosU2 = std::cos(U2);
    double lambda = L, sinSigma = 0, cosSigma = 0, sigma = 0, cos2Alpha = 0, cos2SigmaM = 0;
    for (int iteration = 0; iteration < 200; ++iteration) {
        const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
        sinSigma = std::hypot(cosU2 * sinLambda, cosU1 * sinU2 - sinU1 * cosU2 * cosLambda);
        if (sinSigma == 0) return 0;
        cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
        sigma = std::atan2(sinSigma, cosSigma);
        const double sinAlpha = cosU1 * cosU2 * sinLambda / sinSigma;
        cos2Alpha = 1 - sinAlpha * sinAlpha;
        cos2SigmaM = cos2Alpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cos2Alpha : 0;
        const double C = f / 16 * cos2Alpha * (4 + f * (4 - 3 * cos2Alpha));
        const double previous = lambda;
        lambda =
            L + (1 - C) * f * sinAlpha *
                    (sigma + C * sinSigma *
                                 (cos2SigmaM + C * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
        if (std::fabs(lambda - previous) < 1e-13) break;
    }
    const double u2 = cos2Alpha * (a * a - b * b) / (b * b);
    const double A = 1 + u2 / 16384 * (4096 + u2 * (-768 + u2 * (320 - 175 * u2)));
    const double B = u2 / 1024 * (256 + u2 * (-128 + u2 * (74 - 47 * u2)));
    const double deltaSigma =
        B * sinSigma *
        (cos2SigmaM + B / 4 *
                          (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                           B / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) *
                               (-3 + 4 * cos2SigmaM * cos2SigmaM)));
    return b * A * (sigma - deltaSigma);
}

}  // namespace testgeo
