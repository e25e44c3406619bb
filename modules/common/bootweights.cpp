#include "bootweights.h"

#include <cmath>

bootweights bootweights_open(int n, const double* w) {
    bootweights bw;
    bw.size[0] = mxCreateDoubleScalar(double(n));
    bw.size[1] = mxCreateDoubleScalar(1.0);
    bw.n = n;
    bw.w = w;
    return bw;
}

mxArray* bootweights_draw(const bootweights* bw, double** g, double* sum) {
    mxArray* u = nullptr;
    mexCallMATLAB(1, &u, 2, const_cast<mxArray**>(bw->size), "rand");
    const int n = bw->n > 0 ? bw->n : 0;
    if (!u || !mxIsDouble(u) || args_count(u) < size_t(n))
        mexErrMsgTxt("Internal error: the host returned too few random values.");
    double* v = mxGetPr(u);
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
    *g = v;
    *sum = s;
    return u;
}

void bootweights_normalise(double* g, int n, double sum) {
    // Two independent quotients per instruction; each is still g(i) / S,
    // correctly rounded.
    typedef double pair __attribute__((vector_size(16)));
    const pair s2 = {sum, sum};
    int i = 0;
    for (; i + 2 <= n; i += 2) {
        pair v;
        __builtin_memcpy(&v, g + i, sizeof v);
        v = v / s2;
        __builtin_memcpy(g + i, &v, sizeof v);
    }
    for (; i < n; ++i) g[i] = g[i] / sum;
}

void bootweights_close(bootweights* bw) {
    mxDestroyArray(bw->size[0]);
    mxDestroyArray(bw->size[1]);
    bw->size[0] = bw->size[1] = nullptr;
}
