#include "document/PortableTrig.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// atan(t) for 0 ≤ t ≤ 1. Above tan(π/8) it uses atan(t) = π/4 + atan((t − 1)/(t + 1)),
// so the series only sees |u| ≤ 0.4143, where its 24 terms fall below 1e-19.
double AtanUnit(double t) {
    double base = 0.0;
    double u = t;
    if (t > 0.41421356237309503) {
        base = Pi / 4;
        u = (t - 1.0) / (t + 1.0);
    }
    const double u2 = u * u;
    double sum = 0.0;
    for (int k = 23; k >= 0; --k) // u − u³/3 + u⁵/5 − …, Horner from the last term
        sum = (k % 2 ? -1.0 : 1.0) / (2 * k + 1) + u2 * sum;
    return base + u * sum;
}

// atan2 in double on exact double inputs.
double Atan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y))
        return std::numeric_limits<double>::quiet_NaN();
    const double a = std::fabs(y), b = std::fabs(x);
    double r;
    if (a == 0.0)
        r = std::signbit(x) ? Pi : 0.0;
    else if (std::isinf(a) && std::isinf(b))
        r = Pi / 4;
    else if (a <= b)
        r = AtanUnit(a / b);
    else
        r = Pi / 2 - AtanUnit(b / a);
    if (std::signbit(x) && a != 0.0)
        r = Pi - r;
    return std::copysign(r, y);
}

} // namespace

float PortableAtan2(float y, float x) { return static_cast<float>(Atan2(y, x)); }

float PortableAsin(float v) {
    const double d = v;
    if (!(std::fabs(d) <= 1.0))
        return std::numeric_limits<float>::quiet_NaN();
    return static_cast<float>(Atan2(d, std::sqrt((1.0 - d) * (1.0 + d))));
}
