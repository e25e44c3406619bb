// Univariate random variates drawn from the host's own "rand" and "randn",
// so that the host's seed governs every draw.
//
// Exact-stream block fetching.  Every function takes its values in the order
// of the one-value-at-a-time algorithm, and the host's next value after a
// gateway call is what it would have been had each value cost one call-back.
// A call-back costs microseconds while a value inside a host array costs
// nanoseconds, so values are fetched in blocks, but never more than the call
// is certain to consume.  This rests on the host property that rand(k, 1)
// yields the values of k successive rand() calls.  The library owns that
// arithmetic: the fills below know how many draws are still owed and fetch
// their own blocks; single values take one call-back each unless a batch or
// a run says more are coming.
//
// Two kinds of host.  Where "rand" and "randn" share one stream (MATLAB, the
// stand-in host by default) a block of one may only hold values taken before
// the next value of the other, so the strict order of the two is kept.
// Where they are two generators of their own (Octave: seeding or drawing
// from one leaves the other alone) only the order within each matters, and
// each is fetched in its own blocks whatever the interleaving.  The stream
// asks the host which kind it is (host_independent_streams, host/host.h).
//
// The stream record lives in the gateway's own frame, so nothing survives a
// call, not even after an error ends it.
#ifndef BAYESMEX_RAND_H
#define BAYESMEX_RAND_H

#include "../host/host.h"

#include <cfloat>
#include <cstddef>
#include <cstdint>

enum rand_source { RAND_UNIFORM = 0, RAND_NORMAL = 1 };

// Values fetched from one host function and not yet taken.
struct rand_lane {
    mxArray* block;   // host array being read, or null
    double* next;     // next unread value of the block
    double* end;
    int64_t expect;   // values still certain to be taken from this function
    double* scratch;  // the door's scratch memory being read instead of a block, or null
};

struct rand_stream {
    rand_lane lane[2];   // indexed by rand_source
    bool independent;    // the host keeps "rand" and "randn" apart
    uint64_t callbacks;  // fetches made so far (for tests and benchmarks)
    // Gives back the door's memory a lane still reads, also when an error
    // unwinds the gateway (the host's error call throws): a nested or later
    // call finds it free.  Host arrays are the host's to reclaim then.  One
    // owner: a stream is never copied.
    ~rand_stream();
    rand_stream(const rand_stream&) = delete;
    rand_stream& operator=(const rand_stream&) = delete;
};

// An empty stream for one gateway call: rand_stream rs = rand_open();
rand_stream rand_open();
// After a host call of the module's own (mexCallMATLAB of anything but the
// stream's rand and randn) that may have run the user's code: the next
// fetch looks the host's functions up again.
void rand_host_call_done();
// Destroys a block still held (after rand_span); every other path destroys
// a block as its last value is taken.  Call it before the gateway returns.
void rand_close(rand_stream* rs);

// Values fetched but not yet taken; 0 at the end of every correct call.
inline int64_t rand_pending(const rand_stream* rs) {
    return (rs->lane[0].end - rs->lane[0].next) + (rs->lane[1].end - rs->lane[1].next);
}

double rand_take_fetch(rand_stream* rs, int source);
void rand_lane_done(rand_stream* rs, int source);

// One value from the host's "rand" (source RAND_UNIFORM) or "randn".
inline double rand_take(rand_stream* rs, int source) {
    rand_lane* l = &rs->lane[source];
    if (l->next == l->end) return rand_take_fetch(rs, source);
    double v = *l->next++;
    if (l->expect > 0) --l->expect;
    if (l->next == l->end) rand_lane_done(rs, source);
    return v;
}

// The host's uniform value, unchanged: in [0, 1) is all the caller relies on.
inline double rand_uniform(rand_stream* rs) { return rand_take(rs, RAND_UNIFORM); }
// The same value where 0 or 1 would break the computation (a logarithm, a
// tangent): the host's "rand" never yields them.
inline double rand_uniopen(rand_stream* rs) { return rand_take(rs, RAND_UNIFORM); }
// Standard normal value from the host's "randn".
inline double rand_gaussian(rand_stream* rs) { return rand_take(rs, RAND_NORMAL); }

