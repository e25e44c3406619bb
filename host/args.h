// The argument driver every module calls first, and the helpers modules read
// their arguments with.
//
// A function's argument form is its `args` line in manifest.txt, e.g.
//   args  MU:param NU:param [M:size N:size]
// compiled into the gateway (args_this, below) and parsed at compile time.
// args_check then tries, in this order: the output count and the input
// count (or the input count first, with inputs-first), the class of every
// input present in input order, and the shapes: the parameters against one
// another, each input's own shape in input order, the parameters against
// the sizes.  Nothing is made or drawn before it returns; the values are the
// module's to check after it.
//
// The form's words:
//   NAME:KIND   an input; KIND is
//     double    a real full double array of at most two dimensions
//     array     a real full double array of any shape (elementwise)
//     param     a sampler's parameter: a double array with one value, or one
//               per element of the result (sizeInconsistent otherwise)
//     weights   a double array of fewer than 2^31 elements (sizeRange)
//     vector.V  a double array with a first or second dimension of 1
//               (notVector.V of host/messages.h)
//     size      a size or count read truncated to an int (double or integer
//               class; sizeRange)
//     count.V   a size that must pass the scalar test (notScalar.V)
//     any       any value, checked by the module
//   [ ... ]     optional inputs: a call may end before the bracket
//   ...         further inputs, never read
//   out<=N      at most N outputs (the default: out<=1)
//   out==N      exactly N outputs (wrongOutputCount)
//   out=any     outputs unchecked
//   inputs-first  the input count is tested before the output count
// Messages are one sentence ending in a full stop, from host/messages.h.
#ifndef BAYESMEX_ARGS_H
#define BAYESMEX_ARGS_H

#include "host.h"
#include "messages.h"

#include <cstddef>

// Every error of every module: ends the call with message m (a format: the
// arguments fill it) under the identifier "bayesmex:FUNCTION:REASON"
// (FUNCTION is the running module's name), so callers can branch on
// err.identifier and never on the wording.
[[noreturn]] void args_fail(msg m, ...);

// ---- the argument form --------------------------------------------------------

constexpr int ARGS_MOST = 8;  // inputs a form names

enum class args_kind : unsigned char { double_array, array, param, weights, vector, size, count, any };

struct args_form {
    int inputs = 0;                           // inputs named
    args_kind kind[ARGS_MOST] = {};
    msg shape[ARGS_MOST] = {};                // a vector's or a count's message
    unsigned allowed = 0;                     // bit k: a call of k inputs
    bool more = false;                        // ...: further inputs allowed
    int outputs = 1;
    bool exact = false, unchecked = false, inputs_first = false;
};

namespace args_detail {

[[noreturn]] inline void bad_form(const char*) { throw "bad argument form"; }

constexpr bool same(const char* a, const char* a_end, const char* b) {
    for (; a < a_end; ++a, ++b)
        if (*b == '\0' || *a != *b) return false;
    return *b == '\0';
}

constexpr int number(const char* a, const char* e) {
    int v = 0;
    if (a == e) bad_form("a number");
    for (; a < e; ++a) {
        if (*a < '0' || *a > '9') bad_form("a number");
        v = 10 * v + (*a - '0');
    }
    return v;
}

constexpr bool equal(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) ++a, ++b;
    return *a == *b;
}

// The message of `reason` whose variant is [v, v_end).
constexpr msg variant(const char* reason, const char* v, const char* v_end) {
    for (const message_row& m : messages)
        if (equal(m.reason, reason) && same(v, v_end, m.variant)) return m.key;
    bad_form("no such message");
}

}  // namespace args_detail

// The form of a manifest `args` line; a form that is no form stops the
// compilation (configure checks the words first, cmake/manifest.cmake).
constexpr args_form args_parse(const char* text) {
    using namespace args_detail;
    args_form f;
    int depth = 0;
    const char* p = text;
    for (;;) {
        while (*p == ' ') ++p;
        if (*p == '\0') break;
        if (*p == '[') {
            f.allowed |= 1u << f.inputs;  // a call may end here
            ++depth;
            ++p;
            continue;
        }
        if (*p == ']') {
            if (--depth < 0) bad_form("]");
            ++p;
            continue;
        }
        const char* w = p;
        while (*p != '\0' && *p != ' ' && *p != '[' && *p != ']') ++p;
        const char* colon = w;
        while (colon < p && *colon != ':') ++colon;
        if (same(w, p, "...")) {
            f.more = true;
        } else if (same(w, p, "inputs-first")) {
            f.inputs_first = true;
        } else if (same(w, p, "out=any")) {
            f.unchecked = true;
        } else if (p - w > 5 && w[0] == 'o' && w[1] == 'u' && w[2] == 't' && w[4] == '=') {
            if (w[3] == '<') {
                f.outputs = number(w + 5, p);
            } else if (w[3] == '=') {
                f.exact = true;
                f.outputs = number(w + 5, p);
            } else {
                bad_form("out");
            }
        } else if (colon < p) {
            if (f.inputs == ARGS_MOST || f.more) bad_form("too many inputs");
            const char* k = colon + 1;
            const char* dot = k;
            while (dot < p && *dot != '.') ++dot;
            const int i = f.inputs++;
            if (same(k, p, "double"))
                f.kind[i] = args_kind::double_array;
            else if (same(k, p, "array"))
                f.kind[i] = args_kind::array;
            else if (same(k, p, "param"))
                f.kind[i] = args_kind::param;
            else if (same(k, p, "weights"))
                f.kind[i] = args_kind::weights;
            else if (same(k, p, "size"))
                f.kind[i] = args_kind::size;
            else if (same(k, p, "any"))
                f.kind[i] = args_kind::any;
            else if (same(k, dot, "vector") && dot < p) {
                f.kind[i] = args_kind::vector;
                f.shape[i] = variant("notVector", dot + 1, p);
            } else if (same(k, dot, "count") && dot < p) {
                f.kind[i] = args_kind::count;
                f.shape[i] = variant("notScalar", dot + 1, p);
            } else {
                bad_form("kind");
            }
        } else {
            bad_form("word");
        }
    }
    if (depth != 0) bad_form("[");
    f.allowed |= 1u << f.inputs;
    return f;
}

