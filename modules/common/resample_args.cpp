#include "resample_args.h"

#include "../../search/binsgeq.h"

#include <climits>
#include <cstdint>

static int size_of(const mxArray* a) {
    if (!args_is_scalar(a)) args_error("notScalar", "M must be a scalar.");
    return args_size(a);
}

void resample_check(int nlhs, int nrhs, const mxArray* prhs[], resample_args* ra) {
    if (nlhs > 1) args_error("tooManyOutputs", "Too many output arguments.");
    if (nrhs < 1 || nrhs > 3) args_error("wrongInputCount", "Wrong number of input arguments.");
    args_require_double(prhs[0], 1);
    for (int i = 2; i <= nrhs; ++i) args_require_size(prhs[i - 1], i);

    const int* d = mxGetDimensions_700(prhs[0]);
    // rows x columns can promise more than the array holds (a later dimension
    // of 0); the weights read never go past its elements.
    std::uint64_t n = std::uint64_t(d[0] < 0 ? 0 : d[0]) * std::uint64_t(d[1] < 0 ? 0 : d[1]);
    const std::uint64_t have = args_count(prhs[0]);
    if (n > have) n = have;
    if (n > std::uint64_t(INT_MAX))
        args_error("sizeRange", "Sizes must be finite and smaller than 2^31 in magnitude.");
    ra->n = int(n);
    ra->w = n > 0 ? mxGetPr(prhs[0]) : nullptr;

    if (nrhs == 1) {
        ra->m = d[0];
        ra->cols = d[1];
        return;
    }
    ra->m = ra->cols = size_of(prhs[1]);
    if (nrhs == 3) ra->cols = size_of(prhs[2]);
}

double resample_total(const double* w, int n) {
    double total = 0;
    for (int i = 0; i < n; ++i) total += w[i];
    return total;
}

void resample_search(const double* table, int n, const double* u, double* out,
                     std::size_t count) {
    // A bisection costs about log2(n) dependent, mispredicted comparisons; the
    // guide costs two passes over the table and then about one comparison per
    // draw.
    if (count >= 16 && count >= std::size_t(n) / 16) {
        int* start = static_cast<int*>(mxMalloc(sizeof(int) * std::size_t(binsgeq_guide_words(n))));
        binsgeq_guide g;
        if (binsgeq_guide_init(&g, table, n, start)) {
            for (std::size_t i = 0; i < count; ++i) out[i] = binsgeq_guided(&g, u[i]);
            mxFree(start);
            return;
        }
        mxFree(start);  // not monotone or NaN: only the bisection's answer is defined
    }
    for (std::size_t i = 0; i < count; ++i) out[i] = binsgeq(table, n, u[i]);
}
