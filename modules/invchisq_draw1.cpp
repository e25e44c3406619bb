// invchisq_draw1(s2, nu): one scaled inverse chi-square draw,
// ((s2 * nu) * 0.5) / g with g = rand_gamma(nu / 2) from the host's "rand".
// Only the first element of each input counts; an empty input gives [] and
// draws nothing.  nu NaN, zero or negative gives NaN and nu = +Inf gives s2,
// taking nothing from the stream.
#include "common/pairs.h"

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

    const double s2 = args_scalar(prhs[0]);
    const double nu = args_scalar(prhs[1]);
    plhs[0] = mxCreateDoubleMatrix_700(1, 1, mxREAL);
    double* out = mxGetPr(plhs[0]);

    rand_stream rs = rand_open();
    const double half = 0.5 * nu;
    const double g = rand_gamma(&rs, half);
    out[0] = pairs_element(s2, nu, half, g,
                           [](double s2, double nu, double g) { return ((s2 * nu) * 0.5) / g; });
}
