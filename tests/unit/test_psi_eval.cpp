// psi_eval through the stand-in host: messages, shapes, and the digamma
// kernel's bits (special/digamma.h) at every lane width and thread setting.
#include <cmath>

#include "digamma.h"
#include "harness.h"

namespace {

standin::gateway fn() { return harness::module("psi_eval"); }

std::vector<double> psi(const std::vector<double>& x) {
    auto r = harness::call(fn(), 1, {matrix(1, x.size(), x)});
    EXPECT_FALSE(r.failed) << r.message;
    return r.failed ? std::vector<double>() : standin::values(r.out[0]);
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
    }, digamma);
    auto c = harness::call(fn(), 1, {standin::complex_matrix(1, 2, {1, 0.5}, {0, -0.0})});
    ASSERT_FALSE(c.failed) << c.message;
    EXPECT_TRUE(same_bits(standin::values(c.out[0])[1], digamma(0.5))) << "complex: real parts";
}

// One element and arrays of every length up to a few lanes, at every width.
TEST(psi_eval, TheKernelsBitsAtEveryWidth) {
    std::vector<double> x = {5, 4, 1e-300, -0.5, -64, -63.5, -65.25, 1e300, 6.25, 0.1, INFINITY, NAN, -0.0, -3};
    for (int i = 0; i < 40; ++i) x.push_back(std::exp(0.9 * i - 20) - 3);
    harness::each_simd_width([&](const char* width) {
        for (size_t len : {size_t(1), size_t(3), size_t(9), x.size()}) {
            const std::vector<double> in(x.begin(), x.begin() + len), y = psi(in);
            ASSERT_EQ(y.size(), len);
            for (size_t i = 0; i < len; ++i)
                ASSERT_TRUE(same_bits(y[i], digamma(in[i])) || (std::isnan(y[i]) && std::isnan(in[i])))
                    << "x = " << in[i] << ", width " << width;
        }
    });
}

TEST(psi_eval, EveryThreadSettingGivesTheBitsOfOneThread) {
    std::vector<double> x(2 * 65536 + 77);
    for (size_t i = 0; i < x.size(); ++i) x[i] = -70.0 + 1e-3 * double(i);
    harness::expect_same_on_threads(fn(), x);
}

}  // namespace
