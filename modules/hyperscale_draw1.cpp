// hyperscale_draw1(a, b, c, d, e): one draw y > 0 from the density
// proportional to y^(lambda - 1) exp(-(chi / y + psi y) / 2), the generalized
// inverse Gaussian law with lambda = (c e - b) / 2, chi = a b, psi = c e / d.
// It samples x = -ln y by adaptive rejection (Gilks and Wild 1992), since the
// log-density of x,
//   h(x) = -lambda x - (chi / 2) e^x - (psi / 2) e^-x,
// is concave exactly when chi >= 0 and psi >= 0, and returns exp(-x).
#include "../host/args.h"
#include "../random/rand.h"
#include "../rejection/ars.h"

#include <algorithm>
#include <cmath>

namespace {

struct logp_params {
    double inv_a;       // 1 / a
    double b_minus_ce;  // b - e c, that is -2 lambda
    double b;
    double c;
    double e_over_d;    // (1 / d) e
};

double logp(double* deriv, void* data, double x) {
    const logp_params* p = static_cast<const logp_params*>(data);
    const double s = std::exp(x);
    *deriv = 0.5 * p->b_minus_ce - s * p->b / (2 * p->inv_a) + p->c * p->e_over_d / (2 * s);
    return (x * p->b_minus_ce * 0.5 - s * p->b / (2 * p->inv_a)) - p->c * p->e_over_d / (2 * s);
}

int sign(double v) { return (v > 0) - (v < 0); }

// The law must be proper and h concave.  Concave: chi >= 0 and psi >= 0 (h''
// = -(chi e^x + psi e^-x) / 2).  Proper: with both positive always; with
// psi = 0 the left tail of h is -lambda x, which falls only for lambda < 0
// (b - c e > 0: the inverse gamma law); with chi = 0 the right tail is
// -lambda x, which falls only for lambda > 0 (b - c e < 0: the gamma law);
// with both 0, h is linear.  Signs of chi and psi come from the signs of the
// factors, so products that underflow or overflow do not change the verdict;
// b - c e is taken as the sampler evaluates it.
void check_law(double a, double b, double c, double d, double e, double b_minus_ce) {
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || !std::isfinite(d) ||
        !std::isfinite(e))
        args_error("notFinite", "Inputs must be finite.");
    if (d == 0) args_error("zeroD", "D must not be zero.");
    const int chi = sign(a) * sign(b), psi = sign(c) * sign(e) * sign(d);
    if (chi < 0) args_error("negativeChi", "A*B must not be negative.");
    if (psi < 0) args_error("negativePsi", "C*E/D must not be negative.");
    if (chi == 0 && psi == 0) args_error("improperLaw", "A*B and C*E/D must not both be zero.");
    if (chi == 0 && !(b_minus_ce < 0)) args_error("improperLaw", "B - C*E must be negative when A*B is zero.");
    if (psi == 0 && !(b_minus_ce > 0)) args_error("improperLaw", "B - C*E must be positive when C*E/D is zero.");
}

// log(|l| + sqrt(l^2 + exp(2 q))) without overflow.
double log_root(double l, double q) {
    if (l == 0) return q;
    const double ll = std::log(std::fabs(l)), m = std::max(ll, q);
    const double u = std::exp(ll - m), w = std::exp(q - m);
    return m + std::log(u + std::sqrt(u * u + w * w));
}

// The mode x of h and the curvature kappa = -h''(x) there, in logs so that no
// product of the inputs overflows: s = e^x solves chi s^2 + 2 lambda s - psi
// = 0, and kappa = A + B with A = (chi / 2) e^x, B = (psi / 2) e^-x.
struct law_mode {
    double x;
    double log_A, log_B;  // -inf when chi or psi is 0
    double log_kappa;
    double lambda;
};

law_mode mode_of(double a, double b, double c, double d, double e, double b_minus_ce) {
    const double lchi = std::log(std::fabs(a)) + std::log(std::fabs(b));
    const double lpsi = std::log(std::fabs(c)) + std::log(std::fabs(e)) - std::log(std::fabs(d));
    law_mode m;
    m.lambda = -0.5 * b_minus_ce;
    const double q = 0.5 * (lchi + lpsi);
    m.x = m.lambda >= 0 ? lpsi - log_root(m.lambda, q) : log_root(m.lambda, q) - lchi;
    m.log_A = std::log(0.5) + lchi + m.x;
    m.log_B = std::log(0.5) + lpsi - m.x;
    const double top = std::max(m.log_A, m.log_B);
    m.log_kappa = top + std::log(std::exp(m.log_A - top) + std::exp(m.log_B - top));
    return m;
}

