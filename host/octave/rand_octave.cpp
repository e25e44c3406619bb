// Octave's generators reached through its own C++ interface (oct-rand.h)
// and its symbol table: the interpreter side of the door (rand_octave.h).
// Built for Octave only, against the headers of the Octave that loads the
// module: the inline interface reaches static members whose names change
// between versions.
#include "rand_octave.h"

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

bool same_state(const uint32NDArray& a, const uint32NDArray& b) {
    return a.numel() == OCTRAND_STATE_WORDS && b.numel() == OCTRAND_STATE_WORDS &&
           std::memcmp(a.data(), b.data(), sizeof(uint32_t) * OCTRAND_STATE_WORDS) == 0;
}

// The values after the first, from Octave (n - 1 >= 1 of them).
void host_rest(double* out, int64_t n) {
    if (n < 2) return;
    NDArray v = octave::rand::nd_array(dim_vector(octave_idx_type(n - 1), 1));
    std::memcpy(out + 1, v.data(), sizeof(double) * std::size_t(n - 1));
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

void octrand_draw(int source, double* out, int64_t n) {
    distribution_scope scope(source);
    if (n == 1) {
        out[0] = octave::rand::scalar();
        return;
    }
    NDArray v = octave::rand::nd_array(dim_vector(octave_idx_type(n), 1));
    std::memcpy(out, v.data(), sizeof(double) * std::size_t(n));
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

octrand_own_result octrand_own(int source, double* out, int64_t n, bool damage, bool interruptible) {
    distribution_scope scope(source);
    const uint32NDArray before = octave::rand::state(dist_name[source]);
    if (before.numel() != OCTRAND_STATE_WORDS) {
        octrand_draw(source, out, n);
        return OCTRAND_HOST;
    }
    // Twister words that stay zero for ever: Octave's redraw of a zero
    // pair would never return, and neither must we.  (Only the twister can
    // hold such a state; the old generators never read it.)
    if (source == 0 && octrand_stuck()) return OCTRAND_STUCK;
    // The first value from Octave: on the old generators the saved state
    // does not move, and a state written back would switch Octave onto the
    // twister.
    out[0] = octave::rand::scalar();
    uint32NDArray after = octave::rand::state(dist_name[source]);
    if (n < 2) return OCTRAND_OWN;
    if (same_state(before, after)) {
        host_rest(out, n);
        return OCTRAND_HOST;
    }
    uint32_t* s = reinterpret_cast<uint32_t*>(after.fortran_vec());  // a copy of its own
    // In pieces of 2^20 values (a few milliseconds), with a look for Ctrl-C
    // between them.
    constexpr int64_t piece = int64_t(1) << 20;
    for (int64_t done = 1; done < n;) {
        if (interruptible && done > 1 && octave_signal_caught) {
            octave::rand::state(before, dist_name[source]);
            return OCTRAND_INTERRUPTED;
        }
        const int64_t k = n - done < piece ? n - done : piece;
        const bool ok = source == 0 ? twister_uniform(s, out + done, k) : twister_normal(s, out + done, k);
        if (!ok) {  // only at the first piece: s and out untouched
            host_rest(out, n);
            return OCTRAND_HOST;
        }
        done += k;
    }
    // Written back at once, before anything can fail: the generator stands
    // where the values drawn leave it.
    octave::rand::state(after, dist_name[source]);
    if (damage) {
        uint64_t bits;
        std::memcpy(&bits, out + 1, sizeof bits);
        bits ^= 1;
        std::memcpy(out + 1, &bits, sizeof bits);
    }
    return OCTRAND_OWN;
}
