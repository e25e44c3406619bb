// The twister kernels against the host's own draws: the rows below were
// printed by the host (tests/data/make_twister_reference.m) and pin values,
// consumption and the state handed back, at every lane width.
#include "harness.h"

#include "../../random/twister.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

typedef std::array<uint32_t, TWISTER_WORDS> state;

// The host's state after rand("twister", seed): the twister's seeding by
// an array of one key (Matsumoto and Nishimura's init_by_array, 2002),
// with one word left, so that the first draw regenerates.
state seeded(uint32_t seed) {
    state s{};
    s[0] = 19650218u;
    for (int j = 1; j < 624; ++j) s[j] = 1812433253u * (s[j - 1] ^ (s[j - 1] >> 30)) + j;
    int i = 1;
    for (int k = 624; k; --k) {
        s[i] = (s[i] ^ ((s[i - 1] ^ (s[i - 1] >> 30)) * 1664525u)) + seed;
        if (++i >= 624) s[0] = s[623], i = 1;
    }
    for (int k = 623; k; --k) {
        s[i] = (s[i] ^ ((s[i - 1] ^ (s[i - 1] >> 30)) * 1566083941u)) - i;
        if (++i >= 624) s[0] = s[623], i = 1;
    }
    s[0] = 0x80000000u;
    s[624] = 1;
    return s;
}

// Word 0's top bit alone: the words stay nearly zero for thousands of
// draws, so zero pairs are drawn again and again (never seen otherwise).
state near_zero() {
    state s{};
    s[0] = 0x80000000u;
    s[624] = 1;
    return s;
}

// The reference script's hashes: of the values' 32-bit halves, and of the
// state's words weighted by position.
uint64_t value_hash(const std::vector<double>& x) {
    const uint64_t p = 2147483647;
    uint64_t h = 0, j = 0;
    for (double v : x) {
        uint32_t w[2];
        std::memcpy(w, &v, sizeof w);
        for (uint32_t u : w) h += (u * (j++ % 65521 + 1)) % p;
    }
    return h % p;
}
uint64_t state_hash(const state& s) {
    uint64_t h = 0;
    for (int i = 0; i < TWISTER_WORDS; ++i) h += uint64_t(i + 1) * s[i];
    return h;
}

struct row {
    int64_t n;         // rand(n, 1) or randn(n, 1)
    int64_t at;        // an offset in the draw (its first tail value, if any)
    uint64_t bits;     // the value there
    uint64_t values;   // value_hash of the draw
    uint64_t words;    // state_hash of the state after it
    uint32_t left;     // and its count of words left
};

struct setup {
    const char* what;
    bool normal;
    state start;
    std::vector<row> rows;  // drawn in turn, each from the state the last left
};

std::vector<setup> setups() {
    const state zero_normal = [] {
        state s{};
        s[624] = 300;
        return s;
    }();
    // Seed 42's words from the second on, tempering to 1, then 0.
    state signed_zero = seeded(42);
    signed_zero[1] = 0x102244c9u;
    signed_zero[2] = 0;
    signed_zero[624] = 624;
    return {
        {"uniform, twister 42", false, seeded(42),
         {{0, 0, 0, 0, 436850260850189, 1},
          {1, 0, 0x3fe4762f307200c5, 809168164, 404589030743430, 623},
          {311, 310, 0x3fcae3c9bae9bec0, 964174683, 404589030354680, 1},
          {312, 311, 0x3fbe9b23b7c5ae80, 152363261, 416347753712040, 1},
          {1, 0, 0x3fe125cc2fcdb2d8, 797965937, 424431719867668, 623},
          {0, 0, 0, 0, 424431719867668, 623},
          {155, 154, 0x3fbe1242f4ba09a8, 147903061, 424431719673918, 313},
          {1000000, 999999, 0x3fdb896300d6e08a, 1150970871, 422679771772699, 233}}},
        {"normal, twister 42", true, seeded(42),
         {{0, 0, 0, 0, 436850260850189, 1},
          {1, 0, 0xbf7acfe51feb70a3, 518066288, 404589030743430, 623},
          {311, 53, 0xc00decc215158cac, 484558995, 416347754090790, 607},
          {312, 311, 0xbff1a7742099edeb, 420275897, 424431719852668, 599},
          {1, 0, 0xbf7d94b2d9352aff, 1479562343, 424431719851418, 597},
          {0, 0, 0, 0, 424431719851418, 597},
          {155, 154, 0x3fa456c1302d4bf1, 520445689, 424431719652668, 279},
          {1000000, 11625, 0x400dd5b0536e5b4d, 239731871, 431948362225311, 25}}},
        {"uniform, near zero", false, near_zero(),
         {{2000, 1999, 0x3fc51f4640000000, 465252720, 18760378849586, 373},
          {100000, 99999, 0x3feae122dfc10d93, 1716950342, 353805459738626, 3}}},
        {"normal, near zero", true, near_zero(),
         {{2000, 1, 0x0000000000000000, 411015953, 1640526742753, 369},
          {100000, 19295, 0x40101136c778b24c, 1056097853, 214386481954641, 273}}},
        // Zero words: the host draws +0.0 for ever (a -0.0 would change
        // the hash), regenerating zeros on the way.
        {"normal, zero", true, zero_normal, {{1000, 0, 0x0000000000000000, 0, 107500, 172}}},
        // A first attempt of magnitude zero with the sign bit set: +0.0.
        {"normal, signed zero", true, signed_zero, {{16, 0, 0x0000000000000000, 2116316240, 436839873790062, 592}}},
    };
}

