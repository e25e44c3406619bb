// psi_eval through the stand-in host: messages, special values, the bits of
// the one-at-a-time algorithm, and accuracy against a 60-digit table.
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

#include "harness.h"

namespace {

standin::gateway fn() { return harness::module("psi_eval"); }

std::vector<double> psi(const std::vector<double>& x) {
    auto r = harness::call(fn(), 1, {matrix(1, x.size(), x)});
    EXPECT_FALSE(r.failed) << r.message;
    return r.failed ? std::vector<double>() : standin::values(r.out[0]);
}

// The recurrence and series exactly as written, one value at a time.
double plain(double x) {
    double s = 0;
    while (x <= 5) {
        s = s - 1 / x;
        x = x + 1;
    }
    double t = 1 / (x * x);
    double r = std::log(x) + s;
    r = r - 0.5 / x;
    double p = t * 3617 / 8160;
    p = p - 1.0 / 12;
    p = p * t + 691.0 / 32760;
    p = p * t - 1.0 / 132;
    p = p * t + 1.0 / 240;
    p = p * t - 1.0 / 252;
    p = p * t + 1.0 / 120;
    p = p * t - 1.0 / 12;
    return r + p * t;
}

TEST(psi_eval, MessagesInTheOrderTheChecksFire) {
    harness::expect_messages(fn(), {
        {1, {}, "Wrong number of input arguments."},
        {2, {scalar(1), scalar(2)}, "Wrong number of input arguments."},
        {2, {scalar(1)}, "Too many output arguments."},
        {1, {standin::of_class(standin::cls::int8_, {2, 2})}, "Input 1 must be a full double array, not int8."},
        {0, {standin::logical(1, 3)}, "Input 1 must be a full double array, not logical."},
        {1, {standin::text("abc")}, "Input 1 must be a full double array, not char."},
        {1, {standin::sparse(4, 4, 2)}, "Input 1 must be a full double array, not sparse."},
        {1, {standin::cell(1, 1)}, "Input 1 must be a full double array, not cell."},
        {1, {standin::complex_matrix(1, 2, {1, 0.5}, {0, 7})}, "Input 1 must be real."},
    });
}

TEST(psi_eval, Shapes) {
    std::vector<double> x(24);
    for (size_t i = 0; i < x.size(); ++i) x[i] = 0.25 + 0.5 * double(i);
    harness::expect_elementwise(fn(), {
        {{matrix(0, 3)}, {0, 3}},
        {{matrix(2, 3, {1, 2, 3, 4, 5, 6})}, {2, 3}},
        {{standin::array({7, 7, 0})}, {7, 7, 0}},
        {{standin::array({2, 3, 4}, x)}, {2, 3, 4}},
        {{standin::array({1, 2, 3, 4}, x)}, {1, 2, 3, 4}},
    }, plain);
    auto c = harness::call(fn(), 1, {standin::complex_matrix(1, 2, {1, 0.5}, {0, -0.0})});
    ASSERT_FALSE(c.failed) << c.message;
    EXPECT_TRUE(same_bits(standin::values(c.out[0])[1], plain(0.5))) << "complex: real parts";
}

TEST(psi_eval, SpecialValues) {
    const double big = std::ldexp(1.0, 53);
    struct row {
        double x, expect;
    };
    const row rows[] = {
        {1, -0.57721566490153286},
        {0.5, -1.9635100260214235},
        {5, 1.5061176684318003},
        {0.0, -INFINITY},
        {-0.0, INFINITY},
        {-1, -INFINITY},
        {-2, -INFINITY},
        {-64, -INFINITY},
        {-65, -INFINITY},  // reflection side
        {-1e6, -INFINITY},
        {-big - 2, -INFINITY},  // x + 1 == x there: the recurrence would never end
        {-1e300, -INFINITY},
        {-INFINITY, NAN},
        {INFINITY, INFINITY},
        {NAN, NAN},
    };
    std::vector<double> x;
    for (const row& r : rows) x.push_back(r.x);
    auto y = psi(x);
    ASSERT_EQ(y.size(), x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        if (std::isnan(rows[i].expect))
            EXPECT_TRUE(std::isnan(y[i])) << x[i];
        else if (std::isinf(rows[i].expect))
            EXPECT_EQ(y[i], rows[i].expect) << x[i];
        else
            EXPECT_NEAR(y[i], rows[i].expect, 1e-12 * std::fabs(rows[i].expect)) << x[i];
    }
}

// Elements processed several at a time step through the recurrence together:
// each must still get the bits of the one-at-a-time algorithm, at every
// position of arrays of every length, down to the reflection boundary, at
// every lane width.
TEST(psi_eval, BitsOfTheOneAtATimeAlgorithm) {
    std::mt19937_64 g(5);
    std::vector<double> pool = {5, std::nextafter(5.0, 0.0), std::nextafter(5.0, 9.0), 4, 1e-300, -0.5, -64,
                                std::nextafter(-64.0, 0.0), -63.5, 1e300, 6.25, 0.1, INFINITY, NAN, 0.0, -0.0, -3};
    for (int i = 0; i < 300; ++i) {
        double u = std::uniform_real_distribution<double>(0, 1)(g);
        switch (i % 4) {
            case 0: pool.push_back(u * 5); break;
            case 1: pool.push_back(u * 100); break;
            case 2: pool.push_back(-64 * u); break;
            default: pool.push_back(std::exp(u * 40 - 20));
        }
    }
    harness::each_simd_width([&](const char* width) {
        for (size_t len = 1; len <= 19; ++len)
            for (size_t start = 0; start + len <= pool.size(); start += len) {
                std::vector<double> x(pool.begin() + start, pool.begin() + start + len);
                auto y = psi(x);
                ASSERT_EQ(y.size(), len);
                for (size_t i = 0; i < len; ++i) {
                    double e = plain(x[i]);
                    ASSERT_TRUE(same_bits(y[i], e) || (std::isnan(y[i]) && std::isnan(e)))
                        << "x = " << x[i] << " at " << i << " of " << len << ", width " << width << ": " << y[i]
                        << " vs " << e;
                }
            }
    });
}

// The documented accuracy, against psi computed at 60 digits
// (tests/data/make_digamma_table.py).  err = |psi_eval - psi| / max(|psi|, 1):
// relative where |psi| >= 1, absolute near the roots.
TEST(psi_eval, AccuracyAgainstTheReferenceTable) {
    std::string here = __FILE__;
    std::ifstream f(here.substr(0, here.rfind('/')) + "/../data/digamma_table.csv");
    ASSERT_TRUE(f.good());
    std::vector<double> x, ref;
    for (std::string line; std::getline(f, line);) {
        if (line.empty() || line[0] == '#') continue;
        size_t c = line.find(',');
        x.push_back(std::stod(line.substr(0, c)));
        ref.push_back(std::stod(line.substr(c + 1)));
    }
    ASSERT_GT(x.size(), 1500u);
    auto y = psi(x);
    ASSERT_EQ(y.size(), x.size());
    struct range {
        const char* what;
        double lo, hi, bound;
        double worst;
        size_t count;
    };
    range ranges[] = {
        {"-64 <= x <= 10", -64, 10, 1e-12, 0, 0},
        {"x > 10", 10, INFINITY, 4.5e-16, 0, 0},
        {"x < -64 (reflection)", -INFINITY, -64, 4e-15, 0, 0},
    };
    for (size_t i = 0; i < x.size(); ++i)
        for (range& r : ranges)
            if (x[i] >= r.lo && x[i] <= r.hi) {
                double err = std::fabs(y[i] - ref[i]) / std::fmax(std::fabs(ref[i]), 1.0);
                EXPECT_LE(err, r.bound) << r.what << ": x = " << x[i];
                r.worst = std::fmax(r.worst, err);
                ++r.count;
                break;
            }
    for (const range& r : ranges) {
        EXPECT_GT(r.count, 50u) << r.what;
        std::printf("%-24s %5zu points, worst error %.3g\n", r.what, r.count, r.worst);
    }
}

// Threads share pieces of 2^16 elements: two whole pieces and a remainder.
TEST(psi_eval, EveryThreadSettingGivesTheBitsOfOneThread) {
    std::vector<double> x(2 * 65536 + 77);
    for (size_t i = 0; i < x.size(); ++i) x[i] = -70.0 + 1e-3 * double(i);
    harness::expect_same_on_threads(fn(), x);
}

}  // namespace
