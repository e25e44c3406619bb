// The interpreter side of host/args on Octave (args_octave.h).
#include "args_octave.h"

#include <octave/oct.h>
#include <octave/mxarray.h>
#include <octave/mexproto.h>
#include <octave/ov-struct.h>

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace {

// The struct's fields, and the arrays made from them: each wraps a value as
// Octave wraps an input (its data read where it lies, real and imaginary
// parts apart, as our modules are built) and holds its own reference to it.
// The first few wrappers live in the reader itself, so that reading a
// scalar call's fields costs an allocation only for the copy of the
// struct's value list and for each wrapper's own state.
struct opened {
    explicit opened(const octave_scalar_map& m) : map(m) {}
    ~opened() {
        for (int i = 0; i < used; ++i) shell(i)->~mxArray();
        for (mxArray* a : more) delete a;
        for (int i = 0; i < nkept; ++i) kept(i)->~octave_value();
    }
    opened(const opened&) = delete;
    opened& operator=(const opened&) = delete;

    // v, read in place, when it is an array of two dimensions of `kind`
    // (OCTFIELD_DOUBLES: real and full; OCTFIELD_LOGICALS: full;
    // OCTFIELD_TEXT: characters): v itself, or for a range a full array
    // made and kept here.  Null for anything else, and for a range when
    // there is no room left to keep one.
    const octave_value* plain(const octave_value* v, int kind) {
        const bool fits = kind == OCTFIELD_DOUBLES    ? v->is_double_type() && v->isreal() && !v->issparse()
                          : kind == OCTFIELD_LOGICALS ? v->islogical() && !v->issparse()
                                                      : v->is_string();
        if (!fits || v->ndims() != 2) return nullptr;
        if (!v->is_range()) return v;
        if (nkept == kKeeps) return nullptr;
        return new (keeps[nkept++]) octave_value(v->full_value());
    }

    mxArray* shell(int i) { return std::launder(reinterpret_cast<mxArray*>(shells[i])); }
    octave_value* kept(int i) { return std::launder(reinterpret_cast<octave_value*>(keeps[i])); }

    const mxArray* wrap(const octave_value& v) {
        if (used < kShells) {
            mxArray* a = new (shells[used]) mxArray(false, v);
            ++used;
            return a;
        }
        more.reserve(more.size() + 1);  // a failure here leaks nothing
        mxArray* a = new mxArray(false, v);
        more.push_back(a);
        return a;
    }

    static constexpr int kShells = 8;
    static constexpr int kKeeps = 4;
    octave_scalar_map map;
    alignas(mxArray) unsigned char shells[kShells][sizeof(mxArray)];
    int used = 0;
    std::vector<mxArray*> more;
    // Full arrays made from ranges read in place.
    alignas(octave_value) unsigned char keeps[kKeeps][sizeof(octave_value)];
    int nkept = 0;
};

// A range (1:2) is stored as its ends, which a host array cannot point
// into: the first mxGetPr of it converts the whole wrapper, dimensions,
// data and all, and the wrapper's release frees that again.  Made a full
// array here once instead: the same elements Octave's conversion makes.
octave_value full(const octave_value& v) { return v.is_range() ? v.full_value() : v; }

// Element i of the cell array `cell` wraps, held by *holder; null when it is
// no cell or i is past its elements.
const octave_value* cell_element(const void* cell, std::size_t i, Cell* holder) {
    const octave_value v = static_cast<const mxArray*>(cell)->as_octave_value();
    if (!v.iscell() || i >= std::size_t(v.numel())) return nullptr;
    *holder = v.cell_value();
    return &(*holder)(octave_idx_type(i));
}

}  // namespace

static_assert(sizeof(opened) <= OCTSTRUCT_ROOM && alignof(opened) <= alignof(std::max_align_t),
              "an opened struct fits its reader's room");

void* octstruct_open(const void* s, void* room) {
    const octave_value v = static_cast<const mxArray*>(s)->as_octave_value();
    if (!v.isstruct() || v.numel() != 1) return nullptr;
    return new (room) opened(v.scalar_map_value());
}

const void* octstruct_field(void* o, const char* name) {
    opened& r = *static_cast<opened*>(o);
    const auto p = r.map.seek(name);
    if (p == r.map.end()) return nullptr;
    return r.wrap(full(r.map.contents(p)));
}

const void* octstruct_cell(void* o, const void* cell, std::size_t i) {
    Cell holder;
    const octave_value* e = cell_element(cell, i, &holder);
    // Every element wrapped, empty or not, as Octave's own cell conversion
    // does: mxGetCell never answers null there.
    return e ? static_cast<opened*>(o)->wrap(full(*e)) : nullptr;
}

bool octstruct_field_vector(void* o, const char* name, int kind, std::size_t* count, const void** data) {
    opened& r = *static_cast<opened*>(o);
    const auto p = r.map.seek(name);
    if (p == r.map.end()) return false;
    const octave_value* v = r.plain(&r.map.contents(p), kind);
    if (!v) return false;
    const dim_vector d = v->dims();
    if (d(0) != 1 && d(1) != 1) return false;
    *count = std::size_t(v->numel());
    *data = v->mex_get_data();
    return true;
}

bool octstruct_cell_doubles(void* o, const void* cell, std::size_t i, std::size_t* rows, std::size_t* cols,
                            std::size_t* count, const double** data) {
    opened& r = *static_cast<opened*>(o);
    Cell holder;  // the struct's cell shares its elements: they outlive it
    const octave_value* v = cell_element(cell, i, &holder);
    if (!v || !(v = r.plain(v, OCTFIELD_DOUBLES))) return false;
    const dim_vector d = v->dims();
    *rows = std::size_t(d(0));
    *cols = std::size_t(d(1));
    *count = std::size_t(v->numel());
    *data = static_cast<const double*>(v->mex_get_data());
    return true;
}

void octstruct_close(void* o) { static_cast<opened*>(o)->~opened(); }

void* octresult_doubles(const std::size_t* dims, std::size_t ndims) {
#if defined(OCTAVE_HAVE_STD_PMR_POLYMORPHIC_ALLOCATOR)
    // This Octave takes a result's own storage when the call returns.
    (void)dims, (void)ndims;
    return nullptr;
#else
    dim_vector dv;
    dv.resize(int(ndims));
    std::size_t n = 1;
    for (std::size_t k = 0; k < ndims; ++k) {
        dv(int(k)) = octave_idx_type(dims[k]);
        n *= dims[k];
    }
    std::allocator<double> alloc;  // what the array's own release uses
    double* data = nullptr;
    try {
        data = alloc.allocate(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    Array<double> a;
    try {
        a = Array<double>(data, dv);  // a owns data from here on
    } catch (const std::bad_alloc&) {
        alloc.deallocate(data, n);
        return nullptr;
    }
    octave_value v;
    try {
        v = NDArray(a);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    // The result wraps the value as Octave wraps an input, its storage
    // written in place through mxGetPr.  Only arrays Octave makes itself are
    // freed when the call ends, and a duplicate would copy the storage: so a
    // cell that Octave made holds the wrapper, and frees it with itself
    // when the call ends, after the returned wrapper's value has been taken
    // (or on an error).  Nothing else may destroy the result.
    mxArray* keeper = mxCreateCellMatrix(1, 1);
    mxArray* result = new mxArray(false, v);
    mxSetCell(keeper, 0, result);
    return result;
#endif
}
