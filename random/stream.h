// Inside the random library: promises and block fetches.  Nothing outside
// random/ includes this header; the library's own fills state what they are
// certain to take.
#ifndef BAYESMEX_RAND_STREAM_H
#define BAYESMEX_RAND_STREAM_H

#include "rand.h"

#include <cmath>

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

#endif
