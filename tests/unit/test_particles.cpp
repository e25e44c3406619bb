// The five resampling modules through the stand-in host: the argument
// convention they share, their worked examples with exact outputs, the host
// calls each makes, and writes kept inside the output whatever the weights.
#include <cmath>
#include <random>

#include "binsgeq.h"
#include "contracts.h"
#include "harness.h"

namespace {

// The modules of the resampling argument convention: those linking
// resample_args, from the manifest's table.
std::vector<const char*> resampling_modules() {
    std::vector<const char*> names;
    for (const contracts::table_row& r : contracts::table)
        if (r.module && contracts::has_word(r.libs, "resample_args")) names.push_back(r.name);
    return names;
}
const std::vector<const char*> kModules = resampling_modules();

standin::gateway fn(const std::string& name) { return harness::module(name); }

std::vector<double> run(const char* name, std::initializer_list<mxArray*> in,
                        std::vector<size_t> dims = {}) {
    auto r = call(fn(name), 1, in);
    EXPECT_FALSE(r.failed) << name << ": " << r.message;
    if (r.failed) return {};
    if (!dims.empty()) {
        EXPECT_EQ(standin::dims(r.out[0]), dims) << name;
    }
    EXPECT_EQ(r.reclaimed_arrays, 0u) << name << " leaves nothing behind";
    EXPECT_EQ(r.reclaimed_blocks, 0u) << name << " frees its table";
    return standin::values(r.out[0]);
}

// The resampling arguments (resample_args) on every module that takes them;
// shapes, imaginary parts and integer sizes are test_args' rules.
TEST(particles, MessagesInTheOrderTheChecksFire) {
    for (const char* name : kModules)
        harness::expect_messages(fn(name), {
            {2, {scalar(1)}, "Too many output arguments."},
            {1, {}, "Wrong number of input arguments."},
            {1, {scalar(1), scalar(1), scalar(1), scalar(1)}, "Wrong number of input arguments."},
            {1, {standin::of_class(standin::cls::single_, {1, 3})},
             "Input 1 must be a full double array, not single."},
            {1, {matrix(1, 3), standin::logical(1, 1, {1})}, "Input 2 must be a full double array, not logical."},
            {1, {matrix(1, 3), matrix(1, 2), standin::text("a")}, "Input 3 must be a full double array, not char."},
            {1, {standin::sparse(2, 2, 1), scalar(2)}, "Input 1 must be a full double array, not sparse."},
            {1, {matrix(1, 3), matrix(1, 2)}, "M must be a scalar."},
            {0, {matrix(1, 3), scalar(2), matrix(2, 1)}, "M must be a scalar."},
            {1, {matrix(1, 3), matrix(2, 2), scalar(NAN)}, "M must be a scalar."},
            {1, {matrix(1, 3), scalar(NAN), matrix(2, 1)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
            {1, {matrix(1, 3), scalar(2), scalar(-3e9)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
            {1, {matrix(1, 3), scalar(INFINITY)}, "Sizes must be finite and smaller than 2^31 in magnitude."},
            // The weights' values come last, all before the first draw.
            {1, {matrix(1, 3, {5, -1, -2}), scalar(3)}, "Weights must be finite and not negative."},
            {1, {matrix(1, 3, {1, NAN, 2}), scalar(2), matrix(2, 2)}, "M must be a scalar."},
            {1, {matrix(1, 3, {1, NAN, 2}), scalar(2)}, "Weights must be finite and not negative."},
            {1, {matrix(3, 1, {1, 2, INFINITY})}, "Weights must be finite and not negative."},
            {1, {matrix(1, 2, {-INFINITY, 1}), scalar(1)}, "Weights must be finite and not negative."},
            {1, {matrix(1, 3, {0, 0, 0}), scalar(4)}, "Weights must not all be zero."},
            {1, {matrix(1, 3, {1e308, 1e308, 1}), scalar(2)}, "Weights must have a finite sum."},
        });
}

// Shapes, and the "rand" sizes each module asks for (residual: R-by-1 after
// the copies; deterministic: nothing).
TEST(particles, ResultShapesAndRandSizes) {
    struct row {
        std::vector<mxArray*> in;
        std::vector<size_t> dims;
    };
    const std::vector<double> w5 = {1, 2, 3, 4, 5};
    for (const char* name : kModules) {
        const std::string s = name;
        const row rows[] = {
            {{matrix(1, 5, w5)}, {1, 5}},
            {{matrix(5, 1, w5), scalar(3)}, {3, 3}},
            {{matrix(1, 5, w5), scalar(4), scalar(1)}, {4, 1}},
            {{matrix(1, 5, w5), scalar(2.9), scalar(3)}, {2, 3}},
            {{matrix(1, 5, w5), scalar(-2.9), scalar(3)}, {0, 3}},
            {{matrix(1, 5, w5), scalar(-3), scalar(-4)}, {0, 0}},
            {{matrix(1, 5, w5), scalar(0)}, {0, 0}},
            {{matrix(1, 5, w5), matrix(0, 0), scalar(2)}, {0, 2}},
            {{standin::complex_matrix(1, 2, {1, 3}, {0, -0.0}), scalar(4), scalar(2)}, {4, 2}},
        };
        for (const row& r : rows) {
            const double n = double(standin::dims(r.in[0])[0] * standin::dims(r.in[0])[1]);
            standin::clear_log();
            auto res = harness::call(fn(name), 0, r.in);
            ASSERT_FALSE(res.failed) << name << ": " << res.message;
            EXPECT_EQ(standin::dims(res.out[0]), r.dims) << name;
            EXPECT_EQ(res.reclaimed_arrays + res.reclaimed_blocks, 0u) << name;
            const size_t count = r.dims[0] * r.dims[1];
            for (double v : standin::values(res.out[0])) EXPECT_TRUE(v >= 1 && v <= n) << name << " " << v;
            const auto& log = standin::log();
            if (s == "particles_deterministic") {
                EXPECT_TRUE(log.empty()) << name;
                continue;
            }
            ASSERT_EQ(log.size(), 1u) << name;
            EXPECT_EQ(log[0].name, "rand");
            if (s == "particles_systematic") {
                EXPECT_EQ(log[0].rows * log[0].cols, 1) << name << ": one uniform";
            } else if (s == "particles_residual") {
                EXPECT_EQ(log[0].cols, 1) << name;
                EXPECT_LE(log[0].rows, (long long)count) << name;
            } else {
                EXPECT_EQ(log[0].rows, (long long)r.dims[0]) << name;
                EXPECT_EQ(log[0].cols, (long long)r.dims[1]) << name;
            }
        }
    }
}

TEST(particles, MultinomialFirstCumulativeWeightAtLeastEachUniform) {
    strict_stream strict;
    // Weights (1, 0, 1, 2): table (0.25, 0.25, 0.5, 1); particle 2 is never chosen.
    standin::script_rand({0.25, std::nextafter(0.25, 1.0), 0.5, std::nextafter(0.5, 1.0), 0.1, 0.99});
    EXPECT_EQ(run("particles_multinomial", {matrix(1, 4, {1, 0, 1, 2}), scalar(2), scalar(3)}, {2, 3}),
              (std::vector<double>{1, 3, 3, 4, 1, 4}));
    // A single weight: always 1.
    standin::script_rand({0.1, 0.9});
    EXPECT_EQ(run("particles_multinomial", {scalar(7), scalar(1), scalar(2)}), (std::vector<double>{1, 1}));
    // No weights: the same "rand" call, and zeros, as stratified and deterministic give.
    standin::script_rand({0.1, 0.9});
    EXPECT_EQ(run("particles_multinomial", {matrix(0, 0), scalar(2), scalar(1)}), (std::vector<double>{0, 0}));
    EXPECT_EQ(standin::scripted_left(), 0u);
}

// Seeded uniforms against the table and the bisection replayed here, through
// the guide (many draws) and the bisection (few): plain weights, runs of
// zeros, weights over 600 orders of magnitude, and one weight that swamps the
// rest.
TEST(particles, MultinomialMatchesTheBisectionOnRandomWeights) {
    std::mt19937_64 r(3);
    std::uniform_real_distribution<double> U(0, 1);
    for (int kind = 0; kind < 8; ++kind) {
        const int n = 300, T = kind < 4 ? 2000 : 10;
        std::vector<double> w(n), u(T);
        for (double& v : w) {
            v = U(r);
            if (kind % 4 == 1 && v < 0.5) v = 0;
            if (kind % 4 == 2) v = std::exp(-700 * v);
            if (kind % 4 == 3 && v < 0.01) v = 1e300;
        }
        for (double& v : u) v = U(r);
        std::vector<double> c(n);
        c[0] = w[0];
        for (int i = 1; i < n; ++i) c[i] = c[i - 1] + w[i];
        for (int i = 0; i < n - 1; ++i) c[i] = c[i] / c[n - 1];
        c[n - 1] = 1;
        std::vector<double> expect(T);
        for (int i = 0; i < T; ++i) expect[i] = binsgeq(c.data(), n, u[i]);

        strict_stream strict;
        standin::script_rand(u);
        EXPECT_EQ(run("particles_multinomial", {matrix(n, 1, w), scalar(T / 10), scalar(10)}), expect)
            << "kind " << kind;
    }
}

TEST(particles, ResidualCopiesThenDrawsFromTheFractionalParts) {
    strict_stream strict;
    // Whole expected counts: no residual draw, but "rand" is still asked for 0-by-1.
    EXPECT_EQ(run("particles_residual", {matrix(3, 1, {1, 2, 5}), scalar(8), scalar(1)}),
              (std::vector<double>{1, 2, 2, 3, 3, 3, 3, 3}));
    ASSERT_EQ(standin::log().size(), 1u);
    EXPECT_EQ(standin::log()[0].rows, 0);
    EXPECT_EQ(standin::log()[0].cols, 1);
    EXPECT_EQ(run("particles_residual", {matrix(1, 4, {3, 3, 3, 3})}, {1, 4}), (std::vector<double>{1, 2, 3, 4}));

    // Weights (1, 1, 2), T = 2: particle 3 once, then one draw on (0.5, 1, 1).
    for (double u : {0.5, std::nextafter(0.5, 1.0)}) {
        standin::clear_log();
        standin::script_rand({u});
        EXPECT_EQ(run("particles_residual", {matrix(1, 3, {1, 1, 2}), scalar(2), scalar(1)}),
                  (std::vector<double>{3, u == 0.5 ? 1.0 : 2.0}));
        EXPECT_EQ(standin::log()[0].rows, 1);
    }
    // Expected counts (0.75, 1.875, 0.375): one copy of 2, then R = 2 draws on
    // the table (0.375, 0.8125, 1), in the order of the uniforms.
    standin::script_rand({0.9, 0.375});
    EXPECT_EQ(run("particles_residual", {matrix(1, 3, {0.5, 1.25, 0.25}), scalar(3), scalar(1)}),
              (std::vector<double>{2, 3, 1}));
    // No weights: "rand" for all T places, which keep 0.
    standin::clear_log();
    standin::script_rand({0.1, 0.4, 0.6});
    EXPECT_EQ(run("particles_residual", {matrix(1, 0), scalar(3), scalar(1)}), (std::vector<double>(3, 0)));
    EXPECT_EQ(standin::log()[0].rows, 3);
    EXPECT_EQ(standin::scripted_left(), 0u);
}

TEST(particles, StratifiedReadsUniformsOnlyForPartialStrata) {
    strict_stream strict;
    // Expected counts (1, 1, 2): whole strata only, whatever the uniforms.
    standin::script_rand({0.999, 0.999, 0.001, 0.5});
    EXPECT_EQ(run("particles_stratified", {matrix(1, 3, {1, 1, 2}), scalar(4), scalar(1)}),
              (std::vector<double>{1, 2, 3, 3}));
    // Expected counts (0.5, 1.5): a point at 0.5 exactly still selects particle 1.
    for (double u : {0.5, std::nextafter(0.5, 1.0)}) {
        standin::script_rand({u, 0.999});
        EXPECT_EQ(run("particles_stratified", {matrix(1, 2, {1, 3}), scalar(2), scalar(1)}),
                  (std::vector<double>{u == 0.5 ? 1.0 : 2.0, 2}));
    }
    standin::script_rand({0.2, 0.7, 0.3, 0.9});
    EXPECT_EQ(run("particles_stratified", {matrix(1, 2, {0, 1}), scalar(2)}), (std::vector<double>(4, 2)));
    // No weights: zeros, after the same "rand" call.
    standin::script_rand({0.2, 0.7});
    EXPECT_EQ(run("particles_stratified", {matrix(0, 3), scalar(1), scalar(2)}, {1, 2}),
              (std::vector<double>(2, 0)));
    // Expected counts summing to just below T = 5 leave the last point, at
    // 4 + (1 - 2^-53), unreached: it is the last particle of positive weight's.
    for (size_t n : {3, 5}) {
        standin::script_rand(std::vector<double>(5, std::nextafter(1.0, 0.0)));
        EXPECT_EQ(run("particles_stratified", {matrix(1, n, {0.9, 0.9, 0.9, 0, 0}), scalar(5), scalar(1)}),
                  (std::vector<double>{1, 2, 2, 3, 3}));
    }
    EXPECT_EQ(standin::scripted_left(), 0u);
}

// Dyadic weights make every expected count and accumulator exact, so the
// output is the point rule itself: element g is the first particle j with
// Q(j) - g >= u[g], Q the cumulative expected counts.
TEST(particles, StratifiedIsThePointRuleWhenArithmeticIsExact) {
    std::mt19937_64 r(8);
    std::uniform_real_distribution<double> U(0, 1);
    for (int rep = 0; rep < 50; ++rep) {
        const int n = 1 + int(U(r) * 20), T = 32;
        std::vector<double> w(n, 0.0);
        for (int i = 0; i < 64; ++i) w[size_t(U(r) * n)] += 1;  // sum 64, so T w / 64 = w / 2
        std::vector<double> u(T), expect(T);
        for (double& v : u) v = U(r);
        for (int g = 0; g < T; ++g) {
            double q = 0;
            for (int j = 0; j < n; ++j) {
                q += w[j] / 2;
                if (q - g >= u[g]) {
                    expect[g] = j + 1;
                    break;
                }
            }
        }
        strict_stream strict;
        standin::script_rand(u);
        EXPECT_EQ(run("particles_stratified", {matrix(1, n, w), scalar(4), scalar(8)}, {4, 8}), expect);
    }
}

// One uniform for every stratum: one call-back of one value, made even for an
// empty result, and the point rule g + u for every element.
TEST(particles, SystematicSharesOneUniform) {
    strict_stream strict;
    // Expected counts (0.5, 1.5): points u and 1 + u; u = 0.5 still selects 1.
    for (double u : {0.5, std::nextafter(0.5, 1.0)}) {
        standin::clear_log();
        standin::script_rand({u});
        EXPECT_EQ(run("particles_systematic", {matrix(1, 2, {1, 3}), scalar(2), scalar(1)}),
                  (std::vector<double>{u == 0.5 ? 1.0 : 2.0, 2}));
        ASSERT_EQ(standin::log().size(), 1u);
        EXPECT_EQ(standin::log()[0].values, 1);
    }
    standin::script_rand({0.3});
    EXPECT_EQ(run("particles_systematic", {matrix(1, 3, {1, 1, 2}), scalar(0)}, {0, 0}), std::vector<double>{});
    standin::script_rand({0.3});
    EXPECT_EQ(run("particles_systematic", {matrix(0, 3), scalar(1), scalar(2)}, {1, 2}),
              (std::vector<double>(2, 0)));
    // Expected counts summing to just below T = 5 leave the last point,
    // 4 + (1 - 2^-53), unreached: it goes to the last particle of positive
    // weight (3, not the trailing zero weight).
    standin::script_rand({std::nextafter(1.0, 0.0)});
    EXPECT_EQ(run("particles_systematic", {matrix(1, 4, {0.9, 0.9, 0.9, 0}), scalar(5), scalar(1)}),
              (std::vector<double>{1, 2, 2, 3, 3}));
    EXPECT_EQ(standin::scripted_left(), 0u);

    // Dyadic weights make the walk exact: element g is the first j with
    // Q(j) >= g + u.
    std::mt19937_64 r(11);
    std::uniform_real_distribution<double> U(0, 1);
    for (int rep = 0; rep < 50; ++rep) {
        const int n = 1 + int(U(r) * 20), T = 32;
        std::vector<double> w(n, 0.0), expect(T);
        for (int i = 0; i < 64; ++i) w[size_t(U(r) * n)] += 1;  // T w / 64 = w / 2
        const double u = U(r);
        for (int g = 0; g < T; ++g) {
            double q = 0;
            for (int j = 0; j < n && !expect[g]; ++j)
                if ((q += w[j] / 2) >= g + u) expect[g] = j + 1;
        }
        standin::script_rand({u});
        EXPECT_EQ(run("particles_systematic", {matrix(n, 1, w), scalar(8), scalar(4)}, {8, 4}), expect);
    }
}

// The walk operation by operation, with its rounding, on weights with zeros,
// subnormal or dominant ones, and output sizes from a tenth to fifty times the particles: the
// branch-free step and the plain one must agree wherever either runs.
// Both walks against the plain one-particle-at-a-time walk, at every lane
// width: long runs, zero weights, tiny and huge ones, points at u = 0
// (after which the accumulator is exactly -1) and points exactly on it.
TEST(particles, StratifiedAndSystematicAreThePlainWalk) {
    std::mt19937_64 r(12);
    std::uniform_real_distribution<double> U(0, 1);
    for (int rep = 0; rep < 200; ++rep) {
        const int n = 1 + int(U(r) * 300);
        int T = 1 + int(U(r) * U(r) * 50 * n);
        std::vector<double> w(n);
        // rep % 8 == 3: whole weights, T half their total and quarter
        // uniforms, so that points fall exactly on the accumulator
        // (a - t == u = 0.5).
        const bool ties = rep % 8 == 3;
        for (double& v : w) {
            v = ties ? double(int(U(r) * 4)) : U(r);
            if (rep % 4 == 1 && v < 0.4) v = 0;
            if (rep % 8 == 2) v *= 1e-300;
            if (rep % 8 == 6 && v < 0.01) v = 1e300;
        }
        if (ties) {
            double sum = 0;
            for (double v : w) sum += v;
            const double extra = sum < 2 ? 2 - sum : double(int(sum) % 2);  // an even total, at least 2
            w[0] += extra;
            T = int(sum + extra) / 2;
        }
        std::vector<double> u(T);
        for (double& v : u) v = ties ? 0.25 * (1 + int(U(r) * 3)) : rep % 4 == 1 && U(r) < 0.2 ? 0 : U(r);
        for (const bool stratified : {false, true}) {
            std::vector<double> expect(T);
            double total = 0, a = 0;
            int g = 0, last = 0;
            for (double v : w) total += v;
            for (int j = 0; j < n; ++j) {
                if (w[j] > 0) last = j + 1;
                a = a + w[j] / total * T;
                if (a >= 1) {
                    const double k = std::trunc(a);
                    a = a - k;
                    for (double c = 0; c < k && g < T; ++c) expect[g++] = j + 1;
                }
                if (g < T && a >= u[stratified ? g : 0]) {
                    expect[g++] = j + 1;
                    a = a - 1;
                }
            }
            for (; g < T; ++g) expect[g] = last;
            const char* name = stratified ? "particles_stratified" : "particles_systematic";
            harness::each_simd_width([&](const char* width) {
                if (stratified)
                    standin::script_rand(u);
                else
                    standin::script_rand({u[0]});
                EXPECT_EQ(run(name, {matrix(1, n, w), scalar(T), scalar(1)}, {size_t(T), 1}), expect)
                    << name << " rep " << rep << " width " << width;
            });
        }
    }
}

TEST(particles, DeterministicWorkedExamples) {
    struct row {
        std::vector<double> w;
        int m;
        std::vector<double> expect;
    };
    const row rows[] = {
        {{1, 1, 1}, 1, {2}},
        {{1, 1, 1}, 5, {1, 1, 2, 3, 3}},
        {{1, 1, 1, 1}, 2, {1, 3}},
        {{1, 2, 5}, 8, {1, 2, 2, 3, 3, 3, 3, 3}},
        {std::vector<double>(10, 0.1), 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {{}, 3, {0, 0, 0}},
    };
    strict_stream strict;
    for (const row& r : rows)
        EXPECT_EQ(run("particles_deterministic", {matrix(1, r.w.size(), r.w), scalar(r.m), scalar(1)}),
                  r.expect);
    EXPECT_TRUE(standin::log().empty());

    // Against the plain loop on random weights: zero ones, whole ones
    // with T a multiple of their total (a running sum exactly on 1), runs
    // longer than a spill and outputs shorter than the particles.
    std::mt19937_64 g(13);
    std::uniform_real_distribution<double> U(0, 1);
    for (int rep = 0; rep < 200; ++rep) {
        const int n = 1 + int(U(g) * 300);
        std::vector<double> w(n);
        for (double& v : w) v = rep % 3 == 0 ? double(int(U(g) * 4)) : rep % 3 == 1 && U(g) < 0.3 ? 0 : U(g);
        w[0] += 1;
        double total = 0;
        for (double v : w) total += v;
        const int T = rep % 3 == 0 ? int(total) * (1 + rep % 5) : 1 + int(U(g) * U(g) * 30 * n);
        std::vector<double> expect(T, 0.0);
        std::size_t cursor = 0;
        double a = 0.5;
        for (int j = 0; j < n; ++j) {
            const double e = w[j] / total * T;
            double r = e;
            if (e >= 1) {
                const double k = std::trunc(e);
                r = e - k;
                for (double c = 0; c < k && cursor < std::size_t(T); ++c) expect[cursor++] = j + 1;
            }
            a = a + r;
            if (a >= 1) {
                if (cursor < std::size_t(T)) expect[cursor++] = j + 1;
                a = a - 1;
            }
        }
        EXPECT_EQ(run("particles_deterministic", {matrix(1, n, w), scalar(T), scalar(1)}), expect) << rep;
    }
}

// Both sizes negative give a positive M*N for an empty output: nothing is
// written, whatever the weights ask for.
TEST(particles, NegativeSizesGiveAnEmptyResult) {
    for (const char* name : kModules) {
        EXPECT_EQ(run(name, {matrix(1, 3, {1, 2, 5}), scalar(-2), scalar(-4)}, {0, 0}),
                  std::vector<double>{})
            << name;
    }
}

}  // namespace
