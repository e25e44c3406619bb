// meanshape_draw and invchisq_draw, the parameter-pair samplers, through
// the stand-in host: their argument rules, shapes, formulas on scripted
// streams, and block fetching against one-value-at-a-time draws.
#include <algorithm>
#include <cmath>

#include "harness.h"
#include "gamma.h"

namespace {

standin::gateway fn() { return harness::module("meanshape_draw"); }

// The parameter-pair rules (pairs.h), on both modules that take them.
TEST(meanshape_draw, MessagesInTheOrderTheChecksFire) {
    for (const char* name : {"meanshape_draw", "invchisq_draw"})
        harness::expect_messages(harness::module(name), {
        {2, {scalar(1)}, "Too many output arguments."},
        {1, {scalar(1), scalar(2), scalar(3)}, "Wrong number of input arguments."},
        {1, {}, "Wrong number of input arguments."},
        {1, {standin::of_class(standin::cls::int8_, {1, 1}), scalar(2)},
         "Input 1 must be a full double array, not int8."},
        {1, {scalar(1), standin::sparse(3, 3, 1)}, "Input 2 must be a full double array, not sparse."},
        {1, {scalar(1), standin::of_class(standin::cls::single_, {1, 1})}, "Input 2 must be a full double array, not single."},
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
        // An empty parameter is one value per element, none: never 0 for each.
        {1, {matrix(0, 0), scalar(2), scalar(2), scalar(3)}, "Size information is inconsistent."},
        {1, {matrix(0, 1), matrix(2, 2)}, "Size information is inconsistent."},
        {1, {scalar(1), scalar(2), scalar(NAN), scalar(1)},
         "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {scalar(1), scalar(2), scalar(1), scalar(-INFINITY)},
         "Sizes must be finite and smaller than 2^31 in magnitude."},
        {1, {scalar(1), scalar(2), scalar(3e9), scalar(1)},
         "Sizes must be finite and smaller than 2^31 in magnitude."},
    });
}

TEST(meanshape_draw, ResultShapes) {
    for (const char* name : {"meanshape_draw", "invchisq_draw"})
        harness::expect_shapes(harness::module(name), {
        {{scalar(1), scalar(5)}, {1, 1}},
        {{scalar(1), scalar(5), scalar(3), scalar(4)}, {3, 4}},
        {{matrix(2, 3), scalar(5)}, {2, 3}},
        {{scalar(1), matrix(0, 5)}, {0, 5}},
        {{matrix(0, 1), scalar(5)}, {0, 1}},
        {{matrix(1, 0), scalar(5), scalar(1), scalar(0)}, {1, 0}},
        {{matrix(2, 3), scalar(5), scalar(2), scalar(3)}, {2, 3}},
        {{scalar(1), matrix(2, 2, {1, 2, 3, 4}), scalar(2), scalar(2)}, {2, 2}},
        {{scalar(1), scalar(5), scalar(2.9), scalar(3)}, {2, 3}},
        {{scalar(1), scalar(5), scalar(-2), scalar(3)}, {0, 3}},
        {{scalar(1), scalar(5), scalar(-2), scalar(-3)}, {0, 0}},
        {{standin::complex_matrix(1, 2, {1, 2}, {0, -0.0}), scalar(5)}, {1, 2}},
    }, [&](const harness::shape_row& r, const standin::result& res) {
        const size_t n = r.dims[0] * r.dims[1];
        if (n == 0) {
            EXPECT_TRUE(standin::log().empty()) << "no draws for an empty result";
        }
        for (double v : standin::values(res.out[0])) EXPECT_TRUE(v >= 0.0) << v;
    });
}

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
    // Degrees of freedom that take nothing: mu up to rounding below 2e-5,
    // NaN where nu is not positive, mu itself where it is infinite or too
    // large for Best's method (a point mass at mu is the limit law).
    {
        standin::clear_log();
        auto r = call(fn(), 1, {scalar(-3), matrix(1, 7, {1e-5, 0, -4, NAN, -INFINITY, INFINITY, 1e308})});
        ASSERT_FALSE(r.failed) << r.message;
        auto v = standin::values(r.out[0]);
        EXPECT_DOUBLE_EQ(v[0], -3);
        for (int i = 1; i < 5; ++i) EXPECT_TRUE(std::isnan(v[i])) << i;
        EXPECT_EQ(v[5], -3.0);
        EXPECT_EQ(v[6], -3.0);
        EXPECT_TRUE(standin::log().empty());
    }
}

