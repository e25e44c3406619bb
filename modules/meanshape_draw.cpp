// meanshape_draw(mu, nu) or (mu, nu, M, N): gamma draws with mean mu and nu
// degrees of freedom (random/gamma.h), in column-major element order.
#include "common/pairs.h"
#include "../random/gamma.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    pairs_draw<rand_meanshape>(args_check(args_this, nlhs, nrhs, prhs), plhs, prhs);
}
