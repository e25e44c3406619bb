// bayesmex_seed through the stand-in host: its refusals, the two "state"
// call-backs with the state vectors replayed from splitmix64, and the same
// draws after the same (seed, k).
#include <cmath>
#include <cstdint>

#include "harness.h"

namespace {

standin::gateway fn() { return harness::module("bayesmex_seed"); }

uint64_t splitmix64(uint64_t* x) {
    uint64_t z = (*x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::vector<double> expected_state(uint64_t seed, uint64_t k, uint64_t g) {
    uint64_t x = seed;
    x = splitmix64(&x) ^ k;
    x = splitmix64(&x) ^ g;
    x = splitmix64(&x);
    std::vector<double> v;
    for (int i = 0; i < 312; ++i) {
        const uint64_t r = splitmix64(&x);
        for (uint32_t w : {uint32_t(r), uint32_t(r >> 32)}) v.push_back(w == 0xffffffffu ? 0 : w);
    }
    v.push_back(1);
    return v;
}

// The mixer above against the published splitmix64 outputs for seed 0
// (Vigna's reference splitmix64.c), so that the states below are checked
// against splitmix64 itself, not against a copy of the module's constants.
TEST(bayesmex_seed, TheReferenceMixerGivesThePublishedOutputs) {
    uint64_t x = 0;
    for (uint64_t published : {0xe220a8397b1dcdafULL, 0x6e789e6aa1b965f4ULL, 0x06c45d188009454fULL,
                               0xf88bb8a8724c81ecULL})
        EXPECT_EQ(splitmix64(&x), published);
}

TEST(bayesmex_seed, Refusals) {
    harness::expect_messages(fn(), std::vector<harness::message_row>{
        {3, {scalar(1), scalar(1)}, "Too many output arguments."},
        {0, {scalar(1)}, "Wrong number of input arguments."},
        {0, {scalar(1), standin::text("a")}, "Input 2 must be a full double array, not char."},
        {0, {standin::matrix(1, 2), scalar(1)}, "SEED and K must be real scalars."},
        {0, {scalar(1), standin::matrix(0, 0)}, "SEED and K must be real scalars."},
        {0, {scalar(1), scalar(2.5)}, "SEED and K must be whole numbers from 0 to 2^53."},
        {0, {scalar(-1), scalar(0)}, "SEED and K must be whole numbers from 0 to 2^53."},
        {0, {scalar(NAN), scalar(0)}, "SEED and K must be whole numbers from 0 to 2^53."},
        {0, {scalar(0x1p53 * 2), scalar(0)}, "SEED and K must be whole numbers from 0 to 2^53."},
    });
}

TEST(bayesmex_seed, SetsBothGeneratorsToTheMixedStates) {
    for (double k : {0.0, 1.0, 4.0, 0x1p53}) {
        standin::clear_log();
        auto r = harness::call(fn(), 2, {scalar(2026), scalar(k)});
        ASSERT_FALSE(r.failed) << r.message;
        ASSERT_EQ(standin::log().size(), 2u);
        EXPECT_EQ(standin::log()[0].name, "rand state");
        EXPECT_EQ(standin::log()[1].name, "randn state");
        EXPECT_EQ(standin::log()[0].values + standin::log()[1].values, 0);
        const auto su = expected_state(2026, uint64_t(k), 0), sn = expected_state(2026, uint64_t(k), 1);
        EXPECT_EQ(standin::last_state("rand"), su);
        EXPECT_EQ(standin::last_state("randn"), sn);
        EXPECT_EQ(standin::values(r.out[0]), su);
        EXPECT_EQ(standin::values(r.out[1]), sn);
        EXPECT_NE(su, sn);
        EXPECT_EQ(r.reclaimed_arrays, 0u);
    }
    // The same chain draws the same values; the next chain does not.
    auto draws = [](double k) {
        auto r = harness::call(fn(), 0, {scalar(7), scalar(k)});
        EXPECT_FALSE(r.failed) << r.message;
        return std::vector<double>{standin::next_rand()};
    };
    EXPECT_EQ(draws(1), draws(1));
    EXPECT_NE(draws(1), draws(2));
}

}  // namespace
