#include "scalelaw.h"

#include <algorithm>
#include <cmath>

namespace scalelaw {

namespace {

int sign(double v) { return (v > 0) - (v < 0); }

// The terms (chi / 2) e^x = s b / (2 / a) and (psi / 2) e^-x = c (e / d) / (2 s).
// A term whose factor is zero (chi or psi 0, or 1/a overflowing) is zero at
// every x, but as written it is inf/inf or 0 inf where s overflows (x > 709.78)
// and 0/0 where s underflows (x < -745.13): NaN, which the sampler takes for
// a density that is not finite there, so that it can neither bracket nor
// draw the wide laws whose mass lies mostly beyond those points (B or lambda
// near 0).  Such a term is taken as zero; every other value keeps its bits.
double logp(double* deriv, void* data, double x) {
    const logp_params* p = static_cast<const logp_params*>(data);
    const double s = std::exp(x);
    double up = s * p->b / (2 * p->inv_a);
    if (std::isnan(up)) up = 0;  // NaN only from b = 0 or 1/a = inf: chi/2 is 0
    const double psi = p->c * p->e_over_d;
    const double down = psi == 0 ? psi : psi / (2 * s);
    *deriv = 0.5 * p->b_minus_ce - up + down;
    return (x * p->b_minus_ce * 0.5 - up) - down;
}

// log(|l| + sqrt(l^2 + exp(2 q))) without overflow.
double log_root(double l, double q) {
    if (l == 0) return q;
    const double ll = std::log(std::fabs(l)), m = std::max(ll, q);
    const double u = std::exp(ll - m), w = std::exp(q - m);
    return m + std::log(u + std::sqrt(u * u + w * w));
}

// Above this curvature the terms of h at the mode are so large that their
// rounding (about 2e-16 kappa) is no longer small against the law's own
// variation of order 1 in h: the law is sampled in the centred form.
const double centred_above = 23.0;  // log(kappa) > 23: kappa above about 1e10

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

// The centred form: every term is of the size of its own variation, so no
// large terms cancel.
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

// h and h' finite at the start point, which the sampler requires, and a
// step that moves the first probes: below half a unit in the last place of
// x0 the searches would probe x0 for ever.
bool usable(ars_logdens f, void* data, double x0, double step) {
    if (!std::isfinite(x0) || !std::isfinite(step) || !(step > 0)) return false;
    if (x0 - step == x0 || x0 + step == x0) return false;
    double d;
    const double h = f(&d, data, x0);
    return std::isfinite(h) && std::isfinite(d);
}

}  // namespace

// Concave: chi >= 0 and psi >= 0 (h'' = -(chi e^x + psi e^-x) / 2).  Proper:
// with both positive always; with psi = 0 the left tail of h is -lambda x,
// which falls only for lambda < 0 (b - c e > 0: the inverse gamma law); with
// chi = 0 the right tail is -lambda x, which falls only for lambda > 0
// (b - c e < 0: the gamma law); with both 0, h is linear.  Signs of chi and
// psi come from the signs of the factors, so products that underflow or
// overflow do not change the verdict; b - c e is taken as the sampler
// evaluates it.
fault check_law(double a, double b, double c, double d, double e) {
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || !std::isfinite(d) ||
        !std::isfinite(e))
        return fault::not_finite;
    if (d == 0) return fault::zero_d;
    const int chi = sign(a) * sign(b), psi = sign(c) * sign(e) * sign(d);
    const double b_minus_ce = b - e * c;
    if (chi < 0) return fault::negative_chi;
    if (psi < 0) return fault::negative_psi;
    if (chi == 0 && psi == 0) return fault::both_zero;
    if (chi == 0 && !(b_minus_ce < 0)) return fault::chi_zero_rising;
    if (psi == 0 && !(b_minus_ce > 0)) return fault::psi_zero_rising;
    return fault::none;
}

// s = e^x solves chi s^2 + 2 lambda s - psi = 0, taken in the form without
// cancellation: s = psi / (lambda + sqrt(lambda^2 + chi psi)) for lambda >= 0,
// s = (|lambda| + sqrt(lambda^2 + chi psi)) / chi otherwise.
law_mode mode_of(double a, double b, double c, double d, double e) {
    const double lchi = std::log(std::fabs(a)) + std::log(std::fabs(b));
    const double lpsi = std::log(std::fabs(c)) + std::log(std::fabs(e)) - std::log(std::fabs(d));
    law_mode m;
    m.lambda = -0.5 * (b - e * c);
    const double q = 0.5 * (lchi + lpsi);
    m.x = m.lambda >= 0 ? lpsi - log_root(m.lambda, q) : log_root(m.lambda, q) - lchi;
    m.log_A = std::log(0.5) + lchi + m.x;
    m.log_B = std::log(0.5) + lpsi - m.x;
    const double top = std::max(m.log_A, m.log_B);
    m.log_kappa = top + std::log(std::exp(m.log_A - top) + std::exp(m.log_B - top));
    return m;
}

ars_logdens plan::logdens() const { return centred ? logq : logp; }

double plan::y_of(double v) const { return centred ? std::exp(-mode) * std::exp(-v) : std::exp(-v); }

bool plan_of(double a, double b, double c, double d, double e, plan* out) {
    const law_mode m = mode_of(a, b, c, d, e);
    if (!std::isfinite(m.x) || !(m.log_kappa < 700)) return false;
    // Width of the law of x (Laplace), capped: the searches double it.
    const double width = std::min(1.0, std::exp(-0.5 * m.log_kappa));
    plan& P = *out;
    P.p = logp_params{1 / a, b - e * c, b, c, (1 / d) * e};
    P.q = centred_params{std::exp(m.log_A), std::exp(m.log_B), 0};
    P.q.r = P.q.B - P.q.A - m.lambda;
    P.mode = m.x;
    P.centred = m.log_kappa > centred_above;
    if (P.centred) {
        P.x0 = 0;
        P.step = width;
        return usable(logq, &P.q, P.x0, P.step);
    }
    P.x0 = std::log(P.p.inv_a);
    P.step = std::log(1 + 1 / std::sqrt(b));
    if (usable(logp, &P.p, P.x0, P.step)) return true;
    P.x0 = m.x;
    P.step = width;
    return usable(logp, &P.p, P.x0, P.step);
}

}  // namespace scalelaw
