// The parameter-pair rules of the two-parameter array samplers (gamma by mean
// and degrees of freedom, scaled inverse chi-square): argument forms, checks
// and messages in their order, the size of the result, and the element loop.
#ifndef BAYESMEX_PAIRS_H
#define BAYESMEX_PAIRS_H

#include "../../host/args.h"
#include "../../random/rand.h"

#include <cstddef>

struct pair_args {
    bool array1, array2;   // parameter is non-scalar: one value per element
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
    bool array;  // the parameter is non-scalar: one value per element
    int m, n;    // size of the result
};
void single_check(int nlhs, int nrhs, const mxArray* prhs[], single_args* sa);

// Reads parameter 1 and then parameter 2 (elements or scalar value).
void pairs_read(const mxArray* prhs[], pair_args* pa);

// Fills out[0 .. count-1] in element order with f(rs, p1, nu, 0.5 * nu), where
// f makes exactly one rand_gamma(0.5 * nu) call.  Before each element the
// stream is promised the least number of uniforms the remaining elements take.
template <class Formula>
void pairs_fill(rand_stream* rs, const pair_args& pa, double* out, std::size_t count, Formula f) {
    if (!pa.array2) {
        const double nu = pa.s2, half = 0.5 * nu;
        const int64_t least = rand_gamma_least(half);
        for (std::size_t i = 0; i < count; ++i) {
            rand_expect(rs, RAND_UNIFORM, least * int64_t(count - i));
            out[i] = f(rs, pa.array1 ? pa.p1[i] : pa.s1, nu, half);
        }
        return;
    }
    int64_t remaining = 0;
    for (std::size_t i = 0; i < count; ++i) remaining += rand_gamma_least(0.5 * pa.p2[i]);
    for (std::size_t i = 0; i < count; ++i) {
        const double nu = pa.p2[i], half = 0.5 * nu;
        rand_expect(rs, RAND_UNIFORM, remaining);
        remaining -= rand_gamma_least(half);
        out[i] = f(rs, pa.array1 ? pa.p1[i] : pa.s1, nu, half);
    }
}

#endif
