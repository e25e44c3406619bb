// The interpreter side of args_fields on Octave (struct_octave.h).
#include "struct_octave.h"

#include <octave/oct.h>
#include <octave/mxarray.h>
#include <octave/ov-struct.h>

void* octstruct_open(const void* s) {
    const octave_value v = static_cast<const mxArray*>(s)->as_octave_value();
    if (!v.isstruct() || v.numel() != 1) return nullptr;
    return new octave_scalar_map(v.scalar_map_value());
}

namespace {

// A range (1:2) is stored as its ends, which a host array cannot point
// into: the first mxGetPr of it converts the whole wrapper, dimensions,
// data and all, and the wrapper's release frees that again.  Made a full
// array here once instead, and so inside a cell too.
octave_value full(const octave_value& v) {
    if (v.is_range()) return v.full_value();
    if (!v.iscell()) return v;
    Cell c = v.cell_value();
    bool changed = false;
    for (octave_idx_type i = 0; i < c.numel(); ++i)
        if (c(i).is_range()) {
            c(i) = c(i).full_value();
            changed = true;
        }
    return changed ? octave_value(c) : v;
}

}  // namespace

void* octstruct_field(void* opened, const char* name) {
    const octave_scalar_map& map = *static_cast<const octave_scalar_map*>(opened);
    if (!map.isfield(name)) return nullptr;
    // The field's value wrapped as Octave wraps an input: its data read
    // where it lies, real and imaginary parts apart, as our modules are
    // built.  It holds its own reference to the value.
    return new mxArray(false, full(map.getfield(name)));
}

void octstruct_free(void* field) { delete static_cast<mxArray*>(field); }

void octstruct_close(void* opened) { delete static_cast<octave_scalar_map*>(opened); }
