// metric_pairwise(metric, x): the m-by-m matrix of distances between the rows
// of x under a metric structure.  Each component i of metric.components lists
// columns of x; every listing adds to the squared distance of rows j and k
// either (d * d) / (l(i) * l(i)) with d = x(j, c) - x(k, c) (squared-difference
// kind) or 1 / (l(i) * l(i)) when x(j, c) != x(k, c) (delta kind, selected by
// metric.deltadist).  The distance is the square root of that sum.
//
// Bit for bit: every pair's sum starts from 0 and adds its terms in component
// order and, within a component, in listing order, as the plain triple loop
// does; only independent pairs share a vector.  The work runs column by column
// of the result: the pairs k < j of column j are vectorised over k (contiguous
// in x and in the result), all terms accumulate in registers, the root is
// taken at once, and each block of finished columns is mirrored below the
// diagonal while it is still in cache.
//
// Sizes use the host's own mwSize (unsigned on some hosts, signed on others):
// no index is ever formed by subtracting from a size.
#include "../host/args.h"
#include "../simd/simd.h"
#include "../simd/threads.h"

#include <algorithm>
#include <atomic>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

namespace {

enum term_kind { SQUARE_DIV = 0, SQUARE_MUL = 1, DELTA = 2 };

// One component: its kind, its scale and its listed columns (pointers into x,
// in listing order).
struct component {
    int kind;
    double scale;  // l * l (SQUARE_DIV), 1 / (l * l) when exact (SQUARE_MUL), 1 / (l * l) (DELTA)
    mwSize first;  // index of its first column in the column table
    mwSize count;
};

// Working memory: in the call's own frame for the few components and
// columns of a usual metric (a scalar call asks the host for none), host
// memory beyond, freed on every exit.
template <class T, std::size_t N>
class scratch {
public:
    explicit scratch(mwSize n)
        : m_p(std::size_t(n) <= N ? m_local : static_cast<T*>(mxMalloc(sizeof(T) * std::size_t(n)))) {}
    ~scratch() {
        if (m_p != m_local) mxFree(m_p);
    }
    scratch(const scratch&) = delete;
    scratch& operator=(const scratch&) = delete;
    T& operator[](std::size_t i) { return m_p[i]; }
    T* get() { return m_p; }

private:
    T m_local[N];
    T* m_p;
};

struct plan {
    const component* comps;
    mwSize ncomp;
    const double* const* cols;  // listed columns, component by component
    double* xj;                 // x(j, c) of every listing, for the current j
    double* out;
    mwSize m;
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
SIMD_INLINE void add_squares(V* acc, const double* const* col, const double* xj, mwSize count, V s,
                             mwIndex k) {
    constexpr int W = simd_lanes<V>();
    for (mwSize t = 0; t < count; ++t) {
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
SIMD_INLINE void pairs_block(const plan& p, mwIndex j, mwIndex k) {
    constexpr int W = simd_lanes<V>();
    V acc[U];
    for (int u = 0; u < U; ++u) acc[u] = simd_splat<V>(0.0);
    for (mwSize i = 0; i < p.ncomp; ++i) {
        const component& c = p.comps[i];
        const double* const* col = p.cols + c.first;
        const double* xj = p.xj + c.first;
        const V s = simd_splat<V>(c.scale);
        switch (c.kind) {
            case SQUARE_DIV:
                add_squares<V, U, false>(acc, col, xj, c.count, s, k);
                break;
            case SQUARE_MUL:
                add_squares<V, U, true>(acc, col, xj, c.count, s, k);
                break;
            default:
                for (mwSize t = 0; t < c.count; ++t) {
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
SIMD_INLINE void column(const plan& p, mwIndex j) {
    constexpr mwSize W = simd_lanes<V>();
    mwIndex k = 0;
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
constexpr mwSize BLOCK = 32;

template <class V>
SIMD_INLINE void distances(const plan& p, std::atomic<mwSize>* taken) {
    const mwSize m = p.m;
    double* out = p.out;
    mwSize ncols = 0;
    for (mwSize i = 0; i < p.ncomp; ++i) ncols += p.comps[i].count;
    const mwSize blocks = m / BLOCK + (m % BLOCK != 0);
    for (;;) {
        const mwSize b = taken->fetch_add(1);
        if (b >= blocks) break;
        const mwIndex jb = (blocks - 1 - b) * BLOCK;
        const mwIndex je = m - jb > BLOCK ? jb + BLOCK : m;
        for (mwIndex j = jb; j < je; ++j) {
            // Ctrl-C: every thread stops at its next column (the call ends
            // and its result goes unused).
            if (host_interrupt_pending()) {
                taken->store(blocks);
                return;
            }
            for (mwSize t = 0; t < ncols; ++t) p.xj[t] = p.cols[t][j];
            column<V>(p, j);
            out[j + m * j] = 0.0;
        }
        for (mwIndex k = 0; k < je; ++k) {
            const mwIndex j0 = k + 1 > jb ? k + 1 : jb;
            for (mwIndex j = j0; j < je; ++j) out[j + m * k] = out[k + m * j];
        }
    }
}

SIMD_DISPATCH(void, distances_any, distances, (const plan& p, std::atomic<mwSize>* taken), (p, taken))

// The first characters of a text of `count` into text[0 .. size - 1), each
// above 127 as a byte that is no letter of a name (nor a terminator).
void first_chars(const mxChar* c, std::size_t count, char* text, std::size_t size) {
    const std::size_t n = c ? std::min(count, size - 1) : 0;
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned v = sizeof(mxChar) == 1 ? unsigned(static_cast<unsigned char>(c[i])) : unsigned(c[i]);
        text[i] = v < 128 ? char(v) : char(0x80);
    }
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (nlhs != 1) args_error("wrongOutputCount", "Wrong number of output arguments.");
    if (nrhs != 2) args_error("wrongInputCount", "Wrong number of input arguments.");
    args_require_double(prhs[1], 2);
    const mxArray* metric = prhs[0];

    const mwSize* xd = mxGetDimensions(prhs[1]);
    const mwSize m = xd[0], n = xd[1];
    const double* x = mxGetPr(prhs[1]);

    const mxArray* type = args_field(metric, "type");
    if (!type) args_error("missingField", "Could not get metric.type");
    if (!mxIsChar(type)) args_error("typeNotString", "metric.type must be a string.");
    // The text as far as its first 31 characters: a longer one is not the
    // name, even cut short (the 17th character is then no terminator),
    // unless the name and a terminator come first, as in the whole text.
    char text[32] = {};
    first_chars(mxGetChars(type), mxGetNumberOfElements(type), text, sizeof text);
    if (std::strcmp(text, "metric_euclidean") != 0) args_error("wrongType", "Wrong type of metric.");

    const mxArray* ls = args_field(metric, "lengthScale");
    if (!ls) args_error("missingField", "Could not get metric.lengthScale");
    // An empty length scale holds no value to read, whatever its shape.
    if (!args_is_vector(ls) || mxGetNumberOfElements(ls) == 0)
        args_error("lengthScaleShape", "metric.lengthScale must be a scalar or a vector.");
    args_require_double_part(ls, "metric.lengthScale");
    const mwSize lr = args_vector_length(ls);
    const double* lsv = mxGetPr(ls);

    const mxArray* comps = args_field(metric, "components");
    if (!comps) args_error("missingField", "Could not get metric.components");
    if (!mxIsCell(comps) || !args_is_vector(comps))
        args_error("componentsShape", "metric.components must be a one dimensional cell array.");
    const mwSize ncomp = args_vector_length(comps);
    // "lenght" is kept on purpose: callers match on this text.
    if (lr != 1 && lr != ncomp)
        args_error("lengthScaleLength",
            "metric.lengthScale must be scalar or its lenght must be the same as the number of "
            "components.");

    const mxArray* dd = args_field(metric, "deltadist");
    if (!dd) args_error("missingField", "Could not get metric.deltadist");
    if (!mxIsLogical(dd) || !args_is_vector(dd))
        args_error("deltadistShape", "metric.deltadist must be a logical vector.");
    // A sparse array stores only its nonzeros: one byte per entry is not there.
    if (mxIsSparse(dd)) args_error("deltadistSparse", "metric.deltadist must be a full logical array, not sparse.");
    const mwSize ndelta = args_vector_length(dd);
    const unsigned char* delta = static_cast<const unsigned char*>(mxGetData(dd));
    // "metric.logical" (for metric.deltadist) is kept on purpose: callers match on this text.
    if (ndelta != ncomp)
        args_error("deltadistLength", "metric.logical must be of the same length as the number of components.");

    // The listed columns, checked before anything is made.  An unset element
    // lists nothing, as an empty one does.
    scratch<const double*, 16> lists(ncomp);
    scratch<mwSize, 16> lengths(ncomp);
    mwSize ncols = 0;
    for (mwIndex i = 0; i < ncomp; ++i) {
        const double* v;
        const mwSize len = lengths[i] =
            args_part_doubles(mxGetCell(comps, i), "Every element of metric.components", &v);
        lists[i] = v;
        for (mwIndex t = 0; t < len; ++t)
            // Truncation toward zero must give 1 .. n; NaN fails.
            if (!(v[t] >= 1.0 && v[t] < static_cast<double>(n) + 1.0))
                args_error("columnRange",
                    "metric.components must list column numbers from 1 to the number of columns "
                    "of x.");
        ncols += len;
    }

    // Every element is written: above the diagonal by the kernel, the
    // diagonal's zeros and the mirror below by its blocks.
    plhs[0] = args_result_doubles(m, m);
    double* out = mxGetPr(plhs[0]);

    scratch<component, 16> table(ncomp);
    scratch<const double*, 32> cols(ncols);
    // Work in pair terms; a thread repays its start beyond about 2^20 of them.
    const double m2 = static_cast<double>(m);
    const int nthreads = threads_for(m2 * m2 * 0.5 * static_cast<double>(ncols ? ncols : 1),
                                     1048576.0, std::ceil(m2 / static_cast<double>(BLOCK)));
    // Each thread's x(j, c) of the current column, made here: host memory is
    // the calling thread's alone.
    const mwSize per = ncols ? ncols : 1;
    scratch<double, 32> xj(per * static_cast<mwSize>(nthreads));
    mwSize next = 0;
    for (mwIndex i = 0; i < ncomp; ++i) {
        const double l = lr > 1 ? lsv[i] : lsv[0];
        const double L = l * l;
        component& c = table[i];
        if (delta[i] == 1) {
            c.kind = DELTA;
            c.scale = 1.0 / L;
        } else if (exact_reciprocal(L)) {
            c.kind = SQUARE_MUL;
            c.scale = 1.0 / L;
        } else {
            c.kind = SQUARE_DIV;
            c.scale = L;
        }
        c.first = next;
        const mwSize len = lengths[i];
        const double* v = lists[i];
        for (mwIndex t = 0; t < len; ++t)
            cols[next++] = x + m * (static_cast<mwIndex>(v[t]) - 1);
        c.count = len;
    }

    std::atomic<mwSize> taken{0};
    const distances_any_fn kernel = distances_any_for(simd_width());
    threads_run(nthreads, [&](int t) {
        const plan p{table.get(), ncomp, cols.get(), xj.get() + per * static_cast<mwSize>(t), out, m};
        kernel(p, &taken);
    });
    host_interrupt_check();  // a Ctrl-C that stopped the blocks ends the call here
}
