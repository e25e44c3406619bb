#include "resample_args.h"

#include <cfloat>
#include <climits>
#include <cstdint>

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

void resample_read(const args_in& in, int nrhs, const mxArray* prhs[], resample_args* ra, bool running) {
    // Two dimensions at most, and no empty later one: rows x columns is the
    // element count, below 2^31.
    const std::size_t n = args_count(prhs[0]);
    ra->n = int(n);
    ra->w = n > 0 ? mxGetPr(prhs[0]) : nullptr;
    ra->running = nullptr;
    ra->total = 0;

    if (nrhs == 1) {
        const int* d = mxGetDimensions_700(prhs[0]);
        ra->m = d[0];
        ra->cols = d[1];
    } else {
        ra->m = ra->cols = in.size[1];
        if (nrhs == 3) ra->cols = in.size[2];
    }
    if (ra->n == 0) return;  // no weight: nothing to refuse, every scheme leaves zeros

    bool fine;
    if (running) {
        ra->running = static_cast<double*>(mxMalloc(sizeof(double) * std::size_t(ra->n)));
        ra->total = sum_weights<true>(ra->w, ra->n, ra->running, &fine);
    } else {
        ra->total = sum_weights<false>(ra->w, ra->n, nullptr, &fine);
    }
    // Every expected count T w / Inf would be 0.
    const bool refused = !fine || ra->total == 0 || !(ra->total <= DBL_MAX);
    if (refused && ra->running) mxFree(ra->running);
    if (!fine) args_fail(msg::bad_weight);
    if (ra->total == 0) args_fail(msg::zero_weights);
    if (refused) args_fail(msg::weights_overflow);
}
