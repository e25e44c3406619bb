// The host operations of host/octave/mx.h over Octave's own values, and the
// call they run in (host/octave/call.h).
//
// An array is a small record that points at an Octave value and caches what
// the module asked of it.  Data is read where the value keeps it; a value
// that keeps no element storage of the asked kind (a range, a diagonal or
// permutation matrix, a lazy index, a complex array's real parts) gets a
// full copy made once, held by the record.  Records made during a call
// (fields, cell elements, results, call-back outputs) live until the module
// destroys them or the call ends, however it ends.
#define BAYESMEX_OCTAVE_IMPL 1
#include "call.h"

#include <octave/oct.h>
#include <octave/Cell.h>
#include <octave/defun-dld.h>
#include <octave/interpreter.h>
#include <octave/oct-map.h>
#include <octave/ov-struct.h>
#include <octave/pager.h>
#include <octave/quit.h>

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <type_traits>

// The module's gateway (modules/NAME.cpp).
void mexFunction(int nlhs, bayesmex_octave::array* plhs[], int nrhs, const bayesmex_octave::array* prhs[]);

namespace bayesmex_octave {

struct array {
    array* prev = nullptr;  // the call's list of the records it made
    array* next = nullptr;
    bool pooled = false;    // lives in the call's own room, not on the heap
    const octave_value* v = nullptr;  // the value read: an argument, or own
    std::optional<octave_value> own;  // a value this record holds
    // A double result: 1-by-1 in `scalar` until it is handed over, else
    // element storage of its own (never shared while the module writes it).
    bool is_scalar = false;
    double scalar = 0.0;
    std::optional<NDArray> made;
    // What was read of v, each once.
    mutable bool data_known = false;
    mutable const void* data = nullptr;
    mutable std::optional<NDArray> full;  // elements copied out: a full real array
    mutable std::optional<NDArray> imag;
    mutable const double* imag_data = nullptr;
    mutable mwSize ndims = 0;
    mutable mwSize dims_local[4];
    mutable int dims32_local[4];
    mutable std::unique_ptr<mwSize[]> dims_more;
    mutable std::unique_ptr<int[]> dims32_more;
    mutable bool dims32_known = false;
    mutable std::optional<octave_scalar_map> fields;
    mutable std::optional<octave_map> fields_array;
    mutable std::optional<Cell> cell;

