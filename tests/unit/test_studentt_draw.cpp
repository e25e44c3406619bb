// studentt_draw through the stand-in host: the three formulas on scripted
// streams, the order in which a mixed nu array asks "randn" and "rand", and
// block fetching against one-value-at-a-time draws.  The argument rules it
// shares with exponential_draw are tested there, on both modules.
#include <cmath>

#include "harness.h"
#include "gamma.h"

namespace {

standin::gateway fn() { return harness::module("studentt_draw"); }

TEST(studentt_draw, ResultIsTheHostsNormalArrayOfTheRequestedShape) {
    harness::expect_shapes(fn(), {
        {{scalar(5)}, {1, 1}},
        {{matrix(2, 3, {5, 5, 5, 5, 5, 5})}, {2, 3}},
        {{matrix(2, 3, {5, 5, 5, 5, 5, 5}), scalar(2.9), scalar(3)}, {2, 3}},
        {{scalar(5), scalar(4), scalar(1)}, {4, 1}},
        {{scalar(5), scalar(-2), scalar(3)}, {0, 3}},
        {{scalar(5), scalar(-2), scalar(-3)}, {0, 0}},  // product 6, array empty
        {{matrix(0, 0)}, {0, 0}},
        {{matrix(0, 1)}, {0, 1}},
        {{matrix(1, 0), scalar(1), scalar(0)}, {1, 0}},
    }, [&](const harness::shape_row& r, const standin::result&) {
        ASSERT_GE(standin::log().size(), 1u);
        EXPECT_EQ(standin::log()[0].name, "randn");
        EXPECT_EQ(standin::log()[0].values, (long long)(r.dims[0] * r.dims[1]));
        if (r.dims[0] * r.dims[1] == 0) {
            EXPECT_EQ(standin::log().size(), 1u) << "nothing drawn for an empty result";
        }
    });
}

TEST(studentt_draw, ExactValuesOnScriptedStreams) {
    strict_stream strict;
    // nu = 1: z / g, the normals of the array first, then one per element.
    standin::script_randn({1.5, -2, 0.25, 3, 0.5, 4, -0.125, 2});
    {
        standin::clear_log();
        auto r = call(fn(), 1, {scalar(1), scalar(4), scalar(1)});
        ASSERT_FALSE(r.failed) << r.message;
        auto v = standin::values(r.out[0]);
        EXPECT_EQ(v, (std::vector<double>{1.5 / 0.5, -2 / 4.0, 0.25 / -0.125, 3 / 2.0}));
        EXPECT_EQ(standin::log().size(), 2u) << "the array, then one block of four";
    }
    // nu = 2: u = 0.5 gives 0 whatever z; u = 0.2 the closed form.
    standin::script_randn({7, 7});
    standin::script_rand({0.5, 0.2});
    {
        auto r = call(fn(), 1, {scalar(2), scalar(1), scalar(2)});
        ASSERT_FALSE(r.failed) << r.message;
        auto v = standin::values(r.out[0]);
        EXPECT_EQ(v[0], 0.0);
        EXPECT_TRUE(same_bits(v[1], ((0.2 - 0.5) * 1.4142135623730951) / std::sqrt(0.2 - 0.2 * 0.2)));
    }
    // nu = 2.00001: shape 1.000005 is one exponential, G = -log(0.25).
    standin::script_randn({0.75});
    standin::script_rand({0.25});
    {
        auto r = call(fn(), 1, {scalar(2.00001)});
        ASSERT_FALSE(r.failed) << r.message;
        const double g = -std::log(0.25);
        EXPECT_TRUE(same_bits(standin::values(r.out[0])[0],
                              (std::sqrt(2.00001) * 0.75) / std::sqrt(g + g)));
    }
    EXPECT_EQ(standin::scripted_left(), 0u);
    // nu = 0 and negative nu: NaN; infinite nu: the normal itself; nothing
    // drawn beyond the array.
    standin::script_randn({1, 1, 1, 0.5, 0.25});
    {
        standin::clear_log();
        auto r = call(fn(), 1, {matrix(1, 5, {0, -4, 1e-5, INFINITY, 1e308})});
        ASSERT_FALSE(r.failed) << r.message;
        auto v = standin::values(r.out[0]);
        EXPECT_TRUE(std::isnan(v[0]));
        EXPECT_TRUE(std::isnan(v[1]));
        EXPECT_NEAR(v[2], 1.0, 1e-12);  // 0 < nu < 2e-5: G = nu / 2, so z
        EXPECT_EQ(v[3], 0.5);
        EXPECT_EQ(v[4], 0.25);
        EXPECT_EQ(standin::log().size(), 1u);
    }
}

// nu = [1 2 5]: the array of three normals, then one normal for nu = 1, then
// one uniform for nu = 2 and a shape-2.5 pass for nu = 5 (u = v = 0.5: y = 0,
// accepted at x = 1.5).
TEST(studentt_draw, MixedDegreesOfFreedomKeepTheStreamOrder) {
    strict_stream strict;
    standin::script_randn({0.5, 0.6, 0.7, 0.25});
    standin::script_rand({0.5, 0.5, 0.5});
    standin::clear_log();
    auto r = call(fn(), 1, {matrix(1, 3, {1, 2, 5})});
    ASSERT_FALSE(r.failed) << r.message;
    auto v = standin::values(r.out[0]);
    EXPECT_EQ(v[0], 0.5 / 0.25);
    EXPECT_EQ(v[1], 0.0);
    EXPECT_TRUE(same_bits(v[2], (std::sqrt(5.0) * 0.7) / std::sqrt(1.5 + 1.5)));
    EXPECT_EQ(standin::scripted_left(), 0u);
    const auto& log = standin::log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].name, "randn");
    EXPECT_EQ(log[0].values, 3);
    EXPECT_EQ(log[1].name, "randn");
    EXPECT_EQ(log[2].name, "rand");
    EXPECT_EQ(log[2].values, 3) << "nu = 2 and nu = 5 draw from one block";
}

