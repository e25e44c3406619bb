// weightboot_average(X), (X, B) or (X, B, W): B Bayesian-bootstrap replicates
// (Rubin 1981) of the column means of X.  Replicate b weights row i by
// p(i) = g(i) / S with g(i) = -ln U(i) (times W(i)) from the n uniforms of a
// rand(n, 1) call, and row b of the result is sum_i X(i, :) p(i).
//
// Every mean is accumulated from 0 over the rows in increasing order, so the
// result is a fixed function of the host's stream, bit for bit.  Speed comes
// from running several columns' sums side by side (independent results), never
// from splitting one sum.
#include "common/bootweights.h"
#include "../simd/simd.h"

#include <cstddef>

namespace {

// Means of 2P (+1 when ODD) consecutive columns, x pointing at the first
// (column stride n), under the weights p, written to out with stride
// `stride`.  Each lane of a pair accumulator is one column's own sum, taken
// over i in order with a separate multiply and add, exactly as the scalar
// loop would; the pairs only let two columns' sums share an instruction.
template <int P, bool ODD>
void means(const double* x, std::size_t n, const double* p, double* out, std::size_t stride) {
    simd_d2 acc[P > 0 ? P : 1];
#pragma GCC unroll 8
    for (int k = 0; k < P; ++k) acc[k] = simd_d2{0.0, 0.0};
    double last = 0.0;
    const double* xo = x + 2 * P * n;  // the odd column
    for (std::size_t i = 0; i < n; ++i) {
        const double pi = p[i];
        const simd_d2 pp = simd_splat<simd_d2>(pi);
        // Unrolled, so that every accumulator lives in a register.
#pragma GCC unroll 8
        for (int k = 0; k < P; ++k) {
            const simd_d2 xi = {x[i + 2 * k * n], x[i + (2 * k + 1) * n]};
            acc[k] = acc[k] + xi * pp;
        }
        if (ODD) last = last + xo[i] * pi;
    }
    for (int k = 0; k < P; ++k) {
        out[2 * k * stride] = acc[k][0];
        out[(2 * k + 1) * stride] = acc[k][1];
    }
    if (ODD) out[2 * P * stride] = last;
}

typedef void (*means_fn)(const double*, std::size_t, const double*, double*, std::size_t);

// Kernels by column count 0 .. 16: up to eight pair accumulators and one
// single one keep every sum in a register.
const means_fn kernels[17] = {
    nullptr,           means<0, true>,    means<1, false>, means<1, true>, means<2, false>,
    means<2, true>,    means<3, false>,   means<3, true>,  means<4, false>, means<4, true>,
    means<5, false>,   means<5, true>,    means<6, false>, means<6, true>,  means<7, false>,
    means<7, true>,    means<8, false>,
};

void replicate_means(const double* x, std::size_t n, std::size_t d, const double* p, double* out,
                     std::size_t stride) {
    for (std::size_t j = 0; j < d; j += 16) {
        const std::size_t cols = d - j < 16 ? d - j : 16;
        kernels[cols](x + j * n, n, p, out + j * stride, stride);
    }
}

}  // namespace

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    const args_in args = args_check(args_this, nlhs, nrhs, prhs);

    const int* dx = mxGetDimensions_700(prhs[0]);
    const int n = dx[0], d = dx[1];
    const double* x = mxGetPr(prhs[0]);
    const bootweights_inputs in = bootweights_read(args, nrhs, prhs, 2, n, msg::length_mismatch_average);
    const int b = in.b;
    const double* w = in.w;

    plhs[0] = mxCreateDoubleMatrix_700(b, d, mxREAL);
    double* out = mxGetPr(plhs[0]);
    // Columns read: all d of them unless X holds fewer than n * d elements
    // (an empty trailing dimension), when there is nothing to read.
    const std::size_t rows = std::size_t(n), cols = std::size_t(d);
    const std::size_t read_cols = args_count(prhs[0]) >= rows * cols ? cols : 0;

    // Replicates are drawn only when they can show: with no sample value
    // (rand(0, 1) takes nothing anyway) or an empty result (no column, no
    // percentile) nothing is drawn, so a huge B with an empty result ends at
    // once instead of keeping the host busy for hours.
    const int replicates = n > 0 && args_count(plhs[0]) > 0 ? b : 0;
    bootweights bw = bootweights_open(n, w, replicates);
    for (int r = 0; r < replicates; ++r) {
        double s;
        double* p = bootweights_draw(&bw, &s);
        bootweights_normalise(p, n, s);
        // With no column the result is empty: out may be null.
        if (read_cols > 0) replicate_means(x, rows, read_cols, p, out + r, std::size_t(b));
    }
    bootweights_close(&bw);
}
