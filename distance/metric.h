// The distances between the rows of x under a metric structure, with no
// host: metric_pairwise's kernel.  Each component lists columns of x; every
// listing adds to the squared distance of rows j and k either (d * d) / L
// with d = x(j, c) - x(k, c) and L = l * l (squared-difference kind) or 1 / L
// when x(j, c) != x(k, c) (delta kind).  The distance is the square root of
// that sum.
#ifndef BAYESMEX_METRIC_H
#define BAYESMEX_METRIC_H

#include <cstddef>

enum metric_kind { METRIC_SQUARE_DIV = 0, METRIC_SQUARE_MUL = 1, METRIC_DELTA = 2 };

// One component as the kernel reads it: its kind, its scale, and its listed
// columns in the column table.
struct metric_term {
    int kind;
    double scale;       // L (SQUARE_DIV), 1 / L where that is exact (SQUARE_MUL), 1 / L (DELTA)
    std::size_t first;  // index of its first column in the column table
    std::size_t count;
};

// The term of a component of length scale l.  Dividing by a power of two L
// gives the same double as multiplying by 1 / L whenever 1 / L is itself a
// double (both round the same exact quotient; so do L = 0 and L = inf): such
// a scale costs a multiplication, not a division.
metric_term metric_term_of(double l, bool delta, std::size_t first, std::size_t count);

// The threads worth starting for m rows and ncols listed columns (1 for a
// small call, which reads no setting).
int metric_threads(std::size_t m, std::size_t ncols);

// The m-by-m distances into out (column-major, every element written), from
// the terms and the table of ncols listed columns (m values each, component
// by component, in listing order), on `threads` threads; `work` holds
// max(ncols, 1) doubles for each thread.  `stop` is asked before every
// column by every thread; false when it stopped the work.
bool metric_distances(const metric_term* terms, std::size_t nterms, const double* const* cols, std::size_t ncols,
                      std::size_t m, double* out, double* work, int threads, int (*stop)());

#endif
