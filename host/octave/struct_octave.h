// A field of a struct input read on Octave without converting the struct:
// Octave hands a module its inputs as wrapped interpreter values, and the
// first mxGetField on one converts the whole struct, every field wrapped
// anew.  In a source of its own because the interpreter's headers and mex.h
// both declare mxArray (a void pointer here, as mex.h has it).
#ifndef BAYESMEX_STRUCT_OCTAVE_H
#define BAYESMEX_STRUCT_OCTAVE_H

// For a 1-by-1 struct `s`: sets *done and returns field `name` of it as an
// array of the caller's (octstruct_free gives it back), or null when there
// is no such field.  For anything else *done is false and the caller reads
// the field as usual.
void* octstruct_field(const void* s, const char* name, bool* done);

void octstruct_free(void* field);

#endif
