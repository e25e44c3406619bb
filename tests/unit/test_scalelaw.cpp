// The conditional scale law against the same law computed in extended
// precision: the validity rule at its boundaries, the mode and curvature, the
// log-density and its centred form, and draws of very narrow laws (the
// centred form) against their exact distribution.
#include <algorithm>
#include <cmath>

#include "harness.h"
#include "scalelaw.h"

using namespace scalelaw;

namespace {

// h(x) = -lambda x - (chi / 2) e^x - (psi / 2) e^-x and its mode in long
// double, whose wider exponent holds every product of the inputs.  Its 64-bit
// mantissa leaves h about 1e-19 |h| off, far below what the tests resolve.
struct exact {
    long double lambda, chi, psi, mode;
    explicit exact(const double* p) {
        const double a = p[0], b = p[1], c = p[2], d = p[3], e = p[4];
        lambda = -0.5L * (long double)(b - e * c);  // b - c e as the sampler takes it
        chi = (long double)a * b;
        psi = (long double)c * e / d;
        const long double root = std::sqrt(lambda * lambda + chi * psi);
        mode = lambda >= 0 ? std::log(psi / (lambda + root)) : std::log((root - lambda) / chi);
    }
    // h(x); h'(x) into *d, and into *size the size of the largest term of
    // either, which bounds their rounding.
    long double h(long double x, long double* d = nullptr, double* size = nullptr) const {
        // A term of factor zero is zero, also where the exponential overflows.
        const long double up = chi == 0 ? 0 : chi / 2 * std::exp(x), down = psi == 0 ? 0 : psi / 2 * std::exp(-x);
        if (d) *d = -lambda - up + down;
        if (size) *size = double(std::max({std::fabs(lambda) * (1 + std::fabs(x)), up, down}));
        return -lambda * x - up - down;
    }
    long double kappa() const { return chi / 2 * std::exp(mode) + psi / 2 * std::exp(-mode); }
};

std::string text(const double* p) {
    return ::testing::PrintToString(std::vector<double>(p, p + 5));
}

TEST(scalelaw, TheValidityRuleAtItsBoundaries) {
    struct row {
        double p[5];
        fault verdict;
    };
    const row rows[] = {
        {{NAN, 2, 3, 4, 5}, fault::not_finite},           {{1, 2, 3, 4, -INFINITY}, fault::not_finite},
        {{1, 2, 3, 0, 5}, fault::zero_d},                 {{-1, 2, 3, 0, 5}, fault::zero_d},
        {{-1, 2, 3, 4, 5}, fault::negative_chi},          {{1, -2, 0, 4, 5}, fault::negative_chi},
        {{1, 2, -3, 4, 5}, fault::negative_psi},          {{1, 2, 3, -4, 5}, fault::negative_psi},
        {{0, 2, 0, 1, 1}, fault::both_zero},              {{1, 0, 3, 1, 0}, fault::both_zero},
        {{0, 3, 1, 1, 3}, fault::chi_zero_rising},        {{0, 4, 1, 1, 3}, fault::chi_zero_rising},
        {{0, 2, -1, -1, 1}, fault::chi_zero_rising},      {{1, 0, -1, -1, 1}, fault::chi_zero_rising},
        {{-1, -2, 0, 1, 1}, fault::psi_zero_rising},      {{-1, -2, 1, 1, 0}, fault::psi_zero_rising},
        {{1, 2, 3, 4, 5}, fault::none},                   {{-1, -2, 1, 1, 1}, fault::none},
        {{1, 2, -1, -1, 1}, fault::none},                 {{0, 1, 2, 1, 1}, fault::none},
        {{1, 0, 1, 1, 1}, fault::none},                   {{2, 10, 0, 1, 1}, fault::none},
        // Products that underflow or overflow keep their factors' signs.
        {{1e-200, 1e-200, 1e-200, 1e200, 1e-200}, fault::none},
        {{-1e200, 1e200, 1, 1, 1}, fault::negative_chi},
        {{1, 1, 1e-200, -1e200, 1e-200}, fault::negative_psi},
        // b - c e as evaluated: 3 - 1 * 3 is 0, and 1e-300 - 1e-300 * 1 is 0.
        {{0, 3, 3, 1, 1}, fault::chi_zero_rising},        {{1, 1e-300, 0, 1, 1}, fault::none},
    };
    for (const row& r : rows)
        EXPECT_EQ(check_law(r.p[0], r.p[1], r.p[2], r.p[3], r.p[4]), r.verdict) << text(r.p);
}

// Ordinary and extreme laws, the narrow ones in the centred form.
const double laws[][5] = {
    {1, 2, 3, 4, 5},       {2, 10, 0, 1, 1},      {0, 1, 2, 1, 1},         {-1, -2, 1, 1, 1},
    {0.01, 1, 1, 100, 0.5}, {5, 40, 3, 0.2, 20},  {1e300, 1, 1, 1, 1},     {1, 1, 1e-300, 1, 1},
    {1e200, 1e100, 1, 1, 1}, {1, 2e13, 0, 1, 1},  {1, 1, 1e150, 1e-150, 1}, {1, 1e40, 0, 1, 1},
    {1e-20, 1, 1, 1e10, 1}, {1e-8, 1, -1, -1e-8, 1}, {1, 1e12, 1e12, 1, 1},
};

// The mode and curvature, in logarithms, and the log-density handed to the
// sampler (h itself, or h(x* + t) - h(x*) in the centred form) with its
// derivative, at multiples of the law's width around the mode.  Beyond a
// curvature of 1e14 the reference's own rounding (1e-19 of terms as large as
// the curvature) no longer resolves the log-density.  The centred form's
// value rounds far less than its terms, its slope as much (the residual slope
// at the rounded mode).
TEST(scalelaw, ModeAndLogDensityMatchTheExactLaw) {
    int centred = 0;
    for (const auto& p : laws) {
        const exact ref(p);
        const law_mode m = mode_of(p[0], p[1], p[2], p[3], p[4]);
        const double kappa = double(ref.kappa()), tol = 1e-13 * (1 + std::fabs(double(ref.mode)));
        EXPECT_NEAR(m.x, double(ref.mode), tol) << text(p);
        EXPECT_NEAR(m.log_kappa, double(std::log(ref.kappa())), tol) << text(p);
        if (kappa > 1e14) continue;
        plan law;
        ASSERT_TRUE(plan_of(p[0], p[1], p[2], p[3], p[4], &law)) << text(p);
        const double width = std::min(1.0, 1 / std::sqrt(kappa));
        centred += law.centred;
        for (double k : {-3.0, -1.0, 0.0, 0.5, 2.0}) {
            // The sampler's abscissa v and the x it stands for.
            const double v = law.centred ? k * width : double(ref.mode) + k * width;
            const long double x = law.centred ? (long double)law.mode + v : v;
            long double d_ref;
            double size;
            const long double h_ref = ref.h(x, &d_ref, &size) - (law.centred ? ref.h(law.mode) : 0);
            const double tol_h = (law.centred ? 1e-18 : 1e-15) * size + 1e-15;
            double d;
            const double h = law.logdens()(&d, law.data(), v);
            EXPECT_NEAR(h, double(h_ref), tol_h) << text(p) << " at " << k;
            EXPECT_NEAR(d, double(d_ref), 1e-15 * size) << text(p) << " at " << k;
        }
    }
    EXPECT_EQ(centred, 2) << "the list reaches the centred form";
}

// The plan's start and base step against the exact law: y = a (x0 = -log a)
// with log(1 + 1/sqrt(b)); the mode with the width min(1, kappa^-1/2) where h
// is not finite at y = a or the step does not move x0; t = 0 and the width
// in the centred form.  The step at y = a is as exact as 1 + 1/sqrt(b) is.
TEST(scalelaw, ThePlanStartsWhereTheLawSaysWithItsStep) {
    struct row {
        double p[5];
        char start;  // 'a', 'm' (the mode) or 'c' (centred)
    };
    const row rows[] = {
        {{1, 2, 3, 4, 5}, 'a'},           {{0.01, 1, 1, 100, 0.5}, 'a'},  {{1e-28, 1e28, 1e28, 1e28, 1}, 'a'},
        {{1, 1.9e10, 0, 1, 1}, 'a'},      {{-1, -2, 1, 1, 1}, 'm'},       {{0, 1, 2, 1, 1}, 'm'},
        {{1, 0, 1, 1, 1}, 'm'},           {{0, 1, 1, 1, 1.02}, 'm'},      {{1e-30, 1e30, 1e30, 1e30, 1}, 'm'},
        {{1, 2e10, 0, 1, 1}, 'c'},        {{1, 1e12, 1e12, 1, 1}, 'c'},   {{3, 1e11, 2e11, 5, 0.5}, 'c'},
        {{1, 1e100, 1e100, 1, 1}, 'c'},   {{1e300, 1, 1, 1, 1}, 'c'},
    };
    for (const row& r : rows) {
        plan law;
        ASSERT_TRUE(plan_of(r.p[0], r.p[1], r.p[2], r.p[3], r.p[4], &law)) << text(r.p);
        const exact ref(r.p);
        const long double width = std::min(1.0L, 1 / std::sqrt(ref.kappa()));
        const long double x0 = r.start == 'a' ? -std::log((long double)r.p[0]) : r.start == 'm' ? ref.mode : 0;
        const long double step = r.start == 'a' ? std::log1p(1 / std::sqrt((long double)r.p[1])) : width;
        EXPECT_EQ(law.centred, r.start == 'c') << text(r.p);
        EXPECT_NEAR(law.x0, double(x0), 1e-13 * (1 + std::fabs(double(x0)))) << text(r.p);
        EXPECT_NEAR(law.step, double(step), 1e-13 * double(step) + (r.start == 'a' ? 2.3e-16 : 0)) << text(r.p);
    }
}

// Kolmogorov-Smirnov distance of the sample t (sorted in place) from the law
// with log-density g on the grid ts (ascending, covering the sample), by the
// trapezoid rule.
double ks_distance(std::vector<double>& t, const std::vector<long double>& ts,
                   const std::vector<long double>& g) {
    std::vector<long double> F(ts.size(), 0.0L);
    for (size_t i = 1; i < ts.size(); ++i)
        F[i] = F[i - 1] + (ts[i] - ts[i - 1]) * (std::exp(g[i]) + std::exp(g[i - 1])) / 2;
    std::sort(t.begin(), t.end());
    const double n = double(t.size());
    double D = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        const size_t j = std::upper_bound(ts.begin(), ts.end(), (long double)t[i]) - ts.begin();
        if (j == 0 || j == ts.size()) return 1;  // outside the grid: far in a tail
        const long double w = (t[i] - ts[j - 1]) / (ts[j] - ts[j - 1]);
        const double Fi = double((F[j - 1] + w * (F[j] - F[j - 1])) / F.back());
        D = std::max({D, (i + 1) / n - Fi, Fi - i / n});
    }
    return D;
}

