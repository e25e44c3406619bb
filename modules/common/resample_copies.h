// The result writer of the resampling walks: runs of copies of one particle
// index, and the tail that rounding leaves.
#ifndef BAYESMEX_RESAMPLE_COPIES_H
#define BAYESMEX_RESAMPLE_COPIES_H

#include <cstddef>

// Writes `index` k times at out[*cursor] and advances the cursor, never past
// `count`: k is the integer part of an expected count, which rounding can
// push a little past the output.
inline void resample_copies(double* out, std::size_t* cursor, std::size_t count, double k,
                            double index) {
    const std::size_t room = count - *cursor;
    const std::size_t c = k >= double(room) ? room : k >= 1 ? std::size_t(k) : 0;
    double* p = out + *cursor;
    for (std::size_t i = 0; i < c; ++i) p[i] = index;
    *cursor += c;
}

// Rounding can leave the summed expected counts of a stratified or
// systematic walk just short of its last points: those points lie at the top
// of the cumulative count, in the stretch of the last particle of positive
// weight, whose 1-based index fills out[g .. count).  With no weights (n = 0,
// w may be null) every element is 0, as in the other schemes.
void resample_fill_last(double* out, std::size_t g, std::size_t count, const double* w, int n);

#endif
