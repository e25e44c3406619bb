// The digamma function (digamma.h): the recurrence and series, the
// reflection, and the lane kernel.
//
// The loop runs several elements at a time: lanes step through the
// recurrence together, each lane only while its own x <= 5, so every element
// takes exactly the operations of the one-at-a-time algorithm and gets its
// bits; the logarithm is the C library's, one lane at a time.
#include "digamma.h"

#include "../simd/simd.h"
#include "../simd/threads.h"

#include <cmath>

namespace {

// Below this the reflection replaces the recurrence (at most 70 steps).
constexpr double REFLECT = 64.0;

// The smallest lane, NaN lanes left out (+Inf when every lane is NaN).
SIMD_INLINE double least(double x) { return x < INFINITY ? x : INFINITY; }
template <class V>
SIMD_INLINE double least(V x) {
    double m = INFINITY;
    for (int i = 0; i < simd_lanes<V>(); ++i)
        if (x[i] < m) m = x[i];
    return m;
}

SIMD_INLINE double log_lanes(double x) { return std::log(x); }
template <class V>
SIMD_INLINE V log_lanes(V x) {
    for (int i = 0; i < simd_lanes<V>(); ++i) x[i] = std::log(x[i]);
    return x;
}

// The recurrence and the series, for x >= -REFLECT or NaN.
template <class V>
SIMD_INLINE V recurrence_series(V x) {
    V s{};
    // The smallest lane needs the most steps (x + 1 keeps the order) and lo
    // takes the very steps it takes, so the loop ends when that lane is done.
    // A lane already past 5 steps by 0: x + 0 == x and s - 0 * (1/x) == s
    // there (1/x is finite, s is never -0), so each lane takes exactly its
    // own steps.  The one comparison, used once, stays a native mask in GCC.
    const V one = simd_splat<V>(1.0);
    for (double lo = least(x); lo <= 5.0; lo = lo + 1.0) {
        const V step = (x <= 5.0) ? one : V{};
        s = s - step * (1.0 / x);
        x = x + step;
    }
    const V t = 1.0 / (x * x);
    V r = log_lanes(x) + s;
    r = r - 0.5 / x;
    V p = t * 3617.0 / 8160.0;
    p = p - 1.0 / 12.0;
    p = p * t + 691.0 / 32760.0;
    p = p * t - 1.0 / 132.0;
    p = p * t + 1.0 / 240.0;
    p = p * t - 1.0 / 252.0;
    p = p * t + 1.0 / 120.0;
    p = p * t - 1.0 / 12.0;
    return r + p * t;
}

}  // namespace

double digamma(double x) {
    if (!(x < -REFLECT)) return recurrence_series(x);
    if (x == -INFINITY) return NAN;
    const double f = x - std::nearbyint(x);  // exact; |f| <= 1/2
    if (f == 0.0) return -INFINITY;
    const double pi = 3.14159265358979323846;
    return recurrence_series(1.0 - x) - pi / std::tan(pi * f);
}

namespace {

template <class V>
SIMD_INLINE void digamma_all(const double* in, double* out, size_t count) {
    constexpr size_t W = simd_lanes<V>();
    size_t i = 0;
    for (; i + W <= count; i += W) {
        const V x = simd_load<V>(in + i);
        if (least(x) < -REFLECT) {
            for (size_t k = 0; k < W; ++k) out[i + k] = digamma(in[i + k]);
            continue;
        }
        simd_store(out + i, recurrence_series(x));
    }
    for (; i < count; ++i) out[i] = digamma(in[i]);
}

SIMD_DISPATCH(void, digamma_any, digamma_all, (const double* in, double* out, size_t n), (in, out, n))

}  // namespace

void digamma_lanes(const double* in, double* out, std::size_t n, int width) { digamma_any_for(width)(in, out, n); }

bool digamma_fill(const double* in, double* out, std::size_t n, int (*stop)()) {
    return threads_elementwise(digamma_any_w1, digamma_any_for, in, out, n, 131072.0, stop);
}
