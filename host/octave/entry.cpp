// The entry point of one oct-file: Octave loads NAME.oct for a call of NAME
// and asks it for GNAME, the installer of the function (as DEFUN_DLD would
// define it).  Compiled once per module with BAYESMEX_FUNCTION=NAME; the
// function itself (host/octave/mx.cpp) runs the module's gateway.
#define BAYESMEX_OCTAVE_IMPL 1
#include "call.h"

#ifndef BAYESMEX_FUNCTION
#error "compile with -DBAYESMEX_FUNCTION=NAME"
#endif

#define BAYESMEX_STR2(n) #n
#define BAYESMEX_STR(n) BAYESMEX_STR2(n)
#define BAYESMEX_G2(n) G##n
#define BAYESMEX_G(n) BAYESMEX_G2(n)

// Exported by its declaration: a DLL's export table on Windows, the default
// visibility elsewhere (where the version script keeps it the only export).
#if defined(_WIN32) || defined(__CYGWIN__)
#define BAYESMEX_EXPORT __declspec(dllexport)
#else
#define BAYESMEX_EXPORT __attribute__((visibility("default")))
#endif

extern "C" BAYESMEX_EXPORT octave_function* BAYESMEX_G(BAYESMEX_FUNCTION)(
    const octave::dynamic_library& shl, bool relative) {
    return bayesmex_octave::install(shl, relative, BAYESMEX_STR(BAYESMEX_FUNCTION));
}