// Block fetching against the library drawn one value per call-back, on
// both kinds of host: sharing one generator, any change of order or any
// value too many shows in the values and in the next value; with two, the
// order within each generator must hold, however the blocks interleave.
TEST(studentt_draw, MatchesOneAtATimeDrawsAndLeavesTheStreamWhereTheyWould) {
    const int n = 4000;
    const double kinds[] = {1, 1, 2, 5, 0.7, 0, 1e-6, 30, 2, 1, NAN, 5, INFINITY, -2};
    std::vector<double> mixed;  // runs of 1 to 5 equal values
    for (int run = 0; int(mixed.size()) < n; ++run)
        for (int k = 0; k < 1 + run * 7 % 5 && int(mixed.size()) < n; ++k) mixed.push_back(kinds[run % 14]);
    std::vector<double> general(n);  // one run of gamma draws
    for (int i = 0; i < n; ++i) general[i] = 3 + (i % 10) / 10.0;
    std::vector<double> stretches(n, 5);  // 15, 16 and 40 equal values of each kind, 40 at the end
    for (int i = 0; i < n - 40; ++i) stretches[i] = kinds[(i / 71 + (i % 71 < 15) + (i % 71 < 31)) % 14];
    const std::vector<std::vector<double>> forms = {mixed, general, stretches, {1}, {2}, {5}, {0.7}, {0}};
    harness::scoped_streams streams(false);
    for (bool independent : {false, true}) {
        streams.set(independent);
        harness::each_simd_width([&](const char* width) {
            for (size_t f = 0; f < forms.size(); ++f) {
                const auto& nu = forms[f];
                auto nu_at = [&](int i) { return nu.size() == 1 ? nu[0] : nu[i]; };
                const harness::stream_match m = harness::expect_same_stream(
                    31 + f,
                    [&](std::vector<double>& expect) {
                        mxArray* size[2] = {mxCreateDoubleScalar(1), mxCreateDoubleScalar(n)};
                        mxArray* z = nullptr;
                        mexCallMATLAB(1, &z, 2, size, "randn");
                        rand_stream rs = rand_open();
                        for (int i = 0; i < n; ++i) {
                            const double v = nu_at(i), zi = mxGetPr(z)[i];
                            if (!(v > 0)) {
                                expect.push_back(NAN);
                            } else if (v == 1) {
                                expect.push_back(zi / rand_gaussian(&rs));
                            } else if (v == 2) {
                                double u = rand_uniopen(&rs);
                                expect.push_back(((u - 0.5) * 1.4142135623730951) / std::sqrt(u - u * u));
                            } else if (v == INFINITY) {
                                expect.push_back(zi);
                            } else {
                                double s = std::sqrt(v) * zi, g = rand_gamma(&rs, 0.5 * v);
                                expect.push_back(s / std::sqrt(g + g));
                            }
                        }
                    },
                    [&] { return call(fn(), 1, {nu.size() == 1 ? scalar(nu[0]) : matrix(1, n, nu), scalar(1), scalar(n)}); },
                    std::to_string(independent) + " " + width + " form " + std::to_string(f));
                // The mixed form in runs of one to five elements on a shared
                // stream, in a handful of blocks per generator otherwise.
                if (independent) {
                    EXPECT_LE(m.callbacks, 25u) << f;
                } else if (m.plain_callbacks > 100) {
                    EXPECT_LT(m.callbacks * (f == 0 || f == 2 ? 2 : 50), m.plain_callbacks) << f;
                }
            }
        });
    }
}

}  // namespace
