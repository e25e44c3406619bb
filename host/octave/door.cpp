// The random library's door on Octave (random/door.h).  The values come from
// Octave's generators themselves where that gives the very values, and
// leaves the generators in the very state, that the call-back would:
//   - call-backs for a user's own rand or randn (the name no longer reaches
//     the built-in), for requests too large to make here, and wherever the
//     environment asks for them;
//   - direct access to Octave's generator (host/octave/rand_octave.cpp) for
//     a call's first small fetch: no call-back's argument conversion and
//     dispatch;
//   - a session (rand_octave.h) for the rest of the call: our own kernels
//     (random/twister.h) over the call's own copy of Octave's state, written
//     back once before Octave or the user's code runs again (before any
//     call-back, and when the call ends however it ends).  A session opens
//     only once the twister is known to run: after a direct fetch moved the
//     saved state, or, for a large first fetch (OWN_FROM values on), after
//     its first value, drawn by Octave, did (rand("seed") selects the old
//     generators, which only Octave draws from).
// A self-check at the first such fetch of each generator in the process
// draws CHECK_VALUES values both ways from one saved state and compares
// values and states; a path that differs stays off for good (a warning says
// so), so an Octave whose generators change gets call-backs, never other
// values.  BAYESMEX_RANDOM=callback|direct|own|auto (default auto) forces a
// path for the tests (own: a session from the first fetch on), where a path
// that is off falls back as above; with ",trace" after it every fetch prints
// its route.  BAYESMEX_RANDOM_SELFCHECK=mismatch spoils the self-check's
// values (test hook: the fall-back).
#include "../../random/door.h"

#include "../../random/rand.h"
#include "../args.h"
#include "../door_callback.h"
#include "rand_octave.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A first fetch from this many values on goes to a session at once
// (measured: a session's fixed cost, a state copy and a write-back, is what
// direct access spends on about this many values).
constexpr int64_t OWN_FROM = 192;
// Values drawn each way by the self-check: more than one regeneration of
// the 624 twister words (two words per uniform, at least two per normal).
constexpr int64_t CHECK_VALUES = 700;
// Largest request served without a call-back: beyond it the host's own
// error (or success) is the call-back's.
constexpr double LARGEST = 2147483647.0;

enum mode { AUTO, CALLBACK, DIRECT, OWN };
enum route { VIA_CALLBACK, VIA_DIRECT, VIA_OWN, VIA_SESSION };
const char* const route_name[4] = {"callback", "direct", "own", "session"};

struct settings {
    mode m;
    bool trace;
};

// Read once per gateway call (and again after a call-back, whose user code
// may set it), as BAYESMEX_SIMD is at every call: tests switch it between
// calls.
settings read_settings() {
    settings s{AUTO, false};
    const char* e = std::getenv("BAYESMEX_RANDOM");
    if (!e || !*e) return s;
    if (std::strncmp(e, "callback", 8) == 0)
        s.m = CALLBACK;
    else if (std::strncmp(e, "direct", 6) == 0)
        s.m = DIRECT;
    else if (std::strncmp(e, "own", 3) == 0)
        s.m = OWN;
    s.trace = std::strstr(e, "trace") != nullptr;
    return s;
}

// Per generator, for this process (this module: each module carries its
// own copy): whether the self-check has run, and the paths it left on.
bool g_checked[2] = {false, false};
bool g_direct_ok[2] = {true, true};
bool g_own_ok[2] = {true, true};

// What the door learnt during this gateway call (rand_door_forget clears
// it): the settings, and per generator and argument count (rand() or
// rand(n, 1): the arguments' class selects class methods) whether the name
// reaches the built-in.  Octave resolves a name afresh at every call, from
// the caller's scope, the path, class methods, command-line functions and
// autoloads, but none of these changes while only our code runs: user code
// runs only inside call-backs, after which everything is looked up again.
// (Across gateway calls no such promise holds: the user's code between two
// calls may add a folder, define a function or change the caller, and
// Octave keeps no count of such changes to compare with.)
bool g_known_settings = false;
settings g_settings{AUTO, false};
signed char g_builtin[2][2] = {{-1, -1}, {-1, -1}};  // -1 unknown, else 0 or 1

