// The gamma law (gamma.h): one draw, and runs of many draws of one call,
// fetched in blocks the draws still owed are certain to use up.
//
// Whole blocks of Best passes.  For a shape above 1 each pass of Best's
// method (1978) takes exactly two uniforms, and whether it accepts depends on
// those two alone, so a block of 2k uniforms holds k independent passes.
// They are evaluated several at a time (division, square root and products
// are correctly rounded IEEE operations, so each lane has the bits of the
// one-pass-at-a-time computation, x above all), both tests are settled
// without a division or the C library's logarithm wherever a margin makes
// the outcome certain (best_lanes), the few passes inside the margin take
// the exact tests, and the accepted passes are handed out in order.  At
// least one pass per draw still owed is certain, so fetching 2 x (draws
// owed) uniforms and evaluating no more passes than draws owed never takes
// or computes anything the plain algorithm would not.
//
// Shapes at or below 1 (the boost: one uniform u0, then passes of shape
// 1 + a) take at least three uniforms per draw, so a block of 3 x (draws
// owed) is certain; where the passes begin depends on which ones accept, so
// the pass is evaluated at every offset of the block and a sequential walk
// then visits the offsets the algorithm uses.
#include "gamma.h"

#include "exponential.h"
#include "stream.h"

#include "../simd/simd.h"

#include <cmath>
#include <cstring>

