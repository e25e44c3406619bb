#include "resample_args.h"

#include <cfloat>
#include <climits>
#include <cstdint>

static int size_of(const mxArray* a) {
    if (!args_is_scalar(a)) args_error("notScalar", "M must be a scalar.");
    return args_size(a);
}

// The total, left to right from 0, and whether every weight lies in
// [0, DBL_MAX]; with Keep the running sums go to `running`.  The test is a
// separate, independent chain beside the dependent additions, so it costs
// nothing on their latency.
template <bool Keep>
static double sum_weights(const double* w, int n, double* running, bool* fine) {
    double total = 0;
    bool ok = true;
    for (int i = 0; i < n; ++i) {
        const double v = w[i];
        ok &= (v >= 0) & (v <= DBL_MAX);  // NaN fails both
        total = total + v;
        if (Keep) running[i] = total;
    }
    *fine = ok;
    return total;
}

void resample_check(int nlhs, int nrhs, const mxArray* prhs[], resample_args* ra, bool running) {
    if (nlhs > 1) args_error("tooManyOutputs", "Too many output arguments.");
    if (nrhs < 1 || nrhs > 3) args_error("wrongInputCount", "Wrong number of input arguments.");
    args_require_double(prhs[0], 1);
    for (int i = 2; i <= nrhs; ++i) args_require_size(prhs[i - 1], i);

    // Two dimensions at most, and no empty later one: rows x columns is the
    // element count.
    const int* d = mxGetDimensions_700(prhs[0]);
    const std::uint64_t n = args_count(prhs[0]);
    if (n > std::uint64_t(INT_MAX))
        args_error("sizeRange", "Sizes must be finite and smaller than 2^31 in magnitude.");
    ra->n = int(n);
    ra->w = n > 0 ? mxGetPr(prhs[0]) : nullptr;
    ra->running = nullptr;
    ra->total = 0;

    if (nrhs == 1) {
        ra->m = d[0];
        ra->cols = d[1];
    } else {
        ra->m = ra->cols = size_of(prhs[1]);
        if (nrhs == 3) ra->cols = size_of(prhs[2]);
    }
    if (ra->n == 0) return;  // no weight: nothing to refuse, every scheme leaves zeros

    bool fine;
    if (running) {
        ra->running = static_cast<double*>(mxMalloc(sizeof(double) * std::size_t(ra->n)));
        ra->total = sum_weights<true>(ra->w, ra->n, ra->running, &fine);
    } else {
        ra->total = sum_weights<false>(ra->w, ra->n, nullptr, &fine);
    }
    const char* reason = nullptr;
    const char* message = nullptr;
    if (!fine) {
        reason = "badWeight";
        message = "Weights must be finite and not negative.";
    } else if (ra->total == 0) {
        // What exp(loglik) gives when every log-likelihood underflows.
        reason = "zeroWeights";
        message = "Weights must not all be zero.";
    } else if (!(ra->total <= DBL_MAX)) {
        // Every expected count T w / Inf would be 0.
        reason = "weightsOverflow";
        message = "Weights must have a finite sum.";
    }
    if (reason) {
        if (ra->running) mxFree(ra->running);
        args_error(reason, message);
    }
}
