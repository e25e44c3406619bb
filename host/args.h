// Argument checks shared by every module: the error call, the class and shape
// of numeric inputs, the scalar test, scalar values and size values.
// Messages are one sentence ending in a full stop, like the modules' own.
#ifndef BAYESMEX_ARGS_H
#define BAYESMEX_ARGS_H

#include "host.h"

#include <cstddef>

// Every error of every module: ends the call with `message` under the
// identifier "bayesmex:FUNCTION:reason" (FUNCTION is the running module's
// name), so callers can branch on err.identifier and never on the wording.
// `reason` is a camelCase word shared by modules for the same fault.
[[noreturn]] void args_error(const char* reason, const char* message);

// A numeric input that is read as doubles must be a full double array with no
// non-zero imaginary part: anything else would have its storage read as
// doubles or lose its imaginary parts.  (A complex array whose imaginary
// parts are all zero passes; its real parts are read.)  Modules read the
// first two dimensions only, so an array with a further dimension above 1 is
// refused, and so is one whose first two dimensions promise elements that a
// later zero dimension takes away (7-by-7-by-0).  `position` is 1-based, as
// the caller counts inputs.
void args_require_double(const mxArray* a, int position);
// The same test for inputs first .. last (1-based, inclusive) of prhs.
void args_require_doubles(const mxArray* prhs[], int first, int last);
// The same test without the shape rule, for elementwise functions that keep
// their input's shape, whatever its dimensions.
void args_require_double_any_shape(const mxArray* a, int position);
// A size or count (M, N, K, B): a full double array or an integer-class one
// (int8 .. uint64), real, with at most two dimensions.  Its value is read by
// args_size.
void args_require_size(const mxArray* a, int position);

// The rules of args_require_double for a value inside an input (a field of a
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
// that are not numbers, infinite or outside the 32-bit range are refused:
// "Sizes must be finite and smaller than 2^31 in magnitude."
int args_size(const mxArray* a);

// Element count of an array the module made or got from the host, taken from
// the array itself: the only count that bounds every read and write.
std::size_t args_count(const mxArray* a);

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
