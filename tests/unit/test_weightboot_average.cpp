// weightboot_average through the stand-in host: the uniforms of whole
// replicates from one "rand" call, weights -ln U (times W) over their sum
// taken in row order, and every mean accumulated from 0 over the rows in
// increasing order.
#include <cmath>

#include "bootstrap_reference.h"
#include "harness.h"

namespace {

standin::gateway fn() { return harness::module("weightboot_average"); }

using bootstrap_reference::uniforms;

// The one-value-at-a-time definition: B replicates of n uniforms each from u.
std::vector<double> reference(const std::vector<double>& x, int n, int d, int b, const std::vector<double>& u,
                              const std::vector<double>& w = {}) {
    std::vector<double> out(size_t(b) * d, 0.0);
    for (int r = 0; r < b; ++r) {
        double s;
        const std::vector<double> g = bootstrap_reference::weights(u, r, n, w, &s);
        for (int i = 0; i < n; ++i) {
            double p = g[i] / s;
            for (int j = 0; j < d; ++j) out[r + size_t(b) * j] += x[i + size_t(n) * j] * p;
        }
    }
    return out;
}

TEST(weightboot_average, MessagesInTheOrderTheChecksFire) {
    harness::expect_messages(fn(), {
        {2, {matrix(5, 3)}, "Too many output arguments."},
        {1, {}, "Wrong number of input arguments."},
        {1, {matrix(5, 1), scalar(1), matrix(5, 1), scalar(1)}, "Wrong number of input arguments."},
        {1, {standin::of_class(standin::cls::int8_, {5, 1}), matrix(1, 2)},
         "Input 1 must be a full double array, not int8."},
        {1, {matrix(5, 1), standin::of_class(standin::cls::single_, {1, 1})},
         "Input 2 must be a full double array, not single."},
        {1, {matrix(5, 1), matrix(1, 2), standin::logical(5, 1)},
         "Input 3 must be a full double array, not logical."},
        {1, {matrix(5, 1), standin::sparse(1, 1, 1)}, "Input 2 must be a full double array, not sparse."},
        {1, {standin::array({5, 2, 3}), scalar(2)}, "Input 1 must not have more than two dimensions."},
        {1, {matrix(5, 1), matrix(1, 2), matrix(1, 5)}, "B must be a scalar."},
        {1, {matrix(5, 1), matrix(2, 1)}, "B must be a scalar."},
        {1, {matrix(5, 1), scalar(NAN)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {matrix(5, 1), scalar(INFINITY), matrix(6, 1)},
         "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {matrix(5, 1), scalar(-3e9)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {matrix(5, 2), scalar(1), matrix(1, 5)}, "W must be a column vector."},
        {1, {matrix(5, 2), scalar(1), matrix(5, 2)}, "W must be a column vector."},
        // Five rows but no element: nothing to read as weights.
        {1, {matrix(5, 2), scalar(1), matrix(5, 0)}, "W must be a column vector."},
        {1, {matrix(5, 2), scalar(1), matrix(6, 1)}, "W must have same length as X."},
        {1, {matrix(5, 2), scalar(1), matrix(0, 1)}, "W must have same length as X."},
        {1, {matrix(5, 2), scalar(1), matrix(0, 0)}, "W must have same length as X."},
    });
}

// Shapes and host calls: small samples take all B replicates' uniforms in one
// rand(n B, 1) and call nothing else; the module destroys the uniform array
// and both size arrays.
TEST(weightboot_average, ShapesAndOneRandCallForSmallSamples) {
    struct row {
        std::vector<mxArray*> in;
        size_t rows, cols;
        long long n;  // rows asked of "rand"
    };
    const row rows[] = {
        {{matrix(5, 3)}, 1, 3, 5},
        {{matrix(5, 3), scalar(4)}, 4, 3, 5},
        {{matrix(5, 3), scalar(2.9)}, 2, 3, 5},
        {{matrix(5, 3), scalar(0)}, 0, 3, 5},
        {{matrix(5, 3), scalar(-0.5)}, 0, 3, 5},
        {{matrix(5, 3), scalar(-7)}, 0, 3, 5},
        {{matrix(5, 3), matrix(0, 0)}, 0, 3, 5},  // an empty B reads as 0
        {{matrix(0, 3), scalar(3)}, 3, 3, 0},
        {{matrix(0, 0), scalar(2)}, 2, 0, 0},
        {{matrix(4, 0), scalar(2), matrix(4, 1)}, 2, 0, 4},
    };
    for (const row& r : rows) {
        standin::clear_log();
        auto res = harness::call(fn(), 0, r.in);
        ASSERT_FALSE(res.failed) << res.message;
        EXPECT_EQ(standin::dims(res.out[0]), (std::vector<size_t>{r.rows, r.cols}));
        // Nothing is drawn for an empty sample or an empty result.
        const size_t calls = r.n > 0 && r.cols > 0 && r.rows > 0 ? 1 : 0;
        ASSERT_EQ(standin::log().size(), calls);
        for (const auto& c : standin::log()) {
            EXPECT_EQ(c.name, "rand");
            EXPECT_EQ(c.rows, r.n * (long long)r.rows);
            EXPECT_EQ(c.cols, 1);
        }
        EXPECT_EQ(res.destroyed_arrays, 3 * calls);
        EXPECT_EQ(res.reclaimed_arrays, 0u);
        if (r.n == 0) {
            for (double v : standin::values(res.out[0])) EXPECT_TRUE(same_bits(v, 0.0));
        }
    }
}

// Against the definition on scripted uniforms, for every column count the
// kernels split differently (1 .. 17, 33), rows 1 .. 9, with a column of
// -0 (sums start from +0), infinities and a NaN among the data.
TEST(weightboot_average, SameBitsAsTheDefinition) {
    strict_stream strict;
    for (int d : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 33}) {
        for (int n : {1, 2, 9}) {
            const int b = 3;
            std::vector<double> x(size_t(n) * d);
            for (size_t k = 0; k < x.size(); ++k) x[k] = std::sin(double(k) * 1.7 + d) * 1e3;
            for (int i = 0; i < n; ++i) x[i] = -0.0;
            if (d > 2) x[size_t(n) * 2] = INFINITY;
            if (d > 4 && n > 1) x[size_t(n) * 4 + 1] = NAN;
            const auto u = uniforms(size_t(n) * b, unsigned(7 * d + n));
            const auto expect = reference(x, n, d, b, u);
            standin::script_rand(u);
            auto r = call(fn(), 1, {matrix(n, d, x), scalar(b)});
            ASSERT_FALSE(r.failed) << r.message;
            const auto got = standin::values(r.out[0]);
            ASSERT_EQ(got.size(), expect.size());
            for (size_t k = 0; k < got.size(); ++k)
                ASSERT_TRUE(same_bits(got[k], expect[k])) << "d " << d << " n " << n << " at " << k;
            ASSERT_EQ(standin::scripted_left(), 0u);
        }
    }
}

// Large samples: as many whole replicates per call as 65536 values hold (at
// least one), never more than remain, with the same bits as one replicate
// per call and exactly the stream's n B values taken.
TEST(weightboot_average, LargeSamplesComeInBlocksOfWholeReplicates) {
    strict_stream strict;
    struct row {
        int n, b;
        std::vector<long long> calls;  // rows of each rand call
    };
    const row rows[] = {
        {30000, 5, {60000, 60000, 30000}},
        {70000, 2, {70000, 70000}},
        {65536, 2, {65536, 65536}},
        {32768, 3, {65536, 32768}},
    };
    for (const row& r : rows) {
        const int d = 2;
        std::vector<double> x(size_t(r.n) * d);
        for (size_t k = 0; k < x.size(); ++k) x[k] = std::cos(double(k) * 0.3);
        const auto u = uniforms(size_t(r.n) * r.b, 11);
        const auto expect = reference(x, r.n, d, r.b, u);
        standin::clear_log();
        standin::script_rand(u);
        auto res = call(fn(), 1, {matrix(r.n, d, x), scalar(r.b)});
        ASSERT_FALSE(res.failed) << res.message;
        const auto got = standin::values(res.out[0]);
        for (size_t k = 0; k < got.size(); ++k) ASSERT_TRUE(same_bits(got[k], expect[k])) << r.n << " at " << k;
        EXPECT_EQ(standin::scripted_left(), 0u);
        std::vector<long long> calls;
        for (const auto& c : standin::log()) calls.push_back(c.rows);
        EXPECT_EQ(calls, r.calls) << r.n;
        EXPECT_EQ(res.reclaimed_arrays, 0u);
    }
}

TEST(weightboot_average, PriorWeights) {
    strict_stream strict;
    const int n = 6, d = 3, b = 4;
    std::vector<double> x(n * d);
    for (int k = 0; k < n * d; ++k) x[k] = k * 0.37 - 2;
    const auto u = uniforms(n * b, 3);
    const std::vector<double> w = {0.5, 2, 0, 1.25, 3, 0.75};
    const std::vector<double> ones(n, 1.0), zeros(n, 0.0);

    standin::script_rand(u);
    auto plain = call(fn(), 1, {matrix(n, d, x), scalar(b)});
    standin::script_rand(u);
    auto with_ones = call(fn(), 1, {matrix(n, d, x), scalar(b), matrix(n, 1, ones)});
    standin::script_rand(u);
    auto weighted = call(fn(), 1, {matrix(n, d, x), scalar(b), matrix(n, 1, w)});
    standin::script_rand(u);
    auto none = call(fn(), 1, {matrix(n, d, x), scalar(b), matrix(n, 1, zeros)});
    ASSERT_FALSE(plain.failed || with_ones.failed || weighted.failed || none.failed);

    const auto p = standin::values(plain.out[0]), o = standin::values(with_ones.out[0]);
    for (size_t k = 0; k < p.size(); ++k) EXPECT_TRUE(same_bits(p[k], o[k])) << k;
    const auto expect = reference(x, n, d, b, u, w);
    const auto got = standin::values(weighted.out[0]);
    for (size_t k = 0; k < got.size(); ++k) EXPECT_TRUE(same_bits(got[k], expect[k])) << k;
    for (double v : standin::values(none.out[0])) EXPECT_TRUE(std::isnan(v));
}

}  // namespace
