// The 32-bit-size operations on GNU Octave, whose MEX interface has only the
// 64-bit ones (its mwSize is signed 64-bit).
#include "../host.h"

#include <climits>

extern "C" {

// Sizes beyond the 32-bit range read as INT_MAX: a module then works on fewer
// elements than the array holds, never more.  The copy is mxMalloc memory,
// which Octave reclaims when the call ends, so every pointer handed out stays
// valid for the whole call.
const int* mxGetDimensions_700(const mxArray* a) {
    mwSize nd = mxGetNumberOfDimensions(a);
    const mwSize* d = mxGetDimensions(a);
    int* out = static_cast<int*>(mxMalloc(sizeof(int) * size_t(nd < 2 ? 2 : nd)));
    for (mwSize i = 0; i < nd; ++i) out[i] = d[i] > INT_MAX ? INT_MAX : int(d[i]);
    return out;
}

// Negative sizes give an empty array, as the 32-bit host operation does.
mxArray* mxCreateDoubleMatrix_700(int m, int n, mxComplexity flag) {
    return mxCreateDoubleMatrix(m < 0 ? 0 : m, n < 0 ? 0 : n, flag);
}

// Octave keeps one generator state per distribution: "rand" and "randn"
// are independent streams.
int host_independent_streams(void) { return 1; }

}
