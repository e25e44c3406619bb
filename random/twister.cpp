// The host's generators over its saved state (twister.h), several values at
// a time.
//
// Where the lanes go.  The twister's regeneration of its 624 words is a
// recurrence at distance 397 and 227 (word i from words i, i + 1 and
// i + 397, the last 397 from words already renewed 227 back), so up to 227
// consecutive words are independent and a vector of 4, 8 or 16 words is
// one step of the plain loop per word.  Tempering is per word.  A vector of
// L doubles then takes 2L consecutive tempered words, one pair per value,
// with integer operations and exact conversions only (every integer below
// 2^53 is a double), so each lane has the plain algorithm's bits.
//
// Exact consumption.  A value takes more than its two words only when the
// uniform pair is zero or the ziggurat's first attempt fails its fast test
// (1.5% of draws): such a lane ends the vector step, the lanes before it
// are kept, and its value is drawn the plain way, word by word, from its
// own first word.  Near the end of the 624 words, and for the last values
// of a call, values are drawn the plain way too, so the words are
// regenerated exactly when the plain algorithm would, on the first word
// drawn past the end, never before: the state handed back may sit anywhere
// in a block.
#include "twister.h"

#include "../simd/simd.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr int MT_N = 624, MT_M = 397;
constexpr uint32_t MATRIX_A = 0x9908b0dfu, UMASK = 0x80000000u, LMASK = 0x7fffffffu;

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "a 64-bit lane of two words holds the first word in its low half");

// One word of the recurrence from words i, i + 1 and i + M (mod N); the
// sign-mask form of "v odd ? MATRIX_A : 0" so that it runs on vectors too.
template <class W>
SIMD_INLINE W twist(W u, W v, W m) {
    return m ^ (((u & UMASK) | (v & LMASK)) >> 1) ^ ((-(v & 1u)) & MATRIX_A);
}

template <class W>
SIMD_INLINE W temper(W y) {
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    return y ^ (y >> 18);
}

// The 624 words renewed, as the plain loop renews them, vectors of W at a
// time: in the first stretch (words 0 .. 226) a vector reads words up to
// i + W's lanes, none yet renewed; in the second (227 .. 622) it reads
// words 227 back, all renewed.  Word 623 wraps round to the new word 0.
template <class W>
SIMD_INLINE void regenerate(uint32_t* s) {
    constexpr int n = int(sizeof(W) / sizeof(uint32_t));
    static_assert(n <= MT_N - MT_M, "a vector must not read a word it renews");
    int i = 0;
    for (; i + n <= MT_N - MT_M; i += n)
        simd_store(s + i, twist(simd_load<W>(s + i), simd_load<W>(s + i + 1), simd_load<W>(s + i + MT_M)));
    for (; i < MT_N - MT_M; ++i) s[i] = twist(s[i], s[i + 1], s[i + MT_M]);
    for (; i + n <= MT_N - 1; i += n)
        simd_store(s + i,
                    twist(simd_load<W>(s + i), simd_load<W>(s + i + 1), simd_load<W>(s + i + MT_M - MT_N)));
    for (; i < MT_N - 1; ++i) s[i] = twist(s[i], s[i + 1], s[i + MT_M - MT_N]);
    s[MT_N - 1] = twist(s[MT_N - 1], s[0], s[MT_M - 1]);
}

// Words drawn one at a time; pos is the next word's index (625 - left).
template <class V>
struct source {
    uint32_t* s;
    int pos;
    SIMD_INLINE uint32_t next() {
        if (pos == MT_N) {
            regenerate<typename simd_ints<V>::words>(s);
            pos = 0;
        }
        return temper(s[pos++]);
    }
};

// One uniform the plain way (the host's randu53).
template <class V>
SIMD_INLINE double uniform_one(source<V>* src) {
    int32_t a, b;
    do {
        a = int32_t(src->next() >> 5);
        b = int32_t(src->next() >> 6);
    } while (a == 0 && b == 0);
    return (a * 67108864.0 + b) * (1.0 / 9007199254740992.0);
}

constexpr double ZIGGURAT_NOR_R = 3.6541528853610088;
constexpr double ZIGGURAT_NOR_INV_R = 0.27366123732975828;
constexpr double NOR_SECTION_AREA = 0.00492867323399;
constexpr double NMANTISSA = 9007199254740992.0;

// The ziggurat's tables: level i's bound k[i] on the 53-bit magnitude, its
// width w[i] (value = magnitude w[i]) and the density f[i] at its edge.
struct twister_ziggurat {
    uint64_t k[256];
    double w[256];
    double f[256];
};

