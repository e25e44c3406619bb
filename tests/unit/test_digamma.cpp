// The digamma kernel (special/digamma.h), with no host: special values, the
// bits of the one-at-a-time algorithm at every lane width, and accuracy
// against a 60-digit table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "digamma.h"

namespace {

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(digamma, SpecialValues) {
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
    for (const row& r : rows) {
        const double y = digamma(r.x);
        if (std::isnan(r.expect))
            EXPECT_TRUE(std::isnan(y)) << r.x;
        else if (std::isinf(r.expect))
            EXPECT_EQ(y, r.expect) << r.x;
        else
            EXPECT_NEAR(y, r.expect, 1e-12 * std::fabs(r.expect)) << r.x;
    }
}

// Elements processed several at a time step through the recurrence together:
// each must still get the bits of the one-at-a-time algorithm, at every
// position of arrays of every length, down to the reflection boundary, at
// every lane width.
TEST(digamma, EveryWidthGivesTheBitsOfTheOneAtATimeAlgorithm) {
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
    for (int width : {1, 2, 4, 8})
        for (size_t len = 1; len <= 19; ++len)
            for (size_t start = 0; start + len <= pool.size(); start += len) {
                const double* x = pool.data() + start;
                std::vector<double> y(len);
                digamma_lanes(x, y.data(), len, width);
                for (size_t i = 0; i < len; ++i) {
                    double e = digamma(x[i]);
                    ASSERT_TRUE(same_bits(y[i], e) || (std::isnan(y[i]) && std::isnan(e)))
                        << "x = " << x[i] << " at " << i << " of " << len << ", width " << width << ": " << y[i]
                        << " vs " << e;
                }
            }
}

// The documented accuracy, against psi computed at 60 digits
// (tests/data/make_digamma_table.py).  err = |psi - table| / max(|table|, 1):
// relative where |psi| >= 1, absolute near the roots.
TEST(digamma, AccuracyAgainstTheReferenceTable) {
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
    std::vector<double> y(x.size());
    for (size_t i = 0; i < x.size(); ++i) y[i] = digamma(x[i]);
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

}  // namespace
