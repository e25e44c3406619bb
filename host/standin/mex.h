/* The stand-in host's plug-in interface: the subset of the host's array and
 * call operations that the modules use, with the host's own names and
 * signatures (libmx and libmex).  Sizes follow the 64-bit host: mwSize and
 * mwIndex are unsigned 64-bit, and the `_700` operations give 32-bit sizes. */
#ifndef BAYESMEX_STANDIN_MEX_H
#define BAYESMEX_STANDIN_MEX_H

#include <stddef.h>
#include <stdint.h>

#define BAYESMEX_STANDIN_HOST 1

typedef struct mxArray_tag mxArray;
typedef size_t mwSize;
typedef size_t mwIndex;
typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;
typedef enum {
    mxUNKNOWN_CLASS = 0, mxCELL_CLASS, mxSTRUCT_CLASS, mxLOGICAL_CLASS, mxCHAR_CLASS,
    mxVOID_CLASS, mxDOUBLE_CLASS, mxSINGLE_CLASS, mxINT8_CLASS, mxUINT8_CLASS, mxINT16_CLASS,
    mxUINT16_CLASS, mxINT32_CLASS, mxUINT32_CLASS, mxINT64_CLASS, mxUINT64_CLASS, mxFUNCTION_CLASS
} mxClassID;

#ifdef __cplusplus
extern "C" {
#define BAYESMEX_NORETURN [[noreturn]]
#else
#define BAYESMEX_NORETURN _Noreturn
#endif

/* The gateway every module exports. */
void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

/* libmex */
BAYESMEX_NORETURN void mexErrMsgTxt(const char* text);
/* Formats like printf; the identifier travels with the message. */
BAYESMEX_NORETURN void mexErrMsgIdAndTxt(const char* id, const char* format, ...);
/* Name of the running gateway's function ("" outside a module's call). */
const char* mexFunctionName(void);
int mexCallMATLAB(int nlhs, mxArray* plhs[], int nrhs, mxArray* prhs[],
                  const char* name);
/* Whether "rand" and "randn" are independent streams, and Ctrl-C as the
 * tests script it (host/host.h). */
int host_independent_streams(void);
int host_interrupt_pending(void);
void host_interrupt_check(void);

/* libmx: access */
double mxGetScalar(const mxArray* a);
double* mxGetPr(const mxArray* a);
/* Imaginary parts of a complex double array (null for a real one). */
double* mxGetPi(const mxArray* a);
void* mxGetData(const mxArray* a);
const int* mxGetDimensions_700(const mxArray* a);
const mwSize* mxGetDimensions(const mxArray* a);
mwSize mxGetNumberOfDimensions(const mxArray* a);
size_t mxGetNumberOfElements(const mxArray* a);
size_t mxGetM(const mxArray* a);
size_t mxGetN(const mxArray* a);

/* libmx: class queries */
int mxIsDouble(const mxArray* a);
int mxIsSparse(const mxArray* a);
int mxIsComplex(const mxArray* a);
int mxIsChar(const mxArray* a);
int mxIsCell(const mxArray* a);
int mxIsLogical(const mxArray* a);
int mxIsStruct(const mxArray* a);
const char* mxGetClassName(const mxArray* a);
mxClassID mxGetClassID(const mxArray* a);

/* libmx: creation and release */
mxArray* mxCreateDoubleMatrix_700(int m, int n, mxComplexity flag);
mxArray* mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity flag);
mxArray* mxCreateDoubleScalar(double value);
mxArray* mxCreateString(const char* text);
/* Only mxDOUBLE_CLASS with mxREAL: what the modules make. */
mxArray* mxCreateUninitNumericMatrix(size_t m, size_t n, mxClassID classid, mxComplexity flag);
mxArray* mxCreateUninitNumericArray(size_t ndim, const size_t* dims, mxClassID classid, mxComplexity flag);
mxArray* mxCreateNumericArray(mwSize ndim, const mwSize* dims, mxClassID classid,
                              mxComplexity flag);
void mxDestroyArray(mxArray* a);
void* mxMalloc(size_t bytes);
void mxFree(void* block);

/* libmx: structures, cells, text */
mxArray* mxGetField(const mxArray* s, mwIndex index, const char* field);
mxArray* mxGetCell(const mxArray* c, mwIndex index);
char* mxArrayToString(const mxArray* a);
int mxGetString(const mxArray* a, char* buf, mwSize buflen);
typedef char16_t mxChar;
mxChar* mxGetChars(const mxArray* a);

#ifdef __cplusplus
}
#endif

#endif
