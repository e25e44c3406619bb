// metric_pairwise(metric, x): the m-by-m matrix of distances between the rows
// of x under a metric structure (distance/metric.h): the structure's fields
// are checked and read here, the kernel is the library's.
//
// Sizes use the host's own mwSize (unsigned on some hosts, signed on others):
// no index is ever formed by subtracting from a size.
#include "../distance/metric.h"
#include "../host/args.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

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
    args_check(args_this, nlhs, nrhs, prhs);
    const mxArray* metric = prhs[0];

    const mwSize* xd = mxGetDimensions(prhs[1]);
    const mwSize m = xd[0], n = xd[1];
    const double* x = mxGetPr(prhs[1]);

    const mxArray* type = args_field(metric, "type");
    if (!type) args_fail(msg::missing_type);
    if (!mxIsChar(type)) args_fail(msg::type_not_string);
    // The text as far as its first 31 characters: a longer one is not the
    // name, even cut short (the 17th character is then no terminator),
    // unless the name and a terminator come first, as in the whole text.
    char text[32] = {};
    first_chars(mxGetChars(type), mxGetNumberOfElements(type), text, sizeof text);
    if (std::strcmp(text, "metric_euclidean") != 0) args_fail(msg::wrong_type);

    const mxArray* ls = args_field(metric, "lengthScale");
    if (!ls) args_fail(msg::missing_length_scale);
    // An empty length scale holds no value to read, whatever its shape.
    if (!args_is_vector(ls) || mxGetNumberOfElements(ls) == 0) args_fail(msg::length_scale_shape);
    args_require_double_part(ls, "metric.lengthScale");
    const mwSize lr = args_vector_length(ls);
    const double* lsv = mxGetPr(ls);

    const mxArray* comps = args_field(metric, "components");
    if (!comps) args_fail(msg::missing_components);
    if (!mxIsCell(comps) || !args_is_vector(comps)) args_fail(msg::components_shape);
    const mwSize ncomp = args_vector_length(comps);
    if (lr != 1 && lr != ncomp) args_fail(msg::length_scale_length);

    const mxArray* dd = args_field(metric, "deltadist");
    if (!dd) args_fail(msg::missing_deltadist);
    if (!mxIsLogical(dd) || !args_is_vector(dd)) args_fail(msg::deltadist_shape);
    // A sparse array stores only its nonzeros: one byte per entry is not there.
    if (mxIsSparse(dd)) args_fail(msg::deltadist_sparse);
    const mwSize ndelta = args_vector_length(dd);
    const unsigned char* delta = static_cast<const unsigned char*>(mxGetData(dd));
    if (ndelta != ncomp) args_fail(msg::deltadist_length);

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
            if (!(v[t] >= 1.0 && v[t] < static_cast<double>(n) + 1.0)) args_fail(msg::column_range);
        ncols += len;
    }

    // Every element is written: above the diagonal by the kernel, the
    // diagonal's zeros and the mirror below by its blocks.
    plhs[0] = args_result_doubles(m, m);
    double* out = mxGetPr(plhs[0]);

    scratch<metric_term, 16> table(ncomp);
    scratch<const double*, 32> cols(ncols);
    const int nthreads = metric_threads(m, ncols);
    // Each thread's x(j, c) of the current column, made here: host memory is
    // the calling thread's alone.
    const mwSize per = ncols ? ncols : 1;
    scratch<double, 32> xj(per * static_cast<mwSize>(nthreads));
    mwSize next = 0;
    for (mwIndex i = 0; i < ncomp; ++i) {
        const mwSize len = lengths[i];
        const double* v = lists[i];
        table[i] = metric_term_of(lr > 1 ? lsv[i] : lsv[0], delta[i] == 1, next, len);
        for (mwIndex t = 0; t < len; ++t)
            cols[next++] = x + m * (static_cast<mwIndex>(v[t]) - 1);
    }

    if (!metric_distances(table.get(), ncomp, cols.get(), ncols, m, out, xj.get(), nthreads, host_interrupt_pending))
        host_interrupt_check();  // a Ctrl-C that stopped the blocks ends the call here
}
