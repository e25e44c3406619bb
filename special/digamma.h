// The digamma function psi(x) = d/dx ln Gamma(x), one value and elementwise
// over arrays at every lane width, with no host: psi_eval's kernel.
//
// The upward recurrence psi(x) = psi(x + 1) - 1/x until x > 5, then the
// asymptotic series ln x - 1/(2x) - sum B_2k / (2k x^2k) for k = 1 .. 8.
// Below -64 the recurrence would take about |x| steps (forever for
// x < -2^53, where x + 1 == x), so there the reflection formula
// psi(x) = psi(1 - x) - pi / tan(pi x) is used, with tan(pi x) taken on the
// fraction x - round(x) (tan has period pi, and the fraction is exact).
// Negative integers give -Inf on both sides, -Inf gives NaN.
#ifndef BAYESMEX_DIGAMMA_H
#define BAYESMEX_DIGAMMA_H

#include <cstddef>

// One value, the one-at-a-time algorithm.
double digamma(double x);

// out[i] = digamma(in[i]) for i < n, bit for bit at every lane width (1, 2,
// 4 or 8; simd/simd.h), several elements at a time.
void digamma_lanes(const double* in, double* out, std::size_t n, int width);

// The same over n elements in pieces shared by threads (simd/threads.h), at
// the width BAYESMEX_SIMD gives (one element reads no setting).  `stop` is
// asked between pieces; once it says yes the pieces left are not computed
// and the answer is false.
bool digamma_fill(const double* in, double* out, std::size_t n, int (*stop)());

#endif
