// The array samplers' parameter rules: the parameter-pair samplers (gamma by
// mean and degrees of freedom, scaled inverse chi-square) and the
// one-parameter ones (exponential, Student-t): argument forms, checks and
// messages in their order, the size of the result, and the element loop
// every law of random/ shares.
#ifndef BAYESMEX_PAIRS_H
#define BAYESMEX_PAIRS_H

#include "../../host/args.h"
#include "../../random/rand.h"

#include <algorithm>
#include <cstddef>

struct pair_args {
    bool array1, array2;   // parameter has other than one element (empty too):
                           // one value per element, the result its size
    rand_param p1, p2;     // the parameters' values
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

// The element loop of every parameter-pair sampler: Law::run (random/)
// draws the elements in order, in pieces that are drawn and then transformed
// while in cache; the run fetches its own blocks.
template <class Law>
void pairs_fill(const pair_args& pa, double* out, std::size_t count) {
    const std::size_t piece = 4096;
    rand_stream rs = rand_open();
    typename Law::run run(&rs, pa.p1, pa.p2, count);
    for (std::size_t i = 0; i < count; i += piece) run.next(out + i, count - i < piece ? count - i : piece);
}

// The one-parameter samplers: the host fills the M-by-N result from
// Law::source in one call, and Law::fill turns it into the law's draws in
// place (an empty result reads no parameter).
template <class Law>
void single_fill(const single_args& sa, const mxArray* prhs[], mxArray* plhs[]) {
    rand_stream rs = rand_open();
    rand_array(&rs, Law::source, sa.m, sa.n, plhs);
    double* p = mxGetPr(plhs[0]);
    // The host makes an empty array for negative sizes: only the elements it
    // returned are transformed.
    std::size_t count = args_count(plhs[0]);
    if (count == 0) return;
    rand_param param{nullptr, 0.0};
    if (sa.array) {
        param.p = mxGetPr(prhs[0]);
        count = std::min(count, args_count(prhs[0]));
    } else {
        param.s = args_scalar(prhs[0]);
    }
    Law::fill(&rs, param, p, count);
}

#endif
