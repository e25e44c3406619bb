// Distances under a metric structure (metric.h): the kernel, one template
// for every lane width.
//
// Bit for bit: every pair's sum starts from 0 and adds its terms in component
// order and, within a component, in listing order, as the plain triple loop
// does; only independent pairs share a vector.  The work runs column by column
// of the result: the pairs k < j of column j are vectorised over k (contiguous
// in x and in the result), all terms accumulate in registers, the root is
// taken at once, and each block of finished columns is mirrored below the
// diagonal while it is still in cache.
//
// No index is ever formed by subtracting from a size (sizes are unsigned).
#include "metric.h"

#include "../simd/simd.h"
#include "../simd/threads.h"

#include <atomic>
#include <cmath>
#include <cstddef>
#include <limits>

namespace {

struct plan {
    const metric_term* comps;
    std::size_t ncomp;
    const double* const* cols;  // listed columns, component by component
    double* xj;                 // x(j, c) of every listing, for the current j
    double* out;
    std::size_t m;
};

// Dividing by a power of two L gives the same double as multiplying by 1 / L
// whenever 1 / L is itself a double: both round the same exact quotient.  The
// same holds for L = 0 and L = inf (d * d / 0 and d * d * inf are both inf, or
// both NaN for d = 0).  Such a scale then costs a multiplication, not a
// division.
bool exact_reciprocal(double L) {
    if (L == 0.0 || L == INFINITY) return true;
    if (!(L > 0.0) || !std::isfinite(L)) return false;
    int e;
    if (std::frexp(L, &e) != 0.5) return false;
    double r = 1.0 / L;
    return std::isfinite(r) && r * L == 1.0;
}

// ---- the kernel, one template for every lane width ---------------------------
// V is double (one pair at a time) or a vector of doubles; the arithmetic per
// pair is the same in both.

// Adds the terms (d * d) / s (or (d * d) * s when MUL) of one component's
// listings to the U accumulators of rows k .. k + U * W - 1.
template <class V, int U, bool MUL>
SIMD_INLINE void add_squares(V* acc, const double* const* col, const double* xj, std::size_t count, V s,
                             std::size_t k) {
    constexpr int W = simd_lanes<V>();
    for (std::size_t t = 0; t < count; ++t) {
        const V a = simd_splat<V>(xj[t]);
#pragma GCC unroll 4
        for (int u = 0; u < U; ++u) {
            V d = a - simd_load<V>(col[t] + k + u * W);
            acc[u] = acc[u] + (MUL ? (d * d) * s : (d * d) / s);
        }
    }
}

// Accumulates the squared distances of rows k .. k + U * W - 1 to row j and
// stores their roots.  U independent vectors keep the adders busy.
template <class V, int U>
SIMD_INLINE void pairs_block(const plan& p, std::size_t j, std::size_t k) {
    constexpr int W = simd_lanes<V>();
    V acc[U];
    for (int u = 0; u < U; ++u) acc[u] = simd_splat<V>(0.0);
    for (std::size_t i = 0; i < p.ncomp; ++i) {
        const metric_term& c = p.comps[i];
        const double* const* col = p.cols + c.first;
        const double* xj = p.xj + c.first;
        const V s = simd_splat<V>(c.scale);
        switch (c.kind) {
            case METRIC_SQUARE_DIV:
                add_squares<V, U, false>(acc, col, xj, c.count, s, k);
                break;
            case METRIC_SQUARE_MUL:
                add_squares<V, U, true>(acc, col, xj, c.count, s, k);
                break;
            default:
                for (std::size_t t = 0; t < c.count; ++t) {
                    const V a = simd_splat<V>(xj[t]);
#pragma GCC unroll 4
                    for (int u = 0; u < U; ++u)  // a != b holds for NaN, lane or double
                        acc[u] = acc[u] + ((a != simd_load<V>(col[t] + k + u * W)) ? s : V{});
                }
                break;
        }
    }
    double* dst = p.out + p.m * j + k;
    // A NaN's sign and payload depend on which operand of an addition the
    // compiler puts first (its choice, and one that differs between lane
    // widths): every NaN leaves as the one quiet NaN, so the bits are the
    // same at every width.
    const V nan = simd_splat<V>(std::numeric_limits<double>::quiet_NaN());
    for (int u = 0; u < U; ++u) {
        const V r = simd_sqrt(acc[u]);
        simd_store(dst + u * W, (r == r) ? r : nan);
    }
}

// Column j of the result above the diagonal: pairs (k, j) for k < j.
template <class V>
SIMD_INLINE void column(const plan& p, std::size_t j) {
    constexpr std::size_t W = simd_lanes<V>();
    std::size_t k = 0;
    if (W > 1) {
        for (; j - k >= 4 * W; k += 4 * W) pairs_block<V, 4>(p, j, k);
        for (; j - k >= W; k += W) pairs_block<V, 1>(p, j, k);
    }
    for (; k < j; ++k) pairs_block<double, 1>(p, j, k);
}

// Columns are done in blocks; each finished block is mirrored below the
// diagonal at once, reading its columns from cache and writing runs that are
// contiguous in every column k.  Blocks are taken from a shared counter, the
// longest columns first: a block's thread writes its own columns above the
// diagonal and their mirror images (its own rows, left of its columns), so
// no element is written by two threads or read before it is written.
constexpr std::size_t BLOCK = 32;

template <class V>
SIMD_INLINE void distances(const plan& p, std::atomic<std::size_t>* taken, int (*stop)()) {
    const std::size_t m = p.m;
    double* out = p.out;
    std::size_t ncols = 0;
    for (std::size_t i = 0; i < p.ncomp; ++i) ncols += p.comps[i].count;
    const std::size_t blocks = m / BLOCK + (m % BLOCK != 0);
    for (;;) {
        const std::size_t b = taken->fetch_add(1);
        if (b >= blocks) break;
        const std::size_t jb = (blocks - 1 - b) * BLOCK;
        const std::size_t je = m - jb > BLOCK ? jb + BLOCK : m;
        for (std::size_t j = jb; j < je; ++j) {
            // Ctrl-C: every thread stops at its next column (the call ends
            // and its result goes unused).
            if (stop()) {
                taken->store(blocks);
                return;
            }
            for (std::size_t t = 0; t < ncols; ++t) p.xj[t] = p.cols[t][j];
            column<V>(p, j);
            out[j + m * j] = 0.0;
        }
        for (std::size_t k = 0; k < je; ++k) {
            const std::size_t j0 = k + 1 > jb ? k + 1 : jb;
            for (std::size_t j = j0; j < je; ++j) out[j + m * k] = out[k + m * j];
        }
    }
}

SIMD_DISPATCH(void, distances_any, distances, (const plan& p, std::atomic<std::size_t>* taken, int (*stop)()),
              (p, taken, stop))

}  // namespace