namespace {

// Passes evaluated at once: their results stay in the first-level cache.
constexpr std::size_t CHUNK = 256;

// Outcome of a pass: 0 rejected, 1 accepted, 2 unsettled (the exact tests
// decide it, one pass at a time).  The kernel selects it as the double whose
// bits are that integer and stores whole vectors of it; the walks read the
// bits as integers, so an accepted pass adds 1 to the draws made with no
// comparison.  Only selections and stores ever touch these doubles.
enum : uint64_t { REJECTED = 0, ACCEPTED = 1, UNSETTLED = 2 };
template <class V>
SIMD_INLINE V outcome(uint64_t k) {
    return simd_splat<V>(simd_from_bits<double>((long long)k));
}

// Natural logarithms of two positive normal numbers x1, x2, each to within
// 2e-12 of itself (relative): x = m 2^e with m in [sqrt(1/2), sqrt(2)),
// log m = 2 atanh(s) with s = (m - 1) / (m + 1), |s| < 0.1716, summed to
// s^13 (the rest is below 1.3e-12 of the sum); one division serves both s.
// Only ever used to settle a test whose margin dwarfs these errors.  *off
// is below 1022.5 when both are positive normal numbers (or negative ones,
// which the caller rules out), above it for zero, subnormal, infinite or NaN.
template <class V>
SIMD_INLINE void log_pair(V x1, V x2, V* l1, V* l2, V* off) {
    const auto k1 = simd_bits(x1), k2 = simd_bits(x2);
    // The unbiased exponent as a double: 2^52 + its biased bits, less
    // 2^52 + 1023; -1023 for zero and subnormals, 1024 for Inf and NaN.
    V e1 = simd_from_bits<V>(((k1 >> 52) & 0x7ffLL) | 0x4330000000000000LL) - (4503599627370496.0 + 1023.0);
    V e2 = simd_from_bits<V>(((k2 >> 52) & 0x7ffLL) | 0x4330000000000000LL) - (4503599627370496.0 + 1023.0);
    const V o1 = simd_abs(e1 - 0.5), o2 = simd_abs(e2 - 0.5);
    *off = (o1 > o2) ? o1 : o2;
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

// Best's pass for uniforms u, v in every lane: x exactly as rand_best_on
// computes it (stored with the floor max(x, 1e-15) of a shape above 1), and
// the pass's outcome wherever it is certain without a division or the C
// library's logarithm:
// - the squeeze 1 - (2y y) / x >= z, for x >= 0, has the sign of
//   (1 - z) x - 2y y unless that is within 2^-46 ((1 + |z|) |x| + 2y y) of
//   0: the roundings of either form move it by at most 4 2^-53 of that;
// - the logarithm test 2 (b log(x / b) - y) >= log(z): the roundings of
//   x / b (x times 1 / b here), of the C library's logarithms and of the
//   test's operations move its two sides by less than
//   2^-50 (b |log(x/b)| + |y| + |log z| + 1) + 2^-50 b, log_pair by less
//   than 2^-38 times the first term, so a difference beyond 2^-28 times the
//   first term plus 2^-48 b has the sign the exact test finds.  x / b or z
//   outside the normal range, which log_pair does not cover, leave it
//   unsettled.
// Everything inside a margin is UNSETTLED and gets the exact tests: a few
// passes in 10^8 for shapes up to 10, 10^-4 at 10^9 and most beyond 10^15,
// where the test's two sides nearly cancel.  Each comparison feeds one
// selection, which GCC keeps a native mask (it spells chained range tests
// out lane by lane).
//
// N vectors go through each step together: independent chains that keep
// the divider and the multipliers busy while one waits.
template <class V, int N>
SIMD_INLINE void best_lanes(const V* u, const V* v, double b, double c, double rb, double* x, uint64_t* code) {
    constexpr int W = simd_lanes<V>();
    V w[N], y[N], xx[N], z[N], a2[N], squeeze[N], l1[N], l2[N], off[N], d[N], margin[N], k[N];
#define EACH _Pragma("GCC unroll 4") for (int i = 0; i < N; ++i)
    EACH w[i] = (1.0 - u[i]) * u[i];
    EACH y[i] = simd_sqrt(c / w[i]) * (u[i] - 0.5);
    EACH xx[i] = b + y[i];
    EACH z[i] = 64.0 * w[i] * w[i] * w[i] * v[i] * v[i];
    EACH a2[i] = (2.0 * y[i]) * y[i];
    EACH squeeze[i] = (1.0 - z[i]) * xx[i] - a2[i];
    EACH log_pair(xx[i] * rb, z[i], &l1[i], &l2[i], &off[i]);
    EACH d[i] = 2.0 * (b * l1[i] - y[i]) - l2[i];
    EACH margin[i] = (b * simd_abs(l1[i]) + simd_abs(y[i]) + simd_abs(l2[i]) + 1.0) * 0x1p-28 + b * 0x1p-48;
    EACH margin[i] = (off[i] < 1022.5) ? margin[i] : simd_splat<V>(INFINITY);
    EACH k[i] = (d[i] > margin[i]) ? outcome<V>(ACCEPTED) : outcome<V>(UNSETTLED);
    EACH k[i] = (d[i] < -margin[i]) ? outcome<V>(REJECTED) : k[i];
    EACH a2[i] = ((1.0 + simd_abs(z[i])) * simd_abs(xx[i]) + a2[i]) * 0x1p-46;  // the squeeze's margin
    EACH k[i] = (squeeze[i] < -a2[i]) ? k[i] : outcome<V>(UNSETTLED);
    EACH k[i] = (squeeze[i] > a2[i]) ? outcome<V>(ACCEPTED) : k[i];
    EACH k[i] = (xx[i] < 0) ? outcome<V>(REJECTED) : k[i];
    // The floor of an accepted x (never negative) for a shape above 1.
    EACH xx[i] = (xx[i] < 1e-15) ? simd_splat<V>(1e-15) : xx[i];
    EACH simd_store(x + i * W, xx[i]);
    EACH std::memcpy(code + i * W, &k[i], sizeof k[i]);
#undef EACH
}

// Vectors of passes evaluated together: two of them, or one double.
template <class V>
constexpr int group() {
    return simd_lanes<V>() > 1 ? 2 : 1;
}

// Passes j = 0 .. n-1 on (p[S j], p[S j + 1]): S = 2 the pairs of a block of
// whole passes, S = 1 a pass at every offset (p[n] is then read).
template <class V, int S>
SIMD_INLINE void best_run(const double* p, std::size_t n, double b, double c, double* x, uint64_t* code) {
    const double rb = 1.0 / b;
    constexpr int W = simd_lanes<V>(), N = group<V>();
    std::size_t j = 0;
    for (; j + N * W <= n; j += N * W) {
        V u[N], v[N];
        for (int g = 0; g < N; ++g) {
            const double* q = p + S * (j + g * W);
            if constexpr (S == 1) {
                u[g] = simd_load<V>(q);
                v[g] = simd_load<V>(q + 1);
            } else {
                double us[W], vs[W];
                for (int i = 0; i < W; ++i) {
                    us[i] = q[S * i];
                    vs[i] = q[S * i + 1];
                }
                u[g] = simd_load<V>(us);
                v[g] = simd_load<V>(vs);
            }
        }
        best_lanes<V, N>(u, v, b, c, rb, x + j, code + j);
    }
    for (; j < n; ++j) best_lanes<double, 1>(p + S * j, p + S * j + 1, b, c, rb, x + j, code + j);
}

template <class V>
SIMD_INLINE void best_pairs(const double* uv, std::size_t n, double b, double c, double* x, uint64_t* code) {
    best_run<V, 2>(uv, n, b, c, x, code);
}

template <class V>
SIMD_INLINE void best_offsets(const double* p, std::size_t n, double b, double c, double* x, uint64_t* code) {
    best_run<V, 1>(p, n, b, c, x, code);
}

SIMD_DISPATCH(void, eval_pairs, best_pairs,
              (const double* uv, std::size_t n, double b, double c, double* x, uint64_t* code),
              (uv, n, b, c, x, code))
SIMD_DISPATCH(void, eval_offsets, best_offsets,
              (const double* p, std::size_t n, double b, double c, double* x, uint64_t* code),
              (p, n, b, c, x, code))

// Best's pass taking its two uniforms from the stream one value at a time.
bool best_pass(rand_stream* rs, double b, double c, double* out) {
    const double u = rand_uniopen(rs);
    const double v = rand_uniopen(rs);
    return rand_best_on(u, v, b, c, out);
}

// An UNSETTLED pass on uniforms u, v (its x is never negative there): 0 or 1.
inline uint64_t exact_pass(double u, double v, double b, double c) {
    double x;
    return rand_best_on(u, v, b, c, &x) ? ACCEPTED : REJECTED;
}

struct passes {
    double x[CHUNK];
    uint64_t code[CHUNK];
};

// The lowest set bit at index `from` or above in the CHUNK / 2 bits of
// `words`, or NONE.
constexpr std::size_t NONE = ~std::size_t(0);
inline std::size_t first_accepted(const uint64_t* words, std::size_t from) {
    static_assert(CHUNK == 256, "two words per parity");
    if (from < 64) {
        const uint64_t m = words[0] >> from;
        if (m) return from + std::size_t(__builtin_ctzll(m));
        from = 64;
    }
    if (from < 128) {
        const uint64_t m = words[1] >> (from - 64);
        if (m) return from + std::size_t(__builtin_ctzll(m));
    }
    return NONE;
}

// Shape a >= 1.00001: k draws into out; `owed` draws of this shape are not
// yet made, these k among them, and after them the call takes at least
// `later` more uniforms.
void best_fill(rand_stream* rs, double a, double* out, std::size_t k, std::size_t owed, int64_t later,
               eval_pairs_fn eval) {
    const double b = a - 1.0, c = 3.0 * a - 0.75;
    passes ps;
    std::size_t done = 0;
    int64_t run = 0;  // passes since the last acceptance
    while (done < k) {
        rand_expect(rs, RAND_UNIFORM, 2 * int64_t(owed - done) + later);
        rand_refill(rs, RAND_UNIFORM);
        const int64_t avail = rand_lane_pending(rs, RAND_UNIFORM);
        if (avail < 2) {  // a pass across two blocks
            double g;
            if (best_pass(rs, b, c, &g)) {
                out[done++] = rand_gamma_floor(g, a);
                run = 0;
            } else {
                rand_rejections(&run, 1);
            }
            continue;
        }
        // Each pass accepts at most one draw: all n passes are taken.
        std::size_t n = std::size_t(avail / 2);
        if (n > CHUNK) n = CHUNK;
        if (n > k - done) n = k - done;
        const double* uv = rand_lane_next(rs, RAND_UNIFORM);
        eval(uv, n, b, c, ps.x, ps.code);
        // done + j < k at every j, so out[done] is always inside; the x the
        // kernel stores is already floored.
        const std::size_t before = done;
        for (std::size_t j = 0; j < n; ++j) {
            uint64_t s = ps.code[j];
            if (__builtin_expect(s == UNSETTLED, 0)) s = exact_pass(uv[2 * j], uv[2 * j + 1], b, c);
            out[done] = ps.x[j];
            done += s;
        }
        rand_consume(rs, RAND_UNIFORM, 2 * int64_t(n));
        if (done > before)
            run = 0;
        else
            rand_rejections(&run, int64_t(n));
    }
}

// Shape 1e-5 <= a <= 1: u0, then passes of shape 1 + a until one accepts;
// the draw is pow(u0, 1 / a) times the accepted x.
void boost_fill(rand_stream* rs, double a, double* out, std::size_t k, std::size_t owed, int64_t later,
                eval_offsets_fn eval) {
    const double a1 = 1.0 + a, b = a1 - 1.0, c = 3.0 * a1 - 0.75;
    const double inv = 1.0 / a;
    passes ps;
    double u0s[CHUNK];  // u0 of the draws of one chunk (at most one per two offsets)
    std::size_t done = 0;
    bool have_u0 = false;  // u0 of the draw in progress is taken
    double u0 = 0.0;
    int64_t run = 0;  // passes since the last acceptance
    while (done < k) {
        const int64_t rest = 3 * int64_t(owed - done) + later;
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
            if (best_pass(rs, b, c, &g)) {
                out[done++] = rand_gamma_floor(rand_gamma_power(u0, inv) * rand_gamma_floor(g, a1), a);
                have_u0 = false;
                run = 0;
            } else {
                rand_rejections(&run, 1);
            }
            continue;
        }
        std::size_t n = std::size_t(avail - 1);
        if (n > CHUNK) n = CHUNK;
        const double* p = rand_lane_next(rs, RAND_UNIFORM);
        eval(p, n, b, c, ps.x, ps.code);
        // Accepted passes as bits, one word per 64 offsets of one parity:
        // the first accepted pass at pos, pos + 2, ... is the lowest set bit
        // from pos / 2 on, found without a branch per pass.  UNSETTLED
        // passes (a few in 10^8) are settled here, visited or not.
        for (std::size_t q = n; q < CHUNK; ++q) ps.code[q] = REJECTED;
        uint64_t acc[2][CHUNK / 128];
        for (std::size_t w = 0; w < CHUNK / 128; ++w) {
            const uint64_t* code = ps.code + 128 * w;
            uint64_t even = 0, odd = 0, unsettled = 0;
            for (std::size_t i = 0; i < 64; ++i) {
                even |= code[2 * i] << i;  // an outcome of 0 or 1 is the bit
                odd |= code[2 * i + 1] << i;
                unsettled |= code[2 * i] | code[2 * i + 1];
            }
            if (unsettled & UNSETTLED) {
                even = odd = 0;
                for (std::size_t i = 0; i < 64; ++i) {
                    const std::size_t q = 128 * w + 2 * i;
                    uint64_t e = code[2 * i], o = code[2 * i + 1];
                    if (e == UNSETTLED) e = exact_pass(p[q], p[q + 1], b, c);
                    if (o == UNSETTLED) o = exact_pass(p[q + 1], p[q + 2], b, c);
                    even |= e << i;
                    odd |= o << i;
                }
            }
            acc[0][w] = even;
            acc[1][w] = odd;
        }
        const std::size_t first = done;
        std::size_t pos = 0;
        while (done < k) {
            if (!have_u0) {
                if (pos >= n) break;
                u0 = p[pos++];
                have_u0 = true;
            }
            if (pos >= n) break;
            const std::size_t i = first_accepted(acc[pos & 1], pos >> 1);
            if (i == NONE) {  // every pass of this parity left in the chunk rejects
                pos += (n - pos + 1) / 2 * 2;
                break;
            }
            const std::size_t q = 2 * i + (pos & 1);  // the accepted pass
            u0s[done - first] = u0;
            out[done++] = ps.x[q];
            pos = q + 2;
            have_u0 = false;
        }
        rand_consume(rs, RAND_UNIFORM, int64_t(pos));
        if (done > first)
            run = 0;
        else
            rand_rejections(&run, int64_t(pos / 2));
        // The powers, independent of one another, in one loop.
        for (std::size_t i = first; i < done; ++i)
            out[i] = rand_gamma_floor(rand_gamma_power(u0s[i - first], inv) * rand_gamma_floor(out[i], a1), a);
    }
}

// Shape 1 < a < 1.00001: one exponential -log(u) per draw.
void exp_fill(rand_stream* rs, double a, double* out, std::size_t k, std::size_t owed, int64_t later) {
    std::size_t done = 0;
    while (done < k) {
        rand_expect(rs, RAND_UNIFORM, int64_t(owed - done) + later);
        rand_refill(rs, RAND_UNIFORM);
        std::size_t n = std::size_t(rand_lane_pending(rs, RAND_UNIFORM));
        if (n > k - done) n = k - done;
        const double* u = rand_lane_next(rs, RAND_UNIFORM);
        for (std::size_t j = 0; j < n; ++j) out[done + j] = rand_gamma_floor(-std::log(u[j]), a);
        rand_consume(rs, RAND_UNIFORM, int64_t(n));
        done += n;
    }
}

// k draws of shape a, the blocks they fetch sized for `owed` draws of it
// and `later` uniforms after them.
void one_shape(rand_stream* rs, double a, double* out, std::size_t k, std::size_t owed, int64_t later) {
    if (!(a >= 1e-5) || rand_gamma_huge(a)) {
        for (std::size_t i = 0; i < k; ++i) out[i] = rand_gamma(rs, a);  // takes nothing
    } else if (a <= 1.0) {
        boost_fill(rs, a, out, k, owed, later, eval_offsets_for(simd_width()));
    } else if (a < 1.00001) {
        exp_fill(rs, a, out, k, owed, later);
    } else {
        best_fill(rs, a, out, k, owed, later, eval_pairs_for(simd_width()));
    }
}

}  // namespace

