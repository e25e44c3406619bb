/* The host operations on GNU Octave, where every module is an oct-file: the
 * subset of the array and call interface that the modules use, with the
 * MEX names and signatures they are written against, supplied over Octave's
 * own values by host/octave/mx.cpp.  An argument is read where it lies (no
 * wrapper per call made by the host, no conversion of a struct or cell, no
 * copy of a result on return); what a module makes is an Octave value from
 * the start.
 *
 * Everything is declared in a namespace of its own: the interpreter's
 * headers declare a global mxArray and mwSize of their own, so the sources
 * that implement these operations (which include both) name ours in full.
 * Module sources see the usual global names. */
#ifndef BAYESMEX_OCTAVE_MX_H
#define BAYESMEX_OCTAVE_MX_H

#include <cstddef>
#include <cstdint>

namespace bayesmex_octave {

struct array;
typedef std::size_t mwSize;
typedef std::size_t mwIndex;
// Octave stores a character in one byte.
typedef char mxChar;
enum mxComplexity { mxREAL = 0, mxCOMPLEX = 1 };
enum mxClassID {
    mxUNKNOWN_CLASS = 0, mxCELL_CLASS, mxSTRUCT_CLASS, mxLOGICAL_CLASS, mxCHAR_CLASS,
    mxVOID_CLASS, mxDOUBLE_CLASS, mxSINGLE_CLASS, mxINT8_CLASS, mxUINT8_CLASS, mxINT16_CLASS,
    mxUINT16_CLASS, mxINT32_CLASS, mxUINT32_CLASS, mxINT64_CLASS, mxUINT64_CLASS, mxFUNCTION_CLASS
};

// Errors end the call with "NAME: message" (Octave's error, so a try/catch
// of the caller sees it); warnings go through Octave's warning.
[[noreturn]] void mexErrMsgTxt(const char* text);
[[noreturn]] void mexErrMsgIdAndTxt(const char* id, const char* format, ...);
void mexWarnMsgIdAndTxt(const char* id, const char* format, ...);
int mexPrintf(const char* format, ...);
const char* mexFunctionName();
// Runs the named function through Octave's lookup (a user's own first):
// its outputs are the module's to read and destroy, and a real full double
// output is the module's alone (written in place, never the caller's data).
int mexCallMATLAB(int nlhs, array* plhs[], int nrhs, array* prhs[], const char* name);

double mxGetScalar(const array* a);
double* mxGetPr(const array* a);
double* mxGetPi(const array* a);
void* mxGetData(const array* a);
const mwSize* mxGetDimensions(const array* a);
const int* mxGetDimensions_700(const array* a);
mwSize mxGetNumberOfDimensions(const array* a);
std::size_t mxGetNumberOfElements(const array* a);
std::size_t mxGetM(const array* a);
std::size_t mxGetN(const array* a);

int mxIsDouble(const array* a);
int mxIsSparse(const array* a);
int mxIsComplex(const array* a);
int mxIsChar(const array* a);
int mxIsCell(const array* a);
int mxIsLogical(const array* a);
int mxIsStruct(const array* a);
const char* mxGetClassName(const array* a);
mxClassID mxGetClassID(const array* a);

// Real double arrays only (what the modules make): the Matrix forms zeroed,
// the Uninit forms left for the module to write every element of.  A size
// that cannot be had ends the call with bayesmex:NAME:outOfMemory.
array* mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity flag);
array* mxCreateDoubleMatrix_700(int m, int n, mxComplexity flag);
array* mxCreateDoubleScalar(double value);
array* mxCreateString(const char* text);
array* mxCreateUninitNumericMatrix(std::size_t m, std::size_t n, mxClassID classid, mxComplexity flag);
array* mxCreateUninitNumericArray(std::size_t ndim, const std::size_t* dims, mxClassID classid,
                                  mxComplexity flag);
array* mxCreateNumericArray(mwSize ndim, const mwSize* dims, mxClassID classid, mxComplexity flag);
void mxDestroyArray(array* a);
void* mxMalloc(std::size_t bytes);
void mxFree(void* block);

array* mxGetField(const array* s, mwIndex index, const char* field);
array* mxGetCell(const array* c, mwIndex index);
char* mxArrayToString(const array* a);
int mxGetString(const array* a, char* buf, mwSize buflen);
mxChar* mxGetChars(const array* a);

// Octave keeps "rand" and "randn" apart (host/host.h).
int host_independent_streams();
// Ctrl-C (host/host.h).
int host_interrupt_pending();
void host_interrupt_check();

}  // namespace bayesmex_octave

#if !defined(BAYESMEX_OCTAVE_IMPL)
typedef bayesmex_octave::array mxArray;
using namespace bayesmex_octave;
// The gateway every module defines (C++ linkage: one per oct-file, called
// by its entry point, host/octave/entry.cpp).
void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);
#endif

#endif
