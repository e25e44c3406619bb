// Runs of gamma draws and Student-t fills: many draws from one call, fetched
// in blocks the draws still owed are certain to use up.
//
// Whole blocks of Best passes.  For a shape above 1 each pass of Best's
// method (1978) takes exactly two uniforms, and whether it accepts depends on
// those two alone, so a block of 2k uniforms holds k independent passes.
// They are evaluated several at a time (division, square root and products
// are correctly rounded IEEE operations, so each lane has the bits of the
// one-pass-at-a-time computation), the C library's logarithm is taken only
// for the passes the squeeze does not settle, and the accepted passes are
// handed out in order.  At least one pass per draw still owed is certain, so
// fetching 2 x (draws owed) uniforms and evaluating no more passes than
// draws owed never takes or computes anything the plain algorithm would not.
//
// Shapes at or below 1 (the boost: one uniform u0, then passes of shape
// 1 + a) take at least three uniforms per draw, so a block of 3 x (draws
// owed) is certain; where the passes begin depends on which ones accept, so
// the pass is evaluated at every offset of the block and a sequential walk
// then visits the offsets the algorithm uses, taking the logarithm test
// only there.
#include "stream.h"

#include "../simd/simd.h"

#include <cmath>

namespace {

// Passes evaluated at once: their results stay in the first-level cache.
constexpr std::size_t CHUNK = 256;

// Outcome of a pass, as a double so that whole vectors of it are stored.
// UNSETTLED passes get the exact tests one at a time.
constexpr double REJECTED = 0.0, ACCEPTED = 1.0, UNSETTLED = 2.0;

// Natural logarithms of two positive normal numbers x1, x2, each to within
// 1e-12 of itself (relative): x = m 2^e with m in [sqrt(1/2), sqrt(2)),
// log m = 2 atanh(s) with s = (m - 1) / (m + 1), |s| < 0.1716, summed to
// s^13 (the rest is below 2^-40 of the sum); one division serves both s.
// Only ever used to settle a test whose margin dwarfs these errors.
template <class V>
SIMD_INLINE void log_pair(V x1, V x2, V* l1, V* l2) {
    const auto k1 = simd_bits(x1), k2 = simd_bits(x2);
    // The biased exponent as a double: 2^52 + its bits, less 2^52 + 1023.
    V e1 = simd_from_bits<V>((k1 >> 52) | 0x4330000000000000LL) - (4503599627370496.0 + 1023.0);
    V e2 = simd_from_bits<V>((k2 >> 52) | 0x4330000000000000LL) - (4503599627370496.0 + 1023.0);
    const V f1 = simd_from_bits<V>((k1 & 0x000fffffffffffffLL) | 0x3ff0000000000000LL);  // in [1, 2)
    const V f2 = simd_from_bits<V>((k2 & 0x000fffffffffffffLL) | 0x3ff0000000000000LL);
    const V m1 = (f1 > 1.4142135623730951) ? f1 * 0.5 : f1;
    const V m2 = (f2 > 1.4142135623730951) ? f2 * 0.5 : f2;
    e1 = (f1 > 1.4142135623730951) ? e1 + 1.0 : e1;
    e2 = (f2 > 1.4142135623730951) ? e2 + 1.0 : e2;
    const V r = 1.0 / ((m1 + 1.0) * (m2 + 1.0));
    const V s1 = ((m1 - 1.0) * (m2 + 1.0)) * r, s2 = ((m2 - 1.0) * (m1 + 1.0)) * r;
    const V t1 = s1 * s1, t2 = s2 * s2;
    V p1 = t1 * (2.0 / 13) + 2.0 / 11, p2 = t2 * (2.0 / 13) + 2.0 / 11;
    p1 = p1 * t1 + 2.0 / 9;
    p2 = p2 * t2 + 2.0 / 9;
    p1 = p1 * t1 + 2.0 / 7;
    p2 = p2 * t2 + 2.0 / 7;
    p1 = p1 * t1 + 2.0 / 5;
    p2 = p2 * t2 + 2.0 / 5;
    p1 = p1 * t1 + 2.0 / 3;
    p2 = p2 * t2 + 2.0 / 3;
    p1 = p1 * t1 + 2.0;
    p2 = p2 * t2 + 2.0;
    *l1 = e1 * 0.6931471805599453 + s1 * p1;
    *l2 = e2 * 0.6931471805599453 + s2 * p2;
}

// Positive for a positive normal x, 0 for anything else (zero, subnormal,
// infinite, NaN, negative), from its bits alone: e (2047 - e) of the biased
// exponent e, with x's sign, clamped at 0.  (Four comparisons would do, but
// GCC spells such chained range tests out lane by lane.)
template <class V>
SIMD_INLINE V normal_weight(V x) {
    const auto k = simd_bits(x);
    const V e = simd_from_bits<V>(((k >> 52) & 0x7ffLL) | 0x4330000000000000LL) - 4503599627370496.0;
    const V f = e * (2047.0 - e);
    const V s = simd_from_bits<V>(simd_bits(f) | (k & (long long)0x8000000000000000ULL));
    return (s + simd_abs(s)) * 0.5;
}

// Best's pass for uniforms u, v in every lane: x, y and z exactly as
// rand_best_pass computes them, and the pass's outcome wherever it is
// certain without a division or the C library's logarithm:
// - the squeeze 1 - (2y y) / x >= z, for x >= 0, has the sign of
//   (1 - z) x - 2y y unless that is within 2^-46 (|x| + 2y y) of 0 (the
//   roundings of either form move it by a few 2^-53 of that);
// - the logarithm test 2 (b log(x / b) - y) >= log(z): the C library's
//   logarithms (within a few ulps) and the roundings of the test move its
//   two sides by less than 2^-50 (b |log(x/b)| + |y| + |log z| + 1),
//   log_pair by less than 2^-38 times that, so a difference beyond 2^-30
//   times it has the sign the exact test finds (x / b is taken as x times
//   1 / b: a few ulps more).  x / b or z outside the normal range, which
//   log_pair does not cover, leave it unsettled.
// Everything inside a margin is UNSETTLED (about one pass in 10^8).  Each
// comparison feeds one selection, which GCC keeps a native mask.
template <class V>
SIMD_INLINE void best_lanes(V u, V v, double b, double c, double rb, double* x, double* y, double* z,
                            double* code) {
    const V w = (1.0 - u) * u;
    const V yy = simd_sqrt(c / w) * (u - 0.5);
    const V xx = b + yy;
    const V zz = 64.0 * w * w * w * v * v;
    const V a2 = (2.0 * yy) * yy;
    const V squeeze = (1.0 - zz) * xx - a2;
    const V squeeze_margin = (simd_abs(xx) + a2) * 0x1p-46;
    const V xb = xx * rb;
    V l1, l2;
    log_pair(xb, zz, &l1, &l2);
    const V d = 2.0 * (b * l1 - yy) - l2;
    V margin = (b * simd_abs(l1) + simd_abs(yy) + simd_abs(l2) + 1.0) * 0x1p-30;
    margin = (normal_weight(xb) * normal_weight(zz) > 0) ? margin : simd_splat<V>(INFINITY);
    V k = (d > margin) ? simd_splat<V>(ACCEPTED) : simd_splat<V>(UNSETTLED);
    k = (d < -margin) ? simd_splat<V>(REJECTED) : k;
    k = (squeeze < -squeeze_margin) ? k : simd_splat<V>(UNSETTLED);
    k = (squeeze > squeeze_margin) ? simd_splat<V>(ACCEPTED) : k;
    k = (xx < 0) ? simd_splat<V>(REJECTED) : k;
    simd_store(x, xx);
    simd_store(y, yy);
    simd_store(z, zz);
    simd_store(code, k);
}

// Passes j = 0 .. n-1 on the pairs (uv[2j], uv[2j + 1]).
template <class V>
SIMD_INLINE void best_pairs(const double* uv, std::size_t n, double b, double c, double* x, double* y, double* z,
                            double* code) {
    const double rb = 1.0 / b;
    constexpr int W = simd_lanes<V>();
    std::size_t j = 0;
    for (; j + W <= n; j += W) {
        double u[W], v[W];
        for (int i = 0; i < W; ++i) {
            u[i] = uv[2 * (j + i)];
            v[i] = uv[2 * (j + i) + 1];
        }
        best_lanes(simd_load<V>(u), simd_load<V>(v), b, c, rb, x + j, y + j, z + j, code + j);
    }
    for (; j < n; ++j) best_lanes<double>(uv[2 * j], uv[2 * j + 1], b, c, rb, x + j, y + j, z + j, code + j);
}

// Passes at every offset j = 0 .. n-1 on (p[j], p[j + 1]); p[n] is read.
template <class V>
SIMD_INLINE void best_offsets(const double* p, std::size_t n, double b, double c, double* x, double* y, double* z,
                              double* code) {
    const double rb = 1.0 / b;
    constexpr int W = simd_lanes<V>();
    std::size_t j = 0;
    for (; j + W <= n; j += W)
        best_lanes(simd_load<V>(p + j), simd_load<V>(p + j + 1), b, c, rb, x + j, y + j, z + j, code + j);
    for (; j < n; ++j) best_lanes<double>(p[j], p[j + 1], b, c, rb, x + j, y + j, z + j, code + j);
}

SIMD_DISPATCH(void, eval_pairs, best_pairs,
              (const double* uv, std::size_t n, double b, double c, double* x, double* y, double* z, double* code),
              (uv, n, b, c, x, y, z, code))
SIMD_DISPATCH(void, eval_offsets, best_offsets,
              (const double* p, std::size_t n, double b, double c, double* x, double* y, double* z, double* code),
              (p, n, b, c, x, y, z, code))

// Best's two tests, exactly as rand_best_pass makes them, for x >= 0.
inline bool exact_test(double b, double x, double y, double z) {
    if (1.0 - (2.0 * y * y) / x >= z) return true;
    return 2.0 * (b * std::log(x / b) - y) >= std::log(z);
}

struct passes {
    double x[CHUNK], y[CHUNK], z[CHUNK], code[CHUNK];
};

// Shape a >= 1.00001: k draws into out; `owed` draws of the run are not yet
// made, these k among them.
void best_fill(rand_stream* rs, double a, double* out, std::size_t k, std::size_t owed, eval_pairs_fn eval) {
    const double b = a - 1.0, c = 3.0 * a - 0.75;
    passes ps;
    std::size_t done = 0;
    while (done < k) {
        rand_expect(rs, RAND_UNIFORM, 2 * int64_t(owed - done));
        rand_refill(rs, RAND_UNIFORM);
        const int64_t avail = rand_lane_pending(rs, RAND_UNIFORM);
        if (avail < 2) {  // a pass across two blocks
            double g;
            if (rand_best_pass(rs, b, c, &g)) out[done++] = rand_gamma_floor(g, a);
            continue;
        }
        // Each pass accepts at most one draw: all n passes are taken.
        std::size_t n = std::size_t(avail / 2);
        if (n > CHUNK) n = CHUNK;
        if (n > k - done) n = k - done;
        const double* uv = rs->lane[RAND_UNIFORM].next;
        eval(uv, n, b, c, ps.x, ps.y, ps.z, ps.code);
        for (std::size_t j = 0; j < n; ++j)
            if (ps.code[j] == UNSETTLED) ps.code[j] = exact_test(b, ps.x[j], ps.y[j], ps.z[j]) ? ACCEPTED : REJECTED;
        // done + j < k at every j, so out[done] is always inside.
        const std::size_t first = done;
        for (std::size_t j = 0; j < n; ++j) {
            out[done] = ps.x[j];
            done += ps.code[j] == ACCEPTED;
        }
        for (std::size_t j = first; j < done; ++j) out[j] = rand_gamma_floor(out[j], a);
        rand_consume(rs, RAND_UNIFORM, 2 * int64_t(n));
    }
}

// Shape 1e-5 <= a <= 1: u0, then passes of shape 1 + a until one accepts;
// the draw is pow(u0, 1 / a) times the accepted x.
void boost_fill(rand_stream* rs, double a, double* out, std::size_t k, std::size_t owed, eval_offsets_fn eval) {
    const double a1 = 1.0 + a, b = a1 - 1.0, c = 3.0 * a1 - 0.75;
    const double inv = 1.0 / a;
    passes ps;
    std::size_t done = 0;
    bool have_u0 = false;  // u0 of the draw in progress is taken
    double u0 = 0.0;
    while (done < k) {
        const int64_t rest = 3 * int64_t(owed - done);
        rand_expect(rs, RAND_UNIFORM, have_u0 ? rest - 1 : rest);
        rand_refill(rs, RAND_UNIFORM);
        const int64_t avail = rand_lane_pending(rs, RAND_UNIFORM);
        if (!have_u0) {
            u0 = rand_uniopen(rs);  // uniopen: pow(0, 1/a) would be 0
            have_u0 = true;
            continue;
        }
        if (avail < 2) {  // a pass across two blocks
            double g;
            if (rand_best_pass(rs, b, c, &g)) {
                out[done++] = rand_gamma_floor(std::pow(u0, inv) * rand_gamma_floor(g, a1), a);
                have_u0 = false;
            }
            continue;
        }
        std::size_t n = std::size_t(avail - 1);
        if (n > CHUNK) n = CHUNK;
        const double* p = rs->lane[RAND_UNIFORM].next;
        eval(p, n, b, c, ps.x, ps.y, ps.z, ps.code);
        std::size_t pos = 0;
        while (pos < n && done < k) {
            if (!have_u0) {
                u0 = p[pos++];
                have_u0 = true;
                continue;
            }
            const double s = ps.code[pos];
            if (s == ACCEPTED || (s == UNSETTLED && exact_test(b, ps.x[pos], ps.y[pos], ps.z[pos]))) {
                out[done++] = rand_gamma_floor(std::pow(u0, inv) * rand_gamma_floor(ps.x[pos], a1), a);
                have_u0 = false;
            }
            pos += 2;
        }
        rand_consume(rs, RAND_UNIFORM, int64_t(pos));
    }
}

// Shape 1 < a < 1.00001: one exponential -log(u) per draw.
void exp_fill(rand_stream* rs, double a, double* out, std::size_t k, std::size_t owed) {
    std::size_t done = 0;
    while (done < k) {
        rand_expect(rs, RAND_UNIFORM, int64_t(owed - done));
        rand_refill(rs, RAND_UNIFORM);
        std::size_t n = std::size_t(rand_lane_pending(rs, RAND_UNIFORM));
        if (n > k - done) n = k - done;
        const double* u = rs->lane[RAND_UNIFORM].next;
        for (std::size_t j = 0; j < n; ++j) out[done + j] = rand_gamma_floor(-std::log(u[j]), a);
        rand_consume(rs, RAND_UNIFORM, int64_t(n));
        done += n;
    }
}

}  // namespace

