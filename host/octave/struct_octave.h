// A struct input's fields read on Octave without converting the struct:
// Octave hands a module its inputs as wrapped interpreter values, and the
// first mxGetField on one converts the whole struct, every field wrapped
// anew.  In a source of its own because the interpreter's headers and mex.h
// both declare mxArray (a void pointer here, as mex.h has it).
#ifndef BAYESMEX_STRUCT_OCTAVE_H
#define BAYESMEX_STRUCT_OCTAVE_H

// The fields of a 1-by-1 struct `s`, taken once (octstruct_close gives them
// back); null for anything else, whose fields the caller reads as usual.
void* octstruct_open(const void* s);

// Field `name` of an opened struct as an array of the caller's
// (octstruct_free gives it back), or null when there is no such field.
void* octstruct_field(void* opened, const char* name);

void octstruct_free(void* field);
void octstruct_close(void* opened);

#endif