const settings& current_settings() {
    if (!g_known_settings) {
        g_settings = read_settings();
        g_known_settings = true;
    }
    return g_settings;
}

bool is_builtin(int source, int nargs) {
    signed char* b = g_builtin[source];
    const int k = nargs == 0 ? 0 : 1;
    if (b[k] < 0) {
        b[k] = octrand_is_builtin(source, nargs) ? 1 : 0;
        // The lookup with arguments passes every place the one without
        // passes (it adds only the class methods of double), so the
        // built-in found with them is found without them too.
        if (k == 1 && b[1] == 1) b[0] = 1;
    }
    return b[k] != 0;
}

// Per generator, for this gateway call (rand_door_forget clears it): the
// fetches made so far, and whether one of them showed the twister running
// (Octave's saved state moved), so that a session may take the rest.
int g_fetches[2] = {0, 0};
bool g_twister[2] = {false, false};

// Direct fetches after which the call's further fetches of a generator come
// from a session: each direct fetch costs Octave an array and a copy of
// its state, a session one copy at its start and one write-back at the end.
constexpr int SESSION_AFTER = 2;

// A run's first fetch from this many values on opens a session at once:
// a run (a fetch without a result array: gamma passes, bootstrap spans)
// usually fetches again, and a session then serves its later fetches for
// the cost of one write-back.
constexpr int64_t RUN_OWN_FROM = 16;

route choose(int source, int64_t n, mode m, bool run) {
    if (m != DIRECT && g_own_ok[source]) {
        // Once open, a session serves every fetch of its generator until
        // the call settles: values never come from two places at once.
        if (octrand_session_open(source)) return VIA_SESSION;
        if (m == OWN || (m == AUTO && n >= (run ? RUN_OWN_FROM : OWN_FROM))) return VIA_OWN;
        if (m == AUTO && g_twister[source] && g_fetches[source] >= SESSION_AFTER) return VIA_SESSION;
    }
    if (g_direct_ok[source]) return VIA_DIRECT;
    return VIA_CALLBACK;
}

// The door's own memory for the values of a block, reused from fetch to
// fetch: a small static buffer per generator (a scalar fetch allocates
// nothing), and a larger one per generator, made on first need and kept
// for the process.  Each is lent to one lane at a time; a nested call (a
// user's rand calling another bayesmex function mid-call, say) finds it
// lent and gets a host array instead.
constexpr int64_t SMALL = 256;
double g_small[2][SMALL];
bool g_small_lent[2] = {false, false};
double* g_large[2] = {nullptr, nullptr};
int64_t g_large_cap[2] = {0, 0};
bool g_large_lent[2] = {false, false};

// The large buffers go with the module when Octave unloads it (clear NAME).
struct release_at_unload {
    ~release_at_unload() {
        for (double*& p : g_large) {
            std::free(p);
            p = nullptr;
        }
    }
} g_release;

double* lend(int source, int64_t n) {
    if (n <= SMALL && !g_small_lent[source]) {
        g_small_lent[source] = true;
        return g_small[source];
    }
    if (g_large_lent[source]) return nullptr;
    if (g_large_cap[source] < n) {
        const int64_t cap = n < 65536 ? 65536 : n;
        double* p = static_cast<double*>(std::malloc(sizeof(double) * std::size_t(cap)));
        if (!p) return nullptr;
        std::free(g_large[source]);
        g_large[source] = p;
        g_large_cap[source] = cap;
    }
    g_large_lent[source] = true;
    return g_large[source];
}

// Octave's own rand never returns from a uniform state whose twister words
// are zero for ever: refused before any route that reaches the built-in,
// once per call (our own draws never lead a running twister to zero words).
bool g_not_stuck = false;

void refuse_stuck(int source) {
    if (source != RAND_UNIFORM || g_not_stuck) return;
    if (!octrand_stuck()) {
        g_not_stuck = true;
        return;
    }
    args_fail(msg::random_state);
}

