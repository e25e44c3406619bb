/* The host operations as every module sees them, whichever host it is built
 * for: the stand-in host of the tests, GNU Octave (oct-files over Octave's
 * own values, host/octave/mx.h), or MATLAB (MEX).  One seam per host: the
 * modules and the libraries name no host.
 *
 * All modules but the metric one work with 32-bit signed sizes through the
 * `_700` operations; the metric module uses the host's own mwSize. */
#ifndef BAYESMEX_HOST_H
#define BAYESMEX_HOST_H

#if defined(BAYESMEX_STANDIN)
#include "standin/mex.h"
#elif defined(BAYESMEX_OCTAVE)
#include "octave/mx.h"
#else
#include <mex.h>
#ifdef __cplusplus
extern "C" {
#endif
/* MATLAB's libmx exports the 32-bit-size operations under these names. */
const int* mxGetDimensions_700(const mxArray* a);
mxArray* mxCreateDoubleMatrix_700(int m, int n, mxComplexity flag);
#ifdef __cplusplus
}
#endif
/* MATLAB draws "rand" and "randn" from one shared stream, and offers no
 * documented way to see Ctrl-C from a MEX file. */
static inline int host_independent_streams(void) { return 0; }
static inline int host_interrupt_pending(void) { return 0; }
static inline void host_interrupt_check(void) {}
#endif

/* What every host supplies beyond the MEX names (the stand-in's libmex,
 * host/standin/mex.h, and host/octave/mx.cpp define them; MATLAB's are
 * above):
 *
 * host_independent_streams: whether the host's "rand" and "randn" are two
 * generators of their own, so that only the order of values within each
 * matters: Octave keeps them apart (seeding or drawing from one leaves the
 * other alone), MATLAB draws both from one shared stream, and the stand-in
 * host does either as its tests say.
 *
 * host_interrupt_pending: whether the user has asked the running call to
 * stop (Ctrl-C); it only reads a flag, from any thread.
 * host_interrupt_check: on the calling thread only, ends the call with the
 * host's own interrupt when one is pending.  Modules check between blocks of
 * work at points where every value fetched from the host's generators has
 * been used, so a stopped call leaves them where the values it drew would
 * have left them one at a time. */
#ifdef __cplusplus
#include <cstddef>

/* f(first, count) over n elements in pieces of 2^20 (a millisecond or so
 * of elementwise work), with a look for Ctrl-C between them: for the
 * elementwise passes a module makes once every value it draws is drawn. */
template <class F>
inline void host_in_pieces(std::size_t n, F f) {
    const std::size_t piece = std::size_t(1) << 20;
    for (std::size_t first = 0; first < n; first += piece) {
        if (first) host_interrupt_check();
        f(first, n - first < piece ? n - first : piece);
    }
}
#endif

#endif
