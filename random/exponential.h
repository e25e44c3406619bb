// The exponential law, by inversion: -log(u) of one uniform is a unit
// exponential variate.
#ifndef BAYESMEX_EXPONENTIAL_H
#define BAYESMEX_EXPONENTIAL_H

#include "rand.h"

#include <cstddef>

// -log(u), mean 1.
double rand_exp(rand_stream* rs);

// Exponential draws with mean mu over an array the host's "rand" filled:
// each uniform u becomes log(u) * (-mu) in place, in pieces between which
// Ctrl-C is looked for.  One uniform per element, all of them taken before.
struct rand_exponential {
    static constexpr int source = RAND_UNIFORM;
    static void fill(rand_stream* rs, rand_param mu, double* p, std::size_t count);
};

#endif
