#include "resample_search.h"

#include "../../host/host.h"
#include "../../search/binsgeq.h"

void resample_search(const double* table, int n, const double* u, double* out,
                     std::size_t count) {
    // A bisection costs about log2(n) dependent, mispredicted comparisons; the
    // guide costs two passes over the table and then about one comparison per
    // draw.
    if (count >= 16 && count >= std::size_t(n) / 16) {
        int* start = static_cast<int*>(mxMalloc(sizeof(int) * std::size_t(binsgeq_guide_words(n))));
        binsgeq_guide g;
        if (binsgeq_guide_init(&g, table, n, start)) {
            for (std::size_t i = 0; i < count; ++i) out[i] = binsgeq_guided(&g, u[i]);
            mxFree(start);
            return;
        }
        mxFree(start);  // not monotone or NaN: only the bisection's answer is defined
    }
    for (std::size_t i = 0; i < count; ++i) out[i] = binsgeq(table, n, u[i]);
}
