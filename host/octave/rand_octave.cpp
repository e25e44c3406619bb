// Octave's generators reached through its own C++ interface (oct-rand.h)
// and its symbol table: the interpreter side of the door (rand_octave.h).
// Built for Octave only, against the headers of the Octave that loads the
// module: the inline interface reaches static members whose names change
// between versions.
#define BAYESMEX_OCTAVE_IMPL 1
#include "rand_octave.h"

#include "call.h"

#include <octave/oct.h>
#include <octave/interpreter.h>
#include <octave/oct-rand.h>
#include <octave/quit.h>
#include <octave/symtab.h>

#include <cstring>
#include <string>

#include "../../random/twister.h"

static_assert(TWISTER_WORDS == OCTRAND_STATE_WORDS, "the host's state layout");

namespace {

const char* const dist_name[2] = {"uniform", "normal"};
const char* const fcn_name[2] = {"rand", "randn"};

// Octave's current distribution made `source`'s for one scope and put back
// on every exit, errors included (as libinterp's do_rand does).  Switching
// to the distribution that is already current touches nothing.
class distribution_scope {
public:
    explicit distribution_scope(int source) : m_old(octave::rand::distribution()) {
        if (m_old != dist_name[source]) octave::rand::distribution(dist_name[source]);
    }
    ~distribution_scope() {
        if (octave::rand::distribution() != m_old) octave::rand::distribution(m_old);
    }
    distribution_scope(const distribution_scope&) = delete;
    distribution_scope& operator=(const distribution_scope&) = delete;

private:
    std::string m_old;
};

// The built-in functions themselves, looked up once: built-ins are never
// cleared or replaced.
octave_function* builtin_of(octave::symbol_table& st, int source) {
    static octave_function* fcn[2] = {nullptr, nullptr};
    if (!fcn[source]) fcn[source] = st.find_built_in_function(fcn_name[source]).function_value(true);
    return fcn[source];
}

}  // namespace

bool octrand_is_builtin(int source, int nargs) {
    octave::interpreter* interp = octave::interpreter::the_interpreter();
    if (!interp) return false;
    octave::symbol_table& st = interp->get_symbol_table();
    octave_function* builtin = builtin_of(st, source);
    if (!builtin) return false;
    // The arguments' classes select class methods (a @double/rand.m), so
    // the lookup gets arguments of the call-back's classes.  Made once per
    // load of the module, released when Octave unloads it.
    static const octave_value_list none;
    static const octave_value_list sizes(ovl(1.0, 1.0));
    octave_value f = st.find_function(fcn_name[source], nargs == 0 ? none : sizes);
    return f.is_defined() && f.function_value(true) == builtin;
}

bool octrand_draw(int source, double* out, int64_t n, bool detect) {
    distribution_scope scope(source);
    // Every twister draw moves the saved state (at least its count of words
    // left); the old generators leave it as it was (though an array draw
    // files a copy of it anew).
    uint32NDArray before;
    if (detect) before = octave::rand::state(dist_name[source]);
    if (n == 1) {
        out[0] = octave::rand::scalar();
    } else {
        NDArray v = octave::rand::nd_array(dim_vector(octave_idx_type(n), 1));
        std::memcpy(out, v.data(), sizeof(double) * std::size_t(n));
    }
    if (!detect) return false;
    const uint32NDArray after = octave::rand::state(dist_name[source]);
    if (after.data() == before.data()) return false;
    if (after.numel() != OCTRAND_STATE_WORDS || before.numel() != OCTRAND_STATE_WORDS) return false;
    // The count of words left moves with almost every draw; the words
    // themselves whenever it comes round again.
    const uint32_t* a = reinterpret_cast<const uint32_t*>(after.data());
    const uint32_t* b = reinterpret_cast<const uint32_t*>(before.data());
    return a[OCTRAND_STATE_WORDS - 1] != b[OCTRAND_STATE_WORDS - 1] ||
           std::memcmp(a, b, sizeof(uint32_t) * OCTRAND_STATE_WORDS) != 0;
}

void octrand_get_state(int source, uint32_t* s) {
    distribution_scope scope(source);
    uint32NDArray v = octave::rand::state(dist_name[source]);
    if (v.numel() == OCTRAND_STATE_WORDS)
        std::memcpy(s, v.data(), sizeof(uint32_t) * OCTRAND_STATE_WORDS);
    else
        std::memset(s, 0, sizeof(uint32_t) * OCTRAND_STATE_WORDS);
}

void octrand_set_state(int source, const uint32_t* s) {
    // Written while its distribution is current: Octave files a state
    // written for another distribution under that one's name but leaves it
    // in the running generator.
    distribution_scope scope(source);
    uint32NDArray v(dim_vector(OCTRAND_STATE_WORDS, 1));
    std::memcpy(reinterpret_cast<uint32_t*>(v.fortran_vec()), s, sizeof(uint32_t) * OCTRAND_STATE_WORDS);
    octave::rand::state(v, dist_name[source]);
}

