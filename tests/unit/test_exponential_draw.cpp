// exponential_draw through the stand-in host: one "rand" array transformed in
// place, the element count taken from that array.
#include <cmath>

#include "harness.h"

namespace {

standin::gateway fn() { return harness::module("exponential_draw"); }

// The one-parameter rules (P) or (P, M, N), on both modules that take them.
TEST(exponential_draw, MessagesInTheOrderTheChecksFire) {
    for (const char* name : {"exponential_draw", "studentt_draw"})
        harness::expect_messages(harness::module(name), {
        {2, {scalar(1), scalar(2)}, "Too many output arguments."},
        {1, {scalar(1), scalar(2)}, "Wrong number of input arguments."},
        {1, {}, "Wrong number of input arguments."},
        {1, {standin::text("a")}, "Input 1 must be a full double array, not char."},
        {1, {standin::of_class(standin::cls::int8_, {1, 1})}, "Input 1 must be a full double array, not int8."},
        {1, {scalar(1), standin::cell(1, 1), scalar(2)}, "Input 2 must be a full double array, not cell."},
        {1, {scalar(5), scalar(2), standin::logical(1, 1, {1})}, "Input 3 must be a full double array, not logical."},
        {1, {matrix(2, 3), scalar(3), scalar(2)}, "Size information is inconsistent."},
        {1, {matrix(2, 3), scalar(2), scalar(4)}, "Size information is inconsistent."},
        {1, {matrix(2, 3), scalar(4), scalar(3)}, "Size information is inconsistent."},
        // An empty parameter is one value per element, none: never 0 for each.
        {1, {matrix(0, 0), scalar(2), scalar(2)}, "Size information is inconsistent."},
        {1, {scalar(1), scalar(INFINITY), scalar(2)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {scalar(5), scalar(NAN), scalar(2)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {scalar(1), scalar(2), scalar(2147483648.0)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {scalar(5), scalar(1), scalar(-3e9)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
    });
}

TEST(exponential_draw, ShapesAndOneRandCall) {
    harness::expect_shapes(fn(), {
        {{scalar(2.5)}, {1, 1}},
        {{matrix(2, 3, {1, 2, 3, 4, 5, 6})}, {2, 3}},
        {{scalar(2.5), scalar(4), scalar(5)}, {4, 5}},
        {{matrix(1, 2, {7, 9}), scalar(1), scalar(2)}, {1, 2}},  // mean array, sizes agree
        {{scalar(1), matrix(1, 2, {7, 9}), scalar(1)}, {7, 1}},   // only M's first element
        {{scalar(1), scalar(2.9), scalar(1)}, {2, 1}},
        {{scalar(1), scalar(0), scalar(5)}, {0, 5}},
        {{scalar(1), scalar(-2), scalar(-3)}, {0, 0}},  // product 6, array empty
        {{matrix(0, 1)}, {0, 1}},
    }, [&](const harness::shape_row&, const standin::result& res) {
        ASSERT_EQ(standin::log().size(), 1u);
        EXPECT_EQ(standin::log()[0].name, "rand");
        for (double v : standin::values(res.out[0])) EXPECT_TRUE(v >= 0.0) << v;
        EXPECT_EQ(res.destroyed_arrays, 2u);
    });
}

TEST(exponential_draw, ExactValues) {
    harness::strict_stream strict;
    struct row {
        mxArray* mean;
        std::vector<double> u, expect;
    };
    const double a = 0.25, b = 0.9, c = 1e-300;
    const row rows[] = {
        {scalar(2.5), {a, b, c}, {std::log(a) * -2.5, std::log(b) * -2.5, std::log(c) * -2.5}},
        {scalar(1), {a, b, c}, {-std::log(a), -std::log(b), -std::log(c)}},
        {scalar(0), {a, b, c}, {std::log(a) * -0.0, std::log(b) * -0.0, std::log(c) * -0.0}},
        {matrix(3, 1, {1, -2, 3}), {a, b, c}, {std::log(a) * -1.0, std::log(b) * 2.0, std::log(c) * -3.0}},
    };
    for (const row& r : rows) {
        standin::script_rand(r.u);
        auto res = call(fn(), 1, {r.mean, scalar(3), scalar(1)});
        ASSERT_FALSE(res.failed) << res.message;
        auto v = standin::values(res.out[0]);
        ASSERT_EQ(v.size(), 3u);
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(same_bits(v[i], r.expect[i])) << i << " " << v[i];
    }
}

}  // namespace
