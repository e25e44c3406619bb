// Inside the random library: a stream's lanes, the promises that size its
// block fetches, and the door they go through (door.h).  Nothing outside
// random/ includes this header; each law's run or fill states here what its
// draws are certain to take.
#ifndef BAYESMEX_RAND_STREAM_H
#define BAYESMEX_RAND_STREAM_H

#include "rand.h"

#include <cstdint>

// Largest block fetched in one call-back (512 KiB of doubles): large enough
// that the call-back cost vanishes, small enough to stay in cache.
constexpr int64_t RAND_BLOCK_CAP = 65536;

// The library's access to a stream's lanes.
struct rand_lanes {
    static rand_stream::lane& of(rand_stream* rs, int source) { return rs->lanes_[source]; }
    static bool independent(const rand_stream* rs) { return rs->independent_; }
    static void done(rand_stream* rs, int source) { rs->done(source); }
};

// Promise that at least `count` more values will be taken from `source`: on
// a shared-stream host before any value from the other host function (which
// ends the other's promise), on an independent host in the rest of the call.
// Promises only ever widen the block a later fetch may take; a wrong promise
// would take values the algorithm never uses, so each promise states only
// what is certain.  Inline: fills renew their promise before every element.
inline void rand_expect(rand_stream* rs, int source, int64_t count) {
    auto& l = rand_lanes::of(rs, source);
    if (count > l.expect) l.expect = count;
    if (!rand_lanes::independent(rs)) rand_lanes::of(rs, 1 - source).expect = 0;
}

// Values of `source` fetched and not yet taken.
inline int64_t rand_lane_pending(rand_stream* rs, int source) {
    const auto& l = rand_lanes::of(rs, source);
    return l.end - l.next;
}

// The first of them, read in place (then marked taken by rand_consume).
inline const double* rand_lane_next(rand_stream* rs, int source) { return rand_lanes::of(rs, source).next; }

// Fetches a block of exactly `want` values for `source`, whose lane must be
// empty; on a shared-stream host the other lane must be empty too.
void rand_fetch(rand_stream* rs, int source, int64_t want);

// With nothing pending from `source`, fetches what its promise allows (at
// least one value).
inline void rand_refill(rand_stream* rs, int source) {
    if (rand_lane_pending(rs, source) == 0) {
        const int64_t e = rand_lanes::of(rs, source).expect;
        rand_fetch(rs, source, e < 1 ? 1 : e < RAND_BLOCK_CAP ? e : RAND_BLOCK_CAP);
    }
}

// Marks the next `count` pending values of `source` as taken (they were read
// in place through rand_lane_next).
inline void rand_consume(rand_stream* rs, int source, int64_t count) {
    auto& l = rand_lanes::of(rs, source);
    l.next += count;
    l.expect = l.expect > count ? l.expect - count : 0;
    if (l.next == l.end) rand_lanes::done(rs, source);
}

// Ends the call: the host's values keep a rejection loop from ever
// accepting (hostValues).
[[noreturn]] void rand_never_accepts();

// Passes in a row a rejection loop may reject before it gives up: Best's
// passes accept with probability above 0.5 (and the boost's passes, at
// shape 1 + a, no less; gamma.h), so ten thousand rejections in a row never
// happen with the host's generators (below 2^-10000); they do with a user's
// rand that returns a constant, which would otherwise keep the call for ever.
constexpr int64_t RAND_REJECTIONS_CAP = 10000;

// Counts `rejected` more passes without an acceptance into *run (an
// acceptance resets it to 0 first, at the caller) and ends the call once
// the cap is passed.
inline void rand_rejections(int64_t* run, int64_t rejected) {
    *run += rejected;
    if (*run > RAND_REJECTIONS_CAP) rand_never_accepts();
}

#endif
