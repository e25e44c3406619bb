// particles_multinomial(w), (w, M) or (w, M, N): M*N particle indices drawn
// independently with probabilities w / sum(w).  The host's rand(M, N) array
// becomes the result: each uniform u is replaced by the first particle whose
// normalised cumulative weight is >= u.
#include "common/resample_args.h"
#include "common/resample_search.h"
#include "../random/rand.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    resample_args ra;
    resample_read(args_check(args_this, nlhs, nrhs, prhs), nrhs, prhs, &ra, true);
    const int n = ra.n;
    double* c = ra.running;  // the running sums c[i] = c[i-1] + w[i]

    rand_stream rs = rand_open();
    rand_array(&rs, RAND_UNIFORM, ra.m, ra.cols, &plhs[0]);
    double* out = mxGetPr(plhs[0]);
    const std::size_t count = args_count(plhs[0]);

    if (n == 0) {
        // No particle to pick: every element is 0, as the other schemes leave it.
        for (std::size_t i = 0; i < count; ++i) out[i] = 0;
        return;
    }

    const double total = ra.total;  // c[n - 1]
    for (int i = 0; i < n - 1; ++i) c[i] = c[i] / total;
    c[n - 1] = 1;  // every u < 1 finds a particle, whatever the rounding of the sums

    host_in_pieces(count, [&](std::size_t first, std::size_t k) { resample_search(c, n, out + first, out + first, k); });
    mxFree(c);
}
