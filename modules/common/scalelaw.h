// The conditional scale law: y > 0 with density proportional to
//   y^(lambda - 1) exp(-(chi / y + psi y) / 2),
// the generalized inverse Gaussian law with lambda = (c e - b) / 2, chi = a b
// and psi = c e / d in the five inputs a .. e.  It is sampled through
// x = -ln y, whose log-density
//   h(x) = -lambda x - (chi / 2) e^x - (psi / 2) e^-x
// is concave exactly when chi >= 0 and psi >= 0; y = exp(-x).
#ifndef BAYESMEX_SCALELAW_H
#define BAYESMEX_SCALELAW_H

#include "../../rejection/ars.h"

namespace scalelaw {

// Verdicts of the validity rule, in the order its tests run.
enum class fault {
    none,
    not_finite,       // an input is NaN or infinite
    zero_d,           // d = 0
    negative_chi,     // a b < 0
    negative_psi,     // c e / d < 0
    both_zero,        // a b = 0 and c e / d = 0: h is linear
    chi_zero_rising,  // a b = 0 and b - c e >= 0: the right tail of h does not fall
    psi_zero_rising,  // c e / d = 0 and b - c e <= 0: the left tail of h does not fall
};

// Whether the law is proper and h concave.
fault check_law(double a, double b, double c, double d, double e);

// The mode x of h and the curvature kappa = -h''(x) there, in logarithms so
// that no product of the inputs overflows: kappa = A + B with
// A = (chi / 2) e^x and B = (psi / 2) e^-x.
struct law_mode {
    double x;
    double log_A, log_B;  // -inf when chi or psi is 0
    double log_kappa;
    double lambda;
};
law_mode mode_of(double a, double b, double c, double d, double e);

// h in the inputs' own terms: the data of the sampler's call-back.
struct logp_params {
    double inv_a;       // 1 / a
    double b_minus_ce;  // b - e c, that is -2 lambda
    double b;
    double c;
    double e_over_d;    // (1 / d) e
};

// Very narrow laws are sampled in a centred form, t = x - x* for the rounded
// mode x*: h(x* + t) - h(x*) = r t - A phi(t) - B phi(-t), phi(t) = e^t - 1 - t,
// with r = B - A - lambda the residual slope at x*.
struct centred_params {
    double A, B, r;
};

// What the sampler is handed for one law: the log-density (of x, or of t in
// the centred form), its data, the start and base step of the bracketing
// searches, and the way back from the sampler's value to y.
struct plan {
    bool centred;
    double x0, step;
    double mode;  // x*: in the centred form x = x* + t
    logp_params p;
    centred_params q;

    ars_logdens logdens() const;
    void* data() { return centred ? static_cast<void*>(&q) : static_cast<void*>(&p); }
    // y from the sampler's value; in the centred form the shift is applied
    // apart, which keeps the width of the law below the resolution of x.
    double y_of(double v) const;
};

// The plan for a law that check_law accepts; false when the law's mode or
// width overflows.  The searches start at y = a with probes at
// y = a (1 + 1/sqrt(b))^(+-(2^k - 1)); where these are not finite, h is not
// finite there or the step does not move x0 (below half its unit in the last
// place), they start at the mode with the law's width as the step.
bool plan_of(double a, double b, double c, double d, double e, plan* out);

}  // namespace scalelaw

#endif
