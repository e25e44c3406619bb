// tanh elementwise over arrays at every lane width, with no host:
// hyptan_fast's kernel.  One exponential per element and two exact short
// cuts: |x| > 18 gives exactly +-1 (tanh(18) rounds to 1 - 5e-16 already),
// |x| <= 1.5e-8 and NaN come back unchanged, and in between the value is
// 1 - 2 / (exp(x + x) + 1).
#ifndef BAYESMEX_TANH_H
#define BAYESMEX_TANH_H

#include <cstddef>

// out[i] = tanh of in[i] for i < n, bit for bit the same at every lane
// width (1, 2, 4 or 8; simd/simd.h).
void tanh_lanes(const double* in, double* out, std::size_t n, int width);

// The same over n elements in pieces shared by threads, at the width
// BAYESMEX_SIMD gives (one element reads no setting); `stop` is asked
// between pieces, and false means it stopped the work.
bool tanh_fill(const double* in, double* out, std::size_t n, int (*stop)());

#endif
