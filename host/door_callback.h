// The call-back of the host's "rand" or "randn" for the random library's
// door (random/door.h), shared by the MEX hosts' door (host/door.cpp) and
// Octave's (host/octave/door.cpp), with the checks of what came back.
#ifndef BAYESMEX_DOOR_CALLBACK_H
#define BAYESMEX_DOOR_CALLBACK_H

#include "../random/door.h"
#include "../random/rand.h"
#include "args.h"

// rand() (nargs 0) or rand(rows, cols) of `source`, exactly the values
// asked for: a full real double array of that count, and with `shaped`
// (the array is a module's result) of that shape too.  Anything else (a
// user's own rand may return anything) is refused before a value is read.
inline rand_door_out door_callback(int source, int nargs, double rows, double cols, bool shaped) {
    const char* name = source == RAND_NORMAL ? "randn" : "rand";
    mxArray* out = nullptr;
    // The user's own rand may run here (and change the path, define
    // functions, set the environment): what the door learnt is forgotten,
    // also when the call-back ends in an error.
    struct forget_on_exit {
        ~forget_on_exit() { rand_door_forget(); }
    } forget;
    if (nargs == 0) {
        mexCallMATLAB(1, &out, 0, nullptr, name);
    } else {
        mxArray* size[2] = {mxCreateDoubleScalar(rows), mxCreateDoubleScalar(cols)};
        mexCallMATLAB(1, &out, 2, size, name);
        mxDestroyArray(size[0]);
        mxDestroyArray(size[1]);
    }
    // A sparse, complex or other-class array would have its storage read as
    // more (or other) doubles than it holds.
    if (const char* cls = args_not_doubles(out)) {
        if (out) mxDestroyArray(out);
        args_fail(msg::host_class, name, cls);
    }
    // Sizes as the host makes them: a negative one gives an empty array.
    const double m = nargs == 0 ? 1.0 : rows > 0 ? rows : 0.0;
    const double n = nargs == 0 ? 1.0 : cols > 0 ? cols : 0.0;
    const std::size_t count = mxGetNumberOfElements(out);
    bool wrong = double(count) != m * n;
    if (!wrong && shaped && count != 1) {
        const mwSize* d = mxGetDimensions(out);
        wrong = mxGetNumberOfDimensions(out) != 2 || double(d[0]) != m || double(d[1]) != n;
    }
    if (wrong) {
        mxDestroyArray(out);
        args_fail(msg::host_count, name, count, m, n);
    }
    return rand_door_out{out, mxGetPr(out), count};
}

#endif
