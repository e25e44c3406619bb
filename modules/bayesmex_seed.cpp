// bayesmex_seed(seed, k): sets the host's "rand" and "randn" generators to
// full states derived from (seed, k), so that chain k of a run seeded with
// seed draws the same values on any worker of any machine, and different
// chains draw from unrelated states.
//
// Each generator is a Mersenne twister (Matsumoto and Nishimura, 1998) whose
// state is 624 32-bit words and a position.  The words come from splitmix64
// (Steele, Lea and Flood, 2014), a bijective, avalanching mixer: a start
// value h(seed, k, generator) = f(f(f(seed) ^ k) ^ generator), f one
// splitmix64 step, then 312 further steps give the 624 words.  Two chains
// share a state only if their start values coincide or lie within 312 steps
// of each other (chance about 2^-54 per pair), and a twister run from two
// unrelated full states does not overlap in any run a user can make, which
// small integer seeds side by side cannot promise.  The position 1 makes the
// host regenerate the state before its first value, as after any full turn.
//
// Compiled because the host's own integers saturate instead of wrapping, so
// the 64-bit mixer cannot be written in its m-code without emulating it.
#include <cmath>
#include <cstdint>

#include "../host/args.h"

namespace {

constexpr int kWords = 624;  // the twister's state, then its position

uint64_t splitmix64(uint64_t* x) {
    uint64_t z = (*x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

uint64_t whole(const mxArray* a) {
    if (mxGetNumberOfElements(a) != 1 || mxIsComplex(a)) args_fail(msg::not_scalar_seed);
    const double v = mxGetScalar(a);
    // NaN fails the comparison; 2^53 is the largest run of whole doubles.
    if (!(v >= 0 && v <= 9007199254740992.0) || v != std::floor(v)) args_fail(msg::not_integer);
    return uint64_t(v);
}

// The state vector of generator g (0: "rand", 1: "randn") for (seed, k).
mxArray* state(uint64_t seed, uint64_t k, uint64_t g) {
    uint64_t x = seed;
    x = splitmix64(&x) ^ k;
    x = splitmix64(&x) ^ g;
    x = splitmix64(&x);
    mxArray* v = mxCreateDoubleMatrix(kWords + 1, 1, mxREAL);
    double* p = mxGetPr(v);
    // The host reads each word modulo 2^32 - 1, so 2^32 - 1 is given as the
    // 0 it becomes: the vector returned is the state the host holds.
    auto word = [](uint32_t w) { return w == 0xffffffffu ? 0.0 : double(w); };
    for (int i = 0; i < kWords; i += 2) {
        const uint64_t r = splitmix64(&x);
        p[i] = word(uint32_t(r));
        p[i + 1] = word(uint32_t(r >> 32));
    }
    p[kWords] = 1;
    return v;
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    args_check(args_this, nlhs, nrhs, prhs);
    const uint64_t seed = whole(prhs[0]), k = whole(prhs[1]);

    const char* names[2] = {"rand", "randn"};
    for (int g = 0; g < 2; ++g) {
        mxArray* in[2] = {mxCreateString("state"), state(seed, k, uint64_t(g))};
        mexCallMATLAB(0, nullptr, 2, in, names[g]);
        mxDestroyArray(in[0]);
        if (g < nlhs)
            plhs[g] = in[1];
        else
            mxDestroyArray(in[1]);
    }
}