TEST(invchisq_draw, ExactValuesOnScriptedStreams) {
    strict_stream strict;
    // nu = 2: shape 1 takes the boost path, u = 0.3 then a shape-2 pass
    // (u = v = 0.5) that accepts 1, so G = 0.3.  nu = 2.00001: shape
    // 1.000005 is one exponential, G = -log(0.25).
    standin::script_rand({0.3, 0.5, 0.5, 0.25});
    auto r = call(harness::module("invchisq_draw"), 1, {matrix(1, 2, {3, 7}), matrix(1, 2, {2, 2.00001})});
    ASSERT_FALSE(r.failed) << r.message;
    auto v = standin::values(r.out[0]);
    EXPECT_TRUE(same_bits(v[0], ((2 * 3.0) * 0.5) / 0.3));
    EXPECT_TRUE(same_bits(v[1], ((2.00001 * 7.0) * 0.5) / -std::log(0.25)));
    EXPECT_EQ(standin::scripted_left(), 0u);

    // nu that takes nothing: s2 up to rounding below 2e-5, NaN where nu is
    // not positive, s2 itself where it is infinite.
    standin::clear_log();
    auto fixed = call(harness::module("invchisq_draw"), 1, {scalar(3), matrix(1, 5, {-4, 0, 1e-5, NAN, INFINITY})});
    ASSERT_FALSE(fixed.failed) << fixed.message;
    v = standin::values(fixed.out[0]);
    EXPECT_TRUE(std::isnan(v[0]));
    EXPECT_TRUE(std::isnan(v[1]));
    EXPECT_DOUBLE_EQ(v[2], 3);
    EXPECT_TRUE(std::isnan(v[3]));
    EXPECT_EQ(v[4], 3.0);
    EXPECT_TRUE(standin::log().empty());
}

// Block fetching against the library drawn one value per call-back from the
// same seed: same bits, same values taken, same next value, at every lane
// width, for both laws of one gamma draw per element by degrees of freedom,
// every combination of scalar and array parameters: mixed nu arrays, nu in
// stretches of 15, 16 and 40 equal values (from 16 on a run of one shape,
// the last 40 at the end, whose fetches end where its draws do), and a scalar
// nu of each path.
TEST(meanshape_draw, BothLawsMatchOneAtATimeDrawsAndLeaveTheStreamWhereTheyWould) {
    const int n = 5000;
    std::vector<double> p(n), mixed(n), mixed2(n), stretches, stretches2(n);
    const double kinds[] = {0.7, 2.0, 1e-6, 5.0, 6.0, 7.0, -3.0, NAN, INFINITY};
    const double kinds2[] = {1.2, 4.0, 0.0, INFINITY};
    for (int i = 0; i < n; ++i) {
        p[i] = 0.5 + i % 7;
        mixed[i] = kinds[(i * 5 + i / 9) % 9];
        mixed2[i] = i % 5 < 4 ? kinds2[i % 5] : 9.0 + i % 3;
        stretches2[i] = i >= n - 40 ? 4.0 : i % 71 < 15 ? 9.0 : i % 71 < 31 ? 1.2 : 4.0;
    }
    for (int r = 0; int(stretches.size()) < n; ++r)
        stretches.resize(std::min<size_t>(n, stretches.size() + (r % 3 == 0 ? 15 : r % 3 == 1 ? 16 : 40)),
                         kinds[r % 4 == 3 ? 5 : r % 4]);
    std::fill(stretches.end() - 40, stretches.end(), 5.0);
    // {P, NU} (one element: a scalar), the most block fetches allowed, in
    // hundredths of the one-at-a-time call-backs, and whether the call
    // gives the sizes M, N (else the result takes the array parameters').
    struct form {
        std::vector<double> p, nu;
        int percent;
        bool sizes;
    };
    const std::vector<form> forms = {
        {p, mixed, 1, false}, {p, stretches, 1, false}, {p, {0.7}, 1, false},      {p, {2.0}, 1, false},
        {p, {5.0}, 1, false}, {p, {2.00001}, 1, false}, {p, mixed2, 2, true},      {{2.5}, mixed2, 2, true},
        {p, {3.0}, 2, true},  {{2.5}, {3.0}, 2, true},  {{2.5}, stretches2, 2, true}};
    struct law {
        const char* name;
        double (*formula)(double p, double nu, double g);
    };
    const law laws[] = {{"meanshape_draw", [](double mu, double nu, double g) { return ((g + g) * mu) / nu; }},
                        {"invchisq_draw", [](double s2, double nu, double g) { return ((nu * s2) * 0.5) / g; }}};
    harness::each_simd_width([&](const char* width) {
        for (const law& l : laws)
            for (size_t f = 0; f < forms.size(); ++f) {
                const form& fm = forms[f];
                auto at = [](const std::vector<double>& v, int i) { return v.size() == 1 ? v[0] : v[size_t(i)]; };
                auto arg = [](const std::vector<double>& v) { return v.size() == 1 ? scalar(v[0]) : matrix(1, n, v); };
                const harness::stream_match m = harness::expect_same_stream(
                    99 + f,
                    [&](std::vector<double>& expect) {
                        rand_stream rs = rand_open();
                        for (int i = 0; i < n; ++i) {
                            const double v = at(fm.nu, i), g = rand_gamma(&rs, 0.5 * v);
                            expect.push_back(!(v > 0) ? NAN : v == INFINITY ? at(fm.p, i) : l.formula(at(fm.p, i), v, g));
                        }
                    },
                    [&] {
                        std::vector<mxArray*> in = {arg(fm.p), arg(fm.nu)};
                        if (fm.sizes) in.insert(in.end(), {scalar(1), scalar(n)});
                        return call(harness::module(l.name), 1, in);
                    },
                    std::string(l.name) + " " + width + " form " + std::to_string(f));
                EXPECT_LT(m.callbacks * 100, m.plain_callbacks * fm.percent) << l.name << " form " << f;
            }
    });
}

}  // namespace
