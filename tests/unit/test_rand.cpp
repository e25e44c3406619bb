// The random-variate library on scripted host streams: exact values, the
// number of values each path takes, and block fetching that hands out exactly
// what one-value-at-a-time fetching would.
#include <cfloat>
#include <cmath>
#include <cstring>

#include <vector>

#include "harness.h"
#include "exponential.h"
#include "gamma.h"
#include "stream.h"

namespace {

struct scripted : ::testing::Test {
    void SetUp() override {
        standin::seed(7);
        standin::strict(true);  // any value beyond the script fails the call
        standin::clear_log();
    }
    void TearDown() override { standin::strict(false); }
    // Runs body with a fresh stream; fails the test if the call failed.
    template <class F>
    void run(F body) {
        auto r = standin::run([&] {
            rand_stream rs = rand_open();
            body(&rs);
            EXPECT_EQ(rand_pending(&rs), 0);
        });
        EXPECT_FALSE(r.failed) << r.message;
        EXPECT_EQ(r.reclaimed_arrays, 0u) << "every host array is destroyed once read";
    }
};

TEST_F(scripted, GammaShapesBelowTheThresholdTakeNothing) {
    run([](rand_stream* rs) {
        EXPECT_EQ(rand_gamma(rs, 0.0), 0.0);
        EXPECT_EQ(rand_gamma(rs, -2.0), -2.0);
        EXPECT_EQ(rand_gamma(rs, 5e-6), 5e-6);
        EXPECT_EQ(rand_gamma(rs, std::nextafter(1e-5, 0.0)), std::nextafter(1e-5, 0.0));
        EXPECT_EQ(rand_gamma(rs, -INFINITY), -INFINITY);
        EXPECT_TRUE(std::isnan(rand_gamma(rs, NAN)));
        // Too large for Best's method: the limit, the shape itself.
        EXPECT_EQ(rand_gamma(rs, INFINITY), INFINITY);
        EXPECT_EQ(rand_gamma(rs, DBL_MAX), DBL_MAX);  // 3a overflows: Best's passes never accept
        EXPECT_EQ(rand_gamma(rs, 5e307), 5e307);      // c / w overflows in every pass
        EXPECT_TRUE(rand_gamma_huge(7.6e306));
        EXPECT_FALSE(rand_gamma_huge(7.4e306));
        EXPECT_FALSE(rand_gamma_huge(NAN));
    });
    EXPECT_TRUE(standin::log().empty());
}

TEST_F(scripted, GammaJustAboveOneIsOneExponential) {
    standin::script_rand({0.25});
    run([](rand_stream* rs) { EXPECT_TRUE(same_bits(rand_gamma(rs, 1.000005), -std::log(0.25))); });
    EXPECT_EQ(standin::values_taken("rand"), 1);
}

TEST_F(scripted, GammaBoostPathTakesOneUniformThenAShapeTwoPass) {
    // Shape 2 with u = v = 0.5: y = 0, x = b = 1, z = 1/4, accepted at once.
    standin::script_rand({0.3, 0.5, 0.5});
    run([](rand_stream* rs) { EXPECT_EQ(rand_gamma(rs, 1.0), 0.3); });
    standin::script_rand({0.3, 0.5, 0.5});
    run([](rand_stream* rs) { EXPECT_EQ(rand_gamma(rs, 1e-5), 1e-15); });
    EXPECT_EQ(standin::scripted_left(), 0u);
}

TEST_F(scripted, GammaFloorsUnderflowAt1eMinus15) {
    standin::script_rand({0.5, 0.5, 0.5});  // 0.5^10000 underflows to 0
    run([](rand_stream* rs) { EXPECT_EQ(rand_gamma(rs, 1e-4), 1e-15); });
}

TEST(rand, ShapeOneHalfSquaresAreTheLibrarysPowBitForBit) {
    // Random 53-bit uniforms, then values of few bits, whose squares are
    // exact, midpoints or powers of two, and squares too small to split.
    volatile double two_v = 2.0;  // no folding of pow(u, 2) into u * u
    const double two = two_v;
    std::vector<double> us;
    uint64_t x = 88172645463325252ull;
    for (int i = 0; i < (1 << 22); ++i) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        us.push_back(double(x >> 11) * 0x1p-53);
    }
    for (uint64_t m = 1; m < (1u << 16); ++m)
        for (int e : {17, 27, 53}) us.push_back(std::ldexp(double(m), -e));
    for (double u : {1e-200, 0x1p-480, 0x1p-450, 0.5, 0.75})
        us.push_back(u);
    for (double u : us) {
        if (!(u > 0 && u < 1)) continue;
        const double got = rand_gamma_power(u, two), want = std::pow(u, two);
        ASSERT_EQ(std::memcmp(&got, &want, sizeof got), 0) << std::hexfloat << u;
    }
}

