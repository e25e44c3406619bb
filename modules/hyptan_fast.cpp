// hyptan_fast(X): tanh elementwise with one exponential per element and
// exact short cuts (special/tanh.h), keeping X's whole shape.
#include "../host/args.h"
#include "../special/tanh.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    args_check(args_this, nlhs, nrhs, prhs);
    // The input's whole shape, every dimension: elementwise on all of it.
    plhs[0] = args_result_like(prhs[0]);
    if (!tanh_fill(mxGetPr(prhs[0]), mxGetPr(plhs[0]), args_count(plhs[0]), host_interrupt_pending))
        host_interrupt_check();  // Ctrl-C: the call ends, its result unused
}
