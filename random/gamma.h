// The gamma law, and the laws made of one gamma draw per element by a
// degrees-of-freedom rule (gamma by mean and degrees of freedom here; the
// scaled inverse chi-square in invchisq.h).
//
// Shape a > 1: Best's rejection method (Best 1978; an envelope of a t law
// with 2 degrees of freedom), two uniforms per pass.  Shape a <= 1: the boost G(a) = U^(1/a) G(1 + a)
// (Stuart 1962), one uniform and then Best's passes at shape 1 + a.  Shapes
// just above 1, where Best's constants lose their precision, draw one unit
// exponential.  Runs of draws fetch blocks their draws are certain to use up
// and evaluate Best's passes several at a time (gamma.cpp).
#ifndef BAYESMEX_GAMMA_H
#define BAYESMEX_GAMMA_H

#include "rand.h"

#include "../simd/simd.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Gamma variate of shape a and scale 1 (Best's method for a > 1, the boost
// pow(u, 1/a) * gamma(1 + a) for a <= 1).  Shapes below 1e-5 come back
// unchanged and take nothing; so does NaN.  A shape too large for Best's
// method (rand_gamma_huge) takes nothing and gives the law's limit: the shape
// itself (its relative spread 1/sqrt(a) is far below rounding), +Inf for +Inf.
double rand_gamma(rand_stream* rs, double a);
// Shapes too large for Best's method: +Inf, and those so large that c / w
// overflows in most passes (beyond about 7.5e306; from about 1.5e307 on it
// overflows in every pass, which is then never accepted).  Below the bound
// c / w is finite for every u in [0.15, 0.85].
inline bool rand_gamma_huge(double a) { return 3.0 * a - 0.75 > DBL_MAX / 8; }

// The least number of uniforms rand_gamma(a) takes: what a run promises.
int64_t rand_gamma_least(double a);

// A run of `count` gamma draws taken in pieces, in order: the draws of the
// whole run are known at its start, so each fetch takes as much of the
// stream as the draws still owed are certain to use.  Shapes are one shape
// a, or factor * p[i] for draw i (p must outlive the run); per-draw shapes
// are drawn one at a time, but a stretch of 16 or more equal parameters goes
// as a run of one shape.  Each draw is rand_gamma of its shape, bit for bit,
// with the same values taken.
struct rand_gamma_run {
    rand_stream* rs;
    double a;           // the one shape (p null)
    const double* p;    // per-draw parameters, or null
    double factor;
    std::size_t count;  // draws in the run
    std::size_t done;   // draws made
    int64_t least;      // least uniforms the draws not yet made take (per-draw shapes)
};
rand_gamma_run rand_gamma_begin(rand_stream* rs, double a, std::size_t count);
rand_gamma_run rand_gamma_begin_each(rand_stream* rs, const double* p, double factor, std::size_t count);
// The run's next k draws into out[0 .. k-1] (k no more than the draws left).
void rand_gamma_next(rand_gamma_run* run, double* out, std::size_t k);

// ---- laws of one gamma draw per element, by degrees of freedom nu ----------
//
// Element (p, nu) is formula(p, nu, g) with g = rand_gamma(nu / 2): nu NaN,
// zero or negative gives NaN, as a gamma shape that is not positive does for
// the host's own gamma sampler; nu so large that the draw is its limit
// (rand_gamma_huge(nu / 2), +Inf too) gives the limit law, a point mass at
// p; neither takes anything from the stream.  Form is a class whose
// operator() is the formula; it also runs on pairs of elements (simd_d2 p
// and g), each lane with the bits of one element.
template <class Form>
struct rand_dof_law {
    static double element(double p, double nu, double half, double g) {
        if (!(nu > 0)) return NAN;
        if (rand_gamma_huge(half)) return p;
        return Form()(p, nu, g);
    }
    // One draw.
    static double draw(rand_stream* rs, double p, double nu) {
        const double half = 0.5 * nu;
        return element(p, nu, half, rand_gamma(rs, half));
    }
    // A run over the elements of an array draw, in element order: one run of
    // gamma draws, so each block fetched holds what the draws still owed are
    // certain to use.
    class run {
    public:
        run(rand_stream* rs, rand_param p, rand_param nu, std::size_t count) : p_(p), nu_(nu) {
            half_ = 0.5 * nu.s;
            fixed_ = !nu.p && (!(nu.s > 0) || rand_gamma_huge(half_));  // nothing is drawn
            if (nu.p)
                gamma_ = rand_gamma_begin_each(rs, nu.p, 0.5, count);
            else if (!fixed_)
                gamma_ = rand_gamma_begin(rs, half_, count);
        }
        // The next k elements into out[0 .. k-1].
        void next(double* out, std::size_t k) {
            const std::size_t i = done_;
            done_ += k;
            if (fixed_) {
                for (std::size_t j = 0; j < k; ++j) out[j] = element(p_.at(i + j), nu_.s, half_, half_);
                return;
            }
            rand_gamma_next(&gamma_, out, k);
            if (nu_.p) {
                for (std::size_t j = 0; j < k; ++j) {
                    const double nu = nu_.p[i + j];
                    out[j] = element(p_.at(i + j), nu, 0.5 * nu, out[j]);
                }
                return;
            }
            // One valid nu: the formula alone, two elements per instruction.
            const Form f;
            std::size_t j = 0;
            if (p_.p) {
                for (; j + 2 <= k; j += 2)
                    simd_store(out + j, f(simd_load<simd_d2>(p_.p + i + j), nu_.s, simd_load<simd_d2>(out + j)));
                for (; j < k; ++j) out[j] = f(p_.p[i + j], nu_.s, out[j]);
            } else {
                for (; j + 2 <= k; j += 2) simd_store(out + j, f(p_.s, nu_.s, simd_load<simd_d2>(out + j)));
                for (; j < k; ++j) out[j] = f(p_.s, nu_.s, out[j]);
            }
        }

