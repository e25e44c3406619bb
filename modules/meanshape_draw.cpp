// meanshape_draw(mu, nu) or (mu, nu, M, N): gamma draws with mean mu and nu
// degrees of freedom (random/gamma.h, rand_meanshape), in column-major
// element order from the host's "rand", under the parameter-pair rules.
#include "common/pairs.h"
#include "../random/gamma.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    pair_args pa;
    pairs_check(nlhs, nrhs, prhs, &pa);
    // The fill writes every element.
    plhs[0] = args_result_uninit(pa.m, pa.n);
    double* out = mxGetPr(plhs[0]);
    if (args_count(plhs[0]) == 0) return;  // an empty result reads no parameter
    pairs_read(prhs, &pa);
    pairs_fill<rand_meanshape>(pa, out, args_count(plhs[0]));
}
