// Univariate random variates drawn from the host's own "rand" and "randn",
// so that the host's seed governs every draw.
//
// Exact-stream block fetching.  Every function takes its values in the order
// of the one-value-at-a-time algorithm, and the host's next value after a
// gateway call is what it would have been had each value cost one call-back.
// A call-back costs microseconds while a value inside a host array costs
// nanoseconds, so values are fetched in blocks, but only blocks no larger than
// what the caller is certain to consume from that host function before it
// asks the other one: the caller states such a lower bound with rand_expect,
// and the functions below state their own (a gamma pass takes two uniforms).
// This rests on the host property that rand(k, 1) yields the values of k
// successive rand() calls.  Without any promise each value costs one
// call-back, exactly as the plain algorithm does.
//
// The stream record lives in the gateway's own frame, so nothing survives a
// call, not even after an error ends it.
#ifndef BAYESMEX_RAND_H
#define BAYESMEX_RAND_H

#include "../host/host.h"

#include <cstdint>

enum rand_source { RAND_UNIFORM = 0, RAND_NORMAL = 1 };

struct rand_stream {
    mxArray* block;        // host array being read; destroyed when its last value is taken
    const double* next;    // next unread value of block
    const double* end;
    int source;            // host function that filled block
    int expect_source;     // host function the promise below is about
    int64_t expect;        // values still certain to be taken from expect_source first
    uint64_t callbacks;    // call-backs made so far (for tests and benchmarks)
};

// An empty stream: rand_stream rs = rand_open();
inline rand_stream rand_open() { return rand_stream{nullptr, nullptr, nullptr, 0, 0, 0, 0}; }

// Promise that at least `count` more values will be taken from `source`
// before any value from the other host function.  Promises only ever widen
// the block a later fetch may take; a wrong promise would take values the
// algorithm never uses, so each caller states only what it is certain of.
// Inline: samplers renew their promise before every element.
inline void rand_expect(rand_stream* rs, int source, int64_t count) {
    if (rs->expect_source == source) {
        if (count > rs->expect) rs->expect = count;
    } else {
        rs->expect_source = source;
        rs->expect = count;
    }
}

// Values fetched but not yet taken; 0 at the end of every correct call.
inline int64_t rand_pending(const rand_stream* rs) { return rs->end - rs->next; }

double rand_take_fetch(rand_stream* rs, int source);
void rand_take_done(rand_stream* rs);

// One value from the host's "rand" (source RAND_UNIFORM) or "randn".
inline double rand_take(rand_stream* rs, int source) {
    if (rs->next == rs->end || rs->source != source) return rand_take_fetch(rs, source);
    double v = *rs->next++;
    if (rs->expect > 0 && rs->expect_source == source) --rs->expect;
    if (rs->next == rs->end) rand_take_done(rs);
    return v;
}

// The host's uniform value, unchanged: in [0, 1) is all the caller relies on.
inline double rand_uniform(rand_stream* rs) { return rand_take(rs, RAND_UNIFORM); }
// The same value where 0 or 1 would break the computation (a logarithm, a
// tangent): the host's "rand" never yields them.
inline double rand_uniopen(rand_stream* rs) { return rand_take(rs, RAND_UNIFORM); }
// Standard normal value from the host's "randn".
inline double rand_gaussian(rand_stream* rs) { return rand_take(rs, RAND_NORMAL); }

// Integer in 0 .. n-1: (int)(u * n).
int rand_int(rand_stream* rs, int n);

// Index i with probability w[i] / sum(w), by sequential subtraction.
// A call that breaks the preconditions (n >= 1; weights >= 0 with a positive
// sum for rand_pickd; every weight > 0 for rand_pickf) is refused: it returns
// RAND_REFUSED and takes nothing from the stream.
enum { RAND_REFUSED = -1 };
int rand_pickd(rand_stream* rs, const double* w, int n);
int rand_pickf(rand_stream* rs, const float* w, int n);

double rand_exp(rand_stream* rs);     // -log(u), mean 1
double rand_cauchy(rand_stream* rs);  // tan((u - 0.5) * pi)

// Gamma variate of shape a and scale 1 (Best 1978 rejection for a > 1, the
// boost pow(u, 1/a) * gamma(1 + a) for a <= 1).  Shapes below 1e-5 come back
// unchanged and take nothing; a shape that is not a number or too large for
// Best's method (above about 7.5e306) takes nothing and returns NaN.
double rand_gamma(rand_stream* rs, double a);
// The least number of uniforms rand_gamma(a) takes: what a caller may promise.
int64_t rand_gamma_least(double a);

// Beta variate strictly inside (0, 1), as x / (x + y) of two gamma draws,
// rounded to a multiple of 2^-52.  A zero, negative or NaN shape, or a pair of
// fixed (below 1e-5) draws whose ratio is rejected, returns NaN at once
// instead of retrying for ever; so do 10^6 rejected attempts in a row.
double rand_beta(rand_stream* rs, double a, double b);

#endif
