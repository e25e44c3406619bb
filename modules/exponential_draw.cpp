// exponential_draw(mu) or (mu, M, N): exponential draws with mean mu, by
// inversion (random/exponential.h): the host's "rand" fills the result in
// one call and each uniform becomes an exponential in place.
#include "common/pairs.h"
#include "../random/exponential.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    single_args sa;
    single_check(nlhs, nrhs, prhs, &sa);
    single_fill<rand_exponential>(sa, prhs, plhs);
}