// The host's create_ziggurat_tables (normal part): the same expressions in
// the same order, with the C library's exp, log and sqrt.
twister_ziggurat make_tables() {
    twister_ziggurat z;
    double x1 = ZIGGURAT_NOR_R;
    z.w[255] = x1 / NMANTISSA;
    z.f[255] = std::exp(-0.5 * x1 * x1);
    // Level 0 is the base strip with the tail beyond r (Marsaglia and Tsang
    // 2000): k0 = 2^53 r f(r) / v, w0 = v / f(r) / 2^53, v a strip's area.
    z.k[0] = static_cast<uint64_t>(x1 * z.f[255] / NOR_SECTION_AREA * NMANTISSA);
    z.w[0] = NOR_SECTION_AREA / z.f[255] / NMANTISSA;
    z.f[0] = 1.;
    for (int i = 254; i > 0; i--) {
        // x_i = f^-1(v / x_{i+1} + f(x_{i+1})), f(x) = exp(-x^2 / 2).
        const double x = std::sqrt(-2. * std::log(NOR_SECTION_AREA / x1 + z.f[i + 1]));
        z.k[i + 1] = static_cast<uint64_t>(x / x1 * NMANTISSA);
        z.w[i] = x / NMANTISSA;
        z.f[i] = std::exp(-0.5 * x * x);
        x1 = x;
    }
    z.k[1] = 0;
    return z;
}

// One normal the plain way (the host's rand_normal): attempts of 54 bits,
// r = second word's low 22 bits above the first word; magnitude r >> 1,
// sign r & 1, level the magnitude's low 8 bits.
template <class V>
SIMD_INLINE double normal_one(source<V>* src, const twister_ziggurat& z) {
    for (;;) {
        const uint32_t lo = src->next();
        const uint32_t hi = src->next() & 0x3FFFFF;
        const uint64_t r = (uint64_t(hi) << 32) | lo;
        const int64_t rabs = int64_t(r >> 1);
        const int idx = int(rabs & 0xFF);
        // -rabs of an integer: a zero magnitude is +0.0 whatever its sign bit.
        const double x = double((r & 1) ? -rabs : rabs) * z.w[idx];
        if (rabs < int64_t(z.k[idx])) return x;
        if (idx == 0) {
            // The tail beyond r (Marsaglia 1964), its sign from bit 8 of the
            // magnitude (the level's bits are all zero here).
            double xx, yy;
            do {
                xx = -ZIGGURAT_NOR_INV_R * std::log(uniform_one(src));
                yy = -std::log(uniform_one(src));
            } while (yy + yy <= xx * xx);
            return (rabs & 0x100) ? -ZIGGURAT_NOR_R - xx : ZIGGURAT_NOR_R + xx;
        }
        if ((z.f[idx - 1] - z.f[idx]) * uniform_one(src) + z.f[idx] < std::exp(-0.5 * x * x)) return x;
    }
}

// 2^52 + m as a double, for each 64-bit lane m < 2^52: less 2^52, m itself.
constexpr unsigned long long TWO52_BITS = 0x4330000000000000ull;
constexpr double TWO52 = 4503599627370496.0;

// The OR of a vector's 64-bit lanes, halving it (integer and shuffle
// operations only: a comparison's mask would cost a conversion on AVX-512F).
typedef simd_ints<simd_d2>::pairs pairs2;
typedef simd_ints<simd_d4>::pairs pairs4;
typedef simd_ints<simd_d8>::pairs pairs8;
SIMD_INLINE unsigned long long or_lanes(pairs2 q) { return q[0] | q[1]; }
SIMD_INLINE unsigned long long or_lanes(pairs4 q) {
    pairs2 h[2];
    std::memcpy(h, &q, sizeof q);
    return or_lanes(h[0] | h[1]);
}
SIMD_INLINE unsigned long long or_lanes(pairs8 q) {
    pairs4 h[2];
    std::memcpy(h, &q, sizeof q);
    return or_lanes(h[0] | h[1]);
}

// L uniforms from the 2L words at p into out[0 .. L-1]; returns the lanes
// before the first zero pair (L when there is none).
template <class V>
SIMD_INLINE int uniform_lanes(const uint32_t* p, double* out) {
    typedef typename simd_ints<V>::words W;
    typedef typename simd_ints<V>::pairs Q;
    const Q q = (Q)temper(simd_load<W>(p));
    const Q a = (q & 0xffffffffull) >> 5, b = q >> 38;
    const V da = (V)(a | TWO52_BITS) - TWO52, db = (V)(b | TWO52_BITS) - TWO52;
    simd_store(out, (da * 67108864.0 + db) * (1.0 / 9007199254740992.0));
    // a | b is below 2^32, so a | b - 1 has its top bit set only for zero.
    const Q zero = ((a | b) - 1) >> 63;
    if (or_lanes(zero) == 0) return simd_lanes<V>();
    int l = 0;
    while (zero[l] == 0) ++l;
    return l;
}

// Table entries at the levels (low 8 bits) of each lane of rabs, made as
// one vector from its lanes: lanes stored one by one and read back whole
// would stall the load.
template <class R, class T, class Q, std::size_t... I>
SIMD_INLINE R gather(const T* table, Q rabs, std::index_sequence<I...>) {
    return R{table[rabs[I] & 0xFF]...};
}

