// meanshape_draw through the stand-in host, loaded as a host loads it.
#include <cmath>

#include "harness.h"
#include "rand.h"

using harness::call;
using harness::same_bits;
using standin::matrix;
using standin::scalar;

namespace {

standin::gateway fn() {
    static standin::gateway f = harness::module("meanshape_draw");
    return f;
}

TEST(meanshape_draw, MessagesInTheOrderTheChecksFire) {
    harness::expect_messages(fn(), {
        {2, {scalar(1)}, "Too many output arguments."},
        {1, {scalar(1), scalar(2), scalar(3)}, "Wrong number of input arguments."},
        {1, {}, "Wrong number of input arguments."},
        {1, {standin::of_class(standin::cls::int8_, {1, 1}), scalar(2)},
         "Input 1 must be a full double array, not int8."},
        {1, {scalar(1), standin::sparse(3, 3, 1)}, "Input 2 must be a full double array, not sparse."},
        {1, {scalar(1), scalar(2), standin::cell(1, 1), scalar(1)},
         "Input 3 must be a full double array, not cell."},
        {0, {scalar(1), scalar(2), scalar(1), standin::text("a")},
         "Input 4 must be a full double array, not char."},
        {1, {standin::array({7, 7, 0}), scalar(2)},
         "Input 1 must not be empty beyond its second dimension."},
        {1, {standin::array({2, 3, 4}), scalar(5)}, "Input 1 must not have more than two dimensions."},
        {1, {standin::complex_matrix(1, 2, {1, 2}, {0, 5}), scalar(5)}, "Input 1 must be real."},
        {1, {matrix(2, 3), matrix(3, 2)}, "Size information is inconsistent."},
        {1, {matrix(1, 6), matrix(6, 1), scalar(1), scalar(6)}, "Size information is inconsistent."},
        {1, {matrix(2, 3), scalar(1), scalar(2), scalar(4)}, "Size information is inconsistent."},
        {1, {scalar(1), matrix(2, 2), scalar(2), scalar(5)}, "Size information is inconsistent."},
        {1, {scalar(1), scalar(2), scalar(NAN), scalar(1)},
         "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {scalar(1), scalar(2), scalar(1), scalar(-INFINITY)},
         "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {scalar(1), scalar(2), scalar(3e9), scalar(1)},
         "Sizes must be finite and smaller than 2^31 in magnitude."},
    });
}

TEST(meanshape_draw, ResultShapes) {
    struct row {
        std::vector<mxArray*> in;
        std::vector<size_t> dims;
    };
    const row rows[] = {
        {{scalar(1), scalar(5)}, {1, 1}},
        {{scalar(1), scalar(5), scalar(3), scalar(4)}, {3, 4}},
        {{matrix(2, 3), scalar(5)}, {2, 3}},
        {{scalar(1), matrix(0, 5)}, {0, 5}},
        {{matrix(2, 3), scalar(5), scalar(2), scalar(3)}, {2, 3}},
        {{scalar(1), scalar(5), scalar(2.9), scalar(3)}, {2, 3}},
        {{scalar(1), scalar(5), scalar(-2), scalar(3)}, {0, 3}},
        {{scalar(1), scalar(5), scalar(-2), scalar(-3)}, {0, 0}},
        {{standin::complex_matrix(1, 2, {1, 2}, {0, -0.0}), scalar(5)}, {1, 2}},
    };
    for (const row& r : rows) {
        harness::args a{};
        a.owned = r.in;
        standin::clear_log();
        auto res = standin::call(fn(), 0, a.list());
        ASSERT_FALSE(res.failed) << res.message;
        EXPECT_EQ(standin::dims(res.out[0]), r.dims);
        const size_t n = r.dims[0] * r.dims[1];
        if (n == 0) {
            EXPECT_TRUE(standin::log().empty()) << "no draws for an empty result";
        }
        for (double v : standin::values(res.out[0])) EXPECT_TRUE(v >= 0.0) << v;
        EXPECT_EQ(res.reclaimed_arrays, 0u) << "every fetched block is destroyed";
    }
}

using harness::strict_stream;

TEST(meanshape_draw, ExactValuesOnScriptedStreams) {
    strict_stream strict;
    // nu = 2: shape 1 takes the boost path, u = 0.3 then a shape-2 pass
    // (u = v = 0.5) that accepts g = 1, so the draw is 0.3 and the result
    // ((0.3 + 0.3) * mu) / nu.
    standin::script_rand({0.3, 0.5, 0.5, 0.25});
    {
        auto r = call(fn(), 1, {scalar(3), scalar(2)});
        ASSERT_FALSE(r.failed) << r.message;
        EXPECT_TRUE(same_bits(standin::values(r.out[0])[0], ((0.3 + 0.3) * 3) / 2));
    }
    // nu = 2.00001: shape 1.000005 is one exponential per element.
    {
        auto r = call(fn(), 1, {matrix(1, 1, {2}), scalar(2.00001)});
        ASSERT_FALSE(r.failed) << r.message;
        double g = -std::log(0.25);
        EXPECT_TRUE(same_bits(standin::values(r.out[0])[0], ((g + g) * 2) / 2.00001));
    }
    EXPECT_EQ(standin::scripted_left(), 0u);
    // Degrees of freedom below 2e-5 take nothing: mu up to rounding, NaN for 0.
    {
        auto r = call(fn(), 1, {scalar(3), matrix(1, 3, {1e-5, 0, -4})});
        ASSERT_FALSE(r.failed) << r.message;
        auto v = standin::values(r.out[0]);
        EXPECT_DOUBLE_EQ(v[0], 3);
        EXPECT_TRUE(std::isnan(v[1]));
        EXPECT_DOUBLE_EQ(v[2], 3);
    }
    // A shape too large for Best's method ends at once with NaN instead of
    // rejecting every pass for ever.
    {
        auto r = call(fn(), 1, {scalar(3), scalar(1e308)});
        ASSERT_FALSE(r.failed) << r.message;
        EXPECT_TRUE(std::isnan(standin::values(r.out[0])[0]));
    }
}

// The module's block fetching against the library drawn one value per
// call-back from the same seed: same bits, same values taken, same next value.
TEST(meanshape_draw, MatchesOneAtATimeDrawsAndLeavesTheStreamWhereTheyWould) {
    const int n = 5000;
    std::vector<double> mu(n), nu(n);
    for (int i = 0; i < n; ++i) {
        mu[i] = 0.5 + i % 7;
        nu[i] = (i % 5 == 0) ? 0.7 : (i % 5 == 1) ? 2.0 : (i % 5 == 2) ? 1e-6 : 5.0 + i % 3;
    }
    std::vector<double> expect;
    standin::seed(99);
    standin::clear_log();
    auto ref = standin::run([&] {
        rand_stream rs = rand_open();
        for (int i = 0; i < n; ++i) {
            double g = rand_gamma(&rs, 0.5 * nu[i]);
            expect.push_back(((g + g) * mu[i]) / nu[i]);
        }
    });
    ASSERT_FALSE(ref.failed);
    const long long taken = standin::values_taken("rand");
    const size_t plain_callbacks = standin::log().size();
    const double after = standin::next_rand();

    standin::seed(99);
    standin::clear_log();
    auto r = call(fn(), 1, {matrix(1, n, mu), matrix(1, n, nu)});
    ASSERT_FALSE(r.failed) << r.message;
    auto got = standin::values(r.out[0]);
    ASSERT_EQ(got.size(), expect.size());
    for (int i = 0; i < n; ++i) ASSERT_TRUE(same_bits(got[i], expect[i])) << i;
    EXPECT_EQ(standin::values_taken("rand"), taken);
    EXPECT_EQ(standin::next_rand(), after);
    EXPECT_LT(standin::log().size() * 100, plain_callbacks);
    EXPECT_EQ(r.reclaimed_arrays, 0u);
}

}  // namespace
