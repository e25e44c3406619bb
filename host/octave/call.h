// One call of an oct-file's function, for host/octave's own sources (they
// include the interpreter's headers): the records and memory it made, all
// released when it ends, however it ends.
#ifndef BAYESMEX_OCTAVE_CALL_H
#define BAYESMEX_OCTAVE_CALL_H

#ifndef BAYESMEX_OCTAVE_IMPL
#error "host/octave/call.h is for the sources that implement the host operations"
#endif

#include "mx.h"
#include "../messages.h"


class octave_value;
class octave_value_list;
class octave_function;
namespace octave {
class dynamic_library;
}

namespace bayesmex_octave {

struct call {
    explicit call(const char* function_name);
    ~call();
    call(const call&) = delete;
    call& operator=(const call&) = delete;

    // The value of a record the module returns; the record then holds
    // nothing of its own.
    octave_value take(array* a);

    const char* name;
    call* outer;            // the call this one runs inside (a call-back's), or null
    void (*settle)() = nullptr;  // see settle_before_octave
    array* live = nullptr;  // records made during the call
    void* blocks = nullptr; // mxMalloc blocks not yet freed
    void* room = nullptr;   // room for the first records the call makes (mx.cpp)
};

// The installer of an oct-file's function NAME (host/octave/entry.cpp): the
// function Octave calls with the arguments, running the module's gateway.
octave_function* install(const octave::dynamic_library& shl, bool relative, const char* name);

// Registers `fn` to run before Octave or the user's code runs again while
// the current call lasts (before each call-back) and when it ends, however
// it ends: what the module keeps of Octave's state for the call (the random
// door's generator sessions) is handed back there.  One function per call.
void settle_before_octave(void (*fn)());

// Ends the call with "NAME: message" under bayesmex:NAME:REASON, message m
// of host/messages.h (a format: the arguments fill it).
[[noreturn]] void raise_message(msg m, ...);

}  // namespace bayesmex_octave

#endif
