// studentt_draw(nu) or (nu, M, N): Student-t draws with nu degrees of freedom.
// The host's "randn" fills the result in one call; each normal z then becomes
// a t variate in place, in column-major element order (rand_student_fill):
//   nu == 1: z / g, g a further normal (Cauchy as a ratio of normals);
//   nu == 2: sqrt(2) (u - 1/2) / sqrt(u (1 - u)) of one uniform, the inverse
//            of the t(2) distribution function (z is drawn but unused);
//   nu NaN, zero or negative: NaN; nu = +Inf: z, the normal limit;
//   else:    sqrt(nu) z / sqrt(2 G), G = rand_gamma(nu / 2), so 2 G is chi2(nu).
#include "common/pairs.h"

#include <algorithm>
#include <cstddef>

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    single_args sa;
    single_check(nlhs, nrhs, prhs, &sa);
    const bool per_element = sa.array;
    rand_stream rs = rand_open();
    rand_array(&rs, RAND_NORMAL, sa.m, sa.n, plhs);
    double* p = mxGetPr(plhs[0]);
    // The host makes an empty array for negative sizes: only the elements it
    // returned are transformed.
    std::size_t count = args_count(plhs[0]);
    if (count == 0) return;  // an empty result reads no parameter

    if (per_element) {
        const double* nu = mxGetPr(prhs[0]);
        rand_student_fill_each(&rs, nu, p, std::min(count, args_count(prhs[0])));
    } else {
        rand_student_fill(&rs, args_scalar(prhs[0]), p, count);
    }
}
