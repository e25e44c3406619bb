// studentt_draw(nu) or (nu, M, N): Student-t draws with nu degrees of freedom
// (random/student.h): the host's "randn" fills the result in one call and
// each normal becomes a t variate in place, in column-major element order.
#include "common/pairs.h"
#include "../random/student.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    single_args sa;
    single_check(nlhs, nrhs, prhs, &sa);
    single_fill<rand_student>(sa, prhs, plhs);
}
