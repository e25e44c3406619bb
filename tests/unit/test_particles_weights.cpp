// particles_weights through the stand-in host: its refusals, exact answers
// where the arithmetic is exact, and the three passes replayed on random
// log-weights.
#include <cmath>
#include <random>

#include "harness.h"

namespace {

standin::gateway fn() { return harness::module("particles_weights"); }

TEST(particles_weights, Refusals) {
    harness::expect_messages(fn(), {
        {4, {scalar(0)}, "Too many output arguments."},
        {1, {}, "Wrong number of input arguments."},
        {1, {scalar(0), scalar(0)}, "Wrong number of input arguments."},
        {1, {standin::of_class(standin::cls::single_, {1, 3})},
         "Input 1 must be a full double array, not single."},
        {1, {standin::complex_matrix(1, 2, {0, 0}, {1, 0})}, "Input 1 must be real."},
        {1, {matrix(0, 3)}, "Log-weights must not be empty."},
        {1, {matrix(1, 3, {0, NAN, 1})}, "Log-weights must not be NaN or +Inf."},
        {1, {matrix(3, 1, {INFINITY, 0, 1})}, "Log-weights must not be NaN or +Inf."},
        {3, {matrix(1, 2, {-INFINITY, -INFINITY})}, "Log-weights must not all be -Inf."},
    });
}

// Offsets far beyond exp's range, -Inf as a zero weight, and the shape kept.
TEST(particles_weights, ExactWhereTheArithmeticIs) {
    struct row {
        std::vector<double> lw;
        size_t rows;
        std::vector<double> w;
        double ess, logmean;
    };
    const row rows[] = {
        {{-1e4, -1e4}, 1, {0.5, 0.5}, 2, -1e4},
        {{1000, -INFINITY, 1000, -INFINITY}, 2, {0.5, 0, 0.5, 0}, 2, 1000 + std::log(0.5)},
        {{-7e300}, 1, {1}, 1, -7e300},
        {{0, 0, 0, 0, 0, 0}, 3, std::vector<double>(6, 1.0 / 6), 6, 0},
    };
    // Every dimension kept and read.
    auto nd = harness::call(fn(), 1, {standin::array({2, 1, 2}, {0, -INFINITY, 0, -INFINITY})});
    ASSERT_FALSE(nd.failed) << nd.message;
    EXPECT_EQ(standin::dims(nd.out[0]), (std::vector<size_t>{2, 1, 2}));
    EXPECT_EQ(standin::values(nd.out[0]), (std::vector<double>{0.5, 0, 0.5, 0}));
    for (const row& r : rows) {
        standin::clear_log();
        harness::args a{matrix(r.rows, r.lw.size() / r.rows, r.lw)};
        auto res = standin::call(fn(), 3, a.list());
        ASSERT_FALSE(res.failed) << res.message;
        EXPECT_EQ(standin::dims(res.out[0]), (std::vector<size_t>{r.rows, r.lw.size() / r.rows}));
        EXPECT_EQ(standin::values(res.out[0]), r.w);
        EXPECT_EQ(standin::values(res.out[1])[0], r.ess);
        EXPECT_EQ(standin::values(res.out[2])[0], r.logmean);
        EXPECT_TRUE(standin::log().empty());
        EXPECT_EQ(res.reclaimed_arrays, 0u);
    }
}

TEST(particles_weights, ReplaysTheThreePasses) {
    std::mt19937_64 r(5);
    std::normal_distribution<double> N(0, 30);
    for (int rep = 0; rep < 20; ++rep) {
        const size_t n = 1 + rep * 37;
        std::vector<double> lw(n), w(n);
        for (double& v : lw) v = N(r) + (rep % 2 ? -5e3 : 0) + (N(r) > 40 ? -INFINITY : 0);
        lw[n / 2] = 3;  // at least one finite entry
        double m = -INFINITY, s = 0, s2 = 0;
        for (double v : lw) m = std::fmax(m, v);
        for (size_t i = 0; i < n; ++i) {
            w[i] = std::exp(lw[i] - m);
            s += w[i];
            s2 += w[i] * w[i];
        }
        for (double& v : w) v /= s;
        auto res = harness::call(fn(), 3, {matrix(n, 1, lw)});
        ASSERT_FALSE(res.failed) << res.message;
        EXPECT_EQ(standin::values(res.out[0]), w);
        EXPECT_EQ(standin::values(res.out[1])[0], s * s / s2);
        EXPECT_EQ(standin::values(res.out[2])[0], m + std::log(s / double(n)));
    }
}

}  // namespace
