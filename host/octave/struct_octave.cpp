// The interpreter side of args_fields on Octave (struct_octave.h).
#include "struct_octave.h"

#include <octave/oct.h>
#include <octave/mxarray.h>
#include <octave/ov-struct.h>

void* octstruct_field(const void* s, const char* name, bool* done) {
    *done = false;
    const octave_value v = static_cast<const mxArray*>(s)->as_octave_value();
    if (!v.isstruct() || v.numel() != 1) return nullptr;
    const octave_scalar_map map = v.scalar_map_value();
    *done = true;
    if (!map.isfield(name)) return nullptr;
    // The field's value wrapped as Octave wraps an input: its data read
    // where it lies, real and imaginary parts apart, as our modules are
    // built.  It holds its own reference to the value.
    return new mxArray(false, map.getfield(name));
}

void octstruct_free(void* field) { delete static_cast<mxArray*>(field); }
