// exponential_draw(mu) or (mu, M, N): exponential draws with mean mu, by
// inversion: the host's "rand" fills the result in one call and each uniform u
// becomes log(u) * (-mu) in place.
#include "../host/args.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (nlhs > 1) mexErrMsgTxt("Too many output arguments.");
    if (nrhs != 1 && nrhs != 3) mexErrMsgTxt("Wrong number of input arguments.");
    args_require_doubles(prhs, 1, nrhs);

    const int* d = mxGetDimensions_700(prhs[0]);
    const int rows = d[0], cols = d[1];
    const bool per_element = rows > 1 || cols > 1;
    int m = rows, n = cols;
    if (nrhs == 3) {
        m = args_size(prhs[1]);
        n = args_size(prhs[2]);
        if (per_element && (rows != m || cols != n))
            mexErrMsgTxt("Size information is inconsistent.");
    }

    mxArray* size[2] = {mxCreateDoubleScalar(m), mxCreateDoubleScalar(n)};
    mexCallMATLAB(1, plhs, 2, size, "rand");
    mxDestroyArray(size[0]);
    mxDestroyArray(size[1]);
    double* p = mxGetPr(plhs[0]);
    // The host makes an empty array for negative sizes: only the elements it
    // returned are transformed.  The host's "rand" never yields 0, so log(u)
    // is finite.
    std::size_t count = args_count(plhs[0]);

    if (per_element) {
        const double* mu = mxGetPr(prhs[0]);
        count = std::min(count, args_count(prhs[0]));
        for (std::size_t i = 0; i < count; ++i) p[i] = std::log(p[i]) * -mu[i];
        return;
    }
    const double mean = mxGetScalar(prhs[0]);
    if (mean == 1.0) {
        for (std::size_t i = 0; i < count; ++i) p[i] = -std::log(p[i]);
    } else {
        const double neg = -mean;
        for (std::size_t i = 0; i < count; ++i) p[i] = std::log(p[i]) * neg;
    }
}
