/* The MEX interface of the test host: the C signatures of MATLAB's array
   library and gateway library, for the calls the commands and the tests
   make. Complex arrays are stored interleaved, as MATLAB R2018a and later
   store them (MX_HAS_INTERLEAVED_COMPLEX, the -R2018a API); built with
   KV_HOST_SEPARATE, the host offers the separate-complex API of older
   MATLAB instead, with separate real and imaginary planes. */
#ifndef KORVANE_HOST_MEX_H
#define KORVANE_HOST_MEX_H

#include <stdbool.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef size_t mwSize;
typedef size_t mwIndex;
typedef ptrdiff_t mwSignedIndex;
typedef bool mxLogical;
typedef struct mxArray_tag mxArray;

typedef enum { mxREAL = 0, mxCOMPLEX = 1 } mxComplexity;

#ifdef KV_HOST_SEPARATE
#define MX_HAS_INTERLEAVED_COMPLEX 0
#else
#define MX_HAS_INTERLEAVED_COMPLEX 1
typedef double mxDouble;
typedef struct {
  mxDouble real, imag;
} mxComplexDouble;
#endif

typedef enum {
  mxUNKNOWN_CLASS = 0,
  mxCELL_CLASS,
  mxSTRUCT_CLASS,
  mxLOGICAL_CLASS,
  mxCHAR_CLASS,
  mxVOID_CLASS,
  mxDOUBLE_CLASS,
  mxSINGLE_CLASS,
  mxINT8_CLASS,
  mxUINT8_CLASS,
  mxINT16_CLASS,
  mxUINT16_CLASS,
  mxINT32_CLASS,
  mxUINT32_CLASS,
  mxINT64_CLASS,
  mxUINT64_CLASS,
  mxFUNCTION_CLASS
} mxClassID;

/* Creation and destruction. */
mxArray* mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity flag);
mxArray* mxCreateNumericMatrix(mwSize m, mwSize n, mxClassID classid, mxComplexity flag);
mxArray* mxCreateLogicalMatrix(mwSize m, mwSize n);
mxArray* mxCreateString(const char* str);
mxArray* mxCreateSparse(mwSize m, mwSize n, mwSize nzmax, mxComplexity flag);
mxArray* mxCreateCellMatrix(mwSize m, mwSize n);
void mxDestroyArray(mxArray* a);

/* Queries. */
#if MX_HAS_INTERLEAVED_COMPLEX
/* NULL unless the array is a real (complex) double array. */
mxDouble* mxGetDoubles(const mxArray* a);
mxComplexDouble* mxGetComplexDoubles(const mxArray* a);
/* A real double array only; a complex one is an error, as in MATLAB. */
double* mxGetPr(const mxArray* a);
#else
double* mxGetPr(const mxArray* a);
double* mxGetPi(const mxArray* a);
void* mxGetImagData(const mxArray* a);
#endif
/* Interleaved real and imaginary parts for a complex array in the
   interleaved API. */
void* mxGetData(const mxArray* a);
mwIndex* mxGetIr(const mxArray* a);
mwIndex* mxGetJc(const mxArray* a);
size_t mxGetM(const mxArray* a);
size_t mxGetN(const mxArray* a);
size_t mxGetNumberOfElements(const mxArray* a);
mxClassID mxGetClassID(const mxArray* a);
double mxGetScalar(const mxArray* a);
bool mxIsNumeric(const mxArray* a);
bool mxIsComplex(const mxArray* a);
bool mxIsSparse(const mxArray* a);
bool mxIsDouble(const mxArray* a);
bool mxIsSingle(const mxArray* a);
bool mxIsLogical(const mxArray* a);
bool mxIsChar(const mxArray* a);
bool mxIsCell(const mxArray* a);
bool mxIsEmpty(const mxArray* a);
/* The characters of a char array as a 0-terminated string in buf; 0 on
   success, 1 when a is not a char array or buf is too short (what fits is
   copied then). */
int mxGetString(const mxArray* a, char* buf, mwSize buflen);

/* Memory that lives until the call ends. */
void* mxMalloc(mwSize n);
void* mxCalloc(mwSize n, mwSize size);
void mxFree(void* ptr);

/* Gateway library. */
int mexPrintf(const char* fmt, ...);
void mexErrMsgTxt(const char* msg);
/* The message is a printf format; the identifier reads "component:mnemonic". */
void mexErrMsgIdAndTxt(const char* id, const char* fmt, ...);

/* The entry point every module exports. */
#if defined(_WIN32)
__declspec(dllexport)
#else
__attribute__((visibility("default")))
#endif
    void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

#ifdef __cplusplus
}
#endif

#endif