int64_t rand_gamma_least(double a) {
    if (!(a >= 1e-5) || rand_gamma_huge(a)) return 0;
    if (a <= 1.0) return 3;       // one uniform, then a pass of the shape 1 + a
    if (a < 1.00001) return 1;    // one exponential
    return 2;                     // one pass of Best's method
}

double rand_gamma(rand_stream* rs, double a) {
    if (!(a >= 1e-5)) return a;  // NaN too
    if (rand_gamma_huge(a)) return a;
    double x;
    if (a <= 1.0) {
        rand_expect(rs, RAND_UNIFORM, 3);
        double u = rand_uniopen(rs);            // uniopen: pow(0, 1/a) would be 0
        double g = rand_gamma(rs, 1.0 + a);     // 1 + 1e-5 == 1.00001: always Best's method
        x = rand_gamma_power(u, 1.0 / a) * g;
    } else if (a < 1.00001) {
        x = rand_exp(rs);
    } else {
        // Best (1978), rejection from a t-like envelope with 2 degrees of freedom.
        const double b = a - 1.0, c = 3.0 * a - 0.75;
        int64_t run = 0;
        do rand_expect(rs, RAND_UNIFORM, 2);
        while (!best_pass(rs, b, c, &x) && (rand_rejections(&run, 1), true));
    }
    return rand_gamma_floor(x, a);
}

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
    if (!run->p) {
        one_shape(rs, run->a, out, k, owed, 0);
        run->done += k;
        return;
    }
    // Per-draw shapes, one draw at a time; a stretch of at least 16 equal
    // parameters (an array of one value, say) is a run of one shape.
    const double* p = run->p + run->done;
    std::size_t i = 0;
    while (i < k) {
        const double a = run->factor * p[i];
        std::size_t same = 1;
        while (i + same < k && p[i + same] == p[i]) ++same;
        if (same >= 16) {
            run->least -= rand_gamma_least(a) * int64_t(same);
            one_shape(rs, a, out + i, same, same, run->least);
            i += same;
            continue;
        }
        rand_expect(rs, RAND_UNIFORM, run->least);
        run->least -= rand_gamma_least(a);
        out[i++] = rand_gamma(rs, a);
    }
    run->done += k;
}
