#include "bootweights.h"
#include "../../simd/simd.h"

#include <cmath>
#include <cstddef>

bootweights_inputs bootweights_read(const args_in& in, int nrhs, const mxArray* prhs[], int position, int n,
                                    msg mismatch) {
    bootweights_inputs bi{1, nullptr};
    if (nrhs >= position) bi.b = in.size[position - 1];
    if (nrhs > position) {
        const mxArray* w = prhs[position];
        const int* dw = mxGetDimensions_700(w);
        // Fewer elements than rows (no column, or an empty trailing
        // dimension) is no column either: its weights cannot be read.
        if (dw[1] > 1 || args_count(w) < std::size_t(dw[0])) args_fail(msg::not_column);
        if (dw[0] != n) args_fail(mismatch);
        bi.w = mxGetPr(w);
    }
    return bi;
}

bootweights bootweights_open(int n, const double* w, int replicates) {
    // With no value a replicate takes nothing from the stream: none is drawn.
    const int left = n > 0 && replicates > 0 ? replicates : 0;
    return bootweights{n, w, left, rand_open()};
}

double* bootweights_draw(bootweights* bw, double* sum) {
    const int n = bw->n;
    if (bw->left < 1) args_fail(msg::internal_replicates);
    --bw->left;
    double* v = rand_span(&bw->rs, RAND_UNIFORM, n, int64_t(bw->left) * n);
    // S summed in index order, one dependent add per value: the order that
    // fixes its bits.  The logarithms are independent of one another.
    double s = 0.0;
    if (bw->w) {
        const double* w = bw->w;
        for (int i = 0; i < n; ++i) {
            const double e = -std::log(v[i]);  // uniopen: log(0) never taken
            v[i] = e * w[i];
            s = s + v[i];
        }
    } else {
        for (int i = 0; i < n; ++i) {
            v[i] = -std::log(v[i]);
            s = s + v[i];
        }
    }
    *sum = s;
    return v;
}

void bootweights_normalise(double* g, int n, double sum) {
    // Two independent quotients per instruction; each is still g(i) / S,
    // correctly rounded.
    const simd_d2 s2 = simd_splat<simd_d2>(sum);
    int i = 0;
    for (; i + 2 <= n; i += 2) simd_store(g + i, simd_load<simd_d2>(g + i) / s2);
    for (; i < n; ++i) g[i] = g[i] / sum;
}

void bootweights_close(bootweights* bw) { rand_close(&bw->rs); }