TEST_F(scripted, GammaRejectionPassesTakeUniformsInPairs) {
    // u = 1e-3 puts x far below 0: the pass is rejected after taking v too.
    standin::script_rand({1e-3, 0.7, 0.5, 0.5});
    run([](rand_stream* rs) { EXPECT_EQ(rand_gamma(rs, 3.0), 2.0); });
    EXPECT_EQ(standin::values_taken("rand"), 4);
    // Best's general step: value against the formulas evaluated here.
    const double a = 2.5, u = 0.35, v = 0.9, b = a - 1, c = 3 * a - 0.75;
    const double w = (1 - u) * u, y = std::sqrt(c / w) * (u - 0.5), x = b + y;
    const double z = 64 * w * w * w * v * v;
    ASSERT_GT(x, 0.0);
    ASSERT_LT(1 - (2 * y * y) / x, z);  // the squeeze fails, the log test decides
    const bool accept = 2 * (b * std::log(x / b) - y) >= std::log(z);
    standin::script_rand({u, v, 0.5, 0.5});
    run([&](rand_stream* rs) { EXPECT_EQ(rand_gamma(rs, a), accept ? x : 1.5); });
}

TEST(rand, GammaAlwaysTakesAnEvenNumberAboveOnePointZeroZeroZeroOne) {
    standin::seed(11);
    for (double a : {1.00001, 1.5, 3.0, 40.0}) {
        for (int k = 0; k < 200; ++k) {
            standin::clear_log();
            auto r = standin::run([&] {
                rand_stream rs = rand_open();
                rand_gamma(&rs, a);
            });
            ASSERT_FALSE(r.failed);
            EXPECT_EQ(standin::values_taken("rand") % 2, 0) << a;
        }
    }
}

// Draws of every path, one value per call-back: the reference.
std::vector<double> one_at_a_time(const std::vector<double>& shapes) {
    std::vector<double> got;
    auto r = standin::run([&] {
        rand_stream rs = rand_open();
        for (double a : shapes) got.push_back(rand_gamma(&rs, a));
    });
    EXPECT_FALSE(r.failed) << r.message;
    return got;
}

// Every path of rand_gamma; at 1e12 and 1e20 many passes are too close to
// call without the C library's logarithm and take the exact tests.
const double every_path[] = {1e-6, 0.3, 1.0, 1.000005, 1.00001, 2.5, 7.0, 40.0, 1e12, 1e20};
const int paths = sizeof every_path / sizeof every_path[0];

// The central contract: runs of gamma draws, taken in pieces of any size,
// give the values, the number of values and the host's next value of
// one-value-at-a-time draws, at every lane width and on both kinds of host.
TEST(rand, GammaRunsHandOutExactlyTheOneAtATimeValues) {
    const int n = 3000;
    std::vector<std::vector<double>> cases;
    for (double a : every_path) cases.push_back(std::vector<double>(n, a));
    // Per-draw shapes (twice the shape, as degrees of freedom): mixed, and in
    // stretches of 1 to 40 equal values (from 16 on, runs of one shape).
    const size_t first_each = cases.size();
    std::vector<double> mixed(n), stretches;
    for (int i = 0; i < n; ++i) mixed[i] = 2 * every_path[(i * 7 + i / 5) % paths];
    for (int r = 0; int(stretches.size()) < n; ++r)
        for (int k = 0; k < 1 + r * 13 % 40 && int(stretches.size()) < n; ++k)
            stretches.push_back(2 * every_path[r % paths]);
    cases.push_back(mixed);
    cases.push_back(stretches);
    harness::scoped_streams streams(false);
    for (bool independent : {false, true}) {
        streams.set(independent);
        harness::each_simd_width([&](const char* width) {
            for (size_t c = 0; c < cases.size(); ++c) {
                const bool each = c >= first_each;
                std::vector<double> shapes = cases[c];
                if (each)
                    for (double& a : shapes) a = 0.5 * a;
                standin::seed(2024 + c);
                standin::clear_log();
                const std::vector<double> plain = one_at_a_time(shapes);
                const long long taken = standin::values_taken("rand");
                const double after = standin::next_rand();

                standin::seed(2024 + c);
                standin::clear_log();
                std::vector<double> blocked(n);
                auto r = standin::run([&] {
                    rand_stream rs = rand_open();
                    rand_gamma_run run = each ? rand_gamma_begin_each(&rs, cases[c].data(), 0.5, n)
                                              : rand_gamma_begin(&rs, shapes[0], n);
                    // Pieces of 1 to 700 draws.
                    for (size_t i = 0, k = 1; i < size_t(n); i += k, k = (k * 37) % 701)
                        rand_gamma_next(&run, blocked.data() + i, k < n - i ? k : n - i);
                    EXPECT_EQ(rand_pending(&rs), 0);
                    EXPECT_LE(rs.callbacks, 30u) << c;
                });
                ASSERT_FALSE(r.failed) << r.message;
                EXPECT_EQ(r.reclaimed_arrays, 0u);
                EXPECT_EQ(standin::values_taken("rand"), taken) << width << " " << c;
                EXPECT_EQ(standin::next_rand(), after) << width << " " << c;
                for (int i = 0; i < n; ++i)
                    ASSERT_TRUE(same_bits(plain[i], blocked[i])) << width << " " << c << " " << i;
            }
        });
    }
}

