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

#endif
