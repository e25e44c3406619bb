// invchisq_draw(s2, nu) or (s2, nu, M, N): scaled inverse chi-square draws,
// nu s2 / chi2(nu) (random/invchisq.h, rand_invchisq), in column-major
// element order from the host's "rand", under the parameter-pair rules.
#include "common/pairs.h"
#include "../random/invchisq.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    pair_args pa;
    pairs_check(nlhs, nrhs, prhs, &pa);
    // The fill writes every element.
    plhs[0] = args_result_uninit(pa.m, pa.n);
    double* out = mxGetPr(plhs[0]);
    if (args_count(plhs[0]) == 0) return;  // an empty result reads no parameter
    pairs_read(prhs, &pa);
    pairs_fill<rand_invchisq>(pa, out, args_count(plhs[0]));
}
