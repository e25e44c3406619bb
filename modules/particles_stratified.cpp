// particles_stratified(w), (w, M) or (w, M, N): T = M*N particle indices by
// stratified resampling.  Cumulative expected counts 0 .. T are cut into T
// strata of width 1 with one point g + u[g] in stratum g, and output element g
// is the particle whose stretch of cumulative expected count holds that
// point.  One pass over the particles, no table and no search
// (resample_walk.h).
#include "common/resample_args.h"
#include "common/resample_copies.h"
#include "common/resample_walk.h"
#include "../random/rand.h"

template <class V>
SIMD_INLINE std::size_t stratified_walk(const double* w, int n, double total, double* out,
                                        std::size_t count) {
    return resample_walk<V, true>(w, n, total, out, 0, out, count);
}
SIMD_DISPATCH(std::size_t, stratified, stratified_walk,
              (const double* w, int n, double total, double* out, std::size_t count),
              (w, n, total, out, count))

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    resample_args ra;
    resample_read(args_check(args_this, nlhs, nrhs, prhs), nrhs, prhs, &ra);

    // The uniforms' array becomes the result, as in multinomial resampling:
    // an index is only ever written at a stratum whose uniform has been read
    // or is never needed, so no second array is made.
    rand_stream rs = rand_open();
    rand_array(&rs, RAND_UNIFORM, ra.m, ra.cols, &plhs[0]);
    double* out = mxGetPr(plhs[0]);
    // The array's own element count: both sizes negative give an empty array.
    const std::size_t count = args_count(plhs[0]);

    const std::size_t g = ra.n > 0 ? stratified(ra.w, ra.n, ra.total, out, count) : 0;
    resample_fill_last(out, g, count, ra.w, ra.n);
}
