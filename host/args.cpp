#include "args.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

void args_error(const char* reason, const char* message) {
    char id[160];
    const char* fn = mexFunctionName();
    if (fn && *fn)
        std::snprintf(id, sizeof id, "bayesmex:%.80s:%.60s", fn, reason);
    else
        std::snprintf(id, sizeof id, "bayesmex:%.60s", reason);
    // "%s": a message is text, never a format.
    mexErrMsgIdAndTxt(id, "%s", message);
    std::abort();  // the host's error call unwinds the gateway and never returns
}

void args_require_double(const mxArray* a, int position) {
    const char* what = nullptr;
    if (!mxIsDouble(a))
        what = mxGetClassName(a);
    else if (mxIsSparse(a))
        what = "sparse";
    char text[160];
    if (what) {
        std::snprintf(text, sizeof text, "Input %d must be a full double array, not %.40s.",
                      position, what);
        args_error("inputClass", text);
    }
    // Modules size their work by the first two dimensions; a later dimension
    // of 0 (7-by-7-by-0) leaves rows * columns > 0 with no element to read.
    const int* d = mxGetDimensions_700(a);
    if (d[0] > 0 && d[1] > 0 && mxGetNumberOfElements(a) < std::size_t(d[0]) * std::size_t(d[1])) {
        std::snprintf(text, sizeof text, "Input %d must not be empty beyond its second dimension.",
                      position);
        args_error("inputEmpty", text);
    }
}

void args_require_doubles(const mxArray* prhs[], int first, int last) {
    for (int i = first; i <= last; ++i) args_require_double(prhs[i - 1], i);
}

bool args_is_scalar(const mxArray* a) {
    const int* d = mxGetDimensions_700(a);
    return d[0] <= 1 && d[1] <= 1;
}

int args_size(const mxArray* a) {
    double v = std::trunc(mxGetScalar(a));
    // NaN fails both comparisons.
    if (!(v > -2147483648.0 && v < 2147483648.0))
        args_error("sizeRange", "Sizes must be finite and smaller than 2^31 in magnitude.");
    return int(v);
}

std::size_t args_count(const mxArray* a) { return mxGetNumberOfElements(a); }

void args_random_array(const char* name, double rows, double cols, mxArray** slot) {
    mxArray* size[2] = {mxCreateDoubleScalar(rows), mxCreateDoubleScalar(cols)};
    mexCallMATLAB(1, slot, 2, size, name);
    mxDestroyArray(size[0]);
    mxDestroyArray(size[1]);
}
