// particles_deterministic(w), (w, M) or (w, M, N): T = M*N particle indices
// without randomness.  Particle j gets floor(T w_j / sum(w)) copies, and one
// more each time a running sum of the fractional parts, started at one half,
// passes a whole number: T indices in all even when rounding moves the sum of
// the fractional parts by less than one half.  Ascending particle order.
#include <cmath>

#include "common/resample_args.h"
#include "common/resample_copies.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    resample_args ra;
    resample_read(args_check(args_this, nlhs, nrhs, prhs), nrhs, prhs, &ra);

    // Written in full: the copies, then 0 wherever rounding (or no weight)
    // leaves a place, as the other schemes leave it.
    plhs[0] = args_result_uninit(ra.m, ra.cols);
    double* out = mxGetPr(plhs[0]);
    // The output's own element count: both sizes negative give an empty array.
    const std::size_t count = args_count(plhs[0]);

    std::size_t cursor = 0;
    if (ra.n > 0) {
        const double total = ra.total;
        const double T = double(count);
        double a = 0.5;
        for (int j = 0; j < ra.n; ++j) {
            const double e = ra.w[j] / total * T;
            double r = e;
            if (e >= 1) {
                const double k = std::trunc(e);
                r = e - k;
                resample_copies(out, &cursor, count, k, j + 1);
            }
            a = a + r;
            if (a >= 1) {
                if (cursor < count) out[cursor++] = j + 1;
                a = a - 1;
            }
        }
    }
    for (std::size_t i = cursor; i < count; ++i) out[i] = 0;
}
