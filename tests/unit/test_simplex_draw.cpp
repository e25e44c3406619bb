// simplex_draw through the stand-in host: one "rand" array, each column
// turned into exponentials and divided by its sum in place.
#include <cmath>

#include "harness.h"

namespace {

standin::gateway fn() { return harness::module("simplex_draw"); }

TEST(simplex_draw, MessagesInTheOrderTheChecksFire) {
    harness::expect_messages(fn(), {
        {2, {matrix(1, 3)}, "Too many output arguments."},
        {1, {scalar(1), scalar(2), scalar(3)}, "Wrong number of input arguments."},
        {1, {}, "Wrong number of input arguments."},
        {1, {scalar(3), standin::of_class(standin::cls::struct_, {1, 1})},
         "Input 2 must be a full double array, not struct."},
        {1, {matrix(1, 3), matrix(2, 2)}, "First argument must be a scalar."},
        {1, {matrix(3, 1)}, "First argument must be a scalar."},
        {1, {scalar(3), matrix(2, 2)}, "Second argument must be a scalar."},
        {1, {scalar(NAN), matrix(2, 2)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {scalar(3), scalar(-INFINITY)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
    });
}

TEST(simplex_draw, ColumnsAreExponentialsDividedByTheirSum) {
    const std::vector<double> u = {0.25, 0.5, 0.125, 0.9, 1e-300, 0.75};
    auto r = [&] {
        harness::strict_stream strict;
        standin::script_rand(u);
        return call(fn(), 1, {scalar(3.7), scalar(2)});
    }();
    ASSERT_FALSE(r.failed) << r.message;
    EXPECT_EQ(standin::dims(r.out[0]), (std::vector<size_t>{3, 2}));
    auto v = standin::values(r.out[0]);
    for (int c = 0; c < 2; ++c) {
        double e[3], sum = 0;
        for (int j = 0; j < 3; ++j) {
            double l = std::log(u[3 * c + j]);
            e[j] = -l;
            sum = sum - l;
        }
        for (int j = 0; j < 3; ++j) EXPECT_TRUE(same_bits(v[3 * c + j], e[j] / sum)) << c << j;
    }
}

TEST(simplex_draw, ShapesAndDegenerateSizes) {
    harness::expect_shapes(fn(), {
        {{scalar(3)}, {3, 1}},        {{scalar(3), scalar(4)}, {3, 4}},
        {{scalar(1), scalar(5)}, {1, 5}}, {{scalar(0)}, {0, 1}},
        {{scalar(3), scalar(0)}, {3, 0}}, {{scalar(-3), scalar(4)}, {0, 4}},
        {{scalar(-3), scalar(-4)}, {0, 0}},  // product 12, array empty
        {{matrix(0, 0), scalar(2)}, {0, 2}},
        {{scalar(50), scalar(200)}, {50, 200}},
    }, [&](const harness::shape_row& r, const standin::result& res) {
        ASSERT_EQ(standin::log().size(), 1u);
        auto v = standin::values(res.out[0]);
        const size_t k = r.dims[0];
        for (size_t c = 0; c < r.dims[1] && k > 0; ++c) {
            double sum = 0;
            for (size_t j = 0; j < k; ++j) {
                EXPECT_GE(v[c * k + j], 0.0);
                sum += v[c * k + j];
            }
            EXPECT_NEAR(sum, 1.0, 1e-13);
            if (k == 1) {
                EXPECT_EQ(v[c], 1.0);
            }
        }
    });
}

}  // namespace
