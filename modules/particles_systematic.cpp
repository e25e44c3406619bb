// particles_systematic(w), (w, M) or (w, M, N): T = M*N particle indices by
// systematic resampling (Carpenter, Clifford and Fearnhead, 1999; Kitagawa,
// 1996): the stratified walk with one uniform u shared by every stratum, so
// the points are g + u, g = 0 .. T-1, evenly spaced one expected count apart.
// One pass over the particles, no table and no search (resample_walk.h).
#include "common/resample_args.h"
#include "common/resample_copies.h"
#include "common/resample_walk.h"
#include "../random/rand.h"

template <class V>
SIMD_INLINE std::size_t systematic_walk(const double* w, int n, double total, double u, double* out,
                                        std::size_t count) {
    return resample_walk<V, false>(w, n, total, nullptr, u, out, count);
}
SIMD_DISPATCH(std::size_t, systematic, systematic_walk,
              (const double* w, int n, double total, double u, double* out, std::size_t count),
              (w, n, total, u, out, count))

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    resample_args ra;
    resample_read(args_check(args_this, nlhs, nrhs, prhs), nrhs, prhs, &ra);

    // The walk and the last-weight tail write every element.  Made before
    // the draw: a result that cannot be had leaves the generator untouched.
    plhs[0] = args_result_uninit(ra.m, ra.cols);

    // Exactly one value from the host's "rand", even when the output is
    // empty: the stream always moves by one.
    rand_stream rs = rand_open();
    const double u = rand_uniform(&rs);

    double* out = mxGetPr(plhs[0]);
    // The array's own element count: both sizes negative give an empty array.
    const std::size_t count = args_count(plhs[0]);

    // Checked: every weight finite and non-negative, the total finite and > 0.
    const std::size_t g = ra.n > 0 ? systematic(ra.w, ra.n, ra.total, u, out, count) : 0;
    resample_fill_last(out, g, count, ra.w, ra.n);
}
