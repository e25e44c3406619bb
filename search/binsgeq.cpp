#include "binsgeq.h"

double binsgeq(const double* table, int n, double x) {
    if (x <= table[0]) return 1;
    // table[lo] < x throughout; table[hi] >= x or hi is the unread last entry.
    int lo = 0, hi = n - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (x > table[mid])
            lo = mid;
        else
            hi = mid;
    }
    return hi + 1;
}

int binsgeq_range(const double* table, int lo, int hi, double x) {
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (table[mid] < x)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

bool binsgeq_guide_init(binsgeq_guide* g, const double* table, int n, int* start) {
    const int m = n - 1;  // the last entry is never compared
    for (int i = 0; i < m; ++i) {
        if (table[i] != table[i]) return false;
        if (i > 0 && !(table[i - 1] <= table[i])) return false;
    }
    const int k = binsgeq_guide_buckets(n);
    // start[b] counts the entries in buckets below b: a prefix, since the
    // bucket of a non-decreasing table is non-decreasing.
    int i = 0;
    for (int b = 0; b <= k + 1; ++b) {
        while (i < m && binsgeq_bucket(table[i], k) < b) ++i;
        start[b] = i;
    }
    g->table = table;
    g->n = n;
    g->buckets = k;
    g->start = start;
    return true;
}
