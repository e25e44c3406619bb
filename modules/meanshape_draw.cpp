// meanshape_draw(mu, nu) or (mu, nu, M, N): gamma draws with mean mu and nu
// degrees of freedom, mu * chi2(nu) / nu, that is shape nu/2 and scale
// 2 mu / nu.  Each element is ((g + g) * mu) / nu with g = rand_gamma(nu / 2),
// drawn in column-major element order from the host's "rand"; nu NaN, zero
// or negative gives NaN and nu = +Inf (or above about 1.5e307) gives mu, and
// neither takes anything from the stream.
#include "common/pairs.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    pair_args pa;
    pairs_check(nlhs, nrhs, prhs, &pa);
    // The fill writes every element.
    plhs[0] = args_result_uninit(pa.m, pa.n);
    double* out = mxGetPr(plhs[0]);
    if (args_count(plhs[0]) == 0) return;  // an empty result reads no parameter
    pairs_read(prhs, &pa);

    pairs_fill(pa, out, args_count(plhs[0]),
               [](auto mu, auto nu, auto g) { return ((g + g) * mu) / nu; });
}
