// A struct input's fields read on Octave without converting the struct:
// Octave hands a module its inputs as wrapped interpreter values, and the
// first mxGetField on one converts the whole struct, every field wrapped
// anew, and the first mxGetCell on a field the whole cell.  In a source of
// its own because the interpreter's headers and mex.h both declare mxArray
// (a void pointer here, as mex.h has it).
#ifndef BAYESMEX_STRUCT_OCTAVE_H
#define BAYESMEX_STRUCT_OCTAVE_H

#include <cstddef>

// Room for an opened struct that its reader keeps in itself (no host
// memory for a scalar call's fields), aligned for any scalar.
constexpr std::size_t OCTSTRUCT_ROOM = 256;

// The fields of a 1-by-1 struct `s`, taken once into `room` (octstruct_close
// gives them back, with every array made from them); null for anything
// else, whose fields the caller reads as usual.
void* octstruct_open(const void* s, void* room);

// Field `name` of an opened struct as an array valid until octstruct_close,
// or null when there is no such field.
const void* octstruct_field(void* opened, const char* name);

// Element i of `cell`, a cell array that octstruct_field made from this
// opened struct, as an array valid until octstruct_close; null when `cell`
// is no cell or i is past its elements.
const void* octstruct_cell(void* opened, const void* cell, std::size_t i);

void octstruct_close(void* opened);

#endif
