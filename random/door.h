// Inside the random library: the door, the one function through which any
// value of the host's "rand" and "randn" enters bayesmex.  Everything above
// it (blocks, promises, spans, result arrays) is the same on every host; the
// door itself is the host's: call-backs on the MEX hosts (host/door.cpp),
// and on Octave the host's generators themselves wherever that yields the
// same values and leaves them in the same state as the call-backs would
// (host/octave/door.cpp).
#ifndef BAYESMEX_RAND_DOOR_H
#define BAYESMEX_RAND_DOOR_H

#include "../host/host.h"

#include <cstddef>

// What the door hands back: the values, their count, and the host array that
// holds them, or null when they lie in the door's own scratch memory (which
// then stays the caller's until rand_door_release).
struct rand_door_out {
    mxArray* array;
    double* values;
    std::size_t count;
};

// The next values of `source` (RAND_UNIFORM or RAND_NORMAL), as the host's
// call-back would give them: rand() when nargs is 0, rand(rows, cols) when
// nargs is 2.  With `result` they are always a host array of that shape (a
// module's result, or an array it keeps); without, only the values count
// (a fetch of a run's, which usually has more fetches after it).
// Anything but exactly the values asked for (a user's rand that returns
// singles, a sparse or a complex array, another count or shape) ends the
// call with bayesmex:NAME:hostValues.  With `interruptible`, the caller
// holds no value of either generator not yet used: a long fetch may then
// end the call at Ctrl-C, the generator left where it stood before it.
rand_door_out rand_door(int source, int nargs, double rows, double cols, bool result, bool interruptible);

// Gives back the scratch memory of an out whose array was null.
void rand_door_release(int source, double* values);

// A gateway call begins (rand_open), or a host call that may have run the
// user's code has ended (a call-back): whatever the door learnt about the
// host's functions (which function a name reaches, the environment's
// settings) is forgotten.  Between two of these only our own code runs, so
// nothing the door learnt can change.
void rand_door_forget();

#endif
