// Student-t fills (student.h): the closed forms for one and two degrees of
// freedom, and for every other nu a run of gamma draws (gamma.h) scaled in
// blocks.
#include "student.h"

#include "gamma.h"
#include "stream.h"

#include "../simd/simd.h"

#include <cmath>

namespace {

constexpr double SQRT2 = 1.4142135623730951;

inline double t_two(double u) { return ((u - 0.5) * SQRT2) / std::sqrt(u - u * u); }

// t[j] = (root t[j]) / sqrt(g[j] + g[j]) and the closed form for nu = 2,
// t[j] = ((u[j] - 1/2) sqrt 2) / sqrt(u[j] - u[j]^2): correctly rounded
// operations, so every lane has the bits of the one-at-a-time formula.
template <class V>
SIMD_INLINE void t_scale(double* t, const double* g, std::size_t n, double root) {
    constexpr int W = simd_lanes<V>();
    std::size_t j = 0;
    for (; j + W <= n; j += W) {
        const V gj = simd_load<V>(g + j);
        simd_store(t + j, (root * simd_load<V>(t + j)) / simd_sqrt(gj + gj));
    }
    for (; j < n; ++j) t[j] = (root * t[j]) / std::sqrt(g[j] + g[j]);
}
template <class V>
SIMD_INLINE void t_closed_two(double* t, const double* u, std::size_t n) {
    constexpr int W = simd_lanes<V>();
    std::size_t j = 0;
    for (; j + W <= n; j += W) {
        const V uj = simd_load<V>(u + j);
        simd_store(t + j, ((uj - 0.5) * SQRT2) / simd_sqrt(uj - uj * uj));
    }
    for (; j < n; ++j) t[j] = t_two(u[j]);
}
SIMD_DISPATCH(void, scale_t, t_scale, (double* t, const double* g, std::size_t n, double root), (t, g, n, root))
SIMD_DISPATCH(void, closed_two, t_closed_two, (double* t, const double* u, std::size_t n), (t, u, n))

// What element nu takes first: "randn" for nu == 1, "rand" for every other nu,
// and the least number of values it takes (0 for the degrees of freedom that
// take nothing).
inline int64_t t_least(double nu, int* source) {
    *source = nu == 1.0 ? RAND_NORMAL : RAND_UNIFORM;
    if (nu == 1.0 || nu == 2.0) return 1;
    return nu > 0 ? rand_gamma_least(0.5 * nu) : 0;
}

inline double t_one_element(rand_stream* rs, double nu, double z) {
    if (!(nu > 0)) return NAN;
    if (nu == 1.0) return z / rand_gaussian(rs);
    if (nu == 2.0) return t_two(rand_uniopen(rs));  // uniopen: u - u*u must be > 0
    const double half = 0.5 * nu;
    if (rand_gamma_huge(half)) return z;
    const double s = std::sqrt(nu) * z;
    const double g = rand_gamma(rs, half);
    return s / std::sqrt(g + g);
}

void fill_one(rand_stream* rs, double nu, double* z, std::size_t n) {
    if (!(nu > 0)) {
        for (std::size_t i = 0; i < n; ++i) z[i] = NAN;
    } else if (nu == 1.0) {
        rand_expect(rs, RAND_NORMAL, int64_t(n));
        for (std::size_t i = 0; i < n; ++i) z[i] = z[i] / rand_gaussian(rs);
    } else if (nu == 2.0) {
        const closed_two_fn two = closed_two_for(simd_width());
        std::size_t done = 0;
        while (done < n) {
            rand_expect(rs, RAND_UNIFORM, int64_t(n - done));
            rand_refill(rs, RAND_UNIFORM);
            std::size_t m = std::size_t(rand_lane_pending(rs, RAND_UNIFORM));
            if (m > n - done) m = n - done;
            two(z + done, rand_lane_next(rs, RAND_UNIFORM), m);  // the host's "rand" never yields 0
            rand_consume(rs, RAND_UNIFORM, int64_t(m));
            done += m;
        }
    } else if (!rand_gamma_huge(0.5 * nu)) {
        const double root = std::sqrt(nu);
        rand_gamma_run run = rand_gamma_begin(rs, 0.5 * nu, n);
        const scale_t_fn scale = scale_t_for(simd_width());
        double g[1024];
        for (std::size_t i = 0; i < n; i += 1024) {
            const std::size_t m = n - i < 1024 ? n - i : 1024;
            rand_gamma_next(&run, g, m);
            scale(z + i, g, m, root);
        }
    }  // else the normal limit: z itself
}

void fill_each(rand_stream* rs, const double* nu, double* z, std::size_t n) {
    int s;
    if (rand_lanes::independent(rs)) {
        // Each host function keeps its own order: promise each what the
        // whole call takes from it.
        int64_t normals = 0, uniforms = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const int64_t k = t_least(nu[i], &s);
            (s == RAND_NORMAL ? normals : uniforms) += k;
        }
        rand_expect(rs, RAND_NORMAL, normals);
        for (std::size_t i = 0; i < n; ++i) {
            rand_expect(rs, RAND_UNIFORM, uniforms);
            const int64_t k = t_least(nu[i], &s);
            if (s == RAND_UNIFORM) uniforms -= k;
            z[i] = t_one_element(rs, nu[i], z[i]);
        }
        return;
    }
    // One shared stream: values are fetched in blocks only within a run of
    // consecutive elements that take from the same host function; before
    // each element the stream is promised what the rest of the run takes at
    // least, so the two functions are asked in the order of the
    // one-value-at-a-time algorithm.  Elements that take nothing join any run.
    std::size_t i = 0;
    while (i < n) {
        int source = -1;
        int64_t remaining = 0;
        std::size_t end = i;
        for (; end < n; ++end) {
            const int64_t k = t_least(nu[end], &s);
            if (k == 0) continue;
            if (source < 0)
                source = s;
            else if (s != source)
                break;
            remaining += k;
        }
        for (; i < end; ++i) {
            if (source >= 0) rand_expect(rs, source, remaining);
            remaining -= t_least(nu[i], &s);
            z[i] = t_one_element(rs, nu[i], z[i]);
        }
    }
}

}  // namespace

void rand_student::fill(rand_stream* rs, rand_param nu, double* z, std::size_t n) {
    if (nu.p)
        fill_each(rs, nu.p, z, n);
    else
        fill_one(rs, nu.s, z, n);
}
