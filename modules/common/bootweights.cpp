#include "bootweights.h"

#include <cmath>

namespace {

// Uniforms fetched in one call-back at most (512 KiB): enough that the
// host's per-call cost vanishes, little enough to stay in cache.  A replicate
// larger than this still comes in one call.
const int block_values = 65536;

void release(bootweights* bw) {
    if (bw->block) mxDestroyArray(bw->block);
    bw->block = nullptr;
    bw->in_block = 0;
}

void fetch(bootweights* bw) {
    release(bw);
    if (bw->left < 1) args_error("internal", "Internal error: more bootstrap replicates drawn than announced.");
    int k = bw->n < block_values ? block_values / bw->n : 1;
    if (k > bw->left) k = bw->left;
    const int values = k * bw->n;  // at most max(n, block_values): fits an int
    args_random_array("rand", double(values), 1.0, &bw->block);
    mxArray* u = bw->block;
    if (!u || !mxIsDouble(u) || args_count(u) < std::size_t(values))
        args_error("internal", "Internal error: the host returned too few random values.");
    bw->next = mxGetPr(u);
    bw->in_block = k;
}

}  // namespace

bootweights bootweights_open(int n, const double* w, int replicates) {
    // With no value a replicate takes nothing from the stream: none is drawn.
    const int left = n > 0 && replicates > 0 ? replicates : 0;
    return bootweights{n, w, left, nullptr, nullptr, 0};
}

double* bootweights_draw(bootweights* bw, double* sum) {
    const int n = bw->n;
    if (bw->in_block == 0) fetch(bw);
    double* v = bw->next;
    bw->next += n;
    --bw->in_block;
    --bw->left;
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

void bootweights_close(bootweights* bw) { release(bw); }
