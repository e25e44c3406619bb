// The flat Dirichlet law: points uniform on the probability simplex, as
// unit exponentials -log(u) normalised by their sum (exponentials divided by
// their sum are Dirichlet(1, ..., 1)).
#ifndef BAYESMEX_DIRICHLET_H
#define BAYESMEX_DIRICHLET_H

#include <cstddef>

// Each of `columns` columns of `rows` uniforms the host's "rand" filled
// (column-major, p) becomes a point of the simplex in place, in pieces of
// columns between which Ctrl-C is looked for.
void rand_simplex_fill(double* p, std::size_t rows, std::size_t columns);

#endif
