// exponential_draw(mu) or (mu, M, N): exponential draws with mean mu, by
// inversion: the host's "rand" fills the result in one call and each uniform u
// becomes log(u) * (-mu) in place.
#include "common/pairs.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    single_args sa;
    single_check(nlhs, nrhs, prhs, &sa);
    const bool per_element = sa.array;
    rand_stream rs = rand_open();
    rand_array(&rs, RAND_UNIFORM, sa.m, sa.n, plhs);
    double* p = mxGetPr(plhs[0]);
    // The host makes an empty array for negative sizes: only the elements it
    // returned are transformed.  The host's "rand" never yields 0, so log(u)
    // is finite.
    std::size_t count = args_count(plhs[0]);
    if (count == 0) return;  // an empty result reads no parameter

    if (per_element) {
        const double* mu = mxGetPr(prhs[0]);
        count = std::min(count, args_count(prhs[0]));
        host_in_pieces(count, [&](std::size_t first, std::size_t k) {
            for (std::size_t i = first; i < first + k; ++i) p[i] = std::log(p[i]) * -mu[i];
        });
        return;
    }
    const double mean = args_scalar(prhs[0]);
    host_in_pieces(count, [&](std::size_t first, std::size_t k) {
        if (mean == 1.0) {
            for (std::size_t i = first; i < first + k; ++i) p[i] = -std::log(p[i]);
        } else {
            const double neg = -mean;
            for (std::size_t i = first; i < first + k; ++i) p[i] = std::log(p[i]) * neg;
        }
    });
}
