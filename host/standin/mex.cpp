// Stand-in libmex: the error call, the call-backs "rand", "randn" and "sort",
// a seeded stream that tests can script value by value, a log of every
// call-back, and the harness that runs one gateway call as a host does.
#include "internal.h"

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <stdexcept>

namespace {

using standin::detail::gateway_error;

// xoshiro256** seeded through splitmix64.  "rand" and "randn" share one by
// default; with independent streams "randn" has a generator of its own.
struct generator {
    uint64_t s[4];
    void seed(uint64_t x) {
        for (auto& w : s) {
            x += 0x9e3779b97f4a7c15ULL;
            uint64_t z = x;
            z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
            z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
            w = z ^ (z >> 31);
        }
    }
    static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t next() {
        uint64_t r = rotl(s[1] * 5, 7) * 9, t = s[1] << 17;
        s[2] ^= s[0];
        s[3] ^= s[1];
        s[1] ^= s[2];
        s[0] ^= s[3];
        s[2] ^= t;
        s[3] = rotl(s[3], 45);
        return r;
    }
    // 52 random bits centred in their cell: strictly inside (0, 1).
    double uniform() { return ((next() >> 12) + 0.5) * 0x1p-52; }
    double normal() {
        double u = uniform(), v = uniform();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
    }
};

generator seeded(uint64_t s) {
    generator g;
    g.seed(s);
    return g;
}
// Seeds of the "randn" generator are this far from those of "rand".
const uint64_t normal_offset = 0x5851f42d4c957f2dULL;
generator g_gen = seeded(42);
generator g_gen_normal = seeded(42 + normal_offset);
bool g_independent = false;
std::deque<double> g_script_rand, g_script_randn;
bool g_strict = false;
// Values the generators may still hand out until value_budget is called
// again (0: no bound), and those handed out since.
long long g_budget = 0, g_spent = 0;
// Ctrl-C as the tests script it: the checks still to pass before one finds
// an interrupt pending (-1: never).
long long g_interrupt_polls = -1;
std::vector<standin::callback> g_log;
std::map<std::string, std::vector<double>> g_states;
// Function names of the loaded gateways, and the one whose call is running.
std::map<standin::gateway, std::string> g_names;
std::string g_running;

// A call-back costs as much as 16 values: a loop that asks for values two at a
// time spends the budget as fast, in time, as one that asks for blocks.
void spend(long long n) {
    if (g_budget > 0 && (g_spent += n) > g_budget) throw gateway_error("stand-in: random value budget spent.");
}

double draw(bool normal) {
    std::deque<double>& q = normal ? g_script_randn : g_script_rand;
    if (!q.empty()) {
        double v = q.front();
        q.pop_front();
        return v;
    }
    if (g_strict) throw gateway_error("stand-in: random stream exhausted.");
    spend(1);
    if (normal) return g_independent ? g_gen_normal.normal() : g_gen.normal();
    return g_gen.uniform();
}

long long size_arg(const mxArray* a, const char* name) {
    double v = mxGetScalar(a);
    if (std::isnan(v) || v != std::trunc(v) || std::fabs(v) > 2147483647.0)
        throw gateway_error(std::string(name) + ": size must be an integer.");
    return v < 0 ? 0 : (long long)v;
}

bool before(double a, double b) {  // ascending, NaN last, as the host's sort
    if (std::isnan(a)) return false;
    if (std::isnan(b)) return true;
    return a < b;
}

}  // namespace

extern "C" {

void mexErrMsgTxt(const char* text) { throw gateway_error(text ? text : "", ""); }

void mexErrMsgIdAndTxt(const char* id, const char* format, ...) {
    char text[1024];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(text, sizeof text, format ? format : "", ap);
    va_end(ap);
    throw gateway_error(text, id ? id : "");
}

const char* mexFunctionName(void) { return g_running.c_str(); }

int host_independent_streams(void) { return g_independent ? 1 : 0; }

int host_interrupt_pending(void) { return g_interrupt_polls == 0 ? 1 : 0; }

void host_interrupt_check(void) {
    if (g_interrupt_polls < 0) return;
    if (g_interrupt_polls == 0) {
        g_interrupt_polls = -1;
        throw gateway_error("stand-in: interrupted.");
    }
    --g_interrupt_polls;
}

int mexCallMATLAB(int nlhs, mxArray* plhs[], int nrhs, mxArray* prhs[], const char* name) {
    std::string fn = name ? name : "";
    if ((fn == "rand" || fn == "randn") && nrhs == 2 && mxIsChar(prhs[0])) {
        char* word = mxArrayToString(prhs[0]);
        const bool state = std::string(word) == "state";
        mxFree(word);
        if (!state || !mxIsDouble(prhs[1]))
            throw gateway_error("stand-in: " + fn + " takes \"state\" and a double vector.");
        const mxArray* v = prhs[1];
        g_states[fn] = v->re;
        uint64_t h = 0;
        for (double x : v->re) {
            uint64_t bits;
            std::memcpy(&bits, &x, sizeof bits);
            h = h * 0x100000001b3ULL + bits;
        }
        g_gen.seed(h);
        g_log.push_back({fn + " state", (long long)v->re.size(), 1, 0});
        return 0;
    }
    if (nlhs < 1 || !plhs) throw gateway_error("stand-in: " + fn + " needs an output slot.");
    if (fn == "rand" || fn == "randn") {
        long long m = 1, n = 1;
        if (nrhs == 2) {
            m = size_arg(prhs[0], name);
            n = size_arg(prhs[1], name);
        } else if (nrhs != 0) {
            throw gateway_error("stand-in: " + fn + " takes no inputs or two sizes.");
        }
        spend(16);
        mxArray* out = mxCreateDoubleMatrix(size_t(m), size_t(n), mxREAL);
        bool normal = fn == "randn";
        for (double& v : out->re) v = draw(normal);
        plhs[0] = out;
        g_log.push_back({fn, m, n, m * n});
        return 0;
    }
    if (fn == "sort") {
        if (nrhs != 1 || !mxIsDouble(prhs[0]))
            throw gateway_error("stand-in: sort takes one double array.");
        mxArray* out = standin::detail::make(standin::cls::double_, prhs[0]->dims);
        out->re = prhs[0]->re;
        std::stable_sort(out->re.begin(), out->re.end(), before);
        plhs[0] = out;
        g_log.push_back({fn, (long long)out->dims[0], (long long)mxGetN(out), (long long)out->re.size()});
        return 0;
    }
    throw gateway_error("stand-in: no host function " + fn + ".");
}

}  // extern "C"

