// The random library's door on the MEX hosts (MATLAB, the stand-in host of
// the tests): every fetch is one call-back of the host's "rand" or "randn".
#include "../random/door.h"

#include "door_callback.h"

rand_door_out rand_door(int source, int nargs, double rows, double cols, bool result, bool) {
    return door_callback(source, nargs, rows, cols, result);
}

void rand_door_release(int, double*) {}

void rand_door_forget() {}