// Above this curvature the terms of h at the mode are so large that their
// rounding (about 2e-16 kappa) is no longer small against the law's own
// variation of order 1 in h: the law is sampled in the centred form below.
const double centred_above = 23.0;  // log(kappa) > 23: kappa above about 1e10

// h(x* + t) - h(x*) as r t - A phi(t) - B phi(-t), phi(t) = e^t - 1 - t,
// with r = B - A - lambda the residual slope at the rounded mode: every term
// is of the size of its own variation, so no large terms cancel.
struct centred_params {
    double A, B, r;
};

// e^t - 1 - t without cancellation near 0 (Taylor series: 0.5^21 / 21! is
// far below the rounding of the sum).
double expm1_minus(double t) {
    if (std::fabs(t) >= 0.5) return std::expm1(t) - t;
    double term = t * t / 2, sum = term;
    for (int k = 3; k <= 21; ++k) {
        term *= t / k;
        sum += term;
    }
    return sum;
}

double logq(double* deriv, void* data, double t) {
    const centred_params* p = static_cast<const centred_params*>(data);
    double h = p->r * t, d = p->r;
    if (p->A > 0) {
        h -= p->A * expm1_minus(t);
        d -= p->A * std::expm1(t);
    }
    if (p->B > 0) {
        h -= p->B * expm1_minus(-t);
        d += p->B * std::expm1(-t);
    }
    *deriv = d;
    return h;
}

bool usable(ars_logdens f, void* data, double x0, double step) {
    if (!std::isfinite(x0) || !std::isfinite(step) || !(step > 0)) return false;
    double d;
    const double h = f(&d, data, x0);
    return std::isfinite(h) && std::isfinite(d);
}

[[noreturn]] void too_extreme() {
    args_error("tooExtreme", "The parameters are too extreme: the law's mode or width overflows.");
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (nrhs != 5) args_error("wrongInputCount", "Wrong number of input arguments.");
    if (nlhs > 1) args_error("tooManyOutputs", "Too many output arguments.");
    args_require_doubles(prhs, 1, 5);

    const double a = args_scalar(prhs[0]);
    const double b = args_scalar(prhs[1]);
    const double c = args_scalar(prhs[2]);
    const double e = args_scalar(prhs[4]);
    const double d = args_scalar(prhs[3]);
    logp_params p{1 / a, b - e * c, b, c, (1 / d) * e};
    check_law(a, b, c, d, e, p.b_minus_ce);

    const law_mode m = mode_of(a, b, c, d, e, p.b_minus_ce);
    if (!std::isfinite(m.x) || !(m.log_kappa < 700)) too_extreme();
    // Width of the law of x (Laplace), capped: the searches double it.
    const double width = std::min(1.0, std::exp(-0.5 * m.log_kappa));

    // Start at y = a, probes at y = a (1 + 1/sqrt(b))^(+-(2^k - 1)); where
    // these are not finite (a or b not positive, or extreme) or h is not
    // finite there, start at the mode instead.  Very narrow laws are sampled
    // in the centred form.
    const bool centred = m.log_kappa > centred_above;
    centred_params q{std::exp(m.log_A), std::exp(m.log_B), 0};
    q.r = q.B - q.A - m.lambda;
    double x0 = std::log(p.inv_a);
    double step = std::log(1 + 1 / std::sqrt(b));
    if (centred) {
        if (!usable(logq, &q, 0, width)) too_extreme();
    } else if (!usable(logp, &p, x0, step)) {
        x0 = m.x;
        step = width;
        if (!usable(logp, &p, x0, step)) too_extreme();
    }

    plhs[0] = mxCreateDoubleMatrix_700(1, 1, mxREAL);
    double* out = mxGetPr(plhs[0]);
    rand_stream rs = rand_open();
    if (centred)
        out[0] = std::exp(-m.x) * std::exp(-ars(&rs, logq, &q, 0, width));  // keeps the width below the resolution of x
    else
        out[0] = std::exp(-ars(&rs, logp, &p, x0, step));
}
