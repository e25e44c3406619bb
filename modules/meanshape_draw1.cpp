// meanshape_draw1(mu, nu): one gamma draw with mean mu and nu degrees of
// freedom (random/gamma.h, rand_meanshape) from the host's "rand".  Only the
// first element of each input counts; an empty input gives [] and draws
// nothing.
#include "../host/args.h"
#include "../random/gamma.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    // The input count is tested before the output count.
    if (nrhs != 2) args_error("wrongInputCount", "Wrong number of input arguments.");
    if (nlhs > 1) args_error("tooManyOutputs", "Too many output arguments.");
    args_require_doubles(prhs, 1, 2);
    // An empty parameter gives an empty result and draws nothing, as in the
    // array samplers (never a draw from a parameter read as 0).
    if (args_count(prhs[0]) == 0 || args_count(prhs[1]) == 0) {
        plhs[0] = mxCreateDoubleMatrix_700(0, 0, mxREAL);
        return;
    }

    const double mu = args_scalar(prhs[0]);
    const double nu = args_scalar(prhs[1]);
    plhs[0] = mxCreateDoubleMatrix_700(1, 1, mxREAL);
    double* out = mxGetPr(plhs[0]);

    rand_stream rs = rand_open();
    out[0] = rand_meanshape::draw(&rs, mu, nu);
}
