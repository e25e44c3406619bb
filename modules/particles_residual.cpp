// particles_residual(w), (w, M) or (w, M, N): T = M*N particle indices by
// residual resampling.  Particle j first gets floor(T w_j / sum(w)) copies, in
// particle order; the R places left are filled by independent draws from the
// fractional parts of the expected counts, in the order of the host's
// rand(R, 1) uniforms.
#include <cmath>

#include "common/resample_args.h"
#include "common/resample_copies.h"
#include "common/resample_search.h"
#include "../random/rand.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    resample_args ra;
    resample_read(args_check(args_this, nlhs, nrhs, prhs), nrhs, prhs, &ra);
    const int n = ra.n;
    double* t = n > 0 ? static_cast<double*>(mxMalloc(sizeof(double) * std::size_t(n))) : nullptr;

    // Written in full: the copies, the residual draws, and 0 wherever no
    // weight (or a short host array) leaves a place, as the other schemes
    // leave it.
    plhs[0] = args_result_uninit(ra.m, ra.cols);
    double* out = mxGetPr(plhs[0]);
    // The output's own element count: both sizes negative give an empty array.
    const std::size_t count = args_count(plhs[0]);
    const double T = double(count);

    std::size_t cursor = 0;
    if (n > 0) {
        const double total = ra.total;
        for (int j = 0; j < n; ++j) {
            const double e = ra.w[j] / total * T;
            if (e >= 1) {
                const double k = std::trunc(e);
                t[j] = e - k;
                resample_copies(out, &cursor, count, k, j + 1);
            } else {
                t[j] = e;
            }
        }
    }
    // T less the copies: the places left, also when rounding asks for more
    // copies than fit.
    const std::size_t r = count - cursor;
    const double R = double(r);
    for (int j = 0; j < n; ++j) t[j] = t[j] / R;

    mxArray* ua;
    rand_stream rs = rand_open();
    rand_array(&rs, RAND_UNIFORM, R, 1, &ua);
    const double* u = mxGetPr(ua);
    const std::size_t nu = args_count(ua);

    std::size_t placed = 0;
    if (n > 0) {
        for (int j = 1; j < n; ++j) t[j] = t[j] + t[j - 1];
        t[n - 1] = 1;  // every uniform finds a particle, whatever the rounding
        placed = nu < r ? nu : r;
        resample_search(t, n, u, out + cursor, placed);
    }
    for (std::size_t i = cursor + placed; i < count; ++i) out[i] = 0;
    if (t) mxFree(t);
    mxDestroyArray(ua);
}
