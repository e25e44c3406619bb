// particles_stratified(w), (w, M) or (w, M, N): T = M*N particle indices by
// stratified resampling.  Cumulative expected counts 0 .. T are cut into T
// strata of width 1 with one point g + u[g] in stratum g, and output element g
// is the particle whose stretch of cumulative expected count holds that
// point.  One pass over the particles, no table and no search: the
// accumulator a is the cumulative expected count so far less the strata
// filled.
#include <cmath>

#include "common/resample_args.h"
#include "common/resample_copies.h"
#include "../random/rand.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    resample_args ra;
    resample_check(nlhs, nrhs, prhs, &ra);

    // The uniforms' array becomes the result, as in multinomial resampling:
    // an index is only ever written at a stratum whose uniform has been read
    // or is never needed, so no second array is made.
    rand_stream rs = rand_open();
    rand_array(&rs, RAND_UNIFORM, ra.m, ra.cols, &plhs[0]);
    double* out = mxGetPr(plhs[0]);
    const double* u = out;
    // The array's own element count: both sizes negative give an empty array.
    const std::size_t count = args_count(plhs[0]);

    std::size_t g = 0;
    if (ra.n > 0) {
        const double total = ra.total;
        const double T = double(count);
        double a = 0;
        for (int j = 0; j < ra.n; ++j) {
            a = a + ra.w[j] / total * T;
            if (a >= 1) {
                // Whole strata below the cumulative count: their points need no uniform.
                const double k = std::trunc(a);
                a = a - k;
                resample_copies(out, &g, count, k, j + 1);
            }
            if (g < count && a >= u[g]) {
                out[g++] = j + 1;
                a = a - 1;
            }
        }
    }
    resample_fill_last(out, g, count, ra.w, ra.n);
}
