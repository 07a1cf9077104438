#include "noisefloor/gamma_quantile.h"

#include <cmath>
#include <limits>

namespace fw {

namespace {

constexpr double Epsilon = 1e-16;
constexpr int MaxTerms = 1000000;

// Series sum_{n>=0} x^n / (a (a+1) ... (a+n)), converging fast for x < a + 1.
double GammaPSeries(double a, double x) {
    double term = 1.0 / a;
    double sum = term;
    for (int n = 1; n < MaxTerms; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * Epsilon) break;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Q(a, x) = 1 - P(a, x) by the continued fraction (modified Lentz), for x >= a + 1.
double GammaQContinuedFraction(double a, double x) {
    constexpr double Tiny = std::numeric_limits<double>::min() / Epsilon;
    double b = x + 1.0 - a;
    double c = 1.0 / Tiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i < MaxTerms; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < Tiny) d = Tiny;
        c = b + an / c;
        if (std::fabs(c) < Tiny) c = Tiny;
        d = 1.0 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1.0) < Epsilon) break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

}  // namespace

double RegularizedGammaP(double a, double x) {
    if (x <= 0) return 0;
    if (x < a + 1.0) return GammaPSeries(a, x);
    return 1.0 - GammaQContinuedFraction(a, x);
}

double GammaDensity(double x, double shape, double scale) {
    if (!(x > 0)) return 0;
    const double y = x / scale;
    return std::exp((shape - 1) * std::log(y) - y - std::lgamma(shape)) / scale;
}

double GammaQuantile(double p, double shape, double scale) {
    // The upper end doubles until it holds the quantile; bisection then halves the bracket
    // until it stops shrinking in double precision.
    double lo = 0;
    double hi = shape + 10.0 * std::sqrt(shape) + 10.0;
    while (RegularizedGammaP(shape, hi) < p) hi *= 2.0;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        if (mid <= lo || mid >= hi) break;
        if (RegularizedGammaP(shape, mid) < p) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return 0.5 * (lo + hi) * scale;
}

}  // namespace fw
