// The bisection on its worked table, and the guide-table search against the
// bisection on many random tables: ties, zero and negative weights, NaN.
#include <cmath>
#include <limits>
#include <random>

#include "binsgeq.h"
#include "harness.h"
#include "resample_search.h"

namespace {

const double nan_ = std::numeric_limits<double>::quiet_NaN();

TEST(binsgeq, FirstEntryAtLeastTheValue) {
    const double t[] = {0.25, 0.5, 0.5, 1};
    struct row {
        double x, expect;
    };
    const row rows[] = {{0.25, 1}, {0.1, 1}, {-5, 1}, {0.3, 2}, {0.5, 2}, {0.6, 4}, {2, 4}};
    for (const row& r : rows) EXPECT_EQ(binsgeq(t, 4, r.x), r.expect) << r.x;
    // The last entry is never read: any x above 0.5 gives n.
    const double unread[] = {0.25, 0.5, 0.5, nan_};
    EXPECT_EQ(binsgeq(unread, 4, 0.75), 4);
    EXPECT_EQ(binsgeq(unread, 4, 1e300), 4);
    // One entry: always 1.
    EXPECT_EQ(binsgeq(t, 1, 0.9), 1);
    EXPECT_EQ(binsgeq(t, 1, nan_), 1);
    // NaN entries fail every comparison: all-zero weights give 2.
    const double zeros[] = {nan_, nan_, nan_, 1};
    EXPECT_EQ(binsgeq(zeros, 4, 0.1), 2);
    EXPECT_EQ(binsgeq(zeros, 4, 0.9), 2);
}

// A table of the kind the modules build, from weights drawn by `kind`.
std::vector<double> table(std::mt19937_64& r, int n, int kind) {
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<double> w(n);
    for (double& v : w) {
        switch (kind) {
            case 0: v = u(r); break;                                  // plain
            case 1: v = u(r) < 0.5 ? 0 : 1; break;                    // zeros and ties
            case 2: v = u(r) < 0.9 ? 1e-12 : 1; break;                // clusters in one bucket
            case 3: v = u(r) - 0.2; break;                            // negative weights
            case 4: v = u(r) < 0.05 ? nan_ : u(r); break;             // NaN
            case 5: v = std::floor(u(r) * 3) * 0.5; break;            // ties, then below 0 and above 1
            default: v = u(r) < 0.01 ? 1e300 : u(r) * 1e-300; break;  // extreme magnitudes
        }
    }
    std::vector<double> c(n);
    if (kind == 5) w[0] = -2;
    c[0] = w[0];
    for (int i = 1; i < n; ++i) c[i] = c[i - 1] + w[i];
    if (kind == 5) return c;  // not normalised: entries far outside [0, 1]
    for (int i = 0; i < n - 1; ++i) c[i] = c[i] / c[n - 1];
    c[n - 1] = 1;
    return c;
}

bool monotone(const std::vector<double>& c) {
    for (size_t i = 0; i + 1 < c.size(); ++i) {
        if (std::isnan(c[i])) return false;
        if (i > 0 && !(c[i - 1] <= c[i])) return false;
    }
    return true;
}

TEST(binsgeq, GuideGivesTheBisectionsAnswerOnRandomTables) {
    std::mt19937_64 r(11);
    std::uniform_real_distribution<double> u(0, 1);
    const int sizes[] = {1, 2, 3, 5, 17, 100, 1000};
    int guided = 0, refused = 0;
    for (int n : sizes) {
        for (int kind = 0; kind <= 6; ++kind) {
            for (int rep = 0; rep < 20; ++rep) {
                std::vector<double> c = table(r, n, kind);
                std::vector<int> start(size_t(binsgeq_guide_words(n)));
                binsgeq_guide g;
                const bool ok = binsgeq_guide_init(&g, c.data(), n, start.data());
                ASSERT_EQ(ok, monotone(c)) << "n " << n << " kind " << kind;
                if (!ok) {
                    ++refused;
                    continue;
                }
                ++guided;
                // Values: uniforms, every entry and its neighbours, the edges.
                std::vector<double> xs = {0.0, -0.0, 1.0, -1.0, 2.0, 1e-300, -INFINITY, INFINITY, nan_,
                                          std::nextafter(1.0, 0.0)};
                for (int i = 0; i < 200; ++i) xs.push_back(u(r));
                for (double e : c) {
                    xs.push_back(e);
                    xs.push_back(std::nextafter(e, -INFINITY));
                    xs.push_back(std::nextafter(e, INFINITY));
                }
                for (double x : xs)
                    ASSERT_EQ(binsgeq_guided(&g, x), binsgeq(c.data(), n, x))
                        << "n " << n << " kind " << kind << " x " << x;
            }
        }
    }
    EXPECT_GT(guided, 300);
    EXPECT_GT(refused, 100);
}

// The search the modules call, on both of its paths, against the bisection;
// its guide memory is host memory, released before it returns.
TEST(binsgeq, ModulesSearchMatchesTheBisectionAndReleasesItsGuide) {
    std::mt19937_64 r(5);
    std::uniform_real_distribution<double> u(0, 1);
    for (int kind : {0, 1, 3, 4}) {
        const int n = 500;
        std::vector<double> c = table(r, n, kind);
        std::vector<double> x(4000), got(x.size());
        for (double& v : x) v = u(r);
        auto res = standin::run([&] { resample_search(c.data(), n, x.data(), got.data(), x.size()); });
        ASSERT_FALSE(res.failed) << res.message;
        EXPECT_EQ(res.reclaimed_blocks, 0u);
        for (size_t i = 0; i < x.size(); ++i)
            ASSERT_EQ(got[i], binsgeq(c.data(), n, x[i])) << "kind " << kind << " i " << i;
        // In place, as multinomial resampling overwrites its uniforms.
        std::vector<double> y = x;
        standin::run([&] { resample_search(c.data(), n, y.data(), y.data(), y.size()); });
        EXPECT_EQ(y, got);
    }
}

}  // namespace
