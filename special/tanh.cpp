// tanh (tanh.h).  The exponential is our own, written once for every lane
// width so that the whole loop vectorises and every width gives the same
// bits: Cody and Waite (1980) reduction x + x = n ln2 + r with
// |r| <= ln2 / 2, then a degree-11 polynomial close to the minimax one for
// e^r on that interval (coefficients from a Chebyshev fit at 50 digits),
// scaled by 2^n through the exponent bits.
// Its error is within 2 ulps of e^(x+x); the tanh that follows differs from
// the correctly rounded value by at most a few units of 2^-53 in absolute
// terms (the subtraction from 1 cancels for small |x|).
#include "tanh.h"

#include "../simd/simd.h"
#include "../simd/threads.h"

#include <cstdint>

namespace {

// e^y for |y| <= 36 (so that 2^n stays a normal number).
template <class V>
SIMD_INLINE V exp_reduced(V y) {
    const double log2e = 1.4426950408889634074;
    const double ln2hi = 6.93147180369123816490e-01;  // 21 trailing zero bits: n * ln2hi is exact
    const double ln2lo = 1.90821492927058770002e-10;
    const double shifter = 6755399441055744.0;  // 1.5 * 2^52: adding it rounds to an integer
    V k = y * log2e + shifter;
    V n = k - shifter;
    V r = (y - n * ln2hi) - n * ln2lo;
    V p = simd_splat<V>(2.5110037605963777e-08);
    p = p * r + 2.763263963904103e-07;
    p = p * r + 2.755724091857897e-06;
    p = p * r + 2.4801485482328494e-05;
    p = p * r + 0.00019841269890047113;
    p = p * r + 0.0013888888952314775;
    p = p * r + 0.008333333333319601;
    p = p * r + 0.0416666666664881;
    p = p * r + 0.1666666666666668;
    p = p * r + 0.5000000000000019;
    p = p * r + 1.0;
    p = p * r + 1.0;
    // n sits in the low bits of k: shift it into the exponent field.
    auto scale = (simd_bits(k) - simd_bits(simd_splat<V>(shifter)) + 1023) << 52;
    return p * simd_from_bits<V>(scale);
}

// Every comparison is used once, right in its selection: GCC keeps such a
// comparison a native mask instead of spelling it out lane by lane.
template <class V>
SIMD_INLINE V tanh_lanes(V x) {
    const auto sign = simd_bits(x) & (int64_t)0x8000000000000000ULL;
    const V a = simd_from_bits<V>(simd_bits(x) ^ sign);
    // Lanes outside the middle range are discarded below; clamping keeps
    // their exponential finite (NaN becomes 36 here).
    V y = x + x;
    y = (y < 36.0) ? y : simd_splat<V>(36.0);
    y = (y > -36.0) ? y : simd_splat<V>(-36.0);
    const V e = exp_reduced(y);
    const V t = 1.0 - 2.0 / (e + 1.0);
    // 1.0 for x > 18, -1.0 for x < -18.
    const V sat = simd_from_bits<V>(simd_bits(simd_splat<V>(1.0)) | sign);
    const V r = (a > 1.5e-8) ? t : x;  // NaN fails
    return (a > 18.0) ? sat : r;
}

template <class V>
SIMD_INLINE void tanh_all(const double* in, double* out, size_t count) {
    constexpr size_t W = simd_lanes<V>();
    size_t i = 0;
    for (; i + W <= count; i += W) simd_store(out + i, tanh_lanes(simd_load<V>(in + i)));
    for (; i < count; ++i) out[i] = tanh_lanes(in[i]);
}

SIMD_DISPATCH(void, tanh_any, tanh_all, (const double* in, double* out, size_t n), (in, out, n))

}  // namespace

void tanh_lanes(const double* in, double* out, std::size_t n, int width) { tanh_any_for(width)(in, out, n); }

bool tanh_fill(const double* in, double* out, std::size_t n, int (*stop)()) {
    return threads_elementwise(tanh_any_w1, tanh_any_for, in, out, n, 262144.0, stop);
}
