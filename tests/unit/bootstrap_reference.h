// The Bayesian bootstrap's weights one value at a time (Rubin 1981), the
// reference both bootstrap modules are checked against: replicate r takes
// uniforms r n .. r n + n - 1, g(i) = -ln u (times the prior weight W(i)) and
// S, their sum in row order.
#ifndef BAYESMEX_TEST_BOOTSTRAP_REFERENCE_H
#define BAYESMEX_TEST_BOOTSTRAP_REFERENCE_H

#include <cmath>
#include <vector>

namespace bootstrap_reference {

// g of replicate r, with S in *sum; w empty: no prior weights.
inline std::vector<double> weights(const std::vector<double>& u, int r, int n, const std::vector<double>& w,
                                   double* sum) {
    std::vector<double> g(n);
    double s = 0;
    for (int i = 0; i < n; ++i) {
        g[i] = -std::log(u[size_t(r) * n + i]);
        if (!w.empty()) g[i] = g[i] * w[i];
        s = s + g[i];
    }
    *sum = s;
    return g;
}

// count fixed uniforms inside (0, 1), different for every seed.
inline std::vector<double> uniforms(size_t count, unsigned seed) {
    std::vector<double> u(count);
    for (size_t i = 0; i < count; ++i) u[i] = (((i + 1) * 2654435761u * seed) % 1000003 + 0.5) / 1000004.0;
    return u;
}

}  // namespace bootstrap_reference

#endif