// Runs that begin with values of a batch still waiting (an odd number, so
// that a pass straddles two blocks) and runs that end where blocks of the
// host's largest size end.
TEST(rand, GammaRunsContinueFromValuesAlreadyFetched) {
    for (double a : {0.3, 2.5}) {
        for (int n : {2, 40000}) {
            std::vector<double> shapes(n, a), plain, blocked(n);
            standin::seed(5);
            standin::clear_log();
            auto ref = standin::run([&] {
                rand_stream rs = rand_open();
                plain.push_back(rand_uniform(&rs));
                for (double s : shapes) plain.push_back(rand_gamma(&rs, s));
            });
            ASSERT_FALSE(ref.failed);
            const double after = standin::next_rand();
            standin::seed(5);
            auto r = standin::run([&] {
                rand_stream rs = rand_open();
                rand_batch(&rs, RAND_UNIFORM, 4);  // one uniform, then at least three for the run
                EXPECT_TRUE(same_bits(rand_uniform(&rs), plain[0]));
                rand_gamma_run run = rand_gamma_begin(&rs, a, n);
                rand_gamma_next(&run, blocked.data(), n);
                EXPECT_EQ(rand_pending(&rs), 0);
            });
            ASSERT_FALSE(r.failed) << r.message;
            EXPECT_EQ(standin::next_rand(), after) << a << " " << n;
            for (int i = 0; i < n; ++i) ASSERT_TRUE(same_bits(plain[i + 1], blocked[i])) << a << " " << i;
        }
    }
}

// On a shared stream a value fetched ahead is never served after a value of
// the other host function; on independent streams the two are apart.
TEST(rand, AFetchAheadIsNeverServedOutOfOrder) {
    auto mixed = [] {
        rand_stream rs = rand_open();
        rand_batch(&rs, RAND_UNIFORM, 4);
        rand_uniform(&rs);
        rand_gaussian(&rs);  // before the other three uniforms
        for (int k = 0; k < 3; ++k) rand_uniform(&rs);
    };
    auto shared = standin::run(mixed);
    EXPECT_TRUE(shared.failed);
    EXPECT_EQ(shared.message, "Internal error: random values were fetched out of order.");
    harness::scoped_streams streams(true);
    standin::clear_log();
    auto apart = standin::run(mixed);
    EXPECT_FALSE(apart.failed) << apart.message;
    EXPECT_EQ(standin::log().size(), 2u) << "one block of four uniforms, one normal";
}

TEST_F(scripted, ExponentialAndNormalTakeOneValueEach) {
    standin::script_rand({0.5});
    standin::script_randn({-1.25});
    run([](rand_stream* rs) {
        EXPECT_TRUE(same_bits(rand_exp(rs), -std::log(0.5)));
        EXPECT_EQ(rand_gaussian(rs), -1.25);
    });
    ASSERT_EQ(standin::log().size(), 2u);
    EXPECT_EQ(standin::log()[1].name, "randn");
    EXPECT_EQ(standin::log()[0].rows * standin::log()[0].cols, 1);
}

}  // namespace