    // The value as Octave holds it (a scalar or made result as a value of
    // its own, sharing the made storage).
    octave_value value() const {
        if (is_scalar) return octave_value(scalar);
        if (made) return octave_value(*made);
        return *v;
    }
};

namespace {

call* g_call = nullptr;  // the innermost running call of this oct-file

[[noreturn]] void no_call() {
    // A host operation outside a call: the module's own bug, never reached
    // through Octave.
    std::fprintf(stderr, "bayesmex: a host operation ran outside a call\n");
    std::abort();
}

call& current() {
    if (!g_call) no_call();
    return *g_call;
}

builtin_type_t kind(const array* a) { return a->v ? a->v->builtin_type() : btyp_double; }

// A size of doubles that cannot be had, named in the message: "Out of
// memory: WHAT 2-by-3 doubles[ FROM] cannot be had."
[[noreturn]] void out_of_memory_dims(std::size_t ndim, const std::size_t* dims, const char* what = "a result of",
                                     const char* from = "") {
    char size[200];
    int used = 0;
    size[0] = '\0';
    for (std::size_t k = 0; k < ndim && used < 140; ++k)
        used += std::snprintf(size + used, sizeof size - std::size_t(used), "%s%zu", k ? "-by-" : "", dims[k]);
    raise_message(msg::memory_dims, what, size, from);
}

[[noreturn]] void out_of_memory_value(const octave_value& v, const char* what, const char* from = "") {
    const dim_vector dv = v.dims();
    std::size_t dims[8];
    const int nd = dv.ndims() < 8 ? dv.ndims() : 8;
    for (int k = 0; k < nd; ++k) dims[k] = std::size_t(dv(k));
    out_of_memory_dims(std::size_t(nd), dims, what, from);
}

[[noreturn]] void out_of_memory_bytes(std::size_t bytes) { raise_message(msg::memory_bytes, bytes); }

// The allocator of Octave's arrays of doubles (std::allocator, or the
// polymorphic one of an Octave built with it), so that storage made here is
// released by the array that takes it over.
template <class T, class A>
A allocator_of(const Array<T, A>*);
using double_allocator = decltype(allocator_of(static_cast<const Array<double>*>(nullptr)));

// n doubles from the allocator, or null.  std::allocator's own storage is
// asked of the non-throwing operator new (which its deallocate releases as
// it releases its own): AddressSanitizer's throwing operator new ends the
// process where it cannot allocate, while the non-throwing one returns null
// under it as everywhere.
double* allocate_doubles(double_allocator& alloc, std::size_t n) {
    if constexpr (std::is_same_v<double_allocator, std::allocator<double>>) {
        (void)alloc;
        return static_cast<double*>(::operator new(n * sizeof(double), std::nothrow));
    } else {
        try {
            return alloc.allocate(n);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
}

// Element storage for a result, unset, owned by the NDArray returned.
NDArray make_storage(std::size_t ndim, const std::size_t* dims) {
    dim_vector dv;
    dv.resize(int(ndim < 2 ? 2 : ndim));
    dv(0) = dv(1) = 1;
    std::size_t n = 1;
    bool overflow = false;
    for (std::size_t k = 0; k < ndim; ++k) {
        const std::size_t d = dims[k];
        if (d > std::size_t(std::numeric_limits<octave_idx_type>::max())) overflow = true;
        if (d != 0 && n > std::numeric_limits<std::size_t>::max() / d) overflow = true;
        n *= d;
        dv(int(k)) = octave_idx_type(d);
    }
    for (std::size_t k = 0; k < ndim; ++k)
        if (dims[k] == 0) overflow = false, n = 0;
    if (overflow || n > std::size_t(std::numeric_limits<octave_idx_type>::max()) / sizeof(double))
        out_of_memory_dims(ndim, dims);
    if (n == 0) return NDArray(dv);
    double_allocator alloc;
    double* p = allocate_doubles(alloc, n);
    if (!p) out_of_memory_dims(ndim, dims);
    try {
        return NDArray(Array<double>(p, dv, alloc));  // owns p from here on
    } catch (const std::bad_alloc&) {
        alloc.deallocate(p, n);
        out_of_memory_dims(ndim, dims);
    }
}

const void* data_of(const array* a) {
    if (a->data_known) return a->data;
    a->data_known = true;
    if (a->is_scalar) return a->data = &a->scalar;
    if (a->made) return a->data = a->made->data();
    const octave_value& v = *a->v;
    const builtin_type_t b = v.builtin_type();
    // A copy that cannot be had (a range of 10^12 elements) ends the call
    // with the size named; the record holds nothing then.
    try {
        if (b == btyp_complex && !v.issparse()) {
            // Real parts apart from the imaginary ones, as the modules read them.
            a->full.emplace(real(v.complex_array_value()));
            return a->data = a->full->data();
        }
        const void* p = v.internal_rep()->mex_get_data();
        if (!p && b == btyp_double && !v.issparse()) {
            // A range, a diagonal or permutation matrix: no element storage
            // of its own, so a full copy is made once.
            a->full.emplace(v.array_value());
            p = a->full->data();
        }
        return a->data = p;
    } catch (const std::bad_alloc&) {
        a->full.reset();
        a->data_known = false;
        out_of_memory_value(v, "a full copy of");
    }
}

void link(call& c, array* a) {
    a->next = c.live;
    if (c.live) c.live->prev = a;
    c.live = a;
}

// Records made during a call: the first few in the call's own room (a
// scalar call asks the heap for none), the rest from the heap.
constexpr int kMadeRoom = 4;

struct made_room {
    alignas(array) unsigned char bytes[kMadeRoom][sizeof(array)];
    int used = 0;
    made_room() = default;
    made_room(const made_room&) = delete;
    made_room& operator=(const made_room&) = delete;
    ~made_room() {
        for (int i = 0; i < used; ++i) std::launder(reinterpret_cast<array*>(bytes[i]))->~array();
    }
};

array* new_array(call& c) {
    made_room* room = static_cast<made_room*>(c.room);
    array* a;
    if (room && room->used < kMadeRoom) {
        a = new (room->bytes[room->used++]) array;
        a->pooled = true;
    } else {
        a = new (std::nothrow) array;
        if (!a) out_of_memory_bytes(sizeof(array));
    }
    link(c, a);
    return a;
}

// A record's end: a pooled one gives up what it holds and stays in the room
// until the call ends.
void release(array* a) {
    if (a->pooled)
        *a = array{};
    else
        delete a;
}

array* hold(call& c, const octave_value& v) {
    array* a = new_array(c);
    a->own.emplace(v);
    a->v = &*a->own;
    return a;
}

array* make_doubles(std::size_t ndim, const std::size_t* dims, bool zero) {
    call& c = current();
    if (ndim == 2 && dims[0] == 1 && dims[1] == 1) {
        array* a = new_array(c);
        a->is_scalar = true;
        return a;
    }
    array* a = new_array(c);
    // Made in place: the record's array is the storage's only owner, so
    // writing it never copies.
    a->made.emplace(make_storage(ndim, dims));
    if (zero && a->made->numel() > 0)
        std::memset(a->made->fortran_vec(), 0, sizeof(double) * std::size_t(a->made->numel()));
    return a;
}

void fill_dims(const array* a) {
    if (a->ndims) return;
    dim_vector dv;
    if (a->is_scalar)
        dv = dim_vector(1, 1);
    else if (a->made)
        dv = a->made->dims();
    else
        dv = a->v->dims();
    const int nd = dv.ndims();
    mwSize* d = a->dims_local;
    if (nd > 4) {
        a->dims_more.reset(new mwSize[std::size_t(nd)]);
        d = a->dims_more.get();
    }
    for (int k = 0; k < nd; ++k) d[k] = mwSize(dv(k));
    a->ndims = mwSize(nd);
}

const mwSize* dims_of(const array* a) {
    fill_dims(a);
    return a->dims_more ? a->dims_more.get() : a->dims_local;
}

std::string vformat(const char* format, va_list ap) {
    va_list again;
    va_copy(again, ap);
    char small[256];
    const int n = std::vsnprintf(small, sizeof small, format, ap);
    if (n < 0) {
        va_end(again);
        return std::string();
    }
    if (std::size_t(n) < sizeof small) {
        va_end(again);
        return std::string(small, std::size_t(n));
    }
    std::string s(std::size_t(n) + 1, '\0');
    std::vsnprintf(&s[0], s.size(), format, again);
    va_end(again);
    s.resize(std::size_t(n));
    return s;
}

// mxMalloc blocks carry a header that links them into the call's list.
struct block {
    block* prev;
    block* next;
    std::size_t bytes;
    std::size_t pad;  // keeps the payload 16-byte aligned
};
static_assert(sizeof(block) % 16 == 0, "payload alignment");

}  // namespace

// ---- the call ----------------------------------------------------------------

namespace {

// This oct-file's function name, given by its installer (each oct-file has
// its own copy of this library).
const char* g_name = "";

// Arguments read without a record from the heap: most calls have a few.
constexpr int kRoom = 6;

// Records for the arguments, made for as many as there are: in the entry
// point's frame for a few, on the heap beyond.
struct input_room {
    alignas(array) unsigned char bytes[kRoom][sizeof(array)];
    int made = 0;
    std::unique_ptr<array[]> more;
    input_room() = default;
    input_room(const input_room&) = delete;
    input_room& operator=(const input_room&) = delete;
    ~input_room() {
        for (int i = 0; i < made; ++i) std::launder(reinterpret_cast<array*>(bytes[i]))->~array();
    }
    void adopt(const octave_value_list& args, const array** prhs) {
        const int n = args.length();
        if (n > kRoom) more.reset(new array[std::size_t(n)]);
        for (int i = 0; i < n; ++i) {
            array* a = more ? &more[std::size_t(i)] : new (bytes[made++]) array;
            a->v = &args(i);
            prhs[i] = a;
        }
    }
};

octave_value_list run(const octave_value_list& args, int nargout) {
    input_room inputs;  // outlives the call's records (made from them)
    made_room made;
    call c(g_name);
    c.room = &made;
    const int nrhs = args.length();
    const array* in_room[kRoom];
    std::unique_ptr<const array*[]> in_more;
    const array** prhs = in_room;
    if (nrhs > kRoom) {
        in_more.reset(new const array*[std::size_t(nrhs)]);
        prhs = in_more.get();
    }
    inputs.adopt(args, prhs);
    // Octave's MEX convention: a module called for no output may still set
    // the first, which becomes ans.
    const int nout = nargout < 1 ? 1 : nargout;
    array* out_room[kRoom] = {};
    std::unique_ptr<array*[]> out_more;
    array** plhs = out_room;
    if (nout > kRoom) {
        out_more.reset(new array*[std::size_t(nout)]());
        plhs = out_more.get();
    }
    try {
        mexFunction(nargout, plhs, nrhs, prhs);
    } catch (const std::bad_alloc&) {
        raise_message(msg::memory_value);
    }
    int n = nargout;
    if (nargout == 0 && plhs[0]) n = 1;
    octave_value_list out(n);
    for (int i = 0; i < n; ++i)
        if (plhs[i]) out(i) = c.take(plhs[i]);
    return out;
}

// The help text of NAME.oct is that of NAME.m beside it (help/NAME.m):
// one text for `help`, `lookfor` and the package's index, as for an m-file.
// Read through the interpreter's function get_help_text_from_file: the
// help system's own method is not among the symbols Octave's libraries
// export when built with their visibility flags (Octave for Windows, and
// Octave's default elsewhere), so an oct-file naming it would not link on
// Windows nor load there.  Octave opens the file itself (a missing one gives
// no text): its file names are UTF-8, which a narrow std::ifstream on
// Windows would read in the ANSI code page, missing a folder named in other
// letters.
std::string help_beside(const octave::dynamic_library& shl) {
    std::string file = shl.file_name();
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos) return std::string();
    file.replace(dot, std::string::npos, ".m");
    try {
        octave_value_list r = octave::interpreter::the_interpreter()->feval(
            "get_help_text_from_file", octave_value_list(octave_value(file)), 1);
        return r.length() > 0 && r(0).is_string() ? r(0).string_value() : std::string();
    } catch (const octave::execution_exception&) {
        return std::string();  // an unreadable help file leaves the function without help, not unloadable
    }
}

}  // namespace

octave_function* install(const octave::dynamic_library& shl, bool relative, const char* name) {
    check_version(OCTAVE_API_VERSION, name);
    g_name = name;
    octave_dld_function* f = octave_dld_function::create(run, shl, name, help_beside(shl));
    if (relative) f->mark_relative();
    return f;
}

call::call(const char* function_name) : name(function_name), outer(g_call) { g_call = this; }

call::~call() {
    if (settle) {
        // Also when an error or an interrupt ends the call: Octave then
        // finds its generators where the values drawn leave them.  Nothing
        // may escape a destructor; a failure here leaves the generator
        // where the call found it.
        try {
            settle();
        } catch (...) {
        }
    }
    while (live) {
        array* a = live;
        live = a->next;
        if (!a->pooled) delete a;  // pooled records go with their room
    }
    while (blocks) {
        block* b = static_cast<block*>(blocks);
        blocks = b->next;
        std::free(b);
    }
    g_call = outer;
}

octave_value call::take(array* a) {
    if (a->is_scalar) return octave_value(a->scalar);
    if (a->made) return octave_value(std::move(*a->made));
    return *a->v;
}

[[noreturn]] void raise_message(msg m, ...) {
    const message_row& row = message_of(m);
    char id[200], text[400];
    std::snprintf(id, sizeof id, "bayesmex:%.80s:%.80s", mexFunctionName(), row.reason);
    va_list ap;
    va_start(ap, m);
    std::vsnprintf(text, sizeof text, row.text, ap);
    va_end(ap);
    mexErrMsgIdAndTxt(id, "%s", text);
}

// ---- errors, output, call-backs -----------------------------------------------

const char* mexFunctionName() { return g_call ? g_call->name : ""; }

void mexErrMsgTxt(const char* text) {
    error("%s: %s", mexFunctionName(), text);
}

void mexErrMsgIdAndTxt(const char* id, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    const std::string msg = vformat(format, ap);
    va_end(ap);
    error_with_id(id, "%s: %s", mexFunctionName(), msg.c_str());
}

void mexWarnMsgIdAndTxt(const char* id, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    const std::string msg = vformat(format, ap);
    va_end(ap);
    warning_with_id(id, "%s: %s", mexFunctionName(), msg.c_str());
}

int mexPrintf(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    const std::string msg = vformat(format, ap);
    va_end(ap);
    octave_stdout << msg;
    return int(msg.size());
}

void settle_before_octave(void (*fn)()) { current().settle = fn; }

int mexCallMATLAB(int nlhs, array* plhs[], int nrhs, array* prhs[], const char* name) {
    call& c = current();
    if (c.settle) c.settle();
    octave_value_list args(nrhs);
    for (int i = 0; i < nrhs; ++i) args(i) = prhs[i]->value();
    octave::interpreter* interp = octave::interpreter::the_interpreter();
    octave_value_list out;
    try {
        out = interp->feval(name, args, nlhs);
    } catch (const std::bad_alloc&) {
        // The host's function could not make its result (rand(m, n) for a
        // module's result, say): named by its size arguments when they are
        // all sizes, else by the size of its first argument.
        char from[80];
        std::snprintf(from, sizeof from, " from the host's %.40s", name);
        std::size_t dims[8];
        bool sizes = nrhs >= 1 && nrhs <= 8;
        for (int i = 0; sizes && i < nrhs; ++i) {
            const octave_value& v = args(i);
            sizes = v.is_real_scalar() && v.isnumeric();
            const double d = sizes ? v.double_value() : 0.0;
            dims[i] = d > 0 && d < 1.8e19 ? std::size_t(d) : 0;
        }
        if (sizes && nrhs == 1) dims[1] = dims[0];  // rand(n) is n-by-n
        if (sizes) out_of_memory_dims(std::size_t(nrhs == 1 ? 2 : nrhs), dims, "a result of", from);
        if (nrhs >= 1) out_of_memory_value(args(0), "a result of", from);
        raise_message(msg::memory_result);
    }
    for (int i = 0; i < nlhs; ++i) plhs[i] = nullptr;
    for (int i = 0; i < nlhs && i < out.length(); ++i) {
        if (out(i).is_undefined()) continue;
        if (out(i).builtin_type() == btyp_double && !out(i).issparse()) {
            // Element storage the module may write: taken out of the list
            // and made its own (a copy only if the caller's code kept one).
            array* a = new_array(c);
            a->made.emplace(out(i).array_value());
            out(i) = octave_value();
            a->made->fortran_vec();
            plhs[i] = a;
        } else {
            plhs[i] = hold(c, out(i));
        }
    }
    return 0;
}

// ---- reading -------------------------------------------------------------------

double mxGetScalar(const array* a) {
    if (a->is_scalar) return a->scalar;
    if (mxGetNumberOfElements(a) == 0) return 0.0;
    const void* p = data_of(a);
    if (!p) return a->v->double_value(true);
    switch (kind(a)) {
        case btyp_double:
        case btyp_complex: return *static_cast<const double*>(p);
        case btyp_float:
        case btyp_float_complex: return double(*static_cast<const float*>(p));
        case btyp_int8: return double(*static_cast<const int8_t*>(p));
        case btyp_int16: return double(*static_cast<const int16_t*>(p));
        case btyp_int32: return double(*static_cast<const int32_t*>(p));
        case btyp_int64: return double(*static_cast<const int64_t*>(p));
        case btyp_uint8: return double(*static_cast<const uint8_t*>(p));
        case btyp_uint16: return double(*static_cast<const uint16_t*>(p));
        case btyp_uint32: return double(*static_cast<const uint32_t*>(p));
        case btyp_uint64: return double(*static_cast<const uint64_t*>(p));
        case btyp_bool: return *static_cast<const bool*>(p) ? 1.0 : 0.0;
        case btyp_char: return double(static_cast<unsigned char>(*static_cast<const char*>(p)));
        default: return a->v->double_value(true);
    }
}

double* mxGetPr(const array* a) { return static_cast<double*>(const_cast<void*>(data_of(a))); }

double* mxGetPi(const array* a) {
    if (a->is_scalar || a->made || !a->v->iscomplex() || a->v->builtin_type() != btyp_complex ||
        a->v->issparse())
        return nullptr;
    if (!a->imag) {
        try {
            a->imag.emplace(imag(a->v->complex_array_value()));
        } catch (const std::bad_alloc&) {
            a->imag.reset();
            out_of_memory_value(*a->v, "a copy of the imaginary parts of");
        }
        a->imag_data = a->imag->data();
    }
    return const_cast<double*>(a->imag_data);
}

void* mxGetData(const array* a) { return const_cast<void*>(data_of(a)); }

const mwSize* mxGetDimensions(const array* a) { return dims_of(a); }

const int* mxGetDimensions_700(const array* a) {
    const mwSize* d = dims_of(a);
    int* out = a->dims32_local;
    if (a->ndims > 4) {
        if (!a->dims32_more) a->dims32_more.reset(new int[a->ndims]);
        out = a->dims32_more.get();
    }
    if (!a->dims32_known) {
        // Sizes beyond the 32-bit range read as INT_MAX: a module then works
        // on fewer elements than the array holds, never more.
        for (mwSize k = 0; k < a->ndims; ++k)
            out[k] = d[k] > mwSize(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(d[k]);
        a->dims32_known = true;
    }
    return out;
}

mwSize mxGetNumberOfDimensions(const array* a) {
    fill_dims(a);
    return a->ndims;
}

std::size_t mxGetNumberOfElements(const array* a) {
    if (a->is_scalar) return 1;
    if (a->made) return std::size_t(a->made->numel());
    return std::size_t(a->v->numel());
}

std::size_t mxGetM(const array* a) { return dims_of(a)[0]; }

std::size_t mxGetN(const array* a) {
    const mwSize* d = dims_of(a);
    std::size_t n = 1;
    for (mwSize k = 1; k < a->ndims; ++k) n *= d[k];
    return n;
}

int mxIsDouble(const array* a) {
    const builtin_type_t b = a->is_scalar || a->made ? btyp_double : kind(a);
    return b == btyp_double || b == btyp_complex;
}

int mxIsSparse(const array* a) { return !(a->is_scalar || a->made) && a->v->issparse(); }

int mxIsComplex(const array* a) { return !(a->is_scalar || a->made) && a->v->iscomplex(); }

int mxIsChar(const array* a) { return !(a->is_scalar || a->made) && kind(a) == btyp_char; }

int mxIsCell(const array* a) { return !(a->is_scalar || a->made) && a->v->iscell(); }

int mxIsLogical(const array* a) { return !(a->is_scalar || a->made) && kind(a) == btyp_bool; }

int mxIsStruct(const array* a) { return !(a->is_scalar || a->made) && a->v->isstruct(); }

mxClassID mxGetClassID(const array* a) {
    if (a->is_scalar || a->made) return mxDOUBLE_CLASS;
    switch (kind(a)) {
        case btyp_double:
        case btyp_complex: return mxDOUBLE_CLASS;
        case btyp_float:
        case btyp_float_complex: return mxSINGLE_CLASS;
        case btyp_int8: return mxINT8_CLASS;
        case btyp_int16: return mxINT16_CLASS;
        case btyp_int32: return mxINT32_CLASS;
        case btyp_int64: return mxINT64_CLASS;
        case btyp_uint8: return mxUINT8_CLASS;
        case btyp_uint16: return mxUINT16_CLASS;
        case btyp_uint32: return mxUINT32_CLASS;
        case btyp_uint64: return mxUINT64_CLASS;
        case btyp_bool: return mxLOGICAL_CLASS;
        case btyp_char: return mxCHAR_CLASS;
        case btyp_struct: return mxSTRUCT_CLASS;
        case btyp_cell: return mxCELL_CLASS;
        case btyp_func_handle: return mxFUNCTION_CLASS;
        default: return mxUNKNOWN_CLASS;
    }
}

// The name outlives the array, as the MEX function's does: a caller may
// destroy the array (a refused call-back output) and then name its class in
// the message.  The built-in classes' names are literals; another class's
// (an object's) is kept once for as long as the module is loaded.
const char* mxGetClassName(const array* a) {
    if (a->is_scalar || a->made) return "double";
    switch (mxGetClassID(a)) {
        case mxDOUBLE_CLASS: return "double";
        case mxSINGLE_CLASS: return "single";
        case mxINT8_CLASS: return "int8";
        case mxUINT8_CLASS: return "uint8";
        case mxINT16_CLASS: return "int16";
        case mxUINT16_CLASS: return "uint16";
        case mxINT32_CLASS: return "int32";
        case mxUINT32_CLASS: return "uint32";
        case mxINT64_CLASS: return "int64";
        case mxUINT64_CLASS: return "uint64";
        case mxLOGICAL_CLASS: return "logical";
        case mxCHAR_CLASS: return "char";
        case mxCELL_CLASS: return "cell";
        case mxSTRUCT_CLASS: return "struct";
        case mxFUNCTION_CLASS: return "function_handle";
        default: break;
    }
    static std::set<std::string> names;  // node addresses never move
    return names.insert(a->v->class_name()).first->c_str();
}

// ---- structures, cells, text -----------------------------------------------------

array* mxGetField(const array* s, mwIndex index, const char* field) {
    if (!mxIsStruct(s) || index >= mxGetNumberOfElements(s)) return nullptr;
    call& c = current();
    const std::string key(field);
    if (mxGetNumberOfElements(s) == 1) {
        if (!s->fields) s->fields.emplace(s->v->scalar_map_value());
        const octave_scalar_map& m = *s->fields;
        const auto p = m.seek(key);
        if (p == m.end()) return nullptr;
        return hold(c, m.contents(p));
    }
    if (!s->fields_array) s->fields_array.emplace(s->v->map_value());
    const octave_map& m = *s->fields_array;
    if (!m.isfield(key)) return nullptr;
    const Cell& values = m.contents(key);  // const: no copy of the shared cell
    return hold(c, values(octave_idx_type(index)));
}

array* mxGetCell(const array* c, mwIndex index) {
    if (!mxIsCell(c) || index >= mxGetNumberOfElements(c)) return nullptr;
    if (!c->cell) c->cell.emplace(c->v->cell_value());
    const Cell& cells = *c->cell;  // const: indexing never unshares the cell
    return hold(current(), cells(octave_idx_type(index)));
}

mxChar* mxGetChars(const array* a) {
    if (!mxIsChar(a)) return nullptr;
    return static_cast<mxChar*>(const_cast<void*>(data_of(a)));
}

int mxGetString(const array* a, char* buf, mwSize buflen) {
    if (!mxIsChar(a) || buflen == 0) return 1;
    const std::size_t n = mxGetNumberOfElements(a);
    const char* p = static_cast<const char*>(data_of(a));
    const std::size_t k = n < buflen - 1 ? n : std::size_t(buflen - 1);
    if (k) std::memcpy(buf, p, k);
    buf[k] = '\0';
    return n < buflen ? 0 : 1;
}

char* mxArrayToString(const array* a) {
    if (!mxIsChar(a)) return nullptr;
    const std::size_t n = mxGetNumberOfElements(a);
    char* s = static_cast<char*>(mxMalloc(n + 1));
    if (n) std::memcpy(s, data_of(a), n);
    s[n] = '\0';
    return s;
}

// ---- making and releasing ------------------------------------------------------------

array* mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity) {
    const std::size_t dims[2] = {m, n};
    return make_doubles(2, dims, true);
}

array* mxCreateDoubleMatrix_700(int m, int n, mxComplexity flag) {
    return mxCreateDoubleMatrix(mwSize(m < 0 ? 0 : m), mwSize(n < 0 ? 0 : n), flag);
}

array* mxCreateDoubleScalar(double value) {
    const std::size_t dims[2] = {1, 1};
    array* a = make_doubles(2, dims, false);
    a->scalar = value;
    return a;
}

array* mxCreateString(const char* text) { return hold(current(), octave_value(std::string(text))); }

array* mxCreateUninitNumericMatrix(std::size_t m, std::size_t n, mxClassID, mxComplexity) {
    const std::size_t dims[2] = {m, n};
    return make_doubles(2, dims, false);
}

array* mxCreateUninitNumericArray(std::size_t ndim, const std::size_t* dims, mxClassID, mxComplexity) {
    if (ndim >= 2) return make_doubles(ndim, dims, false);
    const std::size_t d[2] = {ndim ? dims[0] : 0, 1};
    return make_doubles(2, d, false);
}

array* mxCreateNumericArray(mwSize ndim, const mwSize* dims, mxClassID, mxComplexity) {
    if (ndim >= 2) return make_doubles(ndim, dims, true);
    const std::size_t d[2] = {ndim ? dims[0] : 0, 1};
    return make_doubles(2, d, true);
}

void mxDestroyArray(array* a) {
    if (!a || !g_call) return;
    call& c = *g_call;
    // Only records this call made are in its list; an input is the
    // caller's and stays.
    if (!a->prev && c.live != a) return;
    if (a->prev)
        a->prev->next = a->next;
    else
        c.live = a->next;
    if (a->next) a->next->prev = a->prev;
    release(a);
}

void* mxMalloc(std::size_t bytes) {
    call& c = current();
    if (bytes > std::numeric_limits<std::size_t>::max() - sizeof(block)) out_of_memory_bytes(bytes);
    block* b = static_cast<block*>(std::malloc(sizeof(block) + bytes));
    if (!b) out_of_memory_bytes(bytes);
    b->prev = nullptr;
    b->next = static_cast<block*>(c.blocks);
    b->bytes = bytes;
    if (b->next) b->next->prev = b;
    c.blocks = b;
    return b + 1;
}

void mxFree(void* p) {
    if (!p || !g_call) return;
    block* b = static_cast<block*>(p) - 1;
    if (b->prev)
        b->prev->next = b->next;
    else
        g_call->blocks = b->next;
    if (b->next) b->next->prev = b->prev;
    std::free(b);
}

// ---- the host's own -----------------------------------------------------------------

int host_independent_streams() { return 1; }

int host_interrupt_pending() { return octave_signal_caught ? 1 : 0; }

void host_interrupt_check() { octave_quit(); }

}  // namespace bayesmex_octave