metric_term metric_term_of(double l, bool delta, std::size_t first, std::size_t count) {
    const double L = l * l;
    metric_term c;
    if (delta) {
        c.kind = METRIC_DELTA;
        c.scale = 1.0 / L;
    } else if (exact_reciprocal(L)) {
        c.kind = METRIC_SQUARE_MUL;
        c.scale = 1.0 / L;
    } else {
        c.kind = METRIC_SQUARE_DIV;
        c.scale = L;
    }
    c.first = first;
    c.count = count;
    return c;
}

int metric_threads(std::size_t m, std::size_t ncols) {
    // Work in pair terms; a thread repays its start beyond about 2^20 of them.
    const double m2 = static_cast<double>(m);
    return threads_for(m2 * m2 * 0.5 * static_cast<double>(ncols ? ncols : 1), 1048576.0,
                       std::ceil(m2 / static_cast<double>(BLOCK)));
}

bool metric_distances(const metric_term* terms, std::size_t nterms, const double* const* cols, std::size_t ncols,
                      std::size_t m, double* out, double* work, int threads, int (*stop)()) {
    std::atomic<std::size_t> taken{0};
    const distances_any_fn kernel = distances_any_for(simd_width());
    const std::size_t per = ncols ? ncols : 1;
    threads_run(threads, [&](int t) {
        const plan p{terms, nterms, cols, work + per * static_cast<std::size_t>(t), out, m};
        kernel(p, &taken, stop);
    });
    return !stop();
}
