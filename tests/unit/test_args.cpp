// The argument rules every module shares, tried on every module of the
// manifest from the valid call of its contract (contracts.h): an input with a third dimension above 1, or with a
// non-zero imaginary part, is refused before anything is made or drawn; a
// complex input whose imaginary parts are all zero, an integer-class size and
// an empty array where a size is read give exactly what the double (or 0)
// gives, with the same call-backs; an empty parameter gives no element.
#include <cmath>
#include <functional>

#include "contracts.h"
#include "harness.h"

using standin::cls;

namespace {

// One module's row of the contract table.
struct module_case {
    const char* name;
    const char* call;  // a valid call, Octave text
    const char* shape;
    const char* except;
    std::vector<mxArray*> make() const { return contracts::parse(call).in; }
    int nout() const { return contracts::parse(call).nout; }
    bool is_size(size_t k) const { return contracts::has_word(sizes_, std::to_string(k + 1)); }
    bool takes(const char* check) const { return !contracts::has_word(except, check); }
    const char* sizes_;
};

std::vector<module_case> cases() {
    std::vector<module_case> c;
    for (const contracts::table_row& r : contracts::table)
        if (r.module) c.push_back({r.name, r.call, r.shape, r.except, r.sizes});
    return c;
}

// What one call gave: its message or its result, and the call-backs made.
struct outcome {
    bool failed;
    std::string message, identifier;
    std::vector<size_t> dims;
    std::vector<double> values;
    std::vector<std::string> log;
    size_t reclaimed;
};

outcome run(const char* name, std::vector<mxArray*> in, int nout = 1) {
    standin::seed(11);
    standin::clear_log();
    auto r = harness::call(harness::module(name), nout, in);
    outcome o{r.failed, r.message, r.identifier, {}, {}, {}, r.reclaimed_arrays + r.reclaimed_blocks};
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
    EXPECT_EQ(o.identifier.rfind("bayesmex:", 0), 0u) << what << ": identifier " << o.identifier;
    EXPECT_TRUE(o.log.empty()) << what << ": no call-back before a refusal";
    EXPECT_EQ(o.reclaimed, 0u) << what << ": nothing made before a refusal";
}

// The valid call with input k (0-based) replaced by change(original).
outcome with(const module_case& mc, size_t k, const std::function<mxArray*(const mxArray*)>& change) {
    std::vector<mxArray*> in = mc.make();
    mxArray* replaced = change(in[k]);
    standin::release(in[k]);
    in[k] = replaced;
    return run(mc.name, in, mc.nout());
}

std::string input(size_t k) { return "Input " + std::to_string(k + 1); }

// The dimensions of the valid call's inputs.
std::vector<std::vector<size_t>> shapes(const module_case& mc) {
    harness::args a(mc.make());
    std::vector<std::vector<size_t>> d;
    for (mxArray* x : a.owned) d.push_back(standin::dims(x));
    return d;
}

// The shared rules are those of numeric inputs: a structure, a cell, a text or
// a logical input has rules of its own.
bool numeric(const module_case& mc, size_t k) {
    harness::args a(mc.make());
    return mxIsDouble(a.owned[k]);
}

std::string class_name(cls c) {
    mxArray* a = standin::of_class(c, {0, 0});
    std::string name = mxGetClassName(a);
    standin::release(a);
    return name;
}

// Every module of the manifest has its row, and its call names it.
TEST(args, EveryModuleHasItsCall) {
    size_t modules = 0;
    for (const contracts::table_row& r : contracts::table) {
        if (!r.module) continue;
        ++modules;
        contracts::call_text c = contracts::parse(r.call);
        EXPECT_EQ(c.name, r.name);
        EXPECT_GE(c.nout, 1) << r.name;
        for (mxArray* a : c.in) standin::release(a);
        EXPECT_NE(harness::module(r.name), nullptr) << r.name;
    }
    EXPECT_EQ(modules, cases().size());
    EXPECT_GT(modules, 0u);
}

TEST(args, ShapesAndImaginaryParts) {
    for (const module_case& mc : cases()) {
        const outcome plain = run(mc.name, mc.make(), mc.nout());
        ASSERT_FALSE(plain.failed) << mc.name << ": " << plain.message;
        const auto dims = shapes(mc);
        for (size_t k = 0; k < dims.size(); ++k) {
            if (!numeric(mc, k)) continue;
            const std::string what = std::string(mc.name) + " " + input(k);
            // Two pages of the same values.
            const outcome paged = with(mc, k, [](const mxArray* a) {
                auto d = standin::dims(a);
                auto v = standin::values(a);
                v.insert(v.end(), v.begin(), v.end());
                return standin::array({d[0], d[1], 2}, v);
            });
            const std::vector<size_t> two_pages{dims[k][0], dims[k][1], 2};
            if (std::string(mc.shape) == "any") {
                // Elementwise: each page is the plain result.
                ASSERT_FALSE(paged.failed) << what << ": " << paged.message;
                EXPECT_EQ(paged.dims, two_pages) << what;
                for (size_t i = 0; i < paged.values.size(); ++i)
                    EXPECT_TRUE(harness::same_bits(paged.values[i], plain.values[i % plain.values.size()]))
                        << what << " at " << i;
            } else if (std::string(mc.shape) == "keep") {
                ASSERT_FALSE(paged.failed) << what << ": " << paged.message;
                EXPECT_EQ(paged.dims, two_pages) << what;
            } else if (mc.takes("pages")) {
                expect_refused(paged, input(k) + " must not have more than two dimensions.", what);
            }
            if (!mc.takes("complex")) continue;
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
        const outcome plain = run(mc.name, mc.make(), mc.nout());
        const auto dims = shapes(mc);
        for (size_t k = 0; k < dims.size(); ++k) {
            if (!numeric(mc, k)) continue;
            const std::string what = std::string(mc.name) + " " + input(k);
            for (cls c : integers) {
                if (!mc.takes("integers")) break;
                const outcome o = with(mc, k, [c](const mxArray* a) {
                    return standin::numeric(c, standin::dims(a), standin::values(a));
                });
                const std::string name = class_name(c);
                if (mc.is_size(k))
                    expect_same(o, plain, what + " as " + name);
                else
                    expect_refused(o, input(k) + " must be a full double array, not " + name + ".", what);
            }
            // Beyond 2^31 in magnitude, exactly as a double would be.
            if (mc.is_size(k)) {
                expect_refused(with(mc, k, [](const mxArray*) { return standin::numeric(cls::int64_, {1, 1}, {2147483648.0}); }),
                               "Sizes must be finite and smaller than 2^31 in magnitude.", what);
                expect_same(with(mc, k, [](const mxArray*) { return standin::numeric(cls::int32_, {1, 1}, {-2147483647.0}); }),
                            with(mc, k, [](const mxArray*) { return scalar(-2147483647.0); }), what + " at -2^31 + 1");
            }
            // An empty array where a size is read reads as 0; an empty
            // parameter gives an empty result and draws nothing, or is
            // inconsistent with the sizes the call gives.
            if (dims[k] == std::vector<size_t>{1, 1} && mc.takes("empty")) {
                const outcome e = with(mc, k, [](const mxArray*) { return matrix(0, 0); });
                if (mc.is_size(k)) {
                    expect_same(e, with(mc, k, [](const mxArray*) { return scalar(0); }), what + " empty");
                } else if (e.failed) {
                    expect_refused(e, "Size information is inconsistent.", what + " empty");
                } else {
                    EXPECT_TRUE(e.values.empty()) << what << " empty: no element";
                    EXPECT_TRUE(e.log.empty()) << what << " empty: nothing drawn";
                }
            }
        }
    }
}

}  // namespace
