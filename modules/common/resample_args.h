// The argument convention of the particle resampling modules: (weights),
// (weights, M) or (weights, M, N), giving a result of the weights' rows by
// columns, M-by-M or M-by-N, and the weights' total.
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

// Checks in order: output count, input count, classes (the weights double,
// M and N double or integer), then the scalar test of M and its value, then
// the same for N ("M must be a scalar." for both), then the weights' values
// in the one pass that sums them: a negative, NaN or infinite weight, weights
// whose total is 0 and finite weights whose total overflows are refused,
// since no expected count T w / total is defined for them.  An empty weights
// array passes (total 0).  With `running`, the running sums are kept as well
// (freed again before an error).  Nothing is taken from the host's stream.
void resample_check(int nlhs, int nrhs, const mxArray* prhs[], resample_args* ra,
                    bool running = false);

// out[i] = binsgeq(table, n, u[i]) for i < count (out may be u), n >= 1.  A
// guide table (host memory, freed before return) answers instead when the
// draws repay its build and the table admits it; the answers are the same.
void resample_search(const double* table, int n, const double* u, double* out,
                     std::size_t count);

// Writes `index` k times at out[*cursor] and advances the cursor, never past
// `count`: k is the integer part of an expected count, which rounding can
// push a little past the output.
inline void resample_copies(double* out, std::size_t* cursor, std::size_t count, double k,
                            double index) {
    const std::size_t room = count - *cursor;
    const std::size_t c = k >= double(room) ? room : k >= 1 ? std::size_t(k) : 0;
    double* p = out + *cursor;
    for (std::size_t i = 0; i < c; ++i) p[i] = index;
    *cursor += c;
}

#endif
