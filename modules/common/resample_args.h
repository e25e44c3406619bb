// The argument convention of the particle resampling modules: (weights),
// (weights, M) or (weights, M, N), giving a result of the weights' rows by
// columns, M-by-M or M-by-N, and the weights' total.  The search and the
// copy writer the walks share are resample_search.h and resample_copies.h.
#ifndef BAYESMEX_RESAMPLE_ARGS_H
#define BAYESMEX_RESAMPLE_ARGS_H

#include "../../host/args.h"

#include <cstddef>

struct resample_args {
    const double* w;  // the weights, column-major (null when n is 0)
    int n;            // rows x columns of the weights array
    int m, cols;      // size of the result, truncated toward zero (negative: empty)
    double total;     // sum of the weights, left to right from 0: finite and > 0 when n > 0
    double* running;  // when asked for (and n > 0): the n running sums of that addition,
                      // host memory the caller frees
};

// After the argument driver (form W:weights [M:count.M [N:count.M]]): the
// size of the result, then the weights' values in the one pass that sums
// them: a negative, NaN or infinite weight, weights whose total is 0 and
// finite weights whose total overflows are refused, since no expected count
// T w / total is defined for them.  An empty weights array passes (total 0).
// With `running`, the running sums are kept as well (freed again before an
// error).  Nothing is taken from the host's stream.
void resample_read(const args_in& in, int nrhs, const mxArray* prhs[], resample_args* ra, bool running = false);

#endif
