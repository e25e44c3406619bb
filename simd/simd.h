// Lane types, width dispatch and the width switch for kernels that compute
// several independent results at once (digamma, tanh, distances, the gamma
// sampler's rejection passes).
//
// A kernel is one template over its lane type V: double (one result at a
// time, the plain algorithm) or a GCC generic vector of 2, 4 or 8 doubles.
// Lane arithmetic is IEEE arithmetic on each lane, with the same operations
// in the same order as the plain algorithm, so every width gives the same
// bits; only independent results ever share a vector.
//
// The 8- and 4-lane instances are compiled for AVX-512F and AVX2 inside the
// dispatcher SIMD_DISPATCH makes; the 2-lane one for the baseline (SSE2 on
// x86-64, generic vectors elsewhere).  Kernels and the helpers below are
// always inlined into those instances: vectors never cross a call of their
// own, so no function is compiled for an instruction set the CPU may lack.
//
// BAYESMEX_SIMD=1|2|4|8 forces a width, read at every call (tests run every
// width in one process); unset, empty, "auto" or any other value takes the
// widest the CPU has.  A forced width the CPU lacks falls back to the widest
// it has (8 on an AVX2 machine runs 4).
#ifndef BAYESMEX_SIMD_H
#define BAYESMEX_SIMD_H

#include <cstdlib>
#include <cstdint>
#include <cstring>

#if defined(__GNUC__) || defined(__clang__)
// Generic vectors wider than the baseline pass through inlined helpers only.
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define SIMD_X86 1
#define SIMD_AVX512 __attribute__((target("avx512f")))
#define SIMD_AVX2 __attribute__((target("avx2")))
#endif

// The one always-inline mark of lane code: kernels, their helpers and the
// helpers below.
#define SIMD_INLINE inline __attribute__((always_inline))

// simd_d2 is also the pair of independent results that code outside a
// dispatcher may run side by side: every target has two-lane vectors (SSE2
// on x86-64, NEON on aarch64, generic code elsewhere).
typedef double simd_d2 __attribute__((vector_size(16)));
typedef double simd_d4 __attribute__((vector_size(32)));
typedef double simd_d8 __attribute__((vector_size(64)));

// Lanes of V (double counts as one lane).
template <class V>
constexpr int simd_lanes() {
    return int(sizeof(V) / sizeof(double));
}

