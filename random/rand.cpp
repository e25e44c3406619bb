#include "rand.h"

#include "../host/args.h"

#include <cfloat>
#include <cmath>

namespace {

// Largest block fetched in one call-back (512 KiB of doubles): large enough
// that the call-back cost vanishes, small enough to stay in cache.
const int64_t block_cap = 65536;

const char* host_name(int source) { return source == RAND_NORMAL ? "randn" : "rand"; }

}  // namespace

void rand_take_done(rand_stream* rs) {
    mxDestroyArray(rs->block);
    rs->block = nullptr;
    rs->next = rs->end = nullptr;
}

double rand_take_fetch(rand_stream* rs, int source) {
    // Values of the other host function still waiting here would mean a
    // caller promised more than it took: the stream would be out of order.
    if (rs->next != rs->end)
        args_error("internal", "Internal error: random values were fetched out of order.");
    int64_t want = 1;
    if (rs->expect_source == source && rs->expect > 1)
        want = rs->expect < block_cap ? rs->expect : block_cap;
    mxArray* out = nullptr;
    if (want == 1) {
        mexCallMATLAB(1, &out, 0, nullptr, host_name(source));
    } else {
        mxArray* size[2] = {mxCreateDoubleScalar(double(want)), mxCreateDoubleScalar(1.0)};
        mexCallMATLAB(1, &out, 2, size, host_name(source));
        mxDestroyArray(size[0]);
        mxDestroyArray(size[1]);
    }
    ++rs->callbacks;
    if (!out || !mxIsDouble(out) || mxGetNumberOfElements(out) < size_t(want))
        args_error("internal", "Internal error: the host returned too few random values.");
    const double* v = mxGetPr(out);
    rs->block = out;
    rs->source = source;
    rs->next = v;
    rs->end = v + want;
    return rand_take(rs, source);
}

int rand_int(rand_stream* rs, int n) { return int(rand_uniform(rs) * n); }

int rand_pickd(rand_stream* rs, const double* w, int n) {
    if (n <= 0) return RAND_REFUSED;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        if (w[i] < 0) return RAND_REFUSED;
        sum = w[i] + sum;
    }
    if (!(sum > 0)) return RAND_REFUSED;
    // The fall-back of the scan (reached only when u * sum rounds up to the
    // total) needs a positive weight; with a positive sum there always is one.
    double x = rand_uniform(rs) * sum - w[0];
    if (x < 0) return 0;
    for (int i = 1; i < n; ++i) {
        x = x - w[i];
        if (x < 0) return i;
    }
    for (int i = 0; i < n; ++i)
        if (w[i] > 0) return i;
    return RAND_REFUSED;
}

int rand_pickf(rand_stream* rs, const float* w, int n) {
    if (n <= 0) return RAND_REFUSED;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        if (!(w[i] > 0)) return RAND_REFUSED;
        sum = double(w[i]) + sum;
    }
    if (!(sum > 0)) return RAND_REFUSED;
    double x = rand_uniform(rs) * sum - double(w[0]);
    if (x < 0) return 0;
    for (int i = 1; i < n; ++i) {
        x = x - double(w[i]);
        if (x < 0) return i;
    }
    return 0;  // every weight is positive
}

double rand_exp(rand_stream* rs) {
    return -std::log(rand_uniopen(rs));  // uniopen: log(0) never taken
}

double rand_cauchy(rand_stream* rs) {
    return std::tan((rand_uniopen(rs) - 0.5) * 3.141592653589793);
}

// Shapes for which Best's method cannot run: NaN, +Inf, and those so large
// that c / w overflows in most passes (beyond about 7.5e306; from about
// 1.5e307 on it overflows in every pass, which is then never accepted).
// Below the bound c / w is finite for every u in [0.15, 0.85].
static bool gamma_unsupported(double a) { return !(3.0 * a - 0.75 <= DBL_MAX / 8); }

int64_t rand_gamma_least(double a) {
    if (a < 1e-5 || gamma_unsupported(a)) return 0;
    if (a <= 1.0) return 3;       // one uniform, then a pass of the shape 1 + a
    if (a < 1.00001) return 1;    // one exponential
    return 2;                     // one pass of Best's method
}

double rand_gamma(rand_stream* rs, double a) {
    if (a < 1e-5) return a;
    if (gamma_unsupported(a)) return NAN;
    double x;
    if (a <= 1.0) {
        rand_expect(rs, RAND_UNIFORM, 3);
        double u = rand_uniopen(rs);            // uniopen: pow(0, 1/a) would be 0
        double g = rand_gamma(rs, 1.0 + a);     // 1 + 1e-5 == 1.00001: always Best's method
        x = std::pow(u, 1.0 / a) * g;
    } else if (a < 1.00001) {
        x = rand_exp(rs);
    } else {
        // Best (1978), rejection from a t-like envelope with 2 degrees of freedom.
        const double b = a - 1.0, c = 3.0 * a - 0.75;
        for (;;) {
            rand_expect(rs, RAND_UNIFORM, 2);
            double u = rand_uniopen(rs);        // uniopen: u * (1 - u) must be > 0
            double v = rand_uniopen(rs);
            double w = (1.0 - u) * u;
            double y = std::sqrt(c / w) * (u - 0.5);
            x = b + y;
            if (x < 0) continue;
            double z = 64.0 * w * w * w * v * v;
            if (1.0 - (2.0 * y * y) / x >= z) break;
            if (2.0 * (b * std::log(x / b) - y) >= std::log(z)) break;
        }
    }
    if (x < 1e-15 && x < a) x = a < 1e-15 ? a : 1e-15;
    return x;
}

double rand_beta(rand_stream* rs, double a, double b) {
    if (!(a > 0) || !(b > 0)) return NAN;
    const bool fixed = a < 1e-5 && b < 1e-5;  // neither gamma draw takes a value
    const int64_t least = rand_gamma_least(a) + rand_gamma_least(b);
    for (long attempt = 0; attempt < 1000000; ++attempt) {
        rand_expect(rs, RAND_UNIFORM, least);
        double x = rand_gamma(rs, a);
        double y = rand_gamma(rs, b);
        double r = x / (y + x);
        r = (r + 1.0) - 1.0;  // IEEE: rounds r to a multiple of 2^-52
        if (r > 0 && r < 1) return r;
        if (fixed) break;
    }
    return NAN;
}
