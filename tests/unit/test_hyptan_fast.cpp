// hyptan_fast through the stand-in host: the exact short cuts, and the
// vectorised exponential within its documented error of tanh.
#include <cmath>
#include <random>

#include "harness.h"

namespace {

standin::gateway fn() { return harness::module("hyptan_fast"); }

std::vector<double> th(const std::vector<double>& x) {
    auto r = harness::call(fn(), 1, {matrix(x.size(), 1, x)});
    EXPECT_FALSE(r.failed) << r.message;
    return r.failed ? std::vector<double>() : standin::values(r.out[0]);
}

const double ulp1 = std::ldexp(1.0, -53);  // half the spacing of doubles just below 1

TEST(hyptan_fast, Messages) {
    harness::expect_messages(fn(), {
        {1, {}, "Wrong number of input arguments."},
        {1, {standin::of_class(standin::cls::single_, {3, 1})}, "Input 1 must be a full double array, not single."},
        {1, {standin::logical(1, 1, {1}), scalar(2)}, "Input 1 must be a full double array, not logical."},
        {1, {standin::sparse(3, 3, 1)}, "Input 1 must be a full double array, not sparse."},
        {1, {standin::structure({})}, "Input 1 must be a full double array, not struct."},
        {1, {standin::complex_matrix(1, 2, {1, 0.5}, {0, 7})}, "Input 1 must be real."},
    });
    // Further inputs are ignored; no output requested still fills the first slot.
    auto r = harness::call(fn(), 0, {matrix(1, 2, {0.5, 30}), standin::text("x")});
    ASSERT_FALSE(r.failed) << r.message;
    EXPECT_EQ(standin::values(r.out[0])[1], 1.0);
}

TEST(hyptan_fast, Shapes) {
    std::vector<double> x(24);
    for (size_t i = 0; i < x.size(); ++i) x[i] = 0.125 * double(i) - 1;
    harness::expect_elementwise(fn(), {
        {{matrix(0, 3)}, {0, 3}},
        {{matrix(3, 0)}, {3, 0}},
        {{matrix(2, 3)}, {2, 3}},
        {{standin::array({7, 7, 0})}, {7, 7, 0}},
        {{standin::array({2, 3, 4}, x)}, {2, 3, 4}},
        {{standin::complex_matrix(1, 2, {1, 0.5}, {0, -0.0})}, {1, 2}},
    }, [](double v) { return th({v})[0]; });
}

// The thresholds are exact, on both sides, in every lane position.
TEST(hyptan_fast, ShortCutsAreExact) {
    const double above18 = std::nextafter(18.0, 19.0), small = 1.5e-8;
    struct row {
        double x;
        bool formula;  // else the expected value below
        double expect;
    };
    const row rows[] = {
        {above18, false, 1.0},
        {-above18, false, -1.0},
        {1e300, false, 1.0},
        {INFINITY, false, 1.0},
        {-INFINITY, false, -1.0},
        {small, false, small},
        {-small, false, -small},
        {1e-300, false, 1e-300},
        {5e-324, false, 5e-324},
        {0.0, false, 0.0},
        {-0.0, false, -0.0},
        {NAN, false, NAN},
        {18.0, true, 0},
        {-18.0, true, 0},
        {std::nextafter(small, 1.0), true, 0},
        {-std::nextafter(small, 1.0), true, 0},
    };
    std::vector<double> x;
    for (int rep = 0; rep < 3; ++rep)
        for (const row& r : rows) x.push_back(r.x);
    x.push_back(1.0);  // an odd length: some rows fall in the scalar tail
    auto y = th(x);
    ASSERT_EQ(y.size(), x.size());
    for (size_t i = 0; i + 1 < x.size(); ++i) {
        const row& r = rows[i % (sizeof rows / sizeof rows[0])];
        if (r.formula) {
            EXPECT_NEAR(y[i], std::tanh(r.x), 4 * ulp1) << r.x;
            EXPECT_NE(std::fabs(y[i]), 1.0) << r.x;
            EXPECT_NE(y[i], r.x) << r.x;
        } else {
            EXPECT_TRUE(same_bits(y[i], r.expect)) << r.x << " gave " << y[i];
        }
    }
}

// The documented bound: within 4 * 2^-53 of tanh everywhere and within 4 ulps
// where |x| >= 0.55 (|tanh x| >= 1/2).  The scalar tail and the vector lanes
// run the same arithmetic, so they agree bit for bit.
TEST(hyptan_fast, WithinTheDocumentedErrorOfTanh) {
    std::mt19937_64 g(7);
    std::vector<double> x;
    for (int i = 0; i < 200000; ++i) {
        double m = 18 * std::ldexp(1.0, -int(g() % 28));
        x.push_back(std::uniform_real_distribution<double>(-m, m)(g));
    }
    auto y = th(x);
    ASSERT_EQ(y.size(), x.size());
    double worst_abs = 0, worst_ulps = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        const double t = std::tanh(x[i]);
        const double err = std::fabs(y[i] - t);
        worst_abs = std::fmax(worst_abs, err);
        ASSERT_LE(err, 4 * ulp1) << "x = " << x[i];
        if (std::fabs(x[i]) >= 0.55) {
            double ulps = err / (std::nextafter(std::fabs(t), 2.0) - std::fabs(t));
            worst_ulps = std::fmax(worst_ulps, ulps);
            ASSERT_LE(ulps, 4.0) << "x = " << x[i];
        }
    }
    std::printf("worst absolute error %.3g (%.2f x 2^-53), worst ulps for |x| >= 0.55: %.2f\n", worst_abs,
                worst_abs / ulp1, worst_ulps);
    // Every lane width (1 is the plain loop), every position of short arrays.
    harness::each_simd_width([&](const char* width) {
        auto yw = th(x);
        for (size_t i = 0; i < x.size(); ++i) ASSERT_TRUE(same_bits(yw[i], y[i])) << width << " " << x[i];
        for (size_t len = 1; len <= 17; ++len) {
            std::vector<double> part(x.begin(), x.begin() + len);
            auto yp = th(part);
            for (size_t i = 0; i < len; ++i) ASSERT_TRUE(same_bits(yp[i], y[i])) << width << " " << len << " " << i;
            std::vector<double> shifted(x.begin() + len, x.begin() + 2 * len + 16);
            auto ys = th(shifted);
            for (size_t i = 0; i < shifted.size(); ++i)
                ASSERT_TRUE(same_bits(ys[i], y[len + i])) << width << " " << len << " " << i;
        }
    });
}

// Threads share pieces of 2^16 elements: two whole pieces and a remainder.
TEST(hyptan_fast, EveryThreadSettingGivesTheBitsOfOneThread) {
    std::vector<double> x(2 * 65536 + 77);
    for (size_t i = 0; i < x.size(); ++i) x[i] = -30.0 + 4.5e-4 * double(i);
    harness::expect_same_on_threads(fn(), x);
}

}  // namespace