// L first attempts of the ziggurat from the 2L words at p into out; returns
// the lanes before the first attempt the fast test does not accept.
template <class V>
SIMD_INLINE int normal_lanes(const uint32_t* p, double* out, const twister_ziggurat& z) {
    typedef typename simd_ints<V>::words W;
    typedef typename simd_ints<V>::pairs Q;
    constexpr int L = simd_lanes<V>();
    const Q q = (Q)temper(simd_load<W>(p));
    const Q lo = q & 0xffffffffull, hi = (q >> 32) & 0x3FFFFFull;
    const Q rabs = (hi << 31) | (lo >> 1);
    const Q k = gather<Q>(z.k, rabs, std::make_index_sequence<L>());
    const V w = gather<V>(z.w, rabs, std::make_index_sequence<L>());
    // The magnitude (below 2^53) as hi 2^31 + (lo >> 1), both exact.
    const V m = ((V)(hi | TWO52_BITS) - TWO52) * 2147483648.0 + ((V)((lo >> 1) | TWO52_BITS) - TWO52);
    // The sign bit set on the product: the product of -m is -(m w) bit for
    // bit, and adding +0.0 turns the -0.0 of a zero magnitude into the +0.0
    // of an integer zero negated (nonzero values are unchanged).
    simd_store(out, (V)((Q)(m * w) ^ ((lo & 1ull) << 63)) + 0.0);
    // Both below 2^53: rabs - k has its top bit set exactly when rabs < k.
    const Q slow = ~(rabs - k) >> 63;
    if (or_lanes(slow) == 0) return L;
    int l = 0;
    while (slow[l] == 0) ++l;
    return l;
}

// The draws of a call: whole vectors of values (step.lanes) while they fit
// inside this block's words and this call's values, the rest one value at a
// time (step.one).  A vector step that ends short has met a value that needs
// other than its two words: a uniform's zero pair, whose step.skip words are
// passed over (the pair is drawn again), or a normal that fails the fast
// test, drawn the plain way from its first word.
template <class V, class Step>
SIMD_INLINE void values_run(uint32_t* s, double* out, int64_t n, const Step& step) {
    constexpr int L = simd_lanes<V>();
    source<V> src{s, TWISTER_WORDS - int(s[MT_N])};
    int64_t i = 0;
    while (i < n) {
        if constexpr (L > 1) {
            int64_t steps = (MT_N - src.pos) / (2 * L);
            if (steps > (n - i) / L) steps = (n - i) / L;
            for (; steps > 0; --steps) {
                const int j = step.lanes(s + src.pos, out + i);
                src.pos += 2 * j;
                i += j;
                if (j < L) {
                    src.pos += step.skip;
                    break;
                }
            }
            // After a redrawn pair the vectors go on; otherwise the value
            // that stopped them is drawn the plain way first.
            if (steps > 0 && Step::skip > 0) continue;
        }
        if (i < n) out[i++] = step.one(&src);
    }
    s[MT_N] = uint32_t(TWISTER_WORDS - src.pos);
}

template <class V>
struct uniform_step {
    static constexpr int skip = 2;
    SIMD_INLINE int lanes(const uint32_t* w, double* out) const { return uniform_lanes<V>(w, out); }
    SIMD_INLINE double one(source<V>* src) const { return uniform_one(src); }
};

template <class V>
struct normal_step {
    static constexpr int skip = 0;
    const twister_ziggurat* z;
    SIMD_INLINE int lanes(const uint32_t* w, double* out) const { return normal_lanes<V>(w, out, *z); }
    SIMD_INLINE double one(source<V>* src) const { return normal_one(src, *z); }
};

template <class V>
SIMD_INLINE void uniform_run(uint32_t* s, double* out, int64_t n) {
    values_run<V>(s, out, n, uniform_step<V>{});
}

template <class V>
SIMD_INLINE void normal_run(uint32_t* s, double* out, int64_t n, const twister_ziggurat* z) {
    values_run<V>(s, out, n, normal_step<V>{z});
}

SIMD_DISPATCH(void, uniform_any, uniform_run, (uint32_t * s, double* out, int64_t n), (s, out, n))
SIMD_DISPATCH(void, normal_any, normal_run, (uint32_t * s, double* out, int64_t n, const twister_ziggurat* z),
              (s, out, n, z))

bool left_valid(const uint32_t* s) { return s[MT_N] >= 1 && s[MT_N] <= uint32_t(MT_N); }

// Computed on first use (thread-safe), in this process, with its C library.
const twister_ziggurat& tables() {
    static const twister_ziggurat z = make_tables();
    return z;
}

}  // namespace

bool twister_uniform(uint32_t* s, double* out, int64_t n) {
    if (!s || n < 0 || (n > 0 && !out) || !left_valid(s)) return false;
    // The words stay zero for ever when these are zero (word 0's other bits
    // never reach a new word), and then no pair ever ends the redraw.  A
    // drawn state has a nonzero word among its first few.
    bool any = (s[0] & UMASK) != 0;
    for (int i = 1; i < MT_N && !any; ++i) any = s[i] != 0;
    if (!any) return false;
    uniform_any(s, out, n);
    return true;
}

bool twister_normal(uint32_t* s, double* out, int64_t n) {
    if (!s || n < 0 || (n > 0 && !out) || !left_valid(s)) return false;
    normal_any(s, out, n, &tables());
    return true;
}