// Lanes from memory and back, unaligned, for any element type (doubles, or
// the 32-bit words of simd_words<V>).
template <class V, class T>
SIMD_INLINE V simd_load(const T* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <class T, class V>
SIMD_INLINE void simd_store(T* p, V v) {
    std::memcpy(p, &v, sizeof v);
}

// The unsigned integer lanes that go with a lane type V of L doubles: words,
// 2L 32-bit lanes, and pairs, L 64-bit lanes (the same bytes seen as one
// 64-bit lane per double).  For V = double, words is one 32-bit word.
template <class V>
struct simd_ints;
template <>
struct simd_ints<double> {
    typedef uint32_t words;
};
template <>
struct simd_ints<simd_d2> {
    typedef uint32_t words __attribute__((vector_size(16)));
    typedef unsigned long long pairs __attribute__((vector_size(16)));
};
template <>
struct simd_ints<simd_d4> {
    typedef uint32_t words __attribute__((vector_size(32)));
    typedef unsigned long long pairs __attribute__((vector_size(32)));
};
template <>
struct simd_ints<simd_d8> {
    typedef uint32_t words __attribute__((vector_size(64)));
    typedef unsigned long long pairs __attribute__((vector_size(64)));
};
// x in every lane, its bits unchanged (0 + x would turn -0 into +0).
template <class V>
SIMD_INLINE V simd_splat(double x) {
    V v{};
    for (int i = 0; i < simd_lanes<V>(); ++i) v[i] = x;
    return v;
}
template <>
SIMD_INLINE double simd_splat<double>(double x) {
    return x;
}
// Square root lane by lane: correctly rounded, so each lane has the bits of
// the scalar root (GCC and clang emit one vector instruction).
SIMD_INLINE double simd_sqrt(double x) { return __builtin_sqrt(x); }
template <class V>
SIMD_INLINE V simd_sqrt(V v) {
    for (int i = 0; i < simd_lanes<V>(); ++i) v[i] = __builtin_sqrt(v[i]);
    return v;
}

// The bits of each lane as a 64-bit integer lane, and back.
SIMD_INLINE long long simd_bits(double x) {
    long long b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}
template <class V>
SIMD_INLINE auto simd_bits(V v) {
    return (decltype(v < v))v;
}
template <class V>
SIMD_INLINE V simd_from_bits(long long b) {
    double x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}
template <class V, class M>
SIMD_INLINE V simd_from_bits(M b) {
    return (V)b;
}
// |x| lane by lane (the sign bit cleared).
template <class V>
SIMD_INLINE V simd_abs(V v) {
    return simd_from_bits<V>(simd_bits(v) & 0x7fffffffffffffffLL);
}

// The widest width the CPU runs.
inline int simd_cpu_width() {
#ifdef SIMD_X86
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return 8;
    if (__builtin_cpu_supports("avx2")) return 4;
#endif
    return 2;
}

// The width to run now: 1, 2, 4 or 8, after BAYESMEX_SIMD.
inline int simd_width() {
    const int widest = simd_cpu_width();
    const char* s = std::getenv("BAYESMEX_SIMD");
    if (!s) return widest;
    if (std::strcmp(s, "1") == 0) return 1;
    if (std::strcmp(s, "2") == 0) return 2;
    if (std::strcmp(s, "4") == 0) return widest < 4 ? widest : 4;
    if (std::strcmp(s, "8") == 0) return widest;
    return widest;
}

// Defines `static RET NAME PARAMS`, which runs `return KERNEL<V> ARGS` at the
// width simd_width() gives, and NAME_for(width), the instance for a width
// chosen once (a kernel called many times in one call).  PARAMS and ARGS are
// parenthesised lists; the arguments are pointers and scalars, never vectors.
#ifdef SIMD_X86
#define SIMD_DISPATCH(RET, NAME, KERNEL, PARAMS, ARGS)                               \
    SIMD_AVX512 static RET NAME##_w8 PARAMS { return KERNEL<simd_d8> ARGS; }        \
    SIMD_AVX2 static RET NAME##_w4 PARAMS { return KERNEL<simd_d4> ARGS; }          \
    static RET NAME##_w2 PARAMS { return KERNEL<simd_d2> ARGS; }                    \
    static RET NAME##_w1 PARAMS { return KERNEL<double> ARGS; }                     \
    typedef RET(*NAME##_fn) PARAMS;                                                  \
    [[maybe_unused]] static inline NAME##_fn NAME##_for(int width) {                 \
        return width == 8 ? NAME##_w8 : width == 4 ? NAME##_w4 : width == 2 ? NAME##_w2 : NAME##_w1; \
    }                                                                                \
    [[maybe_unused]] static inline RET NAME PARAMS { return NAME##_for(simd_width()) ARGS; }
#else
#define SIMD_DISPATCH(RET, NAME, KERNEL, PARAMS, ARGS)                               \
    static RET NAME##_w2 PARAMS { return KERNEL<simd_d2> ARGS; }                    \
    static RET NAME##_w1 PARAMS { return KERNEL<double> ARGS; }                     \
    typedef RET(*NAME##_fn) PARAMS;                                                  \
    [[maybe_unused]] static inline NAME##_fn NAME##_for(int width) {                 \
        return width == 1 ? NAME##_w1 : NAME##_w2;                                   \
    }                                                                                \
    [[maybe_unused]] static inline RET NAME PARAMS { return NAME##_for(simd_width()) ARGS; }
#endif

#endif