// Very narrow laws (log curvature 25 to 30) are drawn in the centred form; the
// draws, as t = -log y - x* around the exact mode, must follow the law whose
// log-density is h(x* + t) - h(x*), integrated numerically.  With n = 4000 the
// bound 2.5 / sqrt(n) has a false-alarm rate below 1e-5; the seeds are fixed.
TEST(scalelaw, NarrowLawsAreDrawnFromTheirExactLaw) {
    const double narrow[][5] = {
        {1, 1e12, 1e12, 1, 1},              // lambda = 0, chi = psi: symmetric
        {1, 2e13, 0, 1, 1},                 // inverse gamma of shape 1e13
        {1e-20, 4e12, 3, 1e-12, 1e12},      // chi small: mode near 44.7
        {3, 1e11, 2e11, 5, 0.5},            // lambda = -2.5e10
    };
    const int n = 4000;
    uint64_t seed = 31;
    for (const auto& p : narrow) {
        plan law;
        ASSERT_TRUE(plan_of(p[0], p[1], p[2], p[3], p[4], &law)) << text(p);
        ASSERT_TRUE(law.centred) << text(p);
        std::vector<double> y(n);
        standin::seed(seed++);
        const size_t live = standin::live_arrays();
        auto r = standin::run([&] {
            rand_stream rs = rand_open();
            for (double& v : y) v = law.y_of(ars(&rs, law.logdens(), law.data(), law.x0, law.step));
            EXPECT_EQ(rand_pending(&rs), 0);
        });
        ASSERT_FALSE(r.failed) << r.message;
        EXPECT_EQ(standin::live_arrays(), live);

        const exact ref(p);
        const long double width = 1 / std::sqrt(ref.kappa()), h0 = ref.h(ref.mode);
        std::vector<long double> ts, g;
        for (int i = -20000; i <= 20000; ++i) {
            ts.push_back(i * width / 1000);
            g.push_back(ref.h(ref.mode + ts.back()) - h0);
        }
        std::vector<double> t(n);
        for (int i = 0; i < n; ++i) t[i] = double(-std::log((long double)y[i]) - ref.mode);
        EXPECT_LT(ks_distance(t, ts, g), 2.5 / std::sqrt(double(n))) << text(p);
    }
}

