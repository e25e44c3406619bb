// invchisq_draw1(s2, nu): one scaled inverse chi-square draw
// (random/invchisq.h); only the first element of each input counts.
#include "common/pairs.h"
#include "../random/invchisq.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    args_check(args_this, nlhs, nrhs, prhs);
    pairs_draw1<rand_invchisq>(plhs, prhs);
}
