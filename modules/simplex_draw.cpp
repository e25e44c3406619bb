// simplex_draw(K) or (K, N): N points uniform on the K-dimensional probability
// simplex (flat Dirichlet, random/dirichlet.h), as columns.  The host's
// "rand" fills the K-by-N result in one call, which becomes the points in
// place.
#include "../host/args.h"
#include "../random/dirichlet.h"
#include "../random/rand.h"

#include <cstddef>

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (nlhs > 1) args_error("tooManyOutputs", "Too many output arguments.");
    if (nrhs != 1 && nrhs != 2) args_error("wrongInputCount", "Wrong number of input arguments.");
    for (int i = 1; i <= nrhs; ++i) args_require_size(prhs[i - 1], i);

    if (!args_is_scalar(prhs[0])) args_error("notScalar", "First argument must be a scalar.");
    const int k = args_size(prhs[0]);
    int n = 1;
    if (nrhs == 2) {
        if (!args_is_scalar(prhs[1])) args_error("notScalar", "Second argument must be a scalar.");
        n = args_size(prhs[1]);
    }

    rand_stream rs = rand_open();
    rand_array(&rs, RAND_UNIFORM, k, n, plhs);
    double* p = mxGetPr(plhs[0]);
    // Whole columns of the array the host returned, never a product of the
    // requested sizes (negative sizes give an empty array).
    if (k < 1) return;
    const std::size_t rows = std::size_t(k);
    const std::size_t columns = args_count(plhs[0]) / rows;

    rand_simplex_fill(p, rows, columns);
}
