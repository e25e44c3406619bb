// Octave's generators reached without a call-back: the interpreter side of
// the door on Octave (host/octave/door.cpp, which sees the host operations
// as every module does).  Plain types only cross this header.
//
// Every function runs on the interpreter's thread only (the thread of the
// gateway call): Octave's generators are not thread-safe.  Each one makes
// the generator of `source` (RAND_UNIFORM 0, RAND_NORMAL 1) Octave's current
// distribution for its duration and restores the previous one on every
// exit, errors included, as Octave's own rand and randn do.
#ifndef BAYESMEX_RAND_OCTAVE_H
#define BAYESMEX_RAND_OCTAVE_H

#include <cstdint>

// Words of a saved generator state: 624 twister words and the count of
// words left.
constexpr int OCTRAND_STATE_WORDS = 625;

// Whether a call-back of "rand" (source 0) or "randn" (1) with `nargs`
// double arguments would run Octave's own built-in function: the lookup the
// call-back makes (subfunctions and private functions of the caller, class
// methods of double, command-line functions, autoloads, functions on the
// path, then built-ins), so that a user's own rand or randn is never
// bypassed.
bool octrand_is_builtin(int source, int nargs);

// The next n values (n >= 1) of Octave's generator into out, as rand() or
// rand(n, 1) would draw them: on whichever generator is active, the
// twister or the old one rand("seed", x) selects.
void octrand_draw(int source, double* out, int64_t n);

// The saved state of the generator, and a state written back to it (the
// write also selects the twister: never on the old generators).
void octrand_get_state(int source, uint32_t* s);
void octrand_set_state(int source, const uint32_t* s);

// The next n values (n >= 1) through our own kernels over Octave's state
// (random/twister.h): the first value from Octave itself, and if that moved
// the saved state the host is on the twister: the rest from the kernels,
// and the advanced state written back before returning.  Otherwise (the old
// generators) or where the kernels cannot reproduce the state, the rest
// from Octave too.  `damage` (a test hook) flips the lowest bit of the
// kernels' first value.
// With `interruptible` a long draw stops at Ctrl-C between pieces of it,
// the generator put back where it stood before the first value.
enum octrand_own_result {
    OCTRAND_OWN = 0,    // the kernels drew all but the first value
    OCTRAND_HOST = 1,   // Octave drew every value (the old generators, or a state the kernels refuse)
    OCTRAND_STUCK = 2,  // nothing drawn: the uniform twister's words are zero for ever
    OCTRAND_INTERRUPTED = 3  // nothing drawn: Ctrl-C is pending
};
octrand_own_result octrand_own(int source, double* out, int64_t n, bool damage, bool interruptible);

// Whether the uniform generator's saved twister words are zero for ever
// (word 0's top bit and words 1 .. 623): Octave's rand would never return.
bool octrand_stuck();

#endif
