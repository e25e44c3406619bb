// The interpreter side of host/args on Octave, where inputs arrive as
// wrapped interpreter values and results leave as them:
//   - a struct input's fields read without converting the struct (the first
//     mxGetField on one converts the whole struct, every field wrapped anew,
//     and the first mxGetCell on a field the whole cell);
//   - large results made in an interpreter value's own storage (Octave
//     copies a result made by mxCreate... into a value of its own when the
//     call returns: a second pass over every element, and a zeroing pass
//     before it).
// In a source of its own because the interpreter's headers and mex.h both
// declare mxArray (a void pointer here, as mex.h has it).
#ifndef BAYESMEX_ARGS_OCTAVE_H
#define BAYESMEX_ARGS_OCTAVE_H

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

// Field `name` when it is a vector (two dimensions, one of them 1) of the
// kind `kind` (OCTFIELD_DOUBLES: real and full; OCTFIELD_LOGICALS: full;
// OCTFIELD_TEXT: characters), read in place: true, with its element count
// and its first element (valid until octstruct_close).  False for a
// missing field and anything else.
enum { OCTFIELD_DOUBLES, OCTFIELD_LOGICALS, OCTFIELD_TEXT };
bool octstruct_field_vector(void* opened, const char* name, int kind, std::size_t* count, const void** data);

// Element i of `cell` (as octstruct_cell) when it is a real, full double
// array of two dimensions, read in place: true, with its dimensions, its
// element count and its first element (valid until octstruct_close).
// False for anything else, which the caller reads through octstruct_cell.
bool octstruct_cell_doubles(void* opened, const void* cell, std::size_t i, std::size_t* rows,
                            std::size_t* cols, std::size_t* count, const double** data);

void octstruct_close(void* opened);

// Results of this many elements and more are worth an interpreter value of
// their own (below it the value and its wrapper cost more than the copy).
constexpr std::size_t OCTRESULT_FROM = 2048;

// An uninitialised double array of the `ndims` dimensions `dims` (at least
// two), its storage an interpreter value's, which the call hands back as it
// is; freed with the call's other arrays if the call fails.  Null when the
// memory cannot be had: the caller then makes its array as usual, and the
// host reports what it reports.
void* octresult_doubles(const std::size_t* dims, std::size_t ndims);

#endif