// A call-back's values into out: rand() for one value asked as rand(),
// rand(n, 1) otherwise (the arguments' class selects class methods, so the
// form asked for is the form called).
void fill_callback(int source, int nargs, double* out, int64_t n) {
    const rand_door_out c = door_callback(source, n == 1 && nargs == 0 ? 0 : 2, double(n), 1.0, false);
    std::memcpy(out, c.values, sizeof(double) * std::size_t(n));
    mxDestroyArray(c.array);
}

void fill(int source, route r, int nargs, double* out, int64_t n, bool interruptible) {
    ++g_fetches[source];
    if (r == VIA_OWN || r == VIA_SESSION) {
        const octrand_own_result k = r == VIA_OWN ? octrand_own(source, out, n, false, interruptible)
                                                  : octrand_session(source, out, n, interruptible);
        switch (k) {
        case OCTRAND_OWN:
            g_twister[source] = true;
            return;
        case OCTRAND_HOST:
            if (r == VIA_SESSION) break;  // nothing drawn: Octave draws below
            return;
        case OCTRAND_STUCK:
            refuse_stuck(RAND_UNIFORM);
            args_fail(msg::internal_door);
        case OCTRAND_INTERRUPTED:
            host_interrupt_check();
            args_fail(msg::internal_door);
        }
    }
    if (r != VIA_CALLBACK) {
        refuse_stuck(source);
        // Whether the twister runs matters only to a session, which the
        // fetches after the next one may open.
        const bool detect = g_fetches[source] >= SESSION_AFTER && g_own_ok[source];
        if (octrand_draw(source, out, n, detect)) g_twister[source] = true;
        return;
    }
    fill_callback(source, nargs, out, n);
}

// Puts the saved state back on every exit of the self-check, errors
// included (an interrupt in one of its call-backs, say).
struct state_restore {
    int source;
    const uint32_t* s;
    ~state_restore() { octrand_set_state(source, s); }
};

bool same(const double* a, const double* b, int64_t n) { return std::memcmp(a, b, sizeof(double) * std::size_t(n)) == 0; }
bool same_state(const uint32_t* a, const uint32_t* b) {
    return std::memcmp(a, b, sizeof(uint32_t) * OCTRAND_STATE_WORDS) == 0;
}

// The first fetch of `source` by a fast path in this process: its first
// value by call-back; if that moved the saved state the twister is running,
// and both fast paths are checked from the state it left before the rest of
// the fetch is drawn.  On the old generators the rest comes by call-back
// and the check waits for a later fetch.  Where a class method of double
// takes rand(n, 1) (the check's call-backs) the fetch is a call-back of the
// form asked for, and the check waits too.
void check_and_fill(int source, int nargs, mode m, double* out, int64_t n, bool interruptible) {
    if (!is_builtin(source, 0) || !is_builtin(source, 2)) {
        fill_callback(source, nargs, out, n);
        return;
    }
    refuse_stuck(source);
    uint32_t s0[OCTRAND_STATE_WORDS], s1[OCTRAND_STATE_WORDS], t[OCTRAND_STATE_WORDS];
    octrand_get_state(source, s0);
    fill_callback(source, 0, out, 1);
    octrand_get_state(source, s1);
    if (same_state(s0, s1)) {  // the old generators
        if (n > 1) fill_callback(source, 2, out + 1, n - 1);
        return;
    }
    const char* hook = std::getenv("BAYESMEX_RANDOM_SELFCHECK");
    const bool spoil = hook && std::strcmp(hook, "mismatch") == 0;
    double ref[CHECK_VALUES], got[CHECK_VALUES];
    uint32_t r1[OCTRAND_STATE_WORDS];
    {
        state_restore restore{source, s1};
        fill_callback(source, 2, ref, CHECK_VALUES);
        octrand_get_state(source, r1);

        octrand_set_state(source, s1);
        octrand_draw(source, got, CHECK_VALUES, false);
        if (spoil) got[0] = -got[0];
        octrand_get_state(source, t);
        g_direct_ok[source] = same(ref, got, CHECK_VALUES) && same_state(r1, t);

        octrand_set_state(source, s1);
        const octrand_own_result k = octrand_own(source, got, CHECK_VALUES, spoil, false);
        octrand_settle();
        octrand_get_state(source, t);
        g_own_ok[source] = k == OCTRAND_OWN && same(ref, got, CHECK_VALUES) && same_state(r1, t);
    }  // the state is s1 again
    g_checked[source] = true;
    if (!g_direct_ok[source] || !g_own_ok[source]) {
        const message_row& m = message_of(source == RAND_NORMAL ? msg::random_self_check_randn
                                                                : msg::random_self_check_rand);
        char id[160];
        std::snprintf(id, sizeof id, "bayesmex:%.80s:%s", mexFunctionName(), m.reason);
        mexWarnMsgIdAndTxt(id, "%s", m.text);
    }
    if (n > 1) {
        // A fetch that fails (Ctrl-C in a long one, say) takes nothing: its
        // first value, drawn above, goes back too.
        struct undo_on_failure {
            int source;
            const uint32_t* s;
            bool armed;
            ~undo_on_failure() {
                if (!armed) return;
                try {
                    octrand_set_state(source, s);
                } catch (...) {  // nothing may leave a destructor
                }
            }
        } undo{source, s0, true};
        fill(source, choose(source, n - 1, m, false), 2, out + 1, n - 1, interruptible);
        undo.armed = false;
    }
}

}  // namespace

