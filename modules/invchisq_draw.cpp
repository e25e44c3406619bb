// invchisq_draw(s2, nu) or (s2, nu, M, N): scaled inverse chi-square draws,
// nu * s2 / chi2(nu).  Each element is ((nu * s2) * 0.5) / G with
// G = rand_gamma(nu / 2), drawn in column-major element order from the host's
// "rand"; arguments, checks, the size of the result and the rule for nu (NaN
// for NaN, zero or negative nu, s2 for +Inf) are the parameter-pair rules
// shared with meanshape_draw.
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
               [](auto s2, auto nu, auto g) { return ((nu * s2) * 0.5) / g; });
}