// Laws so wide in x that most of their mass lies where e^x or e^-x overflows
// in double (inverse gamma of shape 5e-7, gamma of shape 1e-6; y is then Inf
// or 0): the sampler's x itself, far beyond -745 or 709, follows the exact
// law, on a grid that widens geometrically out to 1e9 from the mode.
TEST(scalelaw, WideLawsAreDrawnFromTheirExactLawBeyondTheDoublesRange) {
    const double wide[][5] = {
        {1, 1e-6, 0, 1, 1},      // psi = 0: the left tail falls by 5e-7 per unit
        {0, 1, 1, 1, 1 + 2e-6},  // chi = 0: the right tail, mirrored
        {1, 1e-3, 0, 1, 1},      // bracketed short of -745, 70% of its mass beyond
    };
    const int n = 4000;
    uint64_t seed = 41;
    for (const auto& p : wide) {
        plan law;
        ASSERT_TRUE(plan_of(p[0], p[1], p[2], p[3], p[4], &law)) << text(p);
        const exact ref(p);
        std::vector<double> t(n);
        standin::seed(seed++);
        auto r = standin::run([&] {
            rand_stream rs = rand_open();
            for (double& v : t) v = ars(&rs, law.logdens(), law.data(), law.x0, law.step) - double(ref.mode);
        });
        ASSERT_FALSE(r.failed) << r.message << " at " << text(p);
        std::vector<long double> ts, g;
        for (long double u = -1e9L; u < -40; u /= 1.01L) ts.push_back(u);
        for (int i = -4000; i <= 4000; ++i) ts.push_back(i / 100.0L);
        for (long double u = 40 * 1.01L; u < 1e9L; u *= 1.01L) ts.push_back(u);
        const long double h0 = ref.h(ref.mode);
        for (long double u : ts) g.push_back(ref.h(ref.mode + u) - h0);
        EXPECT_LT(ks_distance(t, ts, g), 2.5 / std::sqrt(double(n))) << text(p);
        // The far tail is reached: x beyond 1e4 on the side where the law is wide.
        const double far = p[0] == 0 ? *std::max_element(t.begin(), t.end()) : -*std::min_element(t.begin(), t.end());
        EXPECT_GT(far, 1e4) << text(p);
    }
}

}  // namespace