    private:
        rand_param p_, nu_;
        double half_;
        bool fixed_;
        std::size_t done_ = 0;
        rand_gamma_run gamma_{};
    };
};

// Gamma draws with mean mu and nu degrees of freedom, mu chi2(nu) / nu, that
// is shape nu/2 and scale 2 mu / nu: ((g + g) mu) / nu.
struct rand_meanshape_form {
    template <class P, class G>
    auto operator()(P mu, double nu, G g) const {
        return ((g + g) * mu) / nu;
    }
};
typedef rand_dof_law<rand_meanshape_form> rand_meanshape;

// ---- Best's pass and the boost, as the runs evaluate them -------------------

// The floor every drawn gamma value passes: below 1e-15 (a power that
// underflows for a tiny shape) it becomes the smaller of a and 1e-15.
inline double rand_gamma_floor(double x, double a) {
    if (x < 1e-15 && x < a) x = a < 1e-15 ? a : 1e-15;
    return x;
}

// pow(u, inv) for the boost of a shape a <= 1 (inv = 1 / a, 0 < u < 1).
// Shape 1/2 (one degree of freedom, inv = 2) takes the square u * u, rounded
// once, wherever the C library's pow must return that very double: glibc's
// pow is within 0.54 ULP of the exact power (its authors' bound, from an
// exp within 0.509 ULP and a log within 1.3 * 2^-68), so when u * u is
// within 7/16 ULP of the exact square, every other double lies more than
// 0.54 ULP from it.  The square's rounding error comes exact from Dekker's
// product (Veltkamp's split, no fused operation).  A square that is a
// power of two (its lower neighbour half an ULP away), within 1/16 ULP of a
// midpoint (one in eight) or below 2^-900 (where the product's parts could
// underflow; the host's uniforms are 2^-53 or more) goes to pow, as does
// every other exponent and every other C library.
inline double rand_gamma_power(double u, double inv) {
#if defined(__GLIBC__)
    if (inv == 2.0) {
        const double hi = u * u;
        const double split = 134217729.0 * u;  // 2^27 + 1
        const double uh = split - (split - u), ul = u - uh;
        const double err = (((uh * uh - hi) + uh * ul) + ul * uh) + ul * ul;  // u^2 - hi, exact
        uint64_t bits;
        std::memcpy(&bits, &hi, sizeof bits);
        const uint64_t ulp_bits = (bits & 0x7ff0000000000000ull) - (uint64_t(52) << 52);
        double ulp;
        std::memcpy(&ulp, &ulp_bits, sizeof ulp);
        if (hi >= 0x1p-900 && (bits & 0x000fffffffffffffull) != 0 && std::fabs(err) < 0.4375 * ulp) return hi;
    }
#endif
    return std::pow(u, inv);
}

// One pass of Best's method for shape a = b + 1, c = 3a - 0.75 on the
// uniforms u, v: true, with the variate in *out, if it accepts.  The one
// statement of the pass: the block evaluation settles most passes without it
// and gives the rest to it.
inline bool rand_best_on(double u, double v, double b, double c, double* out) {
    const double w = (1.0 - u) * u;  // uniopen: u * (1 - u) must be > 0
    const double y = std::sqrt(c / w) * (u - 0.5);
    const double x = b + y;
    if (x < 0) return false;
    const double z = 64.0 * w * w * w * v * v;
    *out = x;
    if (1.0 - (2.0 * y * y) / x >= z) return true;
    return 2.0 * (b * std::log(x / b) - y) >= std::log(z);
}

#endif
