// The stand-in host as tests drive it: building input arrays, scripting the
// random stream, reading the log of call-backs, and running one gateway call
// the way a host does (errors end the call, temporaries are reclaimed).
#ifndef BAYESMEX_STANDIN_H
#define BAYESMEX_STANDIN_H

#include "mex.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace standin {

enum class cls {
    double_, single_, int8_, logical_, char_, cell_, struct_, function_,
    uint8_, int16_, uint16_, int32_, uint32_, int64_, uint64_
};

// ---- arrays -----------------------------------------------------------------
// Arrays made here belong to the test; `release` frees one (with its children).
mxArray* matrix(size_t rows, size_t cols, std::initializer_list<double> values = {});
mxArray* matrix(size_t rows, size_t cols, const std::vector<double>& values);
mxArray* array(const std::vector<size_t>& dims, const std::vector<double>& values = {});
mxArray* scalar(double v);
mxArray* complex_matrix(size_t rows, size_t cols, const std::vector<double>& re,
                        const std::vector<double>& im);
// A sparse double (or logical) array whose storage holds only `nonzeros` values.
mxArray* sparse(size_t rows, size_t cols, size_t nonzeros, bool logical = false);
mxArray* of_class(cls c, const std::vector<size_t>& dims);
// A numeric (or logical) array of class c holding `values`, each converted to
// the class as a cast would (integers: in range, truncated).
mxArray* numeric(cls c, const std::vector<size_t>& dims, const std::vector<double>& values);
mxArray* logical(size_t rows, size_t cols, std::initializer_list<int> values = {});
mxArray* text(const std::string& s);
mxArray* cell(size_t rows, size_t cols, std::vector<mxArray*> elements = {});
// A 1-by-1 structure; each field takes ownership of its value (null: unset).
mxArray* structure(std::vector<std::pair<std::string, mxArray*>> fields);
void release(mxArray* a);
std::vector<double> values(const mxArray* a);  // the real parts, storage order
std::vector<size_t> dims(const mxArray* a);

// ---- random stream ------------------------------------------------------------
// "rand" and "randn" share one seeded generator, as on hosts where both draw
// from a single stream; with independent_streams(true) each has its own (the
// host then says so to the modules, as Octave does), both seeded by seed().
// Scripted values are handed out before the generators'.
void independent_streams(bool on);
void seed(uint64_t s);
void script_rand(const std::vector<double>& v);
void script_randn(const std::vector<double>& v);
// With strict scripting a request beyond the scripted values fails the test
// (the call ends with the error "stand-in: random stream exhausted.").
void strict(bool on);
// At most n generated values from now on, a call-back for "rand" or "randn"
// counting as 16 more (n <= 0: no bound; the default):
// the next one, and every one after it, ends its call with "stand-in: random
// value budget spent.", so that a rejection loop that never settles fails at
// once, and so do the calls after it, instead of running on.
void value_budget(long long n);
// Ctrl-C after `polls` more checks (host_interrupt_check) have passed: the
// next one ends its call with "stand-in: interrupted.", and until then
// host_interrupt_pending says whether one would (polls < 0: never; once
// raised, never again until set anew).
void interrupt_after(long long polls);
size_t scripted_left();  // scripted "rand" plus "randn" values not yet taken
double next_rand();      // what the next "rand" value would be, without taking it
double next_randn();     // the same for "randn"
// The state vector last given to rand("state", v) or randn("state", v)
// (name "rand" or "randn"; empty if none).  Either call logs a call-back
// named "rand state" or "randn state" (rows = numel(v), no values) and
// reseeds the shared generator from v, so the draws after it are a function
// of the states set.
std::vector<double> last_state(const std::string& name);

// ---- call-back log -------------------------------------------------------------
struct callback {
    std::string name;  // "rand", "randn" or "sort"
    long long rows, cols;
    long long values;  // number of values handed out
};
const std::vector<callback>& log();
void clear_log();
long long values_taken(const std::string& name);  // summed over the log

// ---- running a call ----------------------------------------------------------------
using gateway = void (*)(int, mxArray*[], int, const mxArray*[]);
struct result {
    bool failed = false;
    std::string message;          // the text given to mexErrMsgTxt or mexErrMsgIdAndTxt
    std::string identifier;       // the identifier given to mexErrMsgIdAndTxt
    std::vector<mxArray*> out;    // the first max(nlhs, 1) output slots (owned by the test)
    size_t reclaimed_arrays = 0;  // arrays the module left behind
    size_t reclaimed_blocks = 0;  // mxMalloc blocks the module left behind
    size_t destroyed_arrays = 0;  // arrays the module released itself
    size_t freed_blocks = 0;
    ~result();
    result() = default;
    result(const result&) = delete;
    result& operator=(const result&) = delete;
    result(result&& o) noexcept;
};
result call(gateway fn, int nlhs, const std::vector<const mxArray*>& in);
// Runs any code as if it were a gateway call (for the libraries' own tests).
result run(const std::function<void()>& body);

// Largest array or mxMalloc block, in bytes (4 GiB unless set): a larger
// request ends the call with "stand-in: out of memory or dimension too large.".
void memory_limit(size_t bytes);

// Arrays and blocks alive now (made inside or outside calls).
size_t live_arrays();
size_t live_blocks();

// Loads a deliverable and returns its mexFunction (dlopen and the symbol
// version MEX; on Windows LoadLibraryEx and the export table).
// mexFunctionName() in its calls is the file's name without folder or suffix.
gateway load(const std::string& path);

}  // namespace standin

#endif
