// studentt_draw(nu) or (nu, M, N): Student-t draws with nu degrees of freedom
// from the host's normals (random/student.h), in column-major element order.
#include "common/pairs.h"
#include "../random/student.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    single_draw<rand_student>(args_check(args_this, nlhs, nrhs, prhs), plhs, prhs);
}