// The running module's form: BAYESMEX_FUNCTION names the module a gateway is
// compiled for, and bayesmex_forms.h (written from manifest.txt by CMake,
// the package script and the MATLAB build script) defines its text as
// BAYESMEX_FORM_<name>.
#if defined(BAYESMEX_FUNCTION)
#include "bayesmex_forms.h"
#define BAYESMEX_ARGS_JOIN2(a, b) a##b
#define BAYESMEX_ARGS_JOIN(a, b) BAYESMEX_ARGS_JOIN2(a, b)
inline constexpr args_form args_this = args_parse(BAYESMEX_ARGS_JOIN(BAYESMEX_FORM_, BAYESMEX_FUNCTION));
#endif

// What the driver learnt of a call that passed.
struct args_in {
    int m = 0, n = 0;               // the result's size, for a form with parameters:
                                    // M-by-N with sizes, else a per-element parameter's
    bool each[ARGS_MOST] = {};      // parameter i holds other than one element (empty
                                    // too): one value per element
    int size[ARGS_MOST] = {};       // size or count i, as args_size reads it
};

// Counts, classes and shapes of a call, in the form's order.
args_in args_check(const args_form& form, int nlhs, int nrhs, const mxArray* prhs[]);

// ---- reading ----------------------------------------------------------------------

// The rules of a double input for a value inside an input (a field of a
// structure, an element of a cell), named in the messages by `what`
// ("metric.lengthScale must be real."), with the reason "fieldClass" for a
// wrong class.  Such a value is read only as far as it holds elements (see
// args_vector_length), so an empty later dimension is no fault.
void args_require_double_part(const mxArray* a, const char* what);

// Field `name` of a structure's first element; null when `s` is no
// structure, has no element or has no such field.
const mxArray* args_field(const mxArray* s, const char* name);

// A value inside an input (a cell's element) read as numbers:
// args_require_double_part's rules (named by `what`), then as many values
// as args_vector_length counts, *values the first; 0 and null for null.
mwSize args_part_doubles(const mxArray* e, const char* what, const double** values);

// A vector: one of the first two dimensions is 1 and no later one is above 1
// (a later 0 leaves it empty).
bool args_is_vector(const mxArray* a);

// The length of a vector: its larger first-two dimension, but never more than
// the elements it holds (a 1-by-0 array, or 1-by-3-by-0, lists nothing).
mwSize args_vector_length(const mxArray* a);

// Scalar test: neither the row count nor the column count exceeds 1 (so empty
// arrays pass).
bool args_is_scalar(const mxArray* a);

// The value of a scalar argument: its first element (real part) as a double,
// exact for every integer class, and 0 for an empty array, on every host.
double args_scalar(const mxArray* a);

// A size value: args_scalar truncated toward zero to a 32-bit int.  Values
// that are not numbers, infinite or outside the 32-bit range are refused
// (sizeRange).
int args_size(const mxArray* a);

// Element count of an array the module made or got from the host, taken from
// the array itself: the only count that bounds every read and write.
std::size_t args_count(const mxArray* a);

// The class a value the host's function returned has where a full real
// double array was wanted ("single", "sparse", "complex", "nothing" for no
// value), or null when it is one: a user's own rand or sort may return
// anything, and its storage would be read as doubles.
const char* args_not_doubles(const mxArray* a);

// An m-by-n double result whose elements the module writes every one of
// before it returns: the host leaves them unset (no zeroing pass over a large
// result).  Negative sizes give an empty array, as mxCreateDoubleMatrix_700.
mxArray* args_result_uninit(int m, int n);

// The same for sizes the caller has made non-negative.
mxArray* args_result_doubles(std::size_t m, std::size_t n);

// A double result of a's shape, every dimension of it, whose elements the
// module writes every one of (unset here, as args_result_uninit); 1-by-1 for
// one element, whose dimensions are then not read.
mxArray* args_result_like(const mxArray* a);

#endif
