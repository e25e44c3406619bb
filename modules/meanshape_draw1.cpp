// meanshape_draw1(mu, nu): one gamma draw with mean mu and nu degrees of
// freedom (random/gamma.h); only the first element of each input counts.
#include "common/pairs.h"
#include "../random/gamma.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    args_check(args_this, nlhs, nrhs, prhs);
    pairs_draw1<rand_meanshape>(plhs, prhs);
}
