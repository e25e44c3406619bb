// The walk of stratified and systematic resampling (Kitagawa, 1996; Carpenter,
// Clifford and Fearnhead, 1999): T strata of width 1 over the cumulative
// expected counts, one point g + u_g in stratum g (u_g = u for all g in the
// systematic scheme), and out[g] the particle whose stretch of cumulative
// expected count holds that point.  The accumulator a is the cumulative
// expected count so far less the strata filled:
//
//     a = a + w[j] / total * T;
//     if (a >= 1) { k = trunc(a); a = a - k; write index j+1 k times }
//     if (g < count && a >= u_g) { out[g++] = j+1; a = a - 1; }
//
// and every index written here is that walk's, bit for bit: the same
// operations on a in the same order.  Only the work around them moves.
//
// The plain walk is bound by the latency of a (a conversion to an integer
// and back on it, a 0 or 1 converted to subtract) and by mispredicted
// branches (runs of varying length, a partial stratum taken about half the
// time).  Here a block of particles is walked first with no store but the
// start of each particle's run, without a data-dependent branch: a - t with
// t = max(trunc(a), 0) is exact and is a itself when a < 1 (a >= -1 always,
// and -0 - 0 = -0), and the partial stratum is a lane select; the expected
// counts of a block are computed ahead, several at once.  Then the block's
// runs are written with whole vector stores, each run free to spill past its
// end into the next run's place, which that run overwrites.
//
// The stratified uniforms are the result array itself: a block reads its
// points' uniforms before any of its runs is written, and the uniforms past
// the block that a spill would cover are kept and put back.
#ifndef BAYESMEX_RESAMPLE_WALK_H
#define BAYESMEX_RESAMPLE_WALK_H

#include "resample_copies.h"
#include "../../simd/simd.h"

#include <cmath>
#include <cstddef>

// Particles per block: their run starts stay in the stack and their uniforms
// and runs (about T/n each) in the first-level cache.
static constexpr int kWalkBlock = 256;

// The expected count of particle j: T w[j] / total.
SIMD_INLINE double resample_expected(const double* w, int j, double total, double T) {
    return w[j] / total * T;
}

// trunc(a) for -1 <= a < 2^52.  A conversion
// where the baseline has no rounding instruction; either way the same value
// but for the sign of a zero.
template <class V>
SIMD_INLINE double resample_trunc(double a) {
#if defined(SIMD_X86)
    if (simd_lanes<V>() < 4) return double(static_cast<long long>(a));
#endif
    return __builtin_trunc(a);
}

// Writes index over out[start[i] .. start[i+1]) for the b runs, whole V
// stores of kSpill values at least: each may spill up to kSpill values past
// its run's end.
template <class V, int kSpill>
SIMD_INLINE void resample_runs(double* out, const std::size_t* start, int b, double first) {
    constexpr int L = simd_lanes<V>();
    for (int i = 0; i < b; ++i) {
        const V x = simd_splat<V>(first + i);
        double* p = out + start[i];
        const std::size_t c = start[i + 1] - start[i];
        for (int r = 0; r < kSpill; r += L) simd_store(p + r, x);
        for (std::size_t q = kSpill; q < c; q += kSpill)
            for (int r = 0; r < kSpill; r += L) simd_store(p + q + r, x);
    }
}

// The walk over w[0 .. n) into out[0 .. count), n > 0; u are the uniforms
// (the stratified scheme: u is out) or null and u1 the one uniform.  Returns
// the strata filled: rounding can leave the last few for resample_fill_last.
template <class V, bool Stratified>
SIMD_INLINE std::size_t resample_walk(const double* w, int n, double total, const double* u, double u1,
                               double* out, std::size_t count) {
    constexpr int kSpill = 16;
    const double T = double(count);
    double a = 0;
    std::size_t g = 0;
    int j = 0;
    bool plain = false;  // particle j is left to the plain walk, a its sum already
    std::size_t start[kWalkBlock + 1];
    double e[kWalkBlock];
    constexpr int L = simd_lanes<V>();
    while (j < n && !plain) {
        const int j0 = j;
        const int end = n - j < kWalkBlock ? n : j + kWalkBlock;
        // The block's expected counts first, L at a time (each lane the
        // operations of resample_expected): the divisions leave the chain
        // through a, whose latency bounds the walk.
        int i = 0;
        for (; i + L <= end - j0; i += L)
            simd_store(e + i, simd_load<V>(w + j0 + i) / simd_splat<V>(total) * simd_splat<V>(T));
        for (; i < end - j0; ++i) e[i] = resample_expected(w, j0 + i, total, T);
        int b = 0;
        for (; j < end; ++j) {
            a = a + e[j - j0];
            // Room for the whole strata, the partial one and a spill.
            if (!(a < 0x1p52)) {
                plain = true;
                break;
            }
            const double ta = resample_trunc<V>(a);
            const double t = ta > 0 ? ta : 0;  // a = -1 after a point at u = 0
            const long long kt = static_cast<long long>(a);
            const std::size_t k = kt < 0 ? 0 : std::size_t(kt);
            if (!(k + (kSpill + 1) <= count - g)) {
                plain = true;
                break;
            }
            const double v = Stratified ? u[g + k] : u1;
            // The partial stratum as a lane select between a - t and
            // a - t - 1, never a branch (taken about half the time, it would
            // be mispredicted as often).  a - (t + 1) is (a - t) - 1 bit for
            // bit: for t = 0 the same operation, for t >= 1 both are exact
            // (a >= 1 has no bits below 2^-52, nor has a - t in [0, 1), and
            // every multiple of 2^-52 in [-1, 0) is a double), and both are
            // computed at once.
            const simd_d2 kept = simd_splat<simd_d2>(a - t);
            const simd_d2 dropped = simd_splat<simd_d2>(a - (t + 1.0));
            const auto partial = kept >= simd_splat<simd_d2>(v);
            const simd_d2 next = partial ? dropped : kept;
            a = next[0];
            start[b++] = g;
            g += k + std::size_t(-partial[0]);
        }
        if (b == 0) break;  // (its last run's check left room for a spill)
        start[b] = g;
        double kept[kSpill];
        if (Stratified)
            for (int r = 0; r < kSpill; ++r) kept[r] = out[g + r];
        resample_runs<V, kSpill>(out, start, b, double(j0 + 1));
        if (Stratified)
            for (int r = 0; r < kSpill; ++r) out[g + r] = kept[r];
    }
    if (!plain) return g;
    // The last strata, where a run might reach the end of the output.
    for (;;) {
        if (a >= 1) {
            const double k = std::trunc(a);
            a = a - k;
            resample_copies(out, &g, count, k, j + 1);
        }
        if (g < count && a >= (Stratified ? u[g] : u1)) {
            out[g++] = j + 1;
            a = a - 1;
        }
        if (++j == n) break;
        a = a + resample_expected(w, j, total, T);
    }
    return g;
}

#endif
