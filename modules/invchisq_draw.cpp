// invchisq_draw(s2, nu) or (s2, nu, M, N): scaled inverse chi-square draws,
// nu * s2 / chi2(nu).  Each element is ((nu * s2) * 0.5) / G with
// G = rand_gamma(nu / 2), drawn in column-major element order from the host's
// "rand"; arguments, checks and the size of the result are the parameter-pair
// rules shared with meanshape_draw.
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
               [](rand_stream* s, double s2, double nu, double half) {
                   const double numerator = (nu * s2) * 0.5;
                   return numerator / rand_gamma(s, half);
               });
}
