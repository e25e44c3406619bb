#include "args.h"

#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// bayesmex:FUNCTION:REASON, or bayesmex:REASON outside a module.
void identifier(char* id, std::size_t size, const char* reason) {
    const char* fn = mexFunctionName();
    if (fn && *fn)
        std::snprintf(id, size, "bayesmex:%.80s:%.60s", fn, reason);
    else
        std::snprintf(id, size, "bayesmex:%.60s", reason);
}

}  // namespace

void args_fail(msg m, ...) {
    const message_row& row = message_of(m);
    char id[160], text[400];
    identifier(id, sizeof id, row.reason);
    va_list ap;
    va_start(ap, m);
    std::vsnprintf(text, sizeof text, row.text, ap);
    va_end(ap);
    // "%s": the message is text by now, never a format.
    mexErrMsgIdAndTxt(id, "%s", text);
    std::abort();  // the host's error call unwinds the gateway and never returns
}

namespace {

// A non-zero (or NaN) imaginary part anywhere.  Complex integer arrays, which
// only some hosts make, are refused whole: no module reads them as complex.
bool has_imaginary(const mxArray* a) {
    if (!mxIsComplex(a)) return false;
    if (!mxIsDouble(a)) return true;
    const double* im = mxGetPi(a);
    if (!im) return false;
    const std::size_t n = mxGetNumberOfElements(a);
    for (std::size_t i = 0; i < n; ++i)
        if (im[i] != 0) return true;
    return false;
}

bool is_integer_class(const mxArray* a) {
    const mxClassID c = mxGetClassID(a);
    return c >= mxINT8_CLASS && c <= mxUINT64_CLASS;
}

// One element: every dimension is 1, so a shape rule needs no dimensions
// read (Octave makes a copy of them in host memory at the first read, a
// cost a scalar call need not pay).
bool one_element(const mxArray* a) { return mxGetNumberOfElements(a) == 1; }

// No dimension beyond the second above 1: modules size their work by the
// first two, so a further one would leave all but the first page unread.
bool two_dimensional(const mxArray* a) {
    const mwSize nd = mxGetNumberOfDimensions(a);
    const mwSize* dims = mxGetDimensions(a);
    for (mwSize k = 2; k < nd; ++k)
        if (dims[k] > 1) return false;
    return true;
}

// The rules of one numeric value, named `what` in the messages ("Input 2",
// "metric.lengthScale"): class (message `wrong_class`), then imaginary
// parts, then (unless any_shape) the dimensions, and with `pages` the empty
// later dimension.
// `what` is null for input `position`: the name is written only for a
// message, so a call whose inputs pass formats nothing.
void require(const mxArray* a, const char* what, int position, msg wrong_class, bool integers, bool any_shape,
             bool pages) {
    char input[24];
    const auto name = [&]() {
        if (what) return what;
        std::snprintf(input, sizeof input, "Input %d", position);
        return static_cast<const char*>(input);
    };
    const char* cls = nullptr;
    if (!mxIsDouble(a) && !(integers && is_integer_class(a)))
        cls = mxGetClassName(a);
    else if (mxIsSparse(a))
        cls = "sparse";
    // One text for sizes too: a double is what every input takes.
    if (cls) args_fail(wrong_class, name(), cls);
    if (has_imaginary(a)) args_fail(msg::not_real, name());
    if (any_shape) return;
    if (one_element(a)) return;
    if (!two_dimensional(a)) args_fail(msg::too_many_dims, name());
    // A later dimension of 0 (7-by-7-by-0) leaves rows * columns > 0 with no
    // element to read.
    // The host's own dimensions (no copy in the call's memory); numel <
    // rows * columns as a quotient, which cannot overflow.
    const mwSize* d = mxGetDimensions(a);
    if (pages && d[0] > 0 && d[1] > 0 && mxGetNumberOfElements(a) / std::size_t(d[1]) < std::size_t(d[0]))
        args_fail(msg::input_empty, name());
}

// Input `position` of the gateway.
void require_input(const mxArray* a, int position, bool integers, bool any_shape) {
    require(a, nullptr, position, msg::input_class, integers, any_shape, true);
}

void check_outputs(const args_form& f, int nlhs) {
    if (f.unchecked) return;
    if (f.exact) {
        if (nlhs != f.outputs) args_fail(msg::wrong_output_count);
    } else if (nlhs > f.outputs) {
        args_fail(msg::too_many_outputs);
    }
}

void check_inputs(const args_form& f, int nrhs) {
    const bool listed = nrhs >= 0 && nrhs < 32 && (f.allowed >> nrhs & 1u) != 0;
    if (!listed && !(f.more && nrhs > f.inputs)) args_fail(msg::wrong_input_count);
}

bool same_size(const int* d, int m, int n) { return d[0] == m && d[1] == n; }

}  // namespace