rand_gamma_run rand_gamma_begin(rand_stream* rs, double a, std::size_t count) {
    return rand_gamma_run{rs, a, nullptr, 0.0, count, 0, 0};
}

rand_gamma_run rand_gamma_begin_each(rand_stream* rs, const double* p, double factor, std::size_t count) {
    int64_t least = 0;
    for (std::size_t i = 0; i < count; ++i) least += rand_gamma_least(factor * p[i]);
    return rand_gamma_run{rs, 0.0, p, factor, count, 0, least};
}

void rand_gamma_next(rand_gamma_run* run, double* out, std::size_t k) {
    const std::size_t owed = run->count - run->done;
    if (k > owed) k = owed;
    rand_stream* rs = run->rs;
    if (run->p) {
        const double* p = run->p + run->done;
        for (std::size_t i = 0; i < k; ++i) {
            const double a = run->factor * p[i];
            rand_expect(rs, RAND_UNIFORM, run->least);
            run->least -= rand_gamma_least(a);
            out[i] = rand_gamma(rs, a);
        }
    } else {
        const double a = run->a;
        if (!(a >= 1e-5) || rand_gamma_huge(a)) {
            for (std::size_t i = 0; i < k; ++i) out[i] = rand_gamma(rs, a);  // takes nothing
        } else if (a <= 1.0) {
            boost_fill(rs, a, out, k, owed, eval_offsets_for(simd_width()));
        } else if (a < 1.00001) {
            exp_fill(rs, a, out, k, owed);
        } else {
            best_fill(rs, a, out, k, owed, eval_pairs_for(simd_width()));
        }
    }
    run->done += k;
}