bool octrand_stuck() {
    const uint32NDArray s = octave::rand::state(dist_name[0]);
    if (s.numel() != OCTRAND_STATE_WORDS) return false;
    const uint32_t* w = reinterpret_cast<const uint32_t*>(s.data());
    if (w[0] & 0x80000000u) return false;
    for (int i = 1; i < OCTRAND_STATE_WORDS - 1; ++i)
        if (w[i] != 0) return false;
    return true;
}

namespace {

// A session: this call's own copy of a generator's state, drawn from by the
// twister kernels fetch after fetch and written back to Octave once, when
// the call settles (before Octave or the user's code runs again).
struct session {
    bool open = false;
    uint32NDArray words;  // unshared: the kernels write it in place
};
session g_session[2];

// Draws n values from the open session of `source` into out, in pieces of
// 2^20 (a few milliseconds) with a look for Ctrl-C between them when
// `interruptible`: then the session is put back where this draw began.
octrand_own_result session_draw(int source, double* out, int64_t n, bool interruptible) {
    uint32_t* s = reinterpret_cast<uint32_t*>(g_session[source].words.fortran_vec());
    constexpr int64_t piece = int64_t(1) << 20;
    uint32_t start[OCTRAND_STATE_WORDS];
    const bool long_draw = interruptible && n > piece;
    if (long_draw) std::memcpy(start, s, sizeof start);
    for (int64_t done = 0; done < n;) {
        if (long_draw && done > 0 && octave_signal_caught) {
            std::memcpy(s, start, sizeof start);
            return OCTRAND_INTERRUPTED;
        }
        const int64_t k = n - done < piece ? n - done : piece;
        const bool ok = source == 0 ? twister_uniform(s, out + done, k) : twister_normal(s, out + done, k);
        if (!ok) return OCTRAND_HOST;  // only at the first piece: s and out untouched
        done += k;
    }
    return OCTRAND_OWN;
}

}  // namespace

octrand_own_result octrand_own(int source, double* out, int64_t n, bool damage, bool interruptible) {
    if (g_session[source].open) return octrand_session(source, out, n, interruptible);
    if (source == 0 && octrand_stuck()) return OCTRAND_STUCK;
    // The first value from Octave: on the old generators the saved state
    // does not move, and a state written back would switch Octave onto the
    // twister.
    const uint32NDArray before = octave::rand::state(dist_name[source]);
    if (!octrand_draw(source, out, 1, true)) {
        if (n > 1) octrand_draw(source, out + 1, n - 1, false);
        return OCTRAND_HOST;
    }
    if (n < 2) return OCTRAND_OWN;
    const octrand_own_result r = octrand_session(source, out + 1, n - 1, interruptible);
    if (r == OCTRAND_HOST) {
        octrand_draw(source, out + 1, n - 1, false);
        return OCTRAND_HOST;
    }
    if (r == OCTRAND_INTERRUPTED) {
        // Nothing of this fetch is used: the first value goes back too.
        session& ss = g_session[source];
        ss.open = false;
        ss.words = uint32NDArray();
        distribution_scope scope(source);
        octave::rand::state(before, dist_name[source]);
        return OCTRAND_INTERRUPTED;
    }
    if (damage) {
        uint64_t bits;
        std::memcpy(&bits, out + 1, sizeof bits);
        bits ^= 1;
        std::memcpy(out + 1, &bits, sizeof bits);
    }
    return OCTRAND_OWN;
}

octrand_own_result octrand_session(int source, double* out, int64_t n, bool interruptible) {
    session& ss = g_session[source];
    if (!ss.open) {
        ss.words = octave::rand::state(dist_name[source]);
        if (ss.words.numel() != OCTRAND_STATE_WORDS) {
            ss.words = uint32NDArray();
            return OCTRAND_HOST;
        }
        ss.words.fortran_vec();  // a copy of our own
        ss.open = true;
        bayesmex_octave::settle_before_octave(octrand_settle);
    }
    const octrand_own_result r = session_draw(source, out, n, interruptible);
    // A state the kernels refuse (never one they drew from before) is left
    // to Octave.
    if (r == OCTRAND_HOST) octrand_settle();
    return r;
}

bool octrand_session_open(int source) { return g_session[source].open; }

void octrand_settle() {
    for (int source = 0; source < 2; ++source) {
        session& ss = g_session[source];
        if (!ss.open) continue;
        ss.open = false;
        // Written while its distribution is current (see octrand_set_state).
        distribution_scope scope(source);
        octave::rand::state(ss.words, dist_name[source]);
        ss.words = uint32NDArray();
    }
}
