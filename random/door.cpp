// The door on MATLAB and on the stand-in host: every fetch is one call-back.
// (Octave's door is host/octave/rand_octave_door.cpp.)
#include "door.h"

#include "rand.h"

#include "../host/args.h"

rand_door_out rand_door(int source, int nargs, double rows, double cols, bool) {
    const char* name = source == RAND_NORMAL ? "randn" : "rand";
    mxArray* out = nullptr;
    if (nargs == 0) {
        mexCallMATLAB(1, &out, 0, nullptr, name);
    } else {
        mxArray* size[2] = {mxCreateDoubleScalar(rows), mxCreateDoubleScalar(cols)};
        mexCallMATLAB(1, &out, 2, size, name);
        mxDestroyArray(size[0]);
        mxDestroyArray(size[1]);
    }
    // A sparse or non-double array (a user's own rand, say) would have its
    // storage read as more doubles than it holds.
    if (!out || !mxIsDouble(out) || mxIsSparse(out)) {
        if (out) mxDestroyArray(out);
        args_error("internal", "Internal error: the host returned random values that are not a full double array.");
    }
    return rand_door_out{out, mxGetPr(out), mxGetNumberOfElements(out)};
}

void rand_door_release(int, double*) {}
