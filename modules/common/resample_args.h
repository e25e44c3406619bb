// The argument convention of the particle resampling modules: (weights),
// (weights, M) or (weights, M, N), giving a result of the weights' rows by
// columns, M-by-M or M-by-N.
#ifndef BAYESMEX_RESAMPLE_ARGS_H
#define BAYESMEX_RESAMPLE_ARGS_H

#include "../../host/args.h"

#include <cstddef>

struct resample_args {
    const double* w;  // the weights, column-major (null when n is 0)
    int n;            // rows x columns of the weights array, at most its element count
    int m, cols;      // size of the result, truncated toward zero (negative: empty)
};

// Checks in order: output count, input count, classes (the weights double,
// M and N double or integer), then the scalar test
// of M and its value, then the same for N ("M must be a scalar." for both).
void resample_check(int nlhs, int nrhs, const mxArray* prhs[], resample_args* ra);

// out[i] = binsgeq(table, n, u[i]) for i < count (out may be u), n >= 1.  A
// guide table (host memory, freed before return) answers instead when the
// draws repay its build and the table admits it; the answers are the same.
void resample_search(const double* table, int n, const double* u, double* out,
                     std::size_t count);

// Sum of the weights, left to right from 0.
double resample_total(const double* w, int n);

// Writes `index` k times at out[*cursor] and advances the cursor, never past
// `count`: k is the integer part of an expected count, which negative weights
// can push past the output (or to infinity).
inline void resample_copies(double* out, std::size_t* cursor, std::size_t count, double k,
                            double index) {
    const std::size_t room = count - *cursor;
    const std::size_t c = k >= double(room) ? room : k >= 1 ? std::size_t(k) : 0;
    double* p = out + *cursor;
    for (std::size_t i = 0; i < c; ++i) p[i] = index;
    *cursor += c;
}

#endif
