// Inside the random library: promises and block fetches.  Nothing outside
// random/ includes this header; the library's own fills state what they are
// certain to take.
#ifndef BAYESMEX_RAND_STREAM_H
#define BAYESMEX_RAND_STREAM_H

#include "rand.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// Largest block fetched in one call-back (512 KiB of doubles): large enough
// that the call-back cost vanishes, small enough to stay in cache.
constexpr int64_t RAND_BLOCK_CAP = 65536;

// Promise that at least `count` more values will be taken from `source`: on
// a shared-stream host before any value from the other host function (which
// ends the other's promise), on an independent host in the rest of the call.
// Promises only ever widen the block a later fetch may take; a wrong promise
// would take values the algorithm never uses, so each promise states only
// what is certain.  Inline: fills renew their promise before every element.
inline void rand_expect(rand_stream* rs, int source, int64_t count) {
    rand_lane* l = &rs->lane[source];
    if (count > l->expect) l->expect = count;
    if (!rs->independent) rs->lane[1 - source].expect = 0;
}

// Values of `source` fetched and not yet taken.
inline int64_t rand_lane_pending(const rand_stream* rs, int source) {
    return rs->lane[source].end - rs->lane[source].next;
}

// Ends the call: the host's values keep a rejection loop from ever
// accepting (hostValues).
[[noreturn]] void rand_never_accepts();

// Fetches a block of exactly `want` values for `source`, whose lane must be
// empty; on a shared-stream host the other lane must be empty too.
void rand_fetch(rand_stream* rs, int source, int64_t want);

// With nothing pending from `source`, fetches what its promise allows (at
// least one value).
inline void rand_refill(rand_stream* rs, int source) {
    if (rand_lane_pending(rs, source) == 0) {
        const int64_t e = rs->lane[source].expect;
        rand_fetch(rs, source, e < 1 ? 1 : e < RAND_BLOCK_CAP ? e : RAND_BLOCK_CAP);
    }
}

// Marks the next `count` pending values of `source` as taken (they were read
// in place through lane.next).
inline void rand_consume(rand_stream* rs, int source, int64_t count) {
    rand_lane* l = &rs->lane[source];
    l->next += count;
    l->expect = l->expect > count ? l->expect - count : 0;
    if (l->next == l->end) rand_lane_done(rs, source);
}

// The least number of uniforms rand_gamma(a) takes.
int64_t rand_gamma_least(double a);

// The floor every drawn gamma value passes: below 1e-15 (a power that
// underflows for a tiny shape) it becomes the smaller of a and 1e-15.
inline double rand_gamma_floor(double x, double a) {
    if (x < 1e-15 && x < a) x = a < 1e-15 ? a : 1e-15;
    return x;
}

// pow(u, inv) for the boost of a shape a <= 1 (inv = 1 / a, 0 < u < 1).
// Shape 1/2 (one degree of freedom, inv = 2) takes the square u * u, rounded
// once, wherever the C library's pow must return that very double: glibc's
// pow is within 0.54 ULP of the exact power (its authors' bound, from an
// exp within 0.509 ULP and a log within 1.3 * 2^-68), so when u * u is
// within 7/16 ULP of the exact square, every other double lies more than
// 0.54 ULP from it.  The square's rounding error comes exact from Dekker's
// product (Veltkamp's split, no fused operation).  A square that is a
// power of two (its lower neighbour half an ULP away), within 1/16 ULP of a
// midpoint (one in eight) or below 2^-900 (where the product's parts could
// underflow; the host's uniforms are 2^-53 or more) goes to pow, as does
// every other exponent and every other C library.
inline double rand_gamma_power(double u, double inv) {
#if defined(__GLIBC__)
    if (inv == 2.0) {
        const double hi = u * u;
        const double split = 134217729.0 * u;  // 2^27 + 1
        const double uh = split - (split - u), ul = u - uh;
        const double err = (((uh * uh - hi) + uh * ul) + ul * uh) + ul * ul;  // u^2 - hi, exact
        uint64_t bits;
        std::memcpy(&bits, &hi, sizeof bits);
        const uint64_t ulp_bits = (bits & 0x7ff0000000000000ull) - (uint64_t(52) << 52);
        double ulp;
        std::memcpy(&ulp, &ulp_bits, sizeof ulp);
        if (hi >= 0x1p-900 && (bits & 0x000fffffffffffffull) != 0 && std::fabs(err) < 0.4375 * ulp) return hi;
    }
#endif
    return std::pow(u, inv);
}

// One pass of Best's method (Best 1978) for shape a = b + 1, c = 3a - 0.75
// on the uniforms u, v: true, with the variate in *out, if it accepts.  The
// one statement of the pass: the block evaluation settles most passes
// without it and gives the rest to it.
inline bool rand_best_on(double u, double v, double b, double c, double* out) {
    const double w = (1.0 - u) * u;  // uniopen: u * (1 - u) must be > 0
    const double y = std::sqrt(c / w) * (u - 0.5);
    const double x = b + y;
    if (x < 0) return false;
    const double z = 64.0 * w * w * w * v * v;
    *out = x;
    if (1.0 - (2.0 * y * y) / x >= z) return true;
    return 2.0 * (b * std::log(x / b) - y) >= std::log(z);
}

// The same pass taking its two uniforms from the stream one value at a time.
bool rand_best_pass(rand_stream* rs, double b, double c, double* x);

// Passes in a row a rejection loop may reject before it gives up: Best's
// passes accept with probability above 0.5 (and the boost's passes, at
// shape 1 + a, no less), so ten thousand rejections in a row never happen
// with the host's generators (below 2^-10000); they do with a user's rand
// that returns a constant, which would otherwise keep the call for ever.
constexpr int64_t RAND_REJECTIONS_CAP = 10000;

// Counts `rejected` more passes without an acceptance into *run (an
// acceptance resets it to 0 first, at the caller) and ends the call once
// the cap is passed.
inline void rand_rejections(int64_t* run, int64_t rejected) {
    *run += rejected;
    if (*run > RAND_REJECTIONS_CAP) rand_never_accepts();
}

#endif