rand_door_out rand_door(int source, int nargs, double rows, double cols, bool result, bool interruptible) {
    const settings st = current_settings();
    const double count = nargs == 0 ? 1.0 : (rows > 0 ? rows : 0.0) * (cols > 0 ? cols : 0.0);
    // The name must still reach the built-in for the call-back's arguments:
    // a user's own rand gets its call-back.
    const bool builtin = is_builtin(source, nargs);
    if (st.m == CALLBACK || !(count <= LARGEST) || !builtin) {
        if (st.trace) mexPrintf("bayesmex random: %s %.0f callback\n", source ? "randn" : "rand", count);
        if (builtin && count > 0) refuse_stuck(source);
        return door_callback(source, nargs, rows, cols, result);
    }
    const int64_t n = int64_t(count);
    const route r = choose(source, n, st.m, !result);
    if (r == VIA_CALLBACK && g_checked[source]) {
        if (st.trace) mexPrintf("bayesmex random: %s %.0f callback\n", source ? "randn" : "rand", count);
        if (count > 0) refuse_stuck(source);
        return door_callback(source, nargs, rows, cols, result);
    }
    rand_door_out out{nullptr, nullptr, std::size_t(n)};
    if (!result) out.values = lend(source, n);
    if (!out.values) {
        // Sizes as the host makes them: negative ones give an empty array.
        const mwSize m = nargs == 0 ? 1 : mwSize(rows > 0 ? rows : 0);
        const mwSize k = nargs == 0 ? 1 : mwSize(cols > 0 ? cols : 0);
        out.array = args_result_doubles(m, k);
        out.values = mxGetPr(out.array);
    }
    // Lent memory goes back if the fill ends in an error.
    struct lent_guard {
        int source;
        double* p;
        ~lent_guard() {
            if (p) rand_door_release(source, p);
        }
    } guard{source, out.array ? nullptr : out.values};
    if (n > 0) {
        if (!g_checked[source]) {
            if (st.trace) mexPrintf("bayesmex random: %s %.0f check\n", source ? "randn" : "rand", count);
            check_and_fill(source, nargs, st.m, out.values, n, interruptible);
        } else {
            if (st.trace) mexPrintf("bayesmex random: %s %.0f %s\n", source ? "randn" : "rand", count, route_name[r]);
            fill(source, r, nargs, out.values, n, interruptible);
        }
    }
    guard.p = nullptr;
    return out;
}

void rand_door_release(int source, double* values) {
    if (values == g_small[source]) g_small_lent[source] = false;
    if (values == g_large[source]) g_large_lent[source] = false;
}

void rand_door_forget() {
    g_known_settings = false;
    g_not_stuck = false;
    g_fetches[0] = g_fetches[1] = 0;
    g_twister[0] = g_twister[1] = false;
    for (auto& per_source : g_builtin) per_source[0] = per_source[1] = -1;
}

