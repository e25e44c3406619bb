#include "resample_copies.h"

void resample_fill_last(double* out, std::size_t g, std::size_t count, const double* w, int n) {
    if (g >= count) return;
    int last = n;
    while (last > 0 && !(w[last - 1] > 0)) --last;
    for (std::size_t i = g; i < count; ++i) out[i] = last;
}
