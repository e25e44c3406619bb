// The argument rules every module shares, tried on every module from one
// valid call each: an input with a third dimension above 1, or with a
// non-zero imaginary part, is refused before anything is made or drawn; a
// complex input whose imaginary parts are all zero, an integer-class size and
// an empty array where a scalar is read give exactly what the double (or 0)
// gives, with the same call-backs.
#include <cmath>
#include <functional>

#include "harness.h"

using standin::cls;
using standin::matrix;
using standin::scalar;

namespace {

struct module_case {
    const char* name;
    std::function<std::vector<mxArray*>()> make;  // a valid call
    std::vector<int> sizes;                       // inputs that are sizes or counts (1-based)
    bool any_shape = false;                       // elementwise: keeps every dimension
};

mxArray* metric() {
    return standin::structure({{"type", standin::text("metric_euclidean")},
                               {"lengthScale", scalar(0.5)},
                               {"components", standin::cell(1, 1, {matrix(1, 2, {1, 2})})},
                               {"deltadist", standin::logical(1, 1, {0})}});
}

std::vector<module_case> cases() {
    auto mu = [] { return matrix(2, 3, {1, 2, 3, 4, 5, 6}); };
    auto w = [] { return matrix(1, 4, {1, 0, 2, 3.5}); };
    return {
        {"meanshape_draw", [=] { return std::vector<mxArray*>{mu(), scalar(5), scalar(2), scalar(3)}; }, {3, 4}},
        {"invchisq_draw", [=] { return std::vector<mxArray*>{scalar(2), mu(), scalar(2), scalar(3)}; }, {3, 4}},
        {"studentt_draw", [] { return std::vector<mxArray*>{matrix(1, 3, {1, 2, 5}), scalar(1), scalar(3)}; }, {2, 3}},
        {"exponential_draw", [=] { return std::vector<mxArray*>{mu(), scalar(2), scalar(3)}; }, {2, 3}},
        {"simplex_draw", [] { return std::vector<mxArray*>{scalar(3), scalar(4)}; }, {1, 2}},
        {"meanshape_draw1", [] { return std::vector<mxArray*>{scalar(2), scalar(5)}; }, {}},
        {"invchisq_draw1", [] { return std::vector<mxArray*>{scalar(2), scalar(5)}; }, {}},
        {"hyperscale_draw1",
         [] { return std::vector<mxArray*>{scalar(1), scalar(2), scalar(1), scalar(2), scalar(3)}; }, {}},
        {"particles_multinomial", [=] { return std::vector<mxArray*>{w(), scalar(3), scalar(2)}; }, {2, 3}},
        {"particles_residual", [=] { return std::vector<mxArray*>{w(), scalar(3), scalar(2)}; }, {2, 3}},
        {"particles_stratified", [=] { return std::vector<mxArray*>{w(), scalar(3), scalar(2)}; }, {2, 3}},
        {"particles_deterministic", [=] { return std::vector<mxArray*>{w(), scalar(3), scalar(2)}; }, {2, 3}},
        {"weightboot_average",
         [=] { return std::vector<mxArray*>{mu(), scalar(3), matrix(2, 1, {1, 0.5})}; }, {2}},
        {"weightboot_quantile",
         [] {
             return std::vector<mxArray*>{matrix(4, 1, {1, 2, 3, 4}), matrix(1, 2, {50, 25}), scalar(3),
                                          matrix(4, 1, {1, 0, 2, 1})};
         },
         {3}},
        {"metric_pairwise", [] { return std::vector<mxArray*>{metric(), matrix(3, 2, {0, 3, 1, 0, 4, 1})}; }, {}},
        {"psi_eval", [=] { return std::vector<mxArray*>{mu()}; }, {}, true},
        {"hyptan_fast", [=] { return std::vector<mxArray*>{mu()}; }, {}, true},
    };
}

// What one call gave: its message or its result, and the call-backs made.
struct outcome {
    bool failed;
    std::string message;
    std::vector<size_t> dims;
    std::vector<double> values;
    std::vector<std::string> log;
    size_t reclaimed;
};

outcome run(const char* name, std::vector<mxArray*> in) {
    standin::seed(11);
    standin::clear_log();
    harness::args a{};
    a.owned = in;
    auto r = standin::call(harness::module(name), 1, a.list());
    outcome o{r.failed, r.message, {}, {}, {}, r.reclaimed_arrays + r.reclaimed_blocks};
    if (!r.failed) {
        o.dims = standin::dims(r.out[0]);
        o.values = standin::values(r.out[0]);
    }
    for (const auto& c : standin::log())
        o.log.push_back(c.name + " " + std::to_string(c.rows) + "x" + std::to_string(c.cols));
    return o;
}

void expect_same(const outcome& a, const outcome& b, const std::string& what) {
    EXPECT_EQ(a.failed, b.failed) << what << ": " << a.message << " / " << b.message;
    EXPECT_EQ(a.message, b.message) << what;
    EXPECT_EQ(a.dims, b.dims) << what;
    EXPECT_EQ(a.log, b.log) << what;
    ASSERT_EQ(a.values.size(), b.values.size()) << what;
    for (size_t i = 0; i < a.values.size(); ++i)
        EXPECT_TRUE(harness::same_bits(a.values[i], b.values[i])) << what << " at " << i;
}

void expect_refused(const outcome& o, const std::string& message, const std::string& what) {
    EXPECT_TRUE(o.failed) << what;
    EXPECT_EQ(o.message, message) << what;
    EXPECT_TRUE(o.log.empty()) << what << ": no call-back before a refusal";
    EXPECT_EQ(o.reclaimed, 0u) << what << ": nothing made before a refusal";
}

// The valid call with input k (0-based) replaced by change(original).
outcome with(const module_case& mc, size_t k, const std::function<mxArray*(const mxArray*)>& change) {
    std::vector<mxArray*> in = mc.make();
    mxArray* replaced = change(in[k]);
    standin::release(in[k]);
    in[k] = replaced;
    return run(mc.name, in);
}

bool is_size(const module_case& mc, size_t k) {
    for (int s : mc.sizes)
        if (size_t(s) == k + 1) return true;
    return false;
}

std::string input(size_t k) { return "Input " + std::to_string(k + 1); }

// The dimensions of the valid call's inputs.
std::vector<std::vector<size_t>> shapes(const module_case& mc) {
    harness::args a{};
    a.owned = mc.make();
    std::vector<std::vector<size_t>> d;
    for (mxArray* x : a.owned) d.push_back(standin::dims(x));
    return d;
}

// Numeric inputs: all but the metric's structure.
size_t first_numeric(const module_case& mc) { return mc.name == std::string("metric_pairwise") ? 1 : 0; }

std::string class_name(cls c) {
    mxArray* a = standin::of_class(c, {0, 0});
    std::string name = mxGetClassName(a);
    standin::release(a);
    return name;
}

TEST(args, ShapesAndImaginaryParts) {
    for (const module_case& mc : cases()) {
        const outcome plain = run(mc.name, mc.make());
        ASSERT_FALSE(plain.failed) << mc.name << ": " << plain.message;
        const size_t inputs = shapes(mc).size();
        for (size_t k = first_numeric(mc); k < inputs; ++k) {
            const std::string what = std::string(mc.name) + " " + input(k);
            // Two pages of the same values.
            const outcome paged = with(mc, k, [](const mxArray* a) {
                auto d = standin::dims(a);
                auto v = standin::values(a);
                v.insert(v.end(), v.begin(), v.end());
                return standin::array({d[0], d[1], 2}, v);
            });
            if (mc.any_shape) {
                ASSERT_FALSE(paged.failed) << what << ": " << paged.message;
                EXPECT_EQ(paged.dims, (std::vector<size_t>{2, 3, 2})) << what;
                for (size_t i = 0; i < paged.values.size(); ++i)
                    EXPECT_TRUE(harness::same_bits(paged.values[i], plain.values[i % 6])) << what << " at " << i;
            } else {
                expect_refused(paged, input(k) + " must not have more than two dimensions.", what);
            }
            for (double im : {0.0, -0.0, 1e-300, double(NAN)}) {
                const outcome c = with(mc, k, [im](const mxArray* a) {
                    auto d = standin::dims(a);
                    auto v = standin::values(a);
                    std::vector<double> i(v.size(), 0.0);
                    i.back() = im;
                    return standin::complex_matrix(d[0], d[1], v, i);
                });
                if (im == 0)
                    expect_same(c, plain, what + ": complex with zero imaginary parts");
                else
                    expect_refused(c, input(k) + " must be real.", what);
            }
        }
    }
}

TEST(args, IntegerSizesAndEmptyScalars) {
    const cls integers[] = {cls::int8_,  cls::uint8_,  cls::int16_, cls::uint16_,
                            cls::int32_, cls::uint32_, cls::int64_, cls::uint64_};
    for (const module_case& mc : cases()) {
        const outcome plain = run(mc.name, mc.make());
        const auto dims = shapes(mc);
        for (size_t k = first_numeric(mc); k < dims.size(); ++k) {
            const std::string what = std::string(mc.name) + " " + input(k);
            for (cls c : integers) {
                const outcome o = with(mc, k, [c](const mxArray* a) {
                    return standin::numeric(c, standin::dims(a), standin::values(a));
                });
                const std::string name = class_name(c);
                if (is_size(mc, k))
                    expect_same(o, plain, what + " as " + name);
                else
                    expect_refused(o, input(k) + " must be a full double array, not " + name + ".", what);
            }
            // Beyond 2^31 in magnitude, exactly as a double would be.
            if (is_size(mc, k)) {
                expect_refused(with(mc, k, [](const mxArray*) { return standin::numeric(cls::int64_, {1, 1}, {2147483648.0}); }),
                               "Sizes must be finite and smaller than 2^31 in magnitude.", what);
                expect_same(with(mc, k, [](const mxArray*) { return standin::numeric(cls::int32_, {1, 1}, {-2147483647.0}); }),
                            with(mc, k, [](const mxArray*) { return scalar(-2147483647.0); }), what + " at -2^31 + 1");
            }
            // An empty array where a scalar is read reads as 0.
            if (dims[k] == std::vector<size_t>{1, 1})
                expect_same(with(mc, k, [](const mxArray*) { return matrix(0, 0); }),
                            with(mc, k, [](const mxArray*) { return scalar(0); }), what + " empty");
        }
    }
}

}  // namespace
