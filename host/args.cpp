#include "args.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

void args_error(const char* reason, const char* message) {
    char id[160];
    const char* fn = mexFunctionName();
    if (fn && *fn)
        std::snprintf(id, sizeof id, "bayesmex:%.80s:%.60s", fn, reason);
    else
        std::snprintf(id, sizeof id, "bayesmex:%.60s", reason);
    // "%s": a message is text, never a format.
    mexErrMsgIdAndTxt(id, "%s", message);
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
// "metric.lengthScale"): class (reason `class_reason`), then imaginary
// parts, then (unless any_shape) the dimensions, and with `pages` the empty
// later dimension.
// `what` is null for input `position`: the name is written only for a
// message, so a call whose inputs pass formats nothing.
void require(const mxArray* a, const char* what, int position, const char* class_reason,
             bool integers, bool any_shape, bool pages) {
    char text[200];
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
    if (cls) {
        // One text for sizes too: a double is what every input takes.
        std::snprintf(text, sizeof text, "%s must be a full double array, not %.40s.", name(), cls);
        args_error(class_reason, text);
    }
    if (has_imaginary(a)) {
        std::snprintf(text, sizeof text, "%s must be real.", name());
        args_error("notReal", text);
    }
    if (any_shape) return;
    if (one_element(a)) return;
    if (!two_dimensional(a)) {
        std::snprintf(text, sizeof text, "%s must not have more than two dimensions.", name());
        args_error("tooManyDims", text);
    }
    // A later dimension of 0 (7-by-7-by-0) leaves rows * columns > 0 with no
    // element to read.
    // The host's own dimensions (no copy in the call's memory); numel <
    // rows * columns as a quotient, which cannot overflow.
    const mwSize* d = mxGetDimensions(a);
    if (pages && d[0] > 0 && d[1] > 0 &&
        mxGetNumberOfElements(a) / std::size_t(d[1]) < std::size_t(d[0])) {
        std::snprintf(text, sizeof text, "%s must not be empty beyond its second dimension.", name());
        args_error("inputEmpty", text);
    }
}

// Input `position` of the gateway.
void require_input(const mxArray* a, int position, bool integers, bool any_shape) {
    require(a, nullptr, position, "inputClass", integers, any_shape, true);
}

}  // namespace

void args_require_double(const mxArray* a, int position) { require_input(a, position, false, false); }

void args_require_doubles(const mxArray* prhs[], int first, int last) {
    for (int i = first; i <= last; ++i) args_require_double(prhs[i - 1], i);
}

void args_require_double_any_shape(const mxArray* a, int position) {
    require_input(a, position, false, true);
}

void args_require_size(const mxArray* a, int position) { require_input(a, position, true, false); }

void args_require_double_part(const mxArray* a, const char* what) {
    require(a, what, 0, "fieldClass", false, false, false);
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
    if (!(v > -2147483648.0 && v < 2147483648.0))
        args_error("sizeRange", "Sizes must be finite and smaller than 2^31 in magnitude.");
    return int(v);
}

std::size_t args_count(const mxArray* a) { return mxGetNumberOfElements(a); }

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
