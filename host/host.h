/* The host operations as every module sees them, whichever host it is built
 * for: the stand-in host of the tests, GNU Octave, or MATLAB.
 *
 * All modules but the metric one work with 32-bit signed sizes through the
 * `_700` operations; the metric module uses the host's own mwSize. */
#ifndef BAYESMEX_HOST_H
#define BAYESMEX_HOST_H

#if defined(BAYESMEX_STANDIN)
#include "standin/mex.h"
#else
#include <mex.h>
#ifdef __cplusplus
extern "C" {
#endif
/* Octave has no 32-bit-size operations (its mwSize is a signed 64-bit
 * integer): host/octave/host_octave.cpp supplies them.  MATLAB's libmx
 * exports them under these names. */
const int* mxGetDimensions_700(const mxArray* a);
mxArray* mxCreateDoubleMatrix_700(int m, int n, mxComplexity flag);
#ifdef __cplusplus
}
#endif
#endif

/* Whether the host's "rand" and "randn" are two generators of their own, so
 * that only the order of values within each matters: Octave keeps them apart
 * (seeding or drawing from one leaves the other alone), MATLAB draws both
 * from one shared stream, and the stand-in host does either as its tests
 * say.  Octave's mex.h defines HAVE_OCTAVE; host/octave/host_octave.cpp and
 * the stand-in's libmex define the function. */
#if defined(BAYESMEX_STANDIN) || defined(HAVE_OCTAVE)
#ifdef __cplusplus
extern "C"
#endif
int host_independent_streams(void);
#else
static inline int host_independent_streams(void) { return 0; }
#endif

#endif
