// studentt_draw(nu) or (nu, M, N): Student-t draws with nu degrees of freedom.
// The host's "randn" fills the result in one call; each normal z then becomes
// a t variate in place, in column-major element order:
//   nu == 1: z / g, g a further normal (Cauchy as a ratio of normals);
//   nu == 2: sqrt(2) (u - 1/2) / sqrt(u (1 - u)) of one uniform, the inverse
//            of the t(2) distribution function (z is drawn but unused);
//   else:    sqrt(nu) z / sqrt(2 G), G = rand_gamma(nu / 2), so 2 G is chi2(nu).
#include "common/pairs.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

inline double t_one(rand_stream* rs, double z) { return z / rand_gaussian(rs); }

inline double t_two(rand_stream* rs) {
    const double u = rand_uniopen(rs);  // uniopen: u - u*u must be > 0
    return ((u - 0.5) * 1.4142135623730951) / std::sqrt(u - u * u);
}

inline double t_general(rand_stream* rs, double root, double half, double z) {
    const double s = root * z;
    const double g = rand_gamma(rs, half);
    return s / std::sqrt(g + g);
}

// A scalar nu: one path for every element, its constants computed once.
void fill_scalar(rand_stream* rs, double nu, double* p, std::size_t count) {
    if (nu == 1.0) {
        rand_expect(rs, RAND_NORMAL, int64_t(count));
        for (std::size_t i = 0; i < count; ++i) p[i] = t_one(rs, p[i]);
    } else if (nu == 2.0) {
        rand_expect(rs, RAND_UNIFORM, int64_t(count));
        for (std::size_t i = 0; i < count; ++i) p[i] = t_two(rs);
    } else {
        const double root = std::sqrt(nu), half = 0.5 * nu;
        const int64_t least = rand_gamma_least(half);
        for (std::size_t i = 0; i < count; ++i) {
            rand_expect(rs, RAND_UNIFORM, least * int64_t(count - i));
            p[i] = t_general(rs, root, half, p[i]);
        }
    }
}

// What element nu takes first: "randn" for nu == 1, "rand" for every other nu,
// and the least number of values it takes (0 for gamma shapes below 1e-5 and
// NaN, which take nothing).
inline int64_t least_of(double nu, int* source) {
    *source = nu == 1.0 ? RAND_NORMAL : RAND_UNIFORM;
    return nu == 1.0 || nu == 2.0 ? 1 : rand_gamma_least(0.5 * nu);
}

// An array nu mixes "randn" (nu == 1) with "rand" (every other nu) element by
// element.  Values are fetched in blocks only within a run of consecutive
// elements that take from the same host function: before each element the
// stream is promised what the rest of the run takes at least, so the two
// functions are asked in the order of the one-value-at-a-time algorithm.
// Elements that take nothing join any run.
void fill_array(rand_stream* rs, const double* nu, double* p, std::size_t count) {
    std::size_t i = 0;
    while (i < count) {
        int source = -1, s;
        int64_t remaining = 0;
        std::size_t end = i;
        for (; end < count; ++end) {
            const int64_t k = least_of(nu[end], &s);
            if (k == 0) continue;
            if (source < 0)
                source = s;
            else if (s != source)
                break;
            remaining += k;
        }
        for (; i < end; ++i) {
            const double v = nu[i];
            if (source >= 0) rand_expect(rs, source, remaining);
            remaining -= least_of(v, &s);
            if (v == 1.0)
                p[i] = t_one(rs, p[i]);
            else if (v == 2.0)
                p[i] = t_two(rs);
            else
                p[i] = t_general(rs, std::sqrt(v), 0.5 * v, p[i]);
        }
    }
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    single_args sa;
    single_check(nlhs, nrhs, prhs, &sa);
    const bool per_element = sa.array;
    args_random_array("randn", sa.m, sa.n, plhs);
    double* p = mxGetPr(plhs[0]);
    // The host makes an empty array for negative sizes: only the elements it
    // returned are transformed.
    std::size_t count = args_count(plhs[0]);
    if (count == 0) return;  // an empty result reads no parameter

    rand_stream rs = rand_open();
    if (per_element) {
        const double* nu = mxGetPr(prhs[0]);
        fill_array(&rs, nu, p, std::min(count, args_count(prhs[0])));
    } else {
        fill_scalar(&rs, args_scalar(prhs[0]), p, count);
    }
}
