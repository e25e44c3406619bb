// particles_deterministic(w), (w, M) or (w, M, N): T = M*N particle indices
// without randomness.  Particle j gets floor(T w_j / sum(w)) copies, and one
// more each time a running sum of the fractional parts, started at one half,
// passes a whole number: T indices in all even when rounding moves the sum of
// the fractional parts by less than one half.  Ascending particle order.
#include <cmath>

#include "common/resample_args.h"
#include "common/resample_copies.h"
#include "../simd/simd.h"

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
        // The plain loop, operation for operation:
        //     e = w[j] / total * T;  r = e;
        //     if (e >= 1) { k = trunc(e); r = e - k; write j+1 k times }
        //     a = a + r;  if (a >= 1) { write j+1 once; a = a - 1; }
        // with no branch on the data: runs of fewer than kSpill copies are
        // written kSpill at a time (the excess is overwritten by what
        // follows, or by the zeros at the end), the extra copy is written
        // where it would go and the cursor moves on only when it counts,
        // and a's step is a lane select.  The expected counts of a block
        // are computed ahead.
        constexpr std::size_t kSpill = 4;
        constexpr int kBlock = 256;
        double e[kBlock];
        for (int j0 = 0; j0 < ra.n; j0 += kBlock) {
            const int m = ra.n - j0 < kBlock ? ra.n - j0 : kBlock;
            for (int i = 0; i < m; ++i) e[i] = ra.w[j0 + i] / total * T;
            for (int i = 0; i < m; ++i) {
                const double index = j0 + i + 1;
                const double ej = e[i];
                const double k = ej >= 1 ? std::trunc(ej) : 0.0;
                if (k < kSpill && cursor + kSpill < count) {
                    for (std::size_t c = 0; c < kSpill; ++c) out[cursor + c] = index;
                    cursor += std::size_t(k);
                } else {
                    resample_copies(out, &cursor, count, k, index);
                }
                const simd_d2 av = simd_splat<simd_d2>(a + (ej - k));
                const auto extra = av >= simd_splat<simd_d2>(1.0);
                const simd_d2 next = extra ? av - 1.0 : av;
                a = next[0];
                if (cursor < count) {
                    out[cursor] = index;
                    cursor += std::size_t(-extra[0]);
                }
            }
        }
    }
    for (std::size_t i = cursor; i < count; ++i) out[i] = 0;
}
