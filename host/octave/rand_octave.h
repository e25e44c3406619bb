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
// twister or the old one rand("seed", x) selects.  With `detect`, true when
// the draw moved the saved state, that is when the twister is running
// (without, always false: two reads of the state saved).
bool octrand_draw(int source, double* out, int64_t n, bool detect);

// The saved state of the generator, and a state written back to it (the
// write also selects the twister: never on the old generators).
void octrand_get_state(int source, uint32_t* s);
void octrand_set_state(int source, const uint32_t* s);

// Sessions: a call's own copy of a generator's state, drawn from by our own
// kernels (random/twister.h) fetch after fetch and written back to Octave
// once, by octrand_settle, which the host runs before any call-back and
// when the call ends however it ends.  A session is opened only where the
// twister is known to run in this call.
//
// octrand_own: the next n values (n >= 1), the first from Octave itself;
// if that moved the saved state the host is on the twister and the rest
// come from a session (opened here, or the one already open).  Otherwise
// (the old generators) or where the kernels cannot reproduce the state,
// every value from Octave.  `damage` (a test hook) flips the lowest bit of
// the kernels' first value.  octrand_session: the next n values from the
// session, opened from Octave's saved state when none is.  With
// `interruptible` a long draw stops at Ctrl-C between pieces of it, the
// generator put back where it stood before the fetch.
enum octrand_own_result {
    OCTRAND_OWN = 0,    // the kernels drew all but (at most) the first value
    OCTRAND_HOST = 1,   // Octave drew every value (the old generators, or a state the kernels refuse)
    OCTRAND_STUCK = 2,  // nothing drawn: the uniform twister's words are zero for ever
    OCTRAND_INTERRUPTED = 3  // nothing drawn: Ctrl-C is pending
};
octrand_own_result octrand_own(int source, double* out, int64_t n, bool damage, bool interruptible);
octrand_own_result octrand_session(int source, double* out, int64_t n, bool interruptible);
bool octrand_session_open(int source);
void octrand_settle();

// Whether the uniform generator's saved twister words are zero for ever
// (word 0's top bit and words 1 .. 623): Octave's rand would never return.
bool octrand_stuck();

#endif