args_in args_check(const args_form& f, int nlhs, int nrhs, const mxArray* prhs[]) {
    if (f.inputs_first) {
        check_inputs(f, nrhs);
        check_outputs(f, nlhs);
    } else {
        check_outputs(f, nlhs);
        check_inputs(f, nrhs);
    }
    const int present = nrhs < f.inputs ? nrhs : f.inputs;
    // Classes, in input order.
    for (int i = 0; i < present; ++i) {
        switch (f.kind[i]) {
        case args_kind::array: require_input(prhs[i], i + 1, false, true); break;
        case args_kind::size:
        case args_kind::count: require_input(prhs[i], i + 1, true, false); break;
        case args_kind::any: break;
        default: require_input(prhs[i], i + 1, false, false); break;
        }
    }
    args_in in;
    // A parameter is a scalar when it holds exactly one element; any other,
    // an empty one included, gives one value per element, so the result takes
    // its size: an empty parameter gives an empty result, never a draw from
    // a value read as 0.  (Inputs have at most two dimensions by now, so one
    // element is a 1-by-1 array, whose dimensions need not be read.)
    int first = -1, params = 0;
    for (int i = 0; i < present; ++i) {
        if (f.kind[i] != args_kind::param) continue;
        ++params;
        in.each[i] = args_count(prhs[i]) != 1;
        if (!in.each[i]) continue;
        if (first < 0) {
            first = i;
        } else {
            const int* d = mxGetDimensions_700(prhs[first]);
            if (!same_size(mxGetDimensions_700(prhs[i]), d[0], d[1])) args_fail(msg::size_inconsistent);
        }
    }
    // Each input's own shape, in input order.
    int sizes[2] = {0, 0}, nsizes = 0;
    for (int i = 0; i < present; ++i) {
        const mxArray* a = prhs[i];
        switch (f.kind[i]) {
        case args_kind::size:
            in.size[i] = args_size(a);
            if (nsizes < 2) sizes[nsizes++] = in.size[i];
            break;
        case args_kind::count:
            if (!args_is_scalar(a)) args_fail(f.shape[i]);
            in.size[i] = args_size(a);
            break;
        case args_kind::vector: {
            const int* d = mxGetDimensions_700(a);
            if (d[0] > 1 && d[1] > 1) args_fail(f.shape[i]);
            break;
        }
        case args_kind::weights:
            if (std::uint64_t(args_count(a)) > std::uint64_t(INT_MAX)) args_fail(msg::size_range);
            break;
        default: break;
        }
    }
    // The result's size: M-by-N, which every per-element parameter must be,
    // else the first per-element parameter's (or 1-by-1).
    if (params > 0) {
        if (nsizes == 2) {
            in.m = sizes[0];
            in.n = sizes[1];
            for (int i = 0; i < present; ++i)
                if (in.each[i] && !same_size(mxGetDimensions_700(prhs[i]), in.m, in.n))
                    args_fail(msg::size_inconsistent);
        } else if (first >= 0) {
            const int* d = mxGetDimensions_700(prhs[first]);
            in.m = d[0];
            in.n = d[1];
        } else {
            in.m = in.n = 1;
        }
    }
    return in;
}

void args_require_double_part(const mxArray* a, const char* what) {
    require(a, what, 0, msg::field_class, false, false, false);
}

const mxArray* args_field(const mxArray* s, const char* name) {
    if (!mxIsStruct(s) || mxGetNumberOfElements(s) == 0) return nullptr;
    return mxGetField(s, 0, name);
}

mwSize args_part_doubles(const mxArray* e, const char* what, const double** values) {
    *values = nullptr;
    if (!e) return 0;
    args_require_double_part(e, what);
    *values = mxGetPr(e);
    return args_vector_length(e);
}

bool args_is_vector(const mxArray* a) {
    if (one_element(a)) return true;
    const mwSize* d = mxGetDimensions(a);
    return (d[0] == 1 || d[1] == 1) && two_dimensional(a);
}

mwSize args_vector_length(const mxArray* a) {
    if (one_element(a)) return 1;
    const mwSize* d = mxGetDimensions(a);
    const mwSize len = d[0] > d[1] ? d[0] : d[1];
    const mwSize held = static_cast<mwSize>(mxGetNumberOfElements(a));
    return len < held ? len : held;
}

bool args_is_scalar(const mxArray* a) {
    if (one_element(a)) return true;
    const mwSize* d = mxGetDimensions(a);
    return d[0] <= 1 && d[1] <= 1;
}

double args_scalar(const mxArray* a) {
    // Hosts differ on an empty array (an error, or an undefined value): it
    // reads as 0 everywhere.  Integer classes convert exactly up to 2^53,
    // beyond every size a module accepts.
    return mxGetNumberOfElements(a) == 0 ? 0.0 : mxGetScalar(a);
}

int args_size(const mxArray* a) {
    double v = std::trunc(args_scalar(a));
    // NaN fails both comparisons.
    if (!(v > -2147483648.0 && v < 2147483648.0)) args_fail(msg::size_range);
    return int(v);
}

std::size_t args_count(const mxArray* a) { return mxGetNumberOfElements(a); }

const char* args_not_doubles(const mxArray* a) {
    return !a                ? "nothing"
           : !mxIsDouble(a)  ? mxGetClassName(a)
           : mxIsSparse(a)   ? "sparse"
           : mxIsComplex(a)  ? "complex"
                             : nullptr;
}

mxArray* args_result_like(const mxArray* a) {
    if (one_element(a)) return mxCreateDoubleMatrix(1, 1, mxREAL);
    return mxCreateUninitNumericArray(mxGetNumberOfDimensions(a), mxGetDimensions(a), mxDOUBLE_CLASS, mxREAL);
}

mxArray* args_result_doubles(std::size_t m, std::size_t n) {
    return mxCreateUninitNumericMatrix(m, n, mxDOUBLE_CLASS, mxREAL);
}

mxArray* args_result_uninit(int m, int n) {
    return args_result_doubles(std::size_t(m < 0 ? 0 : m), std::size_t(n < 0 ? 0 : n));
}
