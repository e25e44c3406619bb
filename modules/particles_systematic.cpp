// particles_systematic(w), (w, M) or (w, M, N): T = M*N particle indices by
// systematic resampling (Carpenter, Clifford and Fearnhead, 1999; Kitagawa,
// 1996): the stratified walk with one uniform u shared by every stratum, so
// the points are g + u, g = 0 .. T-1, evenly spaced one expected count apart.
// One pass over the particles, no table and no search: the accumulator a is
// the cumulative expected count so far less the strata filled.
#include <cmath>

#include "common/resample_args.h"
#include "common/resample_copies.h"
#include "../random/rand.h"

// Copies written per store run of the walk's branch-free step.
static constexpr int kRun = 16;

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    resample_args ra;
    resample_check(nlhs, nrhs, prhs, &ra);

    // Exactly one value from the host's "rand", before the output exists and
    // even when the output is empty: the stream always moves by one.
    rand_stream rs = rand_open();
    const double u = rand_uniform(&rs);

    plhs[0] = mxCreateDoubleMatrix_700(ra.m, ra.cols, mxREAL);
    double* out = mxGetPr(plhs[0]);
    // The array's own element count: both sizes negative give an empty array.
    const std::size_t count = args_count(plhs[0]);

    std::size_t g = 0;
    if (ra.n > 0) {
        // Checked: every weight finite and non-negative, the total finite and > 0.
        const double total = ra.total;
        const double T = double(count);
        double a = 0;
        for (int j = 0; j < ra.n; ++j) {
            a = a + ra.w[j] / total * T;
            const double index = j + 1;
            // The walk is bound by the latency of a and by mispredicted
            // branches (a run of copies of varying length, a partial stratum
            // taken about half the time), not by its stores.  Where the
            // whole strata and a run of kRun stores all fit, it takes no
            // data-dependent branch: the integer part through a conversion,
            // kRun copies written unconditionally (those past the run are
            // overwritten by the next particles or the fill below), the
            // partial stratum as a 0 or 1.  Every value of a and every
            // index is that of the plain walk below: a - 0 is a, and for
            // -2^31 < a < 2^31 the conversion truncates as trunc does.
            if (a > -0x1p31 && a < 0x1p31) {
                long long k = static_cast<long long>(a);
                k = k < 0 ? 0 : k;  // a < 1: no whole stratum
                a = a - double(k);
                if (std::size_t(k) + (kRun + 1) <= count - g) {
                    const bool partial = a >= u;
                    a = a - double(partial);
                    const std::size_t c = std::size_t(k) + partial;
                    double* p = out + g;
                    for (int r = 0; r < kRun; ++r) p[r] = index;
                    for (std::size_t i = kRun; i < c; i += kRun)
                        for (int r = 0; r < kRun; ++r) p[i + r] = index;
                    g += c;
                    continue;
                }
                resample_copies(out, &g, count, double(k), index);
            } else if (a >= 1) {
                // Whole strata below the cumulative count: g + u lies inside them.
                const double k = std::trunc(a);
                a = a - k;
                resample_copies(out, &g, count, k, index);
            }
            if (g < count && a >= u) {
                out[g++] = index;
                a = a - 1;
            }
        }
    }
    resample_fill_last(out, g, count, ra.w, ra.n);
}
