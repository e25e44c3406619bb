#include "pairs.h"

// Classes in input order: the parameters are read as doubles, the sizes may
// also be integers.
static void require_classes(int nrhs, const mxArray* prhs[], int parameters) {
    for (int i = 1; i <= nrhs; ++i) {
        if (i <= parameters)
            args_require_double(prhs[i - 1], i);
        else
            args_require_size(prhs[i - 1], i);
    }
}

// A parameter is a scalar when it holds exactly one element; any other, an
// empty one included, gives one value per element, so the result takes its
// size: an empty parameter gives an empty result, never a draw from a value
// read as 0.  (Inputs have at most two dimensions by now.)
static bool per_element(const int* d) { return static_cast<long long>(d[0]) * d[1] != 1; }

void pairs_check(int nlhs, int nrhs, const mxArray* prhs[], pair_args* pa) {
    if (nlhs > 1) args_error("tooManyOutputs", "Too many output arguments.");
    if (nrhs != 2 && nrhs != 4) args_error("wrongInputCount", "Wrong number of input arguments.");
    require_classes(nrhs, prhs, 2);

    const int* d1 = mxGetDimensions_700(prhs[0]);
    const int* d2 = mxGetDimensions_700(prhs[1]);
    pa->array1 = per_element(d1);
    pa->array2 = per_element(d2);
    if (pa->array1 && pa->array2 && (d1[0] != d2[0] || d1[1] != d2[1]))
        args_error("sizeInconsistent", "Size information is inconsistent.");

    if (nrhs == 4) {
        pa->m = args_size(prhs[2]);
        pa->n = args_size(prhs[3]);
        if (pa->array1 && (d1[0] != pa->m || d1[1] != pa->n))
            args_error("sizeInconsistent", "Size information is inconsistent.");
        if (pa->array2 && (d2[0] != pa->m || d2[1] != pa->n))
            args_error("sizeInconsistent", "Size information is inconsistent.");
    } else if (pa->array1) {
        pa->m = d1[0];
        pa->n = d1[1];
    } else {
        pa->m = d2[0];
        pa->n = d2[1];
    }
}

void pairs_read(const mxArray* prhs[], pair_args* pa) {
    pa->p1 = pa->p2 = rand_param{nullptr, 0.0};
    if (pa->array1)
        pa->p1.p = mxGetPr(prhs[0]);
    else
        pa->p1.s = args_scalar(prhs[0]);
    if (pa->array2)
        pa->p2.p = mxGetPr(prhs[1]);
    else
        pa->p2.s = args_scalar(prhs[1]);
}

void single_check(int nlhs, int nrhs, const mxArray* prhs[], single_args* sa) {
    if (nlhs > 1) args_error("tooManyOutputs", "Too many output arguments.");
    if (nrhs != 1 && nrhs != 3) args_error("wrongInputCount", "Wrong number of input arguments.");
    require_classes(nrhs, prhs, 1);

    const int* d = mxGetDimensions_700(prhs[0]);
    sa->array = per_element(d);
    sa->m = d[0];
    sa->n = d[1];
    if (nrhs == 3) {
        sa->m = args_size(prhs[1]);
        sa->n = args_size(prhs[2]);
        if (sa->array && (d[0] != sa->m || d[1] != sa->n))
            args_error("sizeInconsistent", "Size information is inconsistent.");
    }
}
