// invchisq_draw through the stand-in host: its own formula on scripted
// streams, and block fetching against one-value-at-a-time draws.  The
// parameter-pair rules it shares with meanshape_draw are tested there, on
// both modules.
#include <cmath>

#include "harness.h"
#include "gamma.h"

namespace {

standin::gateway fn() { return harness::module("invchisq_draw"); }

TEST(invchisq_draw, ArraySizesAndEmptyResults) {
    auto ok = call(fn(), 1, {scalar(1), matrix(2, 2), scalar(2), scalar(2)});
    EXPECT_FALSE(ok.failed) << ok.message;
    auto empty = call(fn(), 1, {scalar(1), scalar(4), scalar(-2), scalar(-3)});
    ASSERT_FALSE(empty.failed) << empty.message;
    EXPECT_EQ(standin::values(empty.out[0]).size(), 0u);
    // An empty scale: its shape, nothing drawn (not one draw of scale 0).
    standin::clear_log();
    auto none = call(fn(), 1, {matrix(0, 1), scalar(5)});
    ASSERT_FALSE(none.failed) << none.message;
    EXPECT_EQ(standin::dims(none.out[0]), (std::vector<size_t>{0, 1}));
    EXPECT_TRUE(standin::log().empty());
}

TEST(invchisq_draw, ExactValuesOnScriptedStreams) {
    strict_stream strict;
    // nu = 2: shape 1 takes the boost path, u = 0.3 then a shape-2 pass
    // (u = v = 0.5) that accepts 1, so G = 0.3.  nu = 2.00001: shape
    // 1.000005 is one exponential, G = -log(0.25).
    standin::script_rand({0.3, 0.5, 0.5, 0.25});
    auto r = call(fn(), 1, {matrix(1, 2, {3, 7}), matrix(1, 2, {2, 2.00001})});
    ASSERT_FALSE(r.failed) << r.message;
    auto v = standin::values(r.out[0]);
    EXPECT_TRUE(same_bits(v[0], ((2 * 3.0) * 0.5) / 0.3));
    EXPECT_TRUE(same_bits(v[1], ((2.00001 * 7.0) * 0.5) / -std::log(0.25)));
    EXPECT_EQ(standin::scripted_left(), 0u);

    // nu that takes nothing: s2 up to rounding below 2e-5, NaN where nu is
    // not positive, s2 itself where it is infinite.
    standin::clear_log();
    auto fixed = call(fn(), 1, {scalar(3), matrix(1, 5, {-4, 0, 1e-5, NAN, INFINITY})});
    ASSERT_FALSE(fixed.failed) << fixed.message;
    v = standin::values(fixed.out[0]);
    EXPECT_TRUE(std::isnan(v[0]));
    EXPECT_TRUE(std::isnan(v[1]));
    EXPECT_DOUBLE_EQ(v[2], 3);
    EXPECT_TRUE(std::isnan(v[3]));
    EXPECT_EQ(v[4], 3.0);
    EXPECT_TRUE(standin::log().empty());
}

// Every combination of scalar and array parameters, against the library drawn
// one value per call-back from the same seed.
TEST(invchisq_draw, MatchesOneAtATimeDrawsAndLeavesTheStreamWhereTheyWould) {
    const int n = 3000;
    std::vector<double> s2(n), nu(n);
    for (int i = 0; i < n; ++i) {
        s2[i] = 0.25 + i % 5;
        const double kinds[] = {1.2, 4.0, 0.0, INFINITY};
        nu[i] = i % 5 < 4 ? kinds[i % 5] : 9.0 + i % 3;
    }
    // Form 4: nu in stretches of 15, 16 and 40 equal values, ending in a run
    // of one shape (16 or more), whose fetches end where its draws do.
    std::vector<double> stretches(n);
    for (int i = 0; i < n; ++i) stretches[i] = i >= n - 40 ? 4.0 : i % 71 < 15 ? 9.0 : i % 71 < 31 ? 1.2 : 4.0;
    harness::each_simd_width([&](const char* width) {
        for (int form = 0; form < 5; ++form) {
            const bool a1 = form & 1, a2 = form & 6;
            const std::vector<double>& nus = form == 4 ? stretches : nu;
            auto s2_at = [&](int i) { return a1 ? s2[i] : 2.5; };
            auto nu_at = [&](int i) { return a2 ? nus[i] : 3.0; };
            const harness::stream_match m = harness::expect_same_stream(
                7 + form,
                [&](std::vector<double>& expect) {
                    rand_stream rs = rand_open();
                    for (int i = 0; i < n; ++i) {
                        const double v = nu_at(i), g = rand_gamma(&rs, 0.5 * v);
                        expect.push_back(!(v > 0) ? NAN : v == INFINITY ? s2_at(i) : ((v * s2_at(i)) * 0.5) / g);
                    }
                },
                [&] {
                    return call(fn(), 1, {a1 ? matrix(1, n, s2) : scalar(2.5), a2 ? matrix(1, n, nus) : scalar(3.0),
                                          scalar(1), scalar(n)});
                },
                std::string(width) + " form " + std::to_string(form));
            EXPECT_LT(m.callbacks * 50, m.plain_callbacks) << form;
        }
    });
}

}  // namespace
