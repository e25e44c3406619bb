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
// operations on a in the same order (a's value differs at most in the sign
// of a zero, which no comparison sees).  Only the work around them moves.
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

// resample_trunc of a pair's lane 0, the lane the walk reads (lane 1, a
// copy of lane 0 at each step's start, ends each step at 0 or -1 and is
// never read).  Where the instance has a rounding instruction (AVX2 and
// AVX-512 imply SSE4.1) lane 1 is passed through: one instruction.
template <class V>
SIMD_INLINE simd_d2 resample_trunc2(simd_d2 a) {
#if defined(SIMD_X86)
    if constexpr (simd_lanes<V>() >= 4) {
        a[0] = __builtin_trunc(a[0]);
        return a;
    }
#endif
    return simd_splat<simd_d2>(resample_trunc<V>(a[0]));
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

// The walk itself (resample_walk below), with or without the clamp of t.
template <class V, bool Stratified, bool Clamp>
SIMD_INLINE std::size_t resample_walk_on(const double* w, int n, double total, const double* u, double u1,
                                         double* out, std::size_t count) {
    // A run is written in whole stores of at least four values: one vector
    // of 8 or 4, two of 2.
    constexpr int kSpill = simd_lanes<V>() < 4 ? 4 : simd_lanes<V>();
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
        // a in lane 0 of a pair: the chain's operations and its lane select
        // stay in one register, with no move between them.
        simd_d2 av = simd_splat<simd_d2>(a);
        for (; j < end; ++j) {
            av = av + simd_splat<simd_d2>(e[j - j0]);
            a = av[0];
            // Room for the whole strata, the partial one and a spill.
            if (!(a < 0x1p52)) {
                plain = true;
                break;
            }
            const simd_d2 ta = resample_trunc2<V>(av);
            const simd_d2 t = Clamp ? (ta > 0.0 ? ta : simd_d2{}) : ta;  // see resample_walk
            const long long kt = static_cast<long long>(a);
            const std::size_t k = kt < 0 ? 0 : std::size_t(kt);
            if (!(k + (kSpill + 1) <= count - g)) {
                plain = true;
                break;
            }
            const simd_d2 vv = simd_splat<simd_d2>(Stratified ? u[g + k] : u1);
            // The partial stratum as a lane select between a - t and
            // a - t - 1, never a branch on it (taken about half the time,
            // it would be mispredicted as often).  (a - 1) - t is
            // (a - t) - 1 bit for bit: for t = 0 the same operation (and
            // t = -0 changes no nonzero difference), for t >= 1 both are
            // exact (a >= 1 has no bits below 2^-52, nor have a - 1 and
            // a - t, and every multiple of 2^-52 in [-1, 0) is a double).
            // With one uniform for every point, whether a - t >= v, exactly,
            // is read off a - v rounded, which is ready as soon as t:
            // rounding is monotone and t a double, so fl(a - v) > t means
            // a - v > t and fl(a - v) < t means a - v < t; only
            // fl(a - v) == t (rare) asks a - t itself.  A stratum's own
            // uniform comes later than t (its load waits for k), so there
            // a - t is compared at once.
            const simd_d2 kept = av - t;
            const simd_d2 dropped = (av - 1.0) - t;
            auto partial = kept >= vv;
            if (!Stratified) {
                const simd_d2 beyond = av - vv;
                partial = beyond > t;
                if (beyond[0] == t[0]) partial = kept >= vv;
            }
            av = partial ? dropped : kept;
            start[b++] = g;
            g += k + std::size_t(-partial[0]);
        }
        if (!plain) a = av[0];
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

// The walk over w[0 .. n) into out[0 .. count), n > 0; u are the uniforms
// (the stratified scheme: u is out) or null and u1 the one uniform.  Returns
// the strata filled: rounding can leave the last few for resample_fill_last.
//
// a stays above -1 as long as every uniform is above 0: it starts at 0,
// a + e >= a (e >= 0), and a partial stratum at a uniform v > 0 leaves
// a - t - 1 >= v - 1 > -1.  So trunc(a) is -0 or a whole number >= 0, and
// the clamp t = max(trunc(a), 0) changes nothing but the sign of a zero a,
// which no comparison of the walk sees: the systematic walk at u1 > 0 goes
// without it (four cycles of the chain).  A uniform of 0 (a user's own rand
// may give one) can leave a at -1, where trunc(a) = -1 and the clamp counts;
// the stratified walk, bound by its uniforms' loads, keeps it always.
template <class V, bool Stratified>
SIMD_INLINE std::size_t resample_walk(const double* w, int n, double total, const double* u, double u1,
                                      double* out, std::size_t count) {
    if (!Stratified && u1 > 0) return resample_walk_on<V, false, false>(w, n, total, u, u1, out, count);
    return resample_walk_on<V, Stratified, true>(w, n, total, u, u1, out, count);
}

#endif