// The caller's next `count` values all come from `source` (the three
// uniforms of one rejection proposal, say): they come in one call-back.
void rand_batch(rand_stream* rs, int source, int count);

// The host's "rand" or "randn" for a rows-by-cols array into *slot, in one
// call-back: the result array of a module that transforms it in place, or
// an array the module destroys itself.
void rand_array(rand_stream* rs, int source, double rows, double cols, mxArray** slot);

// The next `count` values from `source` as one writable span of the host's
// array, valid until the next value is taken from that source or the close.
// The caller takes `later` more values from `source` right after these (on
// a shared-stream host, before any value of the other): a block holds as
// many whole spans of `count` values as 65536 values allow (at least one)
// and no more than count + later values, so every span is contiguous.
double* rand_span(rand_stream* rs, int source, int64_t count, int64_t later);

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
// unchanged and take nothing; so does NaN.  A shape too large for Best's
// method (rand_gamma_huge) takes nothing and gives the law's limit: the shape
// itself (its relative spread 1/sqrt(a) is far below rounding), +Inf for +Inf.
double rand_gamma(rand_stream* rs, double a);
// Shapes too large for Best's method: +Inf, and those so large that c / w
// overflows in most passes (beyond about 7.5e306; from about 1.5e307 on it
// overflows in every pass, which is then never accepted).  Below the bound
// c / w is finite for every u in [0.15, 0.85].
inline bool rand_gamma_huge(double a) { return 3.0 * a - 0.75 > DBL_MAX / 8; }

// A run of `count` gamma draws taken in pieces, in order: the draws of the
// whole run are known at its start, so each fetch takes as much of the
// stream as the draws still owed are certain to use.  Shapes are one shape
// a, or factor * p[i] for draw i (p must outlive the run); per-draw shapes
// are drawn one at a time, but a stretch of 16 or more equal parameters goes
// as a run of one shape.  Each draw is rand_gamma of its shape, bit for bit,
// with the same values taken.
struct rand_gamma_run {
    rand_stream* rs;
    double a;           // the one shape (p null)
    const double* p;    // per-draw parameters, or null
    double factor;
    std::size_t count;  // draws in the run
    std::size_t done;   // draws made
    int64_t least;      // least uniforms the draws not yet made take (per-draw shapes)
};
rand_gamma_run rand_gamma_begin(rand_stream* rs, double a, std::size_t count);
rand_gamma_run rand_gamma_begin_each(rand_stream* rs, const double* p, double factor, std::size_t count);
// The run's next k draws into out[0 .. k-1] (k no more than the draws left).
void rand_gamma_next(rand_gamma_run* run, double* out, std::size_t k);

// Student-t variates with nu degrees of freedom from the standard normals
// z[0 .. n-1] already drawn, in place, in element order:
//   nu == 1: z / g, g a further normal (Cauchy as a ratio of normals);
//   nu == 2: sqrt(2) (u - 1/2) / sqrt(u (1 - u)) of one uniform, the inverse
//            of the t(2) distribution function (z is not used);
//   nu NaN, zero or negative: NaN, nothing taken;
//   nu with 0.5 nu huge (rand_gamma_huge; +Inf too): z itself, the normal
//            limit, nothing taken;
//   else:    sqrt(nu) z / sqrt(2 G), G = rand_gamma(nu / 2), so 2 G is chi2(nu).
// rand_student_fill uses one nu for every element, rand_student_fill_each
// nu[i] for element i.
void rand_student_fill(rand_stream* rs, double nu, double* z, std::size_t n);
void rand_student_fill_each(rand_stream* rs, const double* nu, double* z, std::size_t n);

// Beta variate strictly inside (0, 1), as x / (x + y) of two gamma draws,
// rounded to a multiple of 2^-52.  A zero, negative or NaN shape, or a pair of
// fixed (below 1e-5) draws whose ratio is rejected, returns NaN at once
// instead of retrying for ever; so do 10^6 rejected attempts in a row.
double rand_beta(rand_stream* rs, double a, double b);

#endif