// ---- Student t ----------------------------------------------------------------

namespace {

constexpr double SQRT2 = 1.4142135623730951;

inline double t_two(double u) { return ((u - 0.5) * SQRT2) / std::sqrt(u - u * u); }

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

}  // namespace

void rand_student_fill(rand_stream* rs, double nu, double* z, std::size_t n) {
    if (!(nu > 0)) {
        for (std::size_t i = 0; i < n; ++i) z[i] = NAN;
    } else if (nu == 1.0) {
        rand_expect(rs, RAND_NORMAL, int64_t(n));
        for (std::size_t i = 0; i < n; ++i) z[i] = z[i] / rand_gaussian(rs);
    } else if (nu == 2.0) {
        std::size_t done = 0;
        while (done < n) {
            rand_expect(rs, RAND_UNIFORM, int64_t(n - done));
            rand_refill(rs, RAND_UNIFORM);
            std::size_t m = std::size_t(rand_lane_pending(rs, RAND_UNIFORM));
            if (m > n - done) m = n - done;
            const double* u = rs->lane[RAND_UNIFORM].next;
            double* t = z + done;
            for (std::size_t j = 0; j < m; ++j) t[j] = t_two(u[j]);
            rand_consume(rs, RAND_UNIFORM, int64_t(m));
            done += m;
        }
    } else if (!rand_gamma_huge(0.5 * nu)) {
        const double root = std::sqrt(nu);
        rand_gamma_run run = rand_gamma_begin(rs, 0.5 * nu, n);
        double g[1024];
        for (std::size_t i = 0; i < n; i += 1024) {
            const std::size_t m = n - i < 1024 ? n - i : 1024;
            rand_gamma_next(&run, g, m);
            double* t = z + i;
            for (std::size_t j = 0; j < m; ++j) t[j] = (root * t[j]) / std::sqrt(g[j] + g[j]);
        }
    }  // else the normal limit: z itself
}

void rand_student_fill_each(rand_stream* rs, const double* nu, double* z, std::size_t n) {
    int s;
    if (rs->independent) {
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
