// Search of a cumulative-weight table: the first entry at least a value.
//
// binsgeq is the plain bisection.  The guide table beside it (the indexed
// search of Chen and Asau, 1974) gives exactly the same answer in expected
// constant time when the table is non-decreasing; the caller falls back to
// binsgeq when binsgeq_guide_init refuses the table.
#ifndef BAYESMEX_BINSGEQ_H
#define BAYESMEX_BINSGEQ_H

// 1-based position of the first of table[0 .. n-2] that is >= x, or n when
// none is; n >= 1.  The last entry is taken to be >= x and never read.  For a
// table that is not monotone or holds NaN the answer is whatever the
// bisection meets (every comparison with NaN is false), always in 1 .. n.
double binsgeq(const double* table, int n, double x);

struct binsgeq_guide {
    const double* table;
    int n;
    int buckets;       // K: values in [0, 1) fall into K buckets of width 1/K
    const int* start;  // start[b]: entries of table[0 .. n-2] in buckets below b
};

// Buckets for a table of n entries: four per entry leaves most buckets with
// at most one entry below any value in them, so one branch-free step usually
// settles the answer; one per entry past 2^22 entries bounds the memory.
inline int binsgeq_guide_buckets(int n) {
    if (n <= (1 << 22)) return 4 * n;
    return n < 0x7ffffff0 ? n : 0x7ffffff0;
}
// Guide-table words (ints) the caller provides for a table of n entries.
inline long binsgeq_guide_words(int n) { return long(binsgeq_guide_buckets(n)) + 2; }

// Builds the guide over table[0 .. n-2] into start (binsgeq_guide_words(n)
// ints).  Returns false, leaving the guide unusable, when those entries are
// not non-decreasing or one of them is NaN: binsgeq is then the only search
// whose answer is defined.
bool binsgeq_guide_init(binsgeq_guide* g, const double* table, int n, int* start);

// Bucket of a value: 0 up to 0, K from 1 on, floor(v * K) between.  It is
// non-decreasing in v, so every entry in a lower bucket than x is below x and
// every entry in a higher bucket is above it.
inline int binsgeq_bucket(double v, int buckets) {
    if (!(v > 0)) return 0;
    if (v >= 1) return buckets;
    return int(v * buckets);  // v * K rounds to at most K
}

// The first index in [lo, hi) whose entry is >= x, or hi; the entries there
// are non-decreasing and not NaN.
int binsgeq_range(const double* table, int lo, int hi, double x);

// binsgeq(g->table, g->n, x), bit for bit, for any x (NaN included).
inline double binsgeq_guided(const binsgeq_guide* g, double x) {
    if (x != x) return binsgeq(g->table, g->n, x);
    const int b = binsgeq_bucket(x, g->buckets);
    // The answer lies in [start[b], start[b + 1]]: entries before are in lower
    // buckets, the entry at start[b + 1] (if any before the last) in a higher one.
    int i = g->start[b];
    const int hi = g->start[b + 1];
    // table[i] is readable even at i = hi: hi <= n - 1.
    i += (i < hi) & (g->table[i] < x);
    if (i < hi && g->table[i] < x) {
        if (hi - i > 8) return binsgeq_range(g->table, i, hi, x) + 1;
        while (i < hi && g->table[i] < x) ++i;
    }
    return i + 1;
}

#endif
