// The array samplers' element loops over the laws of random/: the
// parameter-pair samplers (gamma by mean and degrees of freedom, scaled
// inverse chi-square), their single draws, and the one-parameter samplers
// (exponential, Student-t), under the parameter rules of their argument
// forms (param inputs with optional sizes M, N; host/args.h).  A law is a
// class of random/ with a run (begin with its parameters and the element
// count, then next(out, k) for the next k elements), a one-value draw, or a
// fill of an array the host drew (its source and fill).
#ifndef BAYESMEX_PAIRS_H
#define BAYESMEX_PAIRS_H

#include "../../host/args.h"
#include "../../random/rand.h"

#include <algorithm>
#include <cstddef>

// Parameter i of a call as a law reads it: its elements, or its value.
inline rand_param pairs_param(const args_in& in, const mxArray* prhs[], int i) {
    if (in.each[i]) return rand_param{mxGetPr(prhs[i]), 0.0};
    return rand_param{nullptr, args_scalar(prhs[i])};
}

// (P1, P2) or (P1, P2, M, N): Law::run over the elements of the result in
// element order, in pieces drawn and then transformed while in cache; the
// run fetches its own blocks.
template <class Law>
void pairs_draw(const args_in& in, mxArray* plhs[], const mxArray* prhs[]) {
    plhs[0] = args_result_uninit(in.m, in.n);  // the run writes every element
    double* out = mxGetPr(plhs[0]);
    const std::size_t count = args_count(plhs[0]);
    if (count == 0) return;  // an empty result reads no parameter
    const rand_param p1 = pairs_param(in, prhs, 0);
    const rand_param p2 = pairs_param(in, prhs, 1);
    const std::size_t piece = 4096;
    rand_stream rs = rand_open();
    typename Law::run run(&rs, p1, p2, count);
    for (std::size_t i = 0; i < count; i += piece) run.next(out + i, count - i < piece ? count - i : piece);
}

// (P1, P2): one draw, Law::draw of the first element of each; an empty
// parameter gives [] and draws nothing, as in the array samplers (never a
// draw from a parameter read as 0).
template <class Law>
void pairs_draw1(mxArray* plhs[], const mxArray* prhs[]) {
    if (args_count(prhs[0]) == 0 || args_count(prhs[1]) == 0) {
        plhs[0] = mxCreateDoubleMatrix_700(0, 0, mxREAL);
        return;
    }
    const double p1 = args_scalar(prhs[0]);
    const double p2 = args_scalar(prhs[1]);
    plhs[0] = mxCreateDoubleMatrix_700(1, 1, mxREAL);
    double* out = mxGetPr(plhs[0]);
    rand_stream rs = rand_open();
    out[0] = Law::draw(&rs, p1, p2);
}

// (P) or (P, M, N): the host fills the result from Law::source in one call,
// and Law::fill turns it into the law's draws in place.
template <class Law>
void single_draw(const args_in& in, mxArray* plhs[], const mxArray* prhs[]) {
    rand_stream rs = rand_open();
    rand_array(&rs, Law::source, in.m, in.n, plhs);
    double* p = mxGetPr(plhs[0]);
    // The host makes an empty array for negative sizes: only the elements it
    // returned are transformed.
    std::size_t count = args_count(plhs[0]);
    if (count == 0) return;  // an empty result reads no parameter
    if (in.each[0]) count = std::min(count, args_count(prhs[0]));
    Law::fill(&rs, pairs_param(in, prhs, 0), p, count);
}

#endif
