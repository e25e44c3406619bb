// meanshape_draw(mu, nu) or (mu, nu, M, N): gamma draws with mean mu and nu
// degrees of freedom, mu * chi2(nu) / nu, that is shape nu/2 and scale
// 2 mu / nu.  Each element is ((g + g) * mu) / nu with g = rand_gamma(nu / 2),
// drawn in column-major element order from the host's "rand".
#include "common/pairs.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    pair_args pa;
    pairs_check(nlhs, nrhs, prhs, &pa);
    plhs[0] = mxCreateDoubleMatrix_700(pa.m, pa.n, mxREAL);
    double* out = mxGetPr(plhs[0]);
    if (args_count(plhs[0]) == 0) return;  // an empty result reads no parameter
    pairs_read(prhs, &pa);

    rand_stream rs = rand_open();
    pairs_fill(&rs, pa, out, args_count(plhs[0]),
               [](rand_stream* s, double mu, double nu, double half) {
                   double g = rand_gamma(s, half);
                   return ((g + g) * mu) / nu;
               });
}
