// The cumulative-weight search of the resampling modules: binsgeq's answer
// for every draw, by a guide table where the draws repay its build.
#ifndef BAYESMEX_RESAMPLE_SEARCH_H
#define BAYESMEX_RESAMPLE_SEARCH_H

#include <cstddef>

// out[i] = binsgeq(table, n, u[i]) for i < count (out may be u), n >= 1.  A
// guide table (host memory, freed before return) answers instead when the
// draws repay its build and the table admits it; the answers are the same.
void resample_search(const double* table, int n, const double* u, double* out,
                     std::size_t count);

#endif
