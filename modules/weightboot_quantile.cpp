// weightboot_quantile(X, P), (X, P, B) or (X, P, B, W): B Bayesian-bootstrap
// replicates (Rubin 1981) of the percentiles P of the ascending sample X.
// Replicate b gives value j the weight g(j) / S drawn as in weightboot_average
// (the n uniforms of a rand(n, 1) call), places value j at the cumulative weight c(j), with
// c(n-1) = 1 exactly, and reads each percentile off the piecewise-linear
// curve through the points (c(j), X(j)).
//
// The percentiles are sorted once per call by the host's "sort", so one merge
// pass per replicate places them all: the walk over the intervals stops as
// soon as every percentile is placed.  Every percentile lies in 0 .. 100 and
// c(n-1) = 1, so each one is placed in every replicate.
#include "common/bootweights.h"

#include <cmath>
#include <cstddef>

namespace {

struct walk {
    const double* x;    // the sample
    int n;              // sample values (at least 1)
    const double* q;    // ascending fractions
    int nq;             // fractions
    double* out;        // first element of this replicate's row
    std::size_t stride; // rows of the result
};

// One replicate's merge of the ascending fractions with the cumulative
// weights c(0) = g(0)/S, c(j+1) = g(j+1)/S + c(j), c(n-1) = 1, computed as the
// walk reaches them.  A fraction equal to a cumulative weight goes to the
// interval that ends there; one at or below c(0) gives X(0).
void place(const walk& wk, const double* g, double s) {
    const double* x = wk.x;
    const double* q = wk.q;
    const int n = wk.n, nq = wk.nq;
    int k = 0;
    // A single value: the weighted distribution is the point X(0) at
    // cumulative weight 1, whatever its weight.
    const double c0 = n == 1 ? 1.0 : g[0] / s;
    for (; k < nq && q[k] <= c0; ++k) wk.out[k * wk.stride] = x[0];
    if (n == 1 || k == nq) return;

    double lo = c0;
    for (int j = 0; j + 1 < n; ++j) {
        // c(n-1) = 1 exactly: g(n-1) enters only through S.
        const double hi = j + 2 == n ? 1.0 : g[j + 1] / s + lo;
        for (; k < nq && q[k] <= hi; ++k)
            wk.out[k * wk.stride] = x[j] + ((q[k] - lo) * (x[j + 1] - x[j])) / (hi - lo);
        if (k == nq) return;
        lo = hi;
    }
}

// The host's sort of P as ascending fractions, written over its own output
// (a full double array the call-back made the module's own).  A user's sort
// may return anything: only a full real double array of exactly np values
// from 0 to 100 in ascending order is read, so the walk reads no element
// past it and places every fraction.
const double* sorted_fractions(mxArray* sorted, int np) {
    if (const char* cls = args_not_doubles(sorted)) args_fail(msg::host_class, "sort", cls);
    const std::size_t count = args_count(sorted);
    if (count != std::size_t(np)) args_fail(msg::host_sort_count, count, np);
    double* q = mxGetPr(sorted);
    for (int k = 0; k < np; ++k)
        if (!(q[k] >= (k ? q[k - 1] : 0.0) && q[k] <= 100))  // NaN fails
            args_fail(msg::host_sort_order);
    for (int k = 0; k < np; ++k) q[k] = q[k] / 100;
    return q;
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    // X and P are vectors (a row or a column): the sample is X's values, n
    // of them.
    const args_in args = args_check(args_this, nlhs, nrhs, prhs);
    const int n = int(args_count(prhs[0]));
    const double* x = mxGetPr(prhs[0]);
    const int np = int(args_count(prhs[1]));
    const double* p = mxGetPr(prhs[1]);

    const bootweights_inputs in = bootweights_read(args, nrhs, prhs, 3, n, msg::length_mismatch_quantile);
    const int b = in.b;
    const double* w = in.w;

    // The curve through (c(j), X(j)) is a distribution function only for an
    // ascending sample, and a percentile only exists from 0 to 100.
    for (int i = 0; i < n; ++i) {
        if (x[i] != x[i]) args_fail(msg::nan_value);
        if (i > 0 && x[i] < x[i - 1]) args_fail(msg::not_sorted);
    }
    for (int k = 0; k < np; ++k)
        if (!(p[k] >= 0 && p[k] <= 100)) args_fail(msg::percent_range);

    mxArray* sorted = nullptr;
    mxArray* unsorted = const_cast<mxArray*>(prhs[1]);
    mexCallMATLAB(1, &sorted, 1, &unsorted, "sort");
    rand_host_call_done();  // a user's sort may have changed what rand reaches
    const double* q = sorted_fractions(sorted, np);

    // Every element is written: NaN without a sample, else every
    // percentile of every replicate is placed.
    plhs[0] = args_result_uninit(b, np);
    double* out = mxGetPr(plhs[0]);
    const std::size_t count = args_count(plhs[0]);

    // Replicates are drawn only when they can show: with no sample value
    // (rand(0, 1) takes nothing anyway) or an empty result (no column, no
    // percentile) nothing is drawn, so a huge B with an empty result ends at
    // once instead of keeping the host busy for hours.  An empty sample has
    // no percentile: NaN.
    if (n == 0)
        for (std::size_t i = 0; i < count; ++i) out[i] = NAN;
    const int replicates = n > 0 && count > 0 ? b : 0;
    bootweights bw = bootweights_open(n, w, replicates);
    for (int r = 0; r < replicates; ++r) {
        double s;
        double* g = bootweights_draw(&bw, &s);
        place(walk{x, n, q, np, out + r, std::size_t(b)}, g, s);
    }
    bootweights_close(&bw);
    mxDestroyArray(sorted);
}
