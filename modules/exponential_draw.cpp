// exponential_draw(mu) or (mu, M, N): exponential draws with mean mu, by
// inversion of the host's uniforms (random/exponential.h).
#include "common/pairs.h"
#include "../random/exponential.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    single_draw<rand_exponential>(args_check(args_this, nlhs, nrhs, prhs), plhs, prhs);
}
