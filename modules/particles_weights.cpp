// [w, ess, logmean] = particles_weights(logw): normalised particle weights
// from log-weights, the effective sample size and the log of the mean
// unnormalised weight (a particle filter's log-likelihood increment).
//
// exp(logw) underflows (or overflows) for the log-likelihoods of any real
// model, so every weight is exp(logw(i) - m), m the largest log-weight, which
// lies in [0, 1] with the largest exactly 1; their sum s then lies in [1, n]
// and neither s, s^2 nor the log-mean m + log(s / n) can overflow.
//
// Passes: the first reads logw for m (and refuses NaN, +Inf and all -Inf,
// before anything is made); the second takes one exp per element, writes it
// to the output and sums it and its square; the third divides the output by
// s.  m has to be known before the first exp (a running maximum would
// rescale earlier terms, and change their bits); everything else rides on
// the one exp pass.  Sums run left to right, so w is bit for bit
// exp(logw - m) / sum(exp(logw - m)) as the host computes it.
#include <cmath>
#include <cstddef>

#include "../host/args.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    // Any shape: the weights keep it, every element read.
    args_check(args_this, nlhs, nrhs, prhs);
    const mxArray* in = prhs[0];
    const std::size_t n = args_count(in);
    if (n == 0) args_fail(msg::empty_log_weights);
    const double* lw = mxGetPr(in);

    // m, and the refusals: NaN and +Inf have no weight a sum could hold, and
    // all -Inf leaves no weight at all (0 / 0).
    double m = -INFINITY;
    bool bad = false;
    for (std::size_t i = 0; i < n; ++i) {
        bad |= !(lw[i] < INFINITY);  // NaN or +Inf
        m = lw[i] > m ? lw[i] : m;
    }
    if (bad) args_fail(msg::bad_log_weight);
    if (m == -INFINITY) args_fail(msg::zero_log_weights);

    plhs[0] = args_result_like(in);
    double* w = mxGetPr(plhs[0]);
    // Two sums, left to right; each is one chain, and the exp between their
    // terms hides their latency.
    double s = 0, s2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double e = std::exp(lw[i] - m);  // -Inf - m is -Inf: a weight of 0
        w[i] = e;
        s += e;
        s2 += e * e;
    }
    for (std::size_t i = 0; i < n; ++i) w[i] = w[i] / s;

    // 1 / sum(w.^2) = s^2 / sum(e.^2); s >= 1 and sum(e.^2) >= 1 (the largest
    // term is 1), so neither overflows nor underflows.
    if (nlhs >= 2) plhs[1] = mxCreateDoubleScalar(s * s / s2);
    if (nlhs >= 3) plhs[2] = mxCreateDoubleScalar(m + std::log(s / double(n)));
}
