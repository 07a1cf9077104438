#pragma once
// The Gamma distribution's regularized lower incomplete gamma function and its quantile,
// computed numerically for any shape.

namespace fw {

// P(a, x) = gamma(a, x) / Gamma(a) for a > 0, x >= 0: series below a + 1, continued
// fraction above.
double RegularizedGammaP(double a, double x);

// The density of a Gamma distribution of shape `shape` and scale `scale` at x > 0.
double GammaDensity(double x, double shape, double scale);

// The p-quantile (0 < p < 1) of a Gamma distribution of shape `shape` and scale `scale`,
// found by bisection of RegularizedGammaP to double precision.
double GammaQuantile(double p, double shape, double scale);

}  // namespace fw
