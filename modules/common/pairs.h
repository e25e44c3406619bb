// The parameter-pair rules of the two-parameter array samplers (gamma by mean
// and degrees of freedom, scaled inverse chi-square): argument forms, checks
// and messages in their order, the size of the result, and the element loop.
#ifndef BAYESMEX_PAIRS_H
#define BAYESMEX_PAIRS_H

#include "../../host/args.h"
#include "../../random/rand.h"
#include "../../simd/simd.h"

#include <cmath>
#include <cstddef>

struct pair_args {
    bool array1, array2;   // parameter has other than one element (empty too):
                           // one value per element, the result its size
    const double* p1;      // elements of a non-scalar parameter
    const double* p2;
    double s1, s2;         // value of a scalar parameter
    int m, n;              // size of the result
};

// Checks in order (output count, input count, classes, sizes) and the size of
// the result.  Reads nothing but the dimensions and the size arguments.
void pairs_check(int nlhs, int nrhs, const mxArray* prhs[], pair_args* pa);

// The one-parameter samplers (exponential, Student-t): the parameter alone,
// or the parameter with the size M, N.  Checks in order (output count, input
// count, classes, a non-scalar parameter against M-by-N) and the size.
struct single_args {
    bool array;  // the parameter has other than one element (empty too): one
                 // value per element, the result its size
    int m, n;    // size of the result
};
void single_check(int nlhs, int nrhs, const mxArray* prhs[], single_args* sa);

// Reads parameter 1 and then parameter 2 (elements or scalar value).
void pairs_read(const mxArray* prhs[], pair_args* pa);

// The degrees-of-freedom rule of the gamma-based samplers, for one element
// with parameter p1 (mean or scale), nu, half = nu / 2 and g, the gamma draw
// of shape half (which takes nothing from the stream in the first two cases):
// nu NaN, zero or negative gives NaN, as a gamma shape that is not positive
// does for the host's own gamma sampler; nu so large that the draw is its
// limit (rand_gamma_huge(half), +Inf too) gives the limit law, a point mass
// at p1; every other nu gives formula(p1, nu, g).
template <class Formula>
inline double pairs_element(double p1, double nu, double half, double g, Formula f) {
    if (!(nu > 0)) return NAN;
    if (rand_gamma_huge(half)) return p1;
    return f(p1, nu, g);
}

// Fills out[0 .. count-1] in element order with pairs_element of the
// element's parameters and g = rand_gamma(0.5 * nu): one run of gamma draws,
// so each block fetched holds what the draws still owed are certain to use.
// formula is a generic lambda: it also runs on pairs of elements.
template <class Formula>
void pairs_fill(const pair_args& pa, double* out, std::size_t count, Formula f) {
    const std::size_t piece = 4096;  // drawn, then transformed while in cache
    rand_stream rs = rand_open();
    rand_gamma_run run;
    if (pa.array2) {
        run = rand_gamma_begin_each(&rs, pa.p2, 0.5, count);
    } else {
        const double nu = pa.s2, half = 0.5 * nu;
        if (!(nu > 0) || rand_gamma_huge(half)) {  // nothing is drawn
            for (std::size_t i = 0; i < count; ++i)
                out[i] = pairs_element(pa.array1 ? pa.p1[i] : pa.s1, nu, half, half, f);
            return;
        }
        run = rand_gamma_begin(&rs, half, count);
    }
    for (std::size_t i = 0; i < count; i += piece) {
        const std::size_t m = count - i < piece ? count - i : piece;
        double* g = out + i;
        rand_gamma_next(&run, g, m);
        if (!pa.array2) {
            // One valid nu: the formula alone, two elements per instruction
            // (formula is generic; each lane has the bits of one element).
            std::size_t j = 0;
            if (pa.array1) {
                for (; j + 2 <= m; j += 2)
                    simd_store(g + j, f(simd_load<simd_d2>(pa.p1 + i + j), pa.s2, simd_load<simd_d2>(g + j)));
                for (; j < m; ++j) g[j] = f(pa.p1[i + j], pa.s2, g[j]);
            } else {
                for (; j + 2 <= m; j += 2) simd_store(g + j, f(pa.s1, pa.s2, simd_load<simd_d2>(g + j)));
                for (; j < m; ++j) g[j] = f(pa.s1, pa.s2, g[j]);
            }
            continue;
        }
        for (std::size_t j = 0; j < m; ++j) {
            const double nu = pa.array2 ? pa.p2[i + j] : pa.s2;
            const double p1 = pa.array1 ? pa.p1[i + j] : pa.s1;
            g[j] = pairs_element(p1, nu, 0.5 * nu, g[j], f);
        }
    }
}

#endif
