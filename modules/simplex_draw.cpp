// simplex_draw(K) or (K, N): N points uniform on the K-dimensional probability
// simplex (flat Dirichlet, random/dirichlet.h), as columns.  The host's
// "rand" fills the K-by-N result in one call, which becomes the points in
// place.
#include "../host/args.h"
#include "../random/dirichlet.h"
#include "../random/rand.h"

#include <cstddef>

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    const args_in in = args_check(args_this, nlhs, nrhs, prhs);
    const int k = in.size[0];
    const int n = nrhs == 2 ? in.size[1] : 1;

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
