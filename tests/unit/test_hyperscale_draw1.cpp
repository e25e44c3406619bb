// hyperscale_draw1 through the stand-in host: checks and messages in order,
// and three uniforms per proposal in one call-back each.  The law itself
// (validity rule, mode, centred form) is tested as the unit scalelaw.
#include <cmath>

#include "harness.h"

namespace {

standin::gateway fn() { return harness::module("hyperscale_draw1"); }

std::vector<mxArray*> params(double a, double b, double c, double d, double e) {
    return {scalar(a), scalar(b), scalar(c), scalar(d), scalar(e)};
}

TEST(hyperscale_draw1, MessagesInTheOrderTheChecksFire) {
    harness::expect_messages(fn(), {
        {2, {scalar(1)}, "Wrong number of input arguments."},
        {1, {}, "Wrong number of input arguments."},
        {2, params(1, 2, 3, 4, 5), "Too many output arguments."},
        {1, {scalar(1), standin::of_class(standin::cls::single_, {1, 1}), scalar(1), scalar(1), scalar(1)},
         "Input 2 must be a full double array, not single."},
        {1, {scalar(1), scalar(1), scalar(1), scalar(1), standin::sparse(2, 2, 1)},
         "Input 5 must be a full double array, not sparse."},
        {1, params(NAN, 2, 3, 4, 5), "Inputs must be finite."},
        {1, params(1, 2, 3, 0, 5), "D must not be zero."},
        {1, params(-1, 2, 3, 4, 5), "A*B must not be negative."},
        {1, params(1, 2, -3, 4, 5), "C*E/D must not be negative."},
        {1, params(0, 2, 0, 1, 1), "A*B and C*E/D must not both be zero."},
        {1, params(0, 3, 1, 1, 3), "B - C*E must be negative when A*B is zero."},
        {1, params(-1, -2, 0, 1, 1), "B - C*E must be positive when C*E/D is zero."},
        {1, params(1, 1e305, 1e305, 1, 1), "The parameters are too extreme: the law's mode or width overflows."},
    });
}

// Every proper law is sampled: both tails fall and the log-density of -ln y
// is concave.  Ordinary, boundary and extreme sets.
TEST(hyperscale_draw1, ProperLawsGivePositiveDrawsWithOneCallBackPerProposal) {
    const double sets[][5] = {
        {1, 2, 3, 4, 5},       {2, 10, 0, 1, 1},         {2, 10, 1, 1, 0},   // inverse gamma
        {0, 1, 2, 1, 1},       {1, 0, 1, 1, 1},          {0, 0, 1, 1, 1},    // gamma
        {-1, -2, 1, 1, 1},     {1, 2, -1, -1, 1},        {1, 2, 1, -1, -1},
        {1e300, 1, 1, 1, 1},   {1, 1, 1e-300, 1, 1},     {1e200, 1e100, 1, 1, 1},
        {1, 2e13, 0, 1, 1},    {1, 1, 1, 1, 2e13},       {1, 1, 1e150, 1e-150, 1},
        {1, 1e40, 0, 1, 1},    {1, 1e-3, 1e-3, 1e-3, 1}, {1e-20, 1, 1, 1e10, 1},
        {1e-8, 1, -1, -1e-8, 1}, {1, 1e6, 1e6, 1, 3},
        {1e-30, 1e30, 1e30, 1e30, 1},  // a step below x0's resolution: started at the mode
    };
    standin::seed(17);
    for (const auto& s : sets) {
        for (int k = 0; k < 20; ++k) {
            standin::clear_log();
            auto r = harness::call(fn(), 1, {scalar(s[0]), scalar(s[1]), scalar(s[2]), scalar(s[3]), scalar(s[4])});
            EXPECT_FALSE(r.failed) << r.message << " at " << s[0] << " " << s[1] << " " << s[2] << " " << s[3] << " " << s[4];
            const double y = standin::values(r.out[0])[0];
            EXPECT_TRUE(y > 0 && std::isfinite(y)) << y << " at " << s[0] << " " << s[1] << " " << s[2] << " " << s[3] << " " << s[4];
            EXPECT_EQ(r.reclaimed_arrays, 0u);
            if (r.failed) break;
            ASSERT_FALSE(standin::log().empty());
            for (const auto& c : standin::log()) EXPECT_EQ(c.values, 3);
        }
    }
}

// A law so wide in -ln y that its log-density falls by less than 1e-9 per unit
// (inverse gamma of shape 5e-301) is beyond the tangent sampler: refused at
// once, not hung.
TEST(hyperscale_draw1, LawsBeyondTheSamplersResolutionEndWithAnError) {
    standin::seed(4);
    struct row {
        double p[5];
        const char* message;
    };
    const row rows[] = {
        {{1, 1e-300, 0, 1, 1}, "The sampler's bracketing search found no finite point where the log-density falls."},
        // Just past the help's limit, (B - C*E)/2 below 1e-9 with psi = 0, and its chi = 0 mirror.
        {{1, 1.99e-9, 0, 1, 1}, "The sampler's bracketing search found no finite point where the log-density falls."},
        {{0, 1, 1, 1, 1 + 1.99e-9}, "The sampler's bracketing search found no finite point where the log-density falls."},
    };
    for (const row& r : rows) {
        auto res = harness::call(fn(), 1, {scalar(r.p[0]), scalar(r.p[1]), scalar(r.p[2]), scalar(r.p[3]), scalar(r.p[4])});
        EXPECT_TRUE(res.failed);
        EXPECT_EQ(res.message, r.message);
    }
}

TEST(hyperscale_draw1, NoOutputRequestedAndArrayInputs) {
    // Only first elements count: (2, 10, 0, 1, 1) in both calls, same stream.
    standin::seed(3);
    auto r1 = harness::call(fn(), 0, {scalar(2), scalar(10), scalar(0), scalar(1), scalar(1)});
    standin::seed(3);
    auto r2 = harness::call(fn(), 1,
                            {standin::matrix(1, 2, {2, -7}), standin::matrix(2, 1, {10, -1}),
                             standin::matrix(1, 2, {0, 5}), standin::matrix(1, 3, {1, 0, 0}),
                             standin::complex_matrix(1, 1, {1}, {0})});
    ASSERT_FALSE(r1.failed) << r1.message;
    ASSERT_FALSE(r2.failed) << r2.message;
    ASSERT_EQ(r1.out.size(), 1u);
    EXPECT_EQ(standin::dims(r1.out[0]), (std::vector<size_t>{1, 1}));
    EXPECT_TRUE(harness::same_bits(standin::values(r1.out[0])[0], standin::values(r2.out[0])[0]));
}

TEST(hyperscale_draw1, AcceptedFirstProposalTakesExactlyThreeValues) {
    standin::clear_log();
    standin::script_rand({0.5, 0.5, 0.0});
    auto r = [] {
        harness::strict_stream strict;
        return harness::call(fn(), 1, {scalar(1), scalar(2), scalar(3), scalar(4), scalar(5)});
    }();
    ASSERT_FALSE(r.failed) << r.message;
    EXPECT_GT(standin::values(r.out[0])[0], 0.0);
    EXPECT_EQ(standin::scripted_left(), 0u);
    ASSERT_EQ(standin::log().size(), 1u);
    EXPECT_EQ(standin::log()[0].values, 3);
}

}  // namespace