namespace standin {

void seed(uint64_t s) {
    g_gen.seed(s);
    g_gen_normal.seed(s + normal_offset);
    // Swapped out rather than cleared, so that the buffers are given back too:
    // a fuzzer counting allocations sees every call leave the heap as it found it.
    std::deque<double>().swap(g_script_rand);
    std::deque<double>().swap(g_script_randn);
}
void script_rand(const std::vector<double>& v) { g_script_rand.insert(g_script_rand.end(), v.begin(), v.end()); }
void script_randn(const std::vector<double>& v) { g_script_randn.insert(g_script_randn.end(), v.begin(), v.end()); }
void strict(bool on) { g_strict = on; }
void interrupt_after(long long polls) { g_interrupt_polls = polls < 0 ? -1 : polls; }
void value_budget(long long n) {
    g_budget = n;
    g_spent = 0;
}
size_t scripted_left() { return g_script_rand.size() + g_script_randn.size(); }
double next_rand() {
    if (!g_script_rand.empty()) return g_script_rand.front();
    generator copy = g_gen;
    return copy.uniform();
}
double next_randn() {
    if (!g_script_randn.empty()) return g_script_randn.front();
    generator copy = g_independent ? g_gen_normal : g_gen;
    return copy.normal();
}
void independent_streams(bool on) { g_independent = on; }

std::vector<double> last_state(const std::string& name) {
    auto it = g_states.find(name);
    return it == g_states.end() ? std::vector<double>() : it->second;
}

const std::vector<callback>& log() { return g_log; }
void clear_log() { std::vector<callback>().swap(g_log); }
long long values_taken(const std::string& name) {
    long long n = 0;
    for (const auto& c : g_log)
        if (c.name == name) n += c.values;
    return n;
}

result::~result() {
    for (mxArray* a : out)
        if (a) release(a);
}
result::result(result&& o) noexcept
    : failed(o.failed),
      message(std::move(o.message)),
      identifier(std::move(o.identifier)),
      out(std::move(o.out)),
      reclaimed_arrays(o.reclaimed_arrays),
      reclaimed_blocks(o.reclaimed_blocks),
      destroyed_arrays(o.destroyed_arrays),
      freed_blocks(o.freed_blocks) {
    o.out.clear();
}

static result finish(result r, const std::vector<mxArray*>& slots) {
    std::vector<mxArray*> keep;
    if (!r.failed) keep = slots;
    auto c = detail::end_call(keep);
    r.reclaimed_arrays = c.arrays;
    r.reclaimed_blocks = c.blocks;
    r.destroyed_arrays = c.destroyed;
    r.freed_blocks = c.freed;
    if (!r.failed) r.out = slots;
    return r;
}

result call(gateway fn, int nlhs, const std::vector<const mxArray*>& in) {
    std::vector<mxArray*> slots(size_t(nlhs < 1 ? 1 : nlhs), nullptr);
    std::vector<const mxArray*> args(in);
    result r;
    auto name = g_names.find(fn);
    g_running = name == g_names.end() ? "" : name->second;
    detail::begin_call();
    try {
        fn(nlhs, slots.data(), int(args.size()), args.empty() ? nullptr : args.data());
    } catch (const gateway_error& e) {
        r.failed = true;
        r.message = e.text;
        r.identifier = e.identifier;
    }
    g_running.clear();
    return finish(std::move(r), slots);
}

result run(const std::function<void()>& body) {
    result r;
    detail::begin_call();
    try {
        body();
    } catch (const gateway_error& e) {
        r.failed = true;
        r.message = e.text;
        r.identifier = e.identifier;
    }
    return finish(std::move(r), {});
}

gateway load(const std::string& path) {
#if defined(_WIN32)
    // Windows has no symbol versions: the module's export table holds
    // mexFunction alone (tests/check_exports.sh).  The full path with the
    // altered search order lets the loader find what the module imports
    // beside it first, as a host loads a module from its own folder.
    std::string native = path;
    std::replace(native.begin(), native.end(), '/', '\\');
    char full[4096];
    const DWORD n = GetFullPathNameA(native.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) throw std::runtime_error("no full path for " + path);
    HMODULE h = LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!h) throw std::runtime_error("LoadLibraryEx " + path + ": error " + std::to_string(GetLastError()));
    void* f = reinterpret_cast<void*>(GetProcAddress(h, "mexFunction"));
    if (!f) throw std::runtime_error("no mexFunction in " + path);
#else
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) throw std::runtime_error(std::string("dlopen: ") + dlerror());
    void* f = dlvsym(h, "mexFunction", "MEX");
    if (!f) throw std::runtime_error("no mexFunction@MEX in " + path);
#endif
    auto fn = reinterpret_cast<gateway>(f);
    std::string name = path.substr(path.find_last_of('/') + 1);
    g_names[fn] = name.substr(0, name.find('.'));
    return fn;
}

}  // namespace standin