// Every row's values, the state after it and its words left as the host's,
// at every width; each draw starts from the state the last one handed back
// (mid-block, or at the block's end with one word left).  The first rows,
// of no values, check the seeding.
TEST(Twister, MatchesTheHostAtEveryWidth) {
    const std::vector<setup> all = setups();
    harness::each_simd_width([&](const char* width) {
        for (const setup& u : all) {
            state s = u.start;
            for (const row& r : u.rows) {
                std::vector<double> x(r.n);
                ASSERT_TRUE(u.normal ? twister_normal(s.data(), x.data(), r.n)
                                     : twister_uniform(s.data(), x.data(), r.n))
                    << u.what;
                SCOPED_TRACE(std::string(u.what) + ", width " + width + ", n = " + std::to_string(r.n));
                if (r.n > 0) {
                    uint64_t bits;
                    std::memcpy(&bits, &x[r.at], sizeof bits);
                    EXPECT_EQ(bits, r.bits) << "value " << r.at;
                }
                EXPECT_EQ(value_hash(x), r.values);
                EXPECT_EQ(state_hash(s), r.words);
                EXPECT_EQ(s[624], r.left);
            }
        }
    });
}

// A state the host cannot draw from, or would never finish drawing from, is
// refused at once with the state and the values untouched; so is n < 0.
TEST(Twister, RefusesStatesItCannotReproduce) {
    state zero{};
    zero[624] = 300;
    state low = zero;  // word 0's low bits are never drawn nor regenerated from
    low[0] = 0x7fffffffu;
    state left0 = seeded(7), left625 = seeded(7);
    left0[624] = 0;
    left625[624] = 625;
    struct refused {
        const char* what;
        state s;
        bool uniform, normal;
    };
    for (const refused& c : std::vector<refused>{{"zero words", zero, true, false},
                                                 {"word 0's low bits", low, true, false},
                                                 {"no words left", left0, true, true},
                                                 {"625 words left", left625, true, true}}) {
        harness::each_simd_width([&](const char* width) {
            for (int normal = 0; normal < 2; ++normal) {
                state s = c.s;
                std::vector<double> x(700, 42.0);
                const bool ok = normal ? twister_normal(s.data(), x.data(), 700) : twister_uniform(s.data(), x.data(), 700);
                EXPECT_EQ(ok, !(normal ? c.normal : c.uniform)) << c.what << (normal ? ", normal" : ", uniform") << width;
                if (!ok) {
                    EXPECT_TRUE(s == c.s) << c.what;
                    EXPECT_EQ(x, std::vector<double>(700, 42.0)) << c.what;
                }
            }
        });
    }
    state s = seeded(7);
    double x = 42.0;
    EXPECT_FALSE(twister_uniform(s.data(), &x, -1));
    EXPECT_FALSE(twister_normal(s.data(), &x, -1));
    EXPECT_TRUE(s == seeded(7));
    EXPECT_EQ(x, 42.0);
}

}  // namespace
