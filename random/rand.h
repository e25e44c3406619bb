// The random stream of one gateway call: values of the host's own "rand" and
// "randn", so that the host's seed governs every draw.  The laws drawn from
// it have a file each (gamma.h, invchisq.h, student.h, exponential.h,
// dirichlet.h); this header is what every module and law reads from.
//
// Exact-stream block fetching.  Every draw takes its values in the order of
// the one-value-at-a-time algorithm, and the host's next value after a
// gateway call is what it would have been had each value cost one call-back.
// A call-back costs microseconds while a value inside a host array costs
// nanoseconds, so values are fetched in blocks, but never more than the call
// is certain to consume.  This rests on the host property that rand(k, 1)
// yields the values of k successive rand() calls.  The library owns that
// arithmetic: each law's run or fill knows how many values its draws still
// owe and promises them (stream.h); single values take one call-back each
// unless a batch or a run says more are coming.
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
// call, not even after an error ends it.  Its lanes are the library's alone:
// a module reaches them only through the functions below.
#ifndef BAYESMEX_RAND_H
#define BAYESMEX_RAND_H

#include "../host/host.h"

#include <cstddef>
#include <cstdint>

enum rand_source { RAND_UNIFORM = 0, RAND_NORMAL = 1 };

class rand_stream {
public:
    // Gives back the door's memory a lane still reads, also when an error
    // unwinds the gateway (the host's error call throws): a nested or later
    // call finds it free.  Host arrays are the host's to reclaim then.  One
    // owner: a stream is never copied.
    ~rand_stream();
    rand_stream(const rand_stream&) = delete;
    rand_stream& operator=(const rand_stream&) = delete;

    // One value from the host's "rand" (RAND_UNIFORM) or "randn".
    double take(int source) {
        lane& l = lanes_[source];
        if (l.next == l.end) return take_fetch(source);
        const double v = *l.next++;
        if (l.expect > 0) --l.expect;
        if (l.next == l.end) done(source);
        return v;
    }
    // Values fetched but not yet taken; 0 at the end of every correct call.
    int64_t pending() const {
        return (lanes_[0].end - lanes_[0].next) + (lanes_[1].end - lanes_[1].next);
    }

    uint64_t callbacks = 0;  // fetches made so far (for tests and benchmarks)

private:
    // Values fetched from one host function and not yet taken.
    struct lane {
        mxArray* block = nullptr;   // host array being read, or null
        double* next = nullptr;     // next unread value of the block
        double* end = nullptr;
        int64_t expect = 0;         // values still certain to be taken from this function
        double* scratch = nullptr;  // the door's scratch memory being read instead of a block, or null
    };
    explicit rand_stream(bool independent) : independent_(independent) {}
    double take_fetch(int source);
    void done(int source);

    lane lanes_[2];     // indexed by rand_source
    bool independent_;  // the host keeps "rand" and "randn" apart

    friend rand_stream rand_open();
    friend struct rand_lanes;  // the library's own access (stream.h)
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

inline int64_t rand_pending(const rand_stream* rs) { return rs->pending(); }

// The host's uniform value, unchanged: in [0, 1) is all the caller relies on.
inline double rand_uniform(rand_stream* rs) { return rs->take(RAND_UNIFORM); }
// The same value where 0 or 1 would break the computation (a logarithm, a
// tangent): the host's "rand" never yields them.
inline double rand_uniopen(rand_stream* rs) { return rs->take(RAND_UNIFORM); }
// Standard normal value from the host's "randn".
inline double rand_gaussian(rand_stream* rs) { return rs->take(RAND_NORMAL); }

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

// A law's parameter over the elements of an array draw: one value for every
// element, or one per element (p, which outlives the draw).
struct rand_param {
    const double* p;  // per-element values, or null
    double s;         // the one value when p is null
    double at(std::size_t i) const { return p ? p[i] : s; }
};

#endif
