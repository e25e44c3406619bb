// psi_eval(X): the digamma function psi(x) = d/dx ln Gamma(x) elementwise
// (special/digamma.h), keeping X's whole shape.
#include "../host/args.h"
#include "../special/digamma.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (nrhs != 1) args_error("wrongInputCount", "Wrong number of input arguments.");
    if (nlhs > 1) args_error("tooManyOutputs", "Too many output arguments.");
    args_require_double_any_shape(prhs[0], 1);
    // The input's whole shape, every dimension: elementwise on all of it.
    plhs[0] = args_result_like(prhs[0]);
    if (!digamma_fill(mxGetPr(prhs[0]), mxGetPr(plhs[0]), args_count(plhs[0]), host_interrupt_pending))
        host_interrupt_check();  // Ctrl-C: the call ends, its result unused
}
