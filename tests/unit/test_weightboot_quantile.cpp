// weightboot_quantile through the stand-in host: "sort" once, the uniforms of
// whole replicates from one "rand" call, and a merge of the sorted fractions
// with the cumulative weights c(0) = g(0)/S, c(j+1) = g(j+1)/S + c(j),
// c(n-1) = 1.
#include <algorithm>
#include <cmath>

#include "bootstrap_reference.h"
#include "harness.h"

namespace {

standin::gateway fn() { return harness::module("weightboot_quantile"); }

// The walk written out plainly: all cumulative weights first, then the merge
// over every interval.  q must be ascending fractions; n >= 2.
std::vector<double> reference(const std::vector<double>& x, const std::vector<double>& q, int b,
                              const std::vector<double>& u, const std::vector<double>& w = {}) {
    const int n = int(x.size()), np = int(q.size());
    std::vector<double> out(size_t(b) * np, 0.0);
    for (int r = 0; r < b; ++r) {
        double s;
        const std::vector<double> g = bootstrap_reference::weights(u, r, n, w, &s);
        std::vector<double> c(n);
        c[0] = g[0] / s;
        for (int j = 0; j + 2 < n; ++j) c[j + 1] = g[j + 1] / s + c[j];
        c[n - 1] = 1;
        int k = 0;
        while (k < np && q[k] <= c[0]) out[r + size_t(b) * k++] = x[0];
        for (int j = 0; j + 1 < n; ++j)
            while (k < np && q[k] <= c[j + 1]) {
                out[r + size_t(b) * k] = x[j] + ((q[k] - c[j]) * (x[j + 1] - x[j])) / (c[j + 1] - c[j]);
                ++k;
            }
    }
    return out;
}

using bootstrap_reference::uniforms;

// Every check comes before the host's "sort" and the first draw.
TEST(weightboot_quantile, MessagesInTheOrderTheChecksFire) {
    harness::expect_messages(fn(), {
        {2, {matrix(4, 1), scalar(50)}, "Too many output arguments."},
        {1, {matrix(4, 1)}, "Wrong number of input arguments."},
        {1, {matrix(4, 1), scalar(50), scalar(1), matrix(4, 1), scalar(1)}, "Wrong number of input arguments."},
        {1, {standin::of_class(standin::cls::int8_, {4, 1}), matrix(2, 2)},
         "Input 1 must be a full double array, not int8."},
        {1, {matrix(4, 1), standin::text("50")}, "Input 2 must be a full double array, not char."},
        {1, {matrix(4, 1), scalar(50), standin::cell(1, 1), matrix(2, 2)},
         "Input 3 must be a full double array, not cell."},
        {1, {matrix(4, 1), scalar(50), scalar(1), standin::logical(4, 1)},
         "Input 4 must be a full double array, not logical."},
        {1, {matrix(4, 2), matrix(2, 2)}, "X must be a vector."},
        {1, {matrix(4, 1), matrix(2, 2), matrix(1, 2)}, "P must be a vector."},
        {1, {matrix(4, 1), matrix(1, 3), matrix(1, 2)}, "B must be a scalar."},
        {1, {matrix(4, 1), matrix(3, 1), scalar(NAN)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {matrix(4, 1), matrix(3, 1), scalar(2147483648.0), matrix(4, 1)},
         "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {matrix(4, 1), scalar(50), scalar(1), matrix(4, 2)}, "W must be a column vector."},
        {1, {matrix(4, 1), scalar(50), scalar(1), matrix(4, 0)}, "W must be a column vector."},
        {1, {matrix(4, 1), scalar(50), scalar(1), matrix(5, 1)}, "W must be a same size as X."},
        {1, {matrix(4, 1), scalar(50), scalar(1), matrix(1, 1)}, "W must be a same size as X."},
        {1, {matrix(1, 3), scalar(50), scalar(1), matrix(1, 1)}, "W must be a same size as X."},
        {1, {matrix(1, 3, {1, NAN, 3}), scalar(150)}, "X must not contain NaN."},
        {1, {matrix(3, 1, {1, 3, NAN}), scalar(50)}, "X must not contain NaN."},
        {1, {matrix(3, 1, {1, 3, 2}), scalar(50)}, "X must be in ascending order."},
        {1, {matrix(1, 3, {1, 2, 3}), matrix(1, 2, {50, NAN})}, "P must be between 0 and 100."},
        {1, {matrix(1, 3, {1, 2, 3}), scalar(-1e-300)}, "P must be between 0 and 100."},
        {1, {matrix(1, 3, {1, 2, 3}), matrix(2, 1, {100, std::nextafter(100.0, 101.0)})},
         "P must be between 0 and 100."},
    });
}

// Host calls: "sort" once (even for an empty P or no replicate), then, for a
// small sample, one rand(n B, 1) for all replicates; everything but the
// result destroyed.
TEST(weightboot_quantile, ShapesAndHostCalls) {
    struct row {
        std::vector<mxArray*> in;
        size_t rows, cols;
        long long n;
    };
    const row rows[] = {
        {{matrix(4, 1, {1, 2, 3, 4}), scalar(50)}, 1, 1, 4},
        {{matrix(4, 1), matrix(1, 3), scalar(5)}, 5, 3, 4},
        {{matrix(4, 1), matrix(3, 1), scalar(2.9)}, 2, 3, 4},
        {{matrix(4, 1), matrix(0, 0), scalar(3)}, 3, 0, 4},
        {{matrix(4, 1), matrix(1, 0), scalar(3)}, 3, 0, 4},
        {{matrix(4, 1), matrix(1, 2), scalar(0)}, 0, 2, 4},
        {{matrix(4, 1), matrix(1, 2), scalar(-4)}, 0, 2, 4},
        {{matrix(4, 1), matrix(1, 2), matrix(0, 0)}, 0, 2, 4},
        {{matrix(1, 4), scalar(50), scalar(2), matrix(4, 1)}, 2, 1, 4},  // a row: its values
        {{matrix(0, 0), scalar(50), scalar(2)}, 2, 1, 0},
        {{matrix(3, 0), scalar(50), scalar(2)}, 2, 1, 0},
    };
    for (const row& r : rows) {
        standin::clear_log();
        auto res = harness::call(fn(), 0, r.in);
        ASSERT_FALSE(res.failed) << res.message;
        EXPECT_EQ(standin::dims(res.out[0]), (std::vector<size_t>{r.rows, r.cols}));
        const auto& log = standin::log();
        // Nothing is drawn for an empty sample or an empty result.
        const size_t calls = r.n > 0 && r.cols > 0 && r.rows > 0 ? 1 : 0;
        ASSERT_EQ(log.size(), calls + 1);
        EXPECT_EQ(log[0].name, "sort");
        for (size_t k = 1; k < log.size(); ++k) {
            EXPECT_EQ(log[k].name, "rand");
            EXPECT_EQ(log[k].rows, r.n * (long long)r.rows);
            EXPECT_EQ(log[k].cols, 1);
        }
        EXPECT_EQ(res.destroyed_arrays, 3 * calls + 1);
        EXPECT_EQ(res.reclaimed_arrays, 0u);
    }
}

// Equal uniforms give equal weights: with four values c = (1/4, 1/2, 3/4, 1)
// exactly, and a percentile on a cumulative weight gives that value.
TEST(weightboot_quantile, PercentilesOnTheCumulativeWeights) {
    strict_stream strict;
    standin::script_rand({0.3, 0.3, 0.3, 0.3});
    auto r = call(fn(), 1, {matrix(4, 1, {1, 2, 4, 8}), matrix(1, 8, {100, 50, 25, 0, 75, 62.5, 12.5, 87.5})});
    ASSERT_FALSE(r.failed) << r.message;
    // Sorted: 0 12.5 25 50 62.5 75 87.5 100.
    EXPECT_EQ(standin::values(r.out[0]), (std::vector<double>{1, 1, 1, 2, 3, 4, 6, 8}));
}

TEST(weightboot_quantile, SameBitsAsTheDefinition) {
    strict_stream strict;
    const std::vector<std::vector<double>> percentiles = {
        {50}, {10, 90}, {0, 1, 2, 5, 50, 95, 99, 100},        {0, 0, 37.5, 37.5, 100, 100},
        {},   {100},    {33, 33.5, 34, 66, 67, 99.9, 1e-9}, {20, 40, 60, 80},
    };
    unsigned seed = 1;
    for (int n : {2, 3, 5, 40}) {
        std::vector<double> x(n);
        for (int i = 0; i < n; ++i) x[i] = -7 + 0.5 * i * i;
        if (n > 3) x[2] = x[1];  // a tie
        for (const auto& p : percentiles) {
            std::vector<double> q(p);
            std::sort(q.begin(), q.end());
            for (double& v : q) v = v / 100;
            const int b = 4;
            const auto u = uniforms(size_t(n) * b, ++seed);
            std::vector<double> w(n);
            for (int i = 0; i < n; ++i) w[i] = (i % 3) * 0.75;  // zero weights: empty intervals
            for (bool weighted : {false, true}) {
                const auto expect = reference(x, q, b, u, weighted ? w : std::vector<double>{});
                if (!p.empty()) standin::script_rand(u);  // an empty result draws nothing
                auto r = weighted ? call(fn(), 1, {matrix(n, 1, x), matrix(1, p.size(), p), scalar(b), matrix(n, 1, w)})
                                  : call(fn(), 1, {matrix(n, 1, x), matrix(1, p.size(), p), scalar(b)});
                ASSERT_FALSE(r.failed) << r.message;
                const auto got = standin::values(r.out[0]);
                ASSERT_EQ(got.size(), expect.size());
                for (size_t k = 0; k < got.size(); ++k)
                    ASSERT_TRUE(same_bits(got[k], expect[k]))
                        << "n " << n << " percentile set " << (&p - percentiles.data()) << " weighted "
                        << weighted << " at " << k << ": " << got[k] << " vs " << expect[k];
                ASSERT_EQ(standin::scripted_left(), 0u);
            }
        }
    }
}

TEST(weightboot_quantile, PriorWeightsOfOnesAndOfZeros) {
    strict_stream strict;
    const std::vector<double> x = {-1, 0.5, 2, 2.25, 9};
    const std::vector<double> p = {5, 50, 100};
    const auto u = uniforms(15, 9);
    standin::script_rand(u);
    auto plain = call(fn(), 1, {matrix(5, 1, x), matrix(1, 3, p), scalar(3)});
    standin::script_rand(u);
    auto ones = call(fn(), 1, {matrix(5, 1, x), matrix(1, 3, p), scalar(3), matrix(5, 1, std::vector<double>(5, 1.0))});
    standin::script_rand(u);
    auto zeros = call(fn(), 1, {matrix(5, 1, x), matrix(1, 3, p), scalar(3), matrix(5, 1, std::vector<double>(5, 0.0))});
    ASSERT_FALSE(plain.failed || ones.failed || zeros.failed);
    const auto a = standin::values(plain.out[0]), b = standin::values(ones.out[0]);
    for (size_t k = 0; k < a.size(); ++k) EXPECT_TRUE(same_bits(a[k], b[k])) << k;
    // All cumulative weights but the last are NaN: every percentile lands in
    // the last interval as NaN.
    for (double v : standin::values(zeros.out[0])) EXPECT_TRUE(std::isnan(v));
}

// Fewer than two values: one value is the whole distribution (every
// percentile gives it, whatever its weight); an empty sample has no
// percentile (NaN) and draws nothing.  A row is read as its values.
TEST(weightboot_quantile, FewerThanTwoValuesAndRows) {
    const std::vector<double> p = {100, 0, 42};
    auto one = call(fn(), 1, {matrix(1, 1, {3.5}), matrix(1, 3, p), scalar(2)});
    auto zero_w = call(fn(), 1, {matrix(1, 1, {3.5}), matrix(1, 3, p), scalar(2), matrix(1, 1, {0})});
    for (auto* r : {&one, &zero_w}) {
        ASSERT_FALSE(r->failed) << r->message;
        EXPECT_EQ(standin::values(r->out[0]), std::vector<double>(6, 3.5));
    }
    for (size_t cols : {0, 1}) {
        standin::clear_log();
        auto none = call(fn(), 1, {matrix(0, cols), matrix(1, 3, p), scalar(2)});
        ASSERT_FALSE(none.failed) << none.message;
        for (double v : standin::values(none.out[0])) EXPECT_TRUE(std::isnan(v));
        EXPECT_EQ(standin::values_taken("rand"), 0);
    }
    const std::vector<double> x = {-1, 3.5, 9, 10};
    const auto u = uniforms(8, 4);
    strict_stream strict;
    for (bool row : {false, true}) {
        standin::script_rand(u);
        auto r = call(fn(), 1, {row ? matrix(1, 4, x) : matrix(4, 1, x), matrix(1, 3, p), scalar(2)});
        ASSERT_FALSE(r.failed) << r.message;
        EXPECT_EQ(standin::values(r.out[0]), reference(x, {0, 0.42, 1}, 2, u));
    }
}

}  // namespace
