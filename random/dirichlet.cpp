#include "dirichlet.h"

#include "../host/host.h"

#include <cmath>

void rand_simplex_fill(double* p, std::size_t rows, std::size_t columns) {
    host_in_pieces(columns, [&](std::size_t first, std::size_t count) {
        double* col = p + first * rows;
        for (std::size_t c = 0; c < count; ++c, col += rows) {
            double sum = 0.0;
            for (std::size_t j = 0; j < rows; ++j) {
                const double l = std::log(col[j]);  // the host's "rand" never yields 0
                col[j] = -l;
                sum = sum - l;
            }
            for (std::size_t j = 0; j < rows; ++j) col[j] = col[j] / sum;
        }
    });
}
