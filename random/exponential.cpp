#include "exponential.h"

#include <cmath>

double rand_exp(rand_stream* rs) {
    return -std::log(rand_uniopen(rs));  // uniopen: log(0) never taken
}

// The host's "rand" never yields 0, so log(u) is finite.
void rand_exponential::fill(rand_stream*, rand_param mu, double* p, std::size_t count) {
    if (mu.p) {
        host_in_pieces(count, [&](std::size_t first, std::size_t k) {
            for (std::size_t i = first; i < first + k; ++i) p[i] = std::log(p[i]) * -mu.p[i];
        });
        return;
    }
    const double mean = mu.s;
    host_in_pieces(count, [&](std::size_t first, std::size_t k) {
        if (mean == 1.0) {
            for (std::size_t i = first; i < first + k; ++i) p[i] = -std::log(p[i]);
        } else {
            const double neg = -mean;
            for (std::size_t i = first; i < first + k; ++i) p[i] = std::log(p[i]) * neg;
        }
    });
}
