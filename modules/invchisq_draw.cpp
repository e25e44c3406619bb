// invchisq_draw(s2, nu) or (s2, nu, M, N): scaled inverse chi-square draws,
// nu s2 / chi2(nu) (random/invchisq.h), in column-major element order.
#include "common/pairs.h"
#include "../random/invchisq.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    pairs_draw<rand_invchisq>(args_check(args_this, nlhs, nrhs, prhs), plhs, prhs);
}
