// metric_pairwise through the stand-in host.
#include <cmath>
#include <random>

#include "harness.h"

using standin::cell;
using standin::logical;
using standin::structure;
using standin::text;

namespace {

// Same bits, or both NaN: which NaN an operation on two NaNs returns depends
// on the operand order the compiler picks for a commutative operation.
bool same_value(double a, double b) { return same_bits(a, b) || (std::isnan(a) && std::isnan(b)); }

standin::gateway fn() { return harness::module("metric_pairwise"); }

// A metric structure; a null argument leaves that field out.
mxArray* metric(mxArray* ls, mxArray* comps, mxArray* delta, mxArray* type = text("metric_euclidean")) {
    std::vector<std::pair<std::string, mxArray*>> f;
    if (type) f.push_back({"type", type});
    if (ls) f.push_back({"lengthScale", ls});
    if (comps) f.push_back({"components", comps});
    if (delta) f.push_back({"deltadist", delta});
    return structure(f);
}

mxArray* row(std::vector<double> v) { return matrix(1, v.size(), v); }

struct call_result {
    bool failed;
    std::string message;
    std::vector<size_t> dims;
    std::vector<double> d;
    size_t reclaimed_arrays, reclaimed_blocks;
};

call_result run(int nlhs, std::vector<mxArray*> in) {
    auto r = harness::call(fn(), nlhs, in);
    call_result c{r.failed, r.message, {}, {}, r.reclaimed_arrays, r.reclaimed_blocks};
    if (!r.failed) {
        c.dims = standin::dims(r.out[0]);
        c.d = standin::values(r.out[0]);
    }
    return c;
}

TEST(metric_pairwise, MessagesInTheOrderTheChecksFire) {
    const char* lenght =
        "metric.lengthScale must be scalar or its lenght must be the same as the number of "
        "components.";
    const char* columns =
        "metric.components must list column numbers from 1 to the number of columns of x.";
    auto ok_x = [] { return matrix(2, 2, {0, 3, 0, 4}); };
    auto one = [] { return cell(1, 1, {row({1})}); };
    harness::expect_messages(fn(), {
        {0, {metric(scalar(1), one(), logical(1, 1, {0})), ok_x()}, "Wrong number of output arguments."},
        {2, {metric(scalar(1), one(), logical(1, 1, {0})), ok_x()}, "Wrong number of output arguments."},
        {1, {metric(scalar(1), one(), logical(1, 1, {0}))}, "Wrong number of input arguments."},
        {1, {metric(scalar(1), one(), logical(1, 1, {0})), ok_x(), ok_x()},
         "Wrong number of input arguments."},
        {1, {metric(scalar(1), one(), logical(1, 1, {0})), standin::of_class(standin::cls::single_, {2, 2})},
         "Input 2 must be a full double array, not single."},
        {1, {metric(scalar(1), one(), logical(1, 1, {0})), standin::sparse(2, 2, 1)},
         "Input 2 must be a full double array, not sparse."},
        {1, {metric(scalar(1), one(), logical(1, 1, {0}), nullptr), ok_x()}, "Could not get metric.type"},
        {1, {scalar(3), ok_x()}, "Could not get metric.type"},
        {1, {metric(scalar(1), one(), logical(1, 1, {0}), scalar(4)), ok_x()}, "metric.type must be a string."},
        {1, {metric(scalar(1), one(), logical(1, 1, {0}), text("Metric_Euclidean")), ok_x()},
         "Wrong type of metric."},
        {1, {metric(scalar(1), one(), logical(1, 1, {0}), text("metric_euclidean ")), ok_x()},
         "Wrong type of metric."},
        // Longer than the text the gateway reads of it.
        {1, {metric(scalar(1), one(), logical(1, 1, {0}), text("metric_euclidean" + std::string(24, 'x'))), ok_x()},
         "Wrong type of metric."},
        {1, {metric(nullptr, one(), logical(1, 1, {0})), ok_x()}, "Could not get metric.lengthScale"},
        {1, {metric(matrix(0, 0), one(), logical(1, 1, {0})), ok_x()},
         "metric.lengthScale must be a scalar or a vector."},
        {1, {metric(matrix(2, 2), one(), logical(1, 1, {0})), ok_x()},
         "metric.lengthScale must be a scalar or a vector."},
        // Empty vectors hold no length scale to read.
        {1, {metric(matrix(1, 0), one(), logical(1, 1, {0})), ok_x()},
         "metric.lengthScale must be a scalar or a vector."},
        {1, {metric(matrix(0, 1), cell(1, 0), logical(1, 0)), ok_x()},
         "metric.lengthScale must be a scalar or a vector."},
        {1, {metric(standin::of_class(standin::cls::int8_, {1, 1}), one(), logical(1, 1, {0})), ok_x()},
         "metric.lengthScale must be a full double array, not int8."},
        {1, {metric(scalar(1), nullptr, logical(1, 1, {0})), ok_x()}, "Could not get metric.components"},
        {1, {metric(scalar(1), row({1, 2}), logical(1, 1, {0})), ok_x()},
         "metric.components must be a one dimensional cell array."},
        {1, {metric(scalar(1), cell(0, 0), logical(1, 1, {0})), ok_x()},
         "metric.components must be a one dimensional cell array."},
        {1, {metric(scalar(1), cell(2, 2), logical(1, 1, {0})), ok_x()},
         "metric.components must be a one dimensional cell array."},
        {1, {metric(row({1, 2}), cell(1, 3), logical(1, 3)), ok_x()}, lenght},
        {1, {metric(row({1, 2}), one(), logical(1, 1)), ok_x()}, lenght},
        {1, {metric(scalar(1), one(), nullptr), ok_x()}, "Could not get metric.deltadist"},
        {1, {metric(scalar(1), one(), scalar(0)), ok_x()}, "metric.deltadist must be a logical vector."},
        {1, {metric(scalar(1), one(), logical(0, 0)), ok_x()}, "metric.deltadist must be a logical vector."},
        {1, {metric(scalar(1), one(), standin::sparse(1, 3, 1, true)), ok_x()},
         "metric.deltadist must be a full logical array, not sparse."},
        {1, {metric(scalar(1), one(), logical(1, 2)), ok_x()},
         "metric.logical must be of the same length as the number of components."},
        // A 1-by-0 deltadist holds no entry for the one component.
        {1, {metric(scalar(1), one(), logical(1, 0)), ok_x()},
         "metric.logical must be of the same length as the number of components."},
        {1, {metric(scalar(1), cell(1, 1, {standin::of_class(standin::cls::int8_, {1, 1})}), logical(1, 1)), ok_x()},
         "Every element of metric.components must be a full double array, not int8."},
        {1, {metric(scalar(1), cell(1, 1, {text("a")}), logical(1, 1)), ok_x()},
         "Every element of metric.components must be a full double array, not char."},
        {1, {metric(scalar(1), cell(1, 1, {row({0})}), logical(1, 1)), ok_x()}, columns},
        {1, {metric(scalar(1), cell(1, 1, {row({-1})}), logical(1, 1)), ok_x()}, columns},
        {1, {metric(scalar(1), cell(1, 1, {row({0.5})}), logical(1, 1)), ok_x()}, columns},
        {1, {metric(scalar(1), cell(1, 1, {row({3})}), logical(1, 1)), ok_x()}, columns},
        {1, {metric(scalar(1), cell(1, 1, {row({1, NAN})}), logical(1, 1)), ok_x()}, columns},
        {1, {metric(scalar(1), cell(1, 2, {row({1}), row({2.9, 1e300})}), logical(1, 2)), ok_x()}, columns},
        {1, {metric(scalar(1), cell(1, 1, {row({1})}), logical(1, 1)), matrix(3, 0)}, columns},
    });
}

TEST(metric_pairwise, WorkedExamples) {
    const double r13 = std::sqrt(13.0);
    struct row_t {
        const char* what;
        std::vector<mxArray*> in;
        size_t m;
        std::vector<double> d;  // column-major
    };
    const row_t rows[] = {
        {"3-4-5", {metric(scalar(1), cell(1, 1, {row({1, 2})}), logical(1, 1, {0})), matrix(2, 2, {0, 3, 0, 4})},
         2, {0, 5, 5, 0}},
        {"length scale 2", {metric(scalar(2), cell(1, 1, {row({1, 2})}), logical(1, 1, {0})), matrix(2, 2, {0, 3, 0, 4})},
         2, {0, 2.5, 2.5, 0}},
        {"delta column", {metric(scalar(1), cell(1, 1, {row({1})}), logical(1, 1, {1})), matrix(3, 1, {1, 1, 2})},
         3, {0, 0, 1, 0, 0, 1, 1, 1, 0}},
        {"two kinds", {metric(row({1, 0.5}), cell(2, 1, {row({1}), row({2})}), logical(2, 1, {0, 1})),
                       matrix(2, 2, {0, 3, 5, 6})},
         2, {0, r13, r13, 0}},
        {"column listed twice", {metric(scalar(1), cell(1, 1, {row({1, 1})}), logical(1, 1, {0})), matrix(2, 1, {0, 3})},
         2, {0, std::sqrt(18.0), std::sqrt(18.0), 0}},
        {"0-by-0 component", {metric(scalar(1), cell(1, 2, {matrix(0, 0), row({1})}), logical(1, 2, {0, 0})),
                              matrix(2, 1, {0, 3})},
         2, {0, 3, 3, 0}},
        {"scalar scale, three components",
         {metric(scalar(2), cell(1, 3, {row({1}), row({1}), row({1})}), logical(1, 3, {0, 0, 1})), matrix(2, 1, {0, 4})},
         2, {0, std::sqrt(4.0 + 4.0 + 0.25), std::sqrt(4.0 + 4.0 + 0.25), 0}},
        {"one row", {metric(scalar(1), cell(1, 1, {row({1})}), logical(1, 1, {0})), matrix(1, 3, {7, 8, 9})}, 1, {0}},
        {"no row", {metric(scalar(1), cell(1, 1, {row({1})}), logical(1, 1, {0})), matrix(0, 3)}, 0, {}},
        // Column numbers are truncated: 1.9 is column 1.
        {"truncated column", {metric(scalar(1), cell(1, 1, {row({1.9})}), logical(1, 1, {0})), matrix(2, 2, {0, 3, 0, 4})},
         2, {0, 3, 3, 0}},
        // Empty vectors list nothing: a 1-by-0 element adds nothing, an unset
        // one likewise, and a 1-by-0 cell is a metric without components.
        {"1-by-0 element", {metric(scalar(1), cell(1, 2, {matrix(1, 0), row({2})}), logical(1, 2)), matrix(2, 2, {0, 3, 0, 4})},
         2, {0, 4, 4, 0}},
        {"unset element", {metric(scalar(1), cell(1, 2, {nullptr, row({2})}), logical(1, 2)), matrix(2, 2, {0, 3, 0, 4})},
         2, {0, 4, 4, 0}},
        {"no components", {metric(scalar(1), cell(1, 0), logical(1, 0)), matrix(2, 2, {0, 3, 0, 4})}, 2, {0, 0, 0, 0}},
        // NaN differs from everything, itself included, for the delta kind;
        // the diagonal is 0 whatever the row holds.
        {"NaN", {metric(scalar(1), cell(1, 2, {row({1}), row({2})}), logical(1, 2, {1, 0})), matrix(2, 2, {NAN, NAN, 1, 1})},
         2, {0, 1, 1, 0}},
    };
    for (const row_t& r : rows) {
        auto c = run(1, r.in);
        ASSERT_FALSE(c.failed) << r.what << ": " << c.message;
        EXPECT_EQ(c.dims, (std::vector<size_t>{r.m, r.m})) << r.what;
        ASSERT_EQ(c.d.size(), r.d.size()) << r.what;
        for (size_t i = 0; i < r.d.size(); ++i) EXPECT_TRUE(same_bits(c.d[i], r.d[i])) << r.what << " " << i << ": " << c.d[i];
        EXPECT_EQ(c.reclaimed_arrays, 0u) << r.what;
        EXPECT_EQ(c.reclaimed_blocks, 0u) << r.what << ": every block freed";
    }
}

// The plain triple loop, one pair at a time, terms in component and listing order.
std::vector<double> oracle(const std::vector<double>& x, size_t m, const std::vector<double>& ls,
                           const std::vector<std::vector<double>>& comps, const std::vector<int>& delta) {
    std::vector<double> d(m * m, 0.0);
    for (size_t i = 0; i < comps.size(); ++i) {
        double l = ls.size() > 1 ? ls[i] : ls[0];
        double L = l * l;
        for (double cv : comps[i]) {
            size_t c = size_t(cv) - 1;
            for (size_t j = 0; j < m; ++j)
                for (size_t k = 0; k < j; ++k) {
                    double a = x[j + m * c], b = x[k + m * c];
                    double t = delta[i] ? (a != b ? 1 / L : 0) : (a - b) * (a - b) / L;
                    d[k + m * j] += t;
                }
        }
    }
    for (size_t j = 0; j < m; ++j) {
        for (size_t k = 0; k < j; ++k) d[k + m * j] = d[j + m * k] = std::sqrt(d[k + m * j]);
        d[j + m * j] = 0;
    }
    return d;
}

// At every lane width (the vectors, the scalar tails and the plain loop) and
// on one thread or several sharing the column blocks (more threads than
// blocks, threads the system refuses).
TEST(metric_pairwise, EveryPairMatchesThePlainLoopBitForBit) {
    std::mt19937_64 g(11);
    const size_t sizes[] = {2, 3, 5, 8, 9, 16, 17, 31, 33, 40, 67, 130};
    // Power-of-two, zero, infinite, tiny and ordinary length scales: some
    // divide, some multiply by an exact reciprocal; both must give the bits
    // of the division.
    const std::vector<std::vector<double>> scales = {
        {1, 1, 1}, {0.7, 1.3, 2.9}, {2, 0.5, 0.25}, {0, 1, 3}, {INFINITY, 1e-200, 1e200}, {std::ldexp(1.0, -540), 3, 1}};
    const int n = 5;
    auto every_width = [&](const std::string& threads) {
        harness::each_simd_width([&](const char* width) {
            for (size_t m : sizes)
                for (const auto& ls : scales) {
                    std::vector<double> x(m * n);
                    for (double& v : x) {
                        switch (g() % 8) {
                            case 0: v = 0; break;
                            case 1: v = double(g() % 3); break;  // ties
                            case 2: v = g() % 50 == 0 ? NAN : -1.5; break;
                            default: v = std::ldexp(double(g() % 100000) - 50000, -10);
                        }
                    }
                    std::vector<std::vector<double>> comps = {{1, 2, 2, 5}, {3}, {4, 1}};
                    std::vector<int> delta = {0, 1, int(m % 2)};
                    auto expect = oracle(x, m, ls, comps, delta);
                    auto c = run(1, {metric(row(ls), cell(1, 3, {row(comps[0]), row(comps[1]), row(comps[2])}),
                                            logical(1, 3, {delta[0], delta[1], delta[2]})),
                                     matrix(m, n, x)});
                    ASSERT_FALSE(c.failed) << c.message;
                    ASSERT_EQ(c.d.size(), m * m);
                    for (size_t i = 0; i < m * m; ++i)
                        ASSERT_TRUE(same_value(c.d[i], expect[i]))
                            << "width " << width << ", threads " << threads << ", m = " << m << ", scale " << ls[0] << ", element " << i << ": "
                            << c.d[i] << " vs " << expect[i];
                }
        });
    };
    {
        harness::scoped_env threads("BAYESMEX_THREADS", "1");
        every_width("1 thread");
    }
    harness::each_thread_setting(every_width);
}

}  // namespace
