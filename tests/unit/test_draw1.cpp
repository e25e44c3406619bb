// The single-draw modules meanshape_draw1 and invchisq_draw1 through the
// stand-in host: the input count tested first, the formulas on scripted
// streams, and the same draw as the array module with scalar arguments.
#include <cmath>

#include "harness.h"

namespace {

standin::gateway meanshape1() { return harness::module("meanshape_draw1"); }
standin::gateway invchisq1() { return harness::module("invchisq_draw1"); }

TEST(draw1, InputCountIsTestedBeforeOutputCount) {
    for (standin::gateway fn : {meanshape1(), invchisq1()})
        harness::expect_messages(fn, {
            {2, {scalar(1), scalar(2), scalar(3)}, "Wrong number of input arguments."},
            {2, {scalar(1)}, "Wrong number of input arguments."},
            {0, {}, "Wrong number of input arguments."},
            {2, {scalar(1), scalar(2)}, "Too many output arguments."},
            {1, {standin::of_class(standin::cls::int8_, {1, 1}), scalar(2)},
             "Input 1 must be a full double array, not int8."},
            {1, {scalar(1), standin::sparse(1, 1, 1)}, "Input 2 must be a full double array, not sparse."},
        });
}

TEST(draw1, ExactValuesOnScriptedStreams) {
    {
        harness::strict_stream strict;
        // nu = 2: shape 1 takes the boost path, u = 0.3 then a shape-2 pass
        // (u = v = 0.5) that accepts 1, so g = 0.3.  Only first elements count.
        standin::script_rand({0.3, 0.5, 0.5});
        {
            auto r = call(meanshape1(), 0, {matrix(3, 3, {3, 9, 9, 9, 9, 9, 9, 9, 9}), scalar(2)});
            ASSERT_FALSE(r.failed) << r.message;
            EXPECT_EQ(standin::dims(r.out[0]), (std::vector<size_t>{1, 1}));
            EXPECT_TRUE(same_bits(standin::values(r.out[0])[0], ((0.3 + 0.3) * 3) / 2));
        }
        // nu = 2.00001: one exponential, g = -log(0.25).
        standin::script_rand({0.25});
        {
            auto r = call(invchisq1(), 1, {scalar(7), matrix(1, 2, {2.00001, 9})});
            ASSERT_FALSE(r.failed) << r.message;
            EXPECT_TRUE(same_bits(standin::values(r.out[0])[0], ((7 * 2.00001) * 0.5) / -std::log(0.25)));
        }
        EXPECT_EQ(standin::scripted_left(), 0u);
        // Degrees of freedom that take nothing: NaN where nu is not positive,
        // the limit (the scale or the mean itself) where it is infinite or too
        // large for Best's method, and the old value up to rounding below 2e-5.
        standin::clear_log();
        for (standin::gateway fn : {meanshape1(), invchisq1()}) {
            for (double nu : {0.0, -4.0, -HUGE_VAL, std::nan("")}) {
                auto r = call(fn, 1, {scalar(3), scalar(nu)});
                EXPECT_TRUE(std::isnan(standin::values(r.out[0])[0])) << nu;
            }
            for (double nu : {HUGE_VAL, 1.6e307, 1e308}) {
                auto r = call(fn, 1, {scalar(-3), scalar(nu)});
                EXPECT_EQ(standin::values(r.out[0])[0], -3.0) << nu;
            }
            auto tiny = call(fn, 1, {scalar(3), scalar(1e-5)});
            EXPECT_DOUBLE_EQ(standin::values(tiny.out[0])[0], 3);
        }
        EXPECT_TRUE(standin::log().empty());
    }
    auto zero = call(meanshape1(), 1, {scalar(0), scalar(5)});
    EXPECT_EQ(standin::values(zero.out[0])[0], 0.0);
}

// One draw equals the array module's 1-by-1 draw from the same seed, takes
// as many values and leaves the stream at the same place.
TEST(draw1, SameDrawAsTheArrayModule) {
    struct pair {
        standin::gateway single, array;
    };
    const pair pairs[] = {{meanshape1(), harness::module("meanshape_draw")},
                          {invchisq1(), harness::module("invchisq_draw")}};
    for (const pair& p : pairs) {
        for (double nu : {0.1, 0.7, 2.0, 2.00001, 5.0, 40.0, 1e-6, -2.0, HUGE_VAL}) {
            for (uint64_t seed = 1; seed <= 20; ++seed) {
                standin::seed(seed);
                standin::clear_log();
                auto a = call(p.array, 1, {scalar(1.5), scalar(nu)});
                const long long taken = standin::values_taken("rand");
                const double after = standin::next_rand();
                standin::seed(seed);
                standin::clear_log();
                auto s = call(p.single, 1, {scalar(1.5), scalar(nu)});
                ASSERT_FALSE(s.failed) << s.message;
                EXPECT_TRUE(same_bits(standin::values(s.out[0])[0], standin::values(a.out[0])[0]))
                    << nu << " " << seed;
                EXPECT_EQ(standin::values_taken("rand"), taken);
                EXPECT_EQ(standin::next_rand(), after);
                EXPECT_EQ(s.reclaimed_arrays, 0u);
            }
        }
    }
}

}  // namespace
