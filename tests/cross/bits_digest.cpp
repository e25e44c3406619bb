// Prints a digest of the bits every module gives for fixed inputs and a fixed
// stand-in stream, one line per case, and of the C library's functions the
// modules call, over the ranges they use.  Run on two machines (or natively
// and under an emulator), the same lines mean the same bits; a line that
// differs names the module and case, and the libm lines say whether the C
// library itself gives other values there.  `bits_digest --values` prints
// every value in hex instead of the digest, to find the first that differs.
#include "standin.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using standin::matrix;
using standin::scalar;

bool g_values = false;

// Inputs from xorshift64 (Marsaglia 2003), independent of any library.
uint64_t g_state = 88172645463325252ULL;
double u01() {
    g_state ^= g_state << 13;
    g_state ^= g_state >> 7;
    g_state ^= g_state << 17;
    return (double(g_state >> 11) + 0.5) * 0x1p-53;
}
std::vector<double> uniforms(size_t n, double lo, double hi) {
    std::vector<double> v(n);
    for (double& x : v) x = lo + (hi - lo) * u01();
    return v;
}

uint64_t bits(double x) {
    uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

// The bits of each value in turn through splitmix64's finalizer (Steele,
// Lea and Flood 2014), so every bit of every value reaches the digest.
void report(const std::string& what, const std::vector<double>& v) {
    if (g_values) {
        for (size_t i = 0; i < v.size(); ++i)
            std::printf("%s %zu %016llx\n", what.c_str(), i, (unsigned long long)bits(v[i]));
        return;
    }
    uint64_t h = v.size();
    for (double x : v) {
        h = (h ^ bits(x)) + 0x9e3779b97f4a7c15ULL;
        h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ULL;
        h = (h ^ (h >> 27)) * 0x94d049bb133111ebULL;
        h ^= h >> 31;
    }
    std::printf("%-44s %7zu %016llx\n", what.c_str(), v.size(), (unsigned long long)h);
}

standin::gateway module(const char* name) {
    return standin::load(std::string(BAYESMEX_MEXA64_DIR) + "/" + name + BAYESMEX_MEX_SUFFIX);
}

// One call from a fresh stream: the values of every output, in order.
std::vector<double> run(const char* name, int nlhs, std::vector<mxArray*> in) {
    standin::seed(7);
    std::vector<const mxArray*> args(in.begin(), in.end());
    auto r = standin::call(module(name), nlhs, args);
    for (mxArray* a : in) standin::release(a);
    std::vector<double> all;
    if (r.failed) {
        std::printf("%s failed: %s\n", name, r.message.c_str());
        return all;
    }
    for (int k = 0; k < nlhs; ++k) {
        auto v = standin::values(r.out[k]);
        all.insert(all.end(), v.begin(), v.end());
    }
    return all;
}

// Single draws: `calls` calls of one module in one stream.
std::vector<double> repeat(const char* name, int calls, std::vector<double> p) {
    standin::seed(7);
    std::vector<double> all;
    for (int i = 0; i < calls; ++i) {
        std::vector<mxArray*> in;
        for (double x : p) in.push_back(scalar(x));
        std::vector<const mxArray*> args(in.begin(), in.end());
        auto r = standin::call(module(name), 1, args);
        for (mxArray* a : in) standin::release(a);
        if (r.failed) {
            std::printf("%s failed: %s\n", name, r.message.c_str());
            return all;
        }
        all.push_back(standin::values(r.out[0])[0]);
    }
    return all;
}

std::string str(double x) {
    char b[32];
    std::snprintf(b, sizeof b, "%g", x);
    return b;
}

void libm() {
    const size_t n = 1 << 18;
    std::vector<double> x, y;
    auto one = [&](const char* what, double lo, double hi, double (*f)(double)) {
        x = uniforms(n, lo, hi);
        y.resize(n);
        for (size_t i = 0; i < n; ++i) y[i] = f(x[i]);
        report(std::string("libm ") + what, y);
    };
    one("exp (-40, 40)", -40, 40, [](double t) { return std::exp(t); });
    one("log (0, 1)", 0, 1, [](double t) { return std::log(t); });
    one("log (0, 1e6)", 0, 1e6, [](double t) { return std::log(t); });
    one("expm1 (-2, 2)", -2, 2, [](double t) { return std::expm1(t); });
    one("tan (-pi/2, pi/2)", -1.5707963, 1.5707963, [](double t) { return std::tan(t); });
    one("tanh (-20, 20)", -20, 20, [](double t) { return std::tanh(t); });
    one("cos (0, 2 pi)", 0, 6.283185307179586, [](double t) { return std::cos(t); });
    one("log2 (0, 1e6)", 0, 1e6, [](double t) { return std::log2(t); });
    x = uniforms(n, 0, 1);
    auto e = uniforms(n, 0.1, 10);
    y.resize(n);
    for (size_t i = 0; i < n; ++i) y[i] = std::pow(x[i], 1 / e[i]);
    report("libm pow (u, 1/a), a in (0.1, 10)", y);
}

void modules() {
    report("bayesmex_seed(2026, 3)", run("bayesmex_seed", 2, {scalar(2026), scalar(3)}));
    // The stand-in's own normal generator (Box-Muller: log and cos).
    std::vector<double> rn;
    standin::seed(7);
    standin::run([&] {
        mxArray* out = nullptr;
        mxArray* dims[2] = {mxCreateDoubleScalar(4096), mxCreateDoubleScalar(1)};
        mexCallMATLAB(1, &out, 2, dims, "randn");
        rn = standin::values(out);
    });
    report("stand-in randn (log, cos)", rn);
    report("exponential_draw(2.5, 1000, 1)", run("exponential_draw", 1, {scalar(2.5), scalar(1000), scalar(1)}));
    for (double nu : {5.0, 1.0, 0.3, 40.0}) {
        report("meanshape_draw(2, " + str(nu) + ", 1000, 1)",
               run("meanshape_draw", 1, {scalar(2), scalar(nu), scalar(1000), scalar(1)}));
        report("invchisq_draw(1.5, " + str(nu) + ", 1000, 1)",
               run("invchisq_draw", 1, {scalar(1.5), scalar(nu), scalar(1000), scalar(1)}));
        report("meanshape_draw1(2, " + str(nu) + ") x 200", repeat("meanshape_draw1", 200, {2, nu}));
        report("invchisq_draw1(1.5, " + str(nu) + ") x 200", repeat("invchisq_draw1", 200, {1.5, nu}));
    }
    for (double nu : {0.7, 1.0, 2.0, 5.0, 40.0})
        report("studentt_draw(" + str(nu) + ", 1000, 1)",
               run("studentt_draw", 1, {scalar(nu), scalar(1000), scalar(1)}));
    report("studentt_draw(nu in (0.5, 8), 1000 x 1)", run("studentt_draw", 1, {matrix(1000, 1, uniforms(1000, 0.5, 8))}));
    const std::vector<std::vector<double>> laws = {
        {2, 10, 0, 1, 1}, {1, 30, 0, 1, 1}, {1, 2, 3, 4, 5}, {0.5, 30, 2, 1, 20}, {0.01, 1, 1, 100, 0.5}};
    for (const auto& p : laws)
        report("hyperscale_draw1(" + str(p[0]) + " " + str(p[1]) + " " + str(p[2]) + " " + str(p[3]) + " " +
                   str(p[4]) + ") x 200",
               repeat("hyperscale_draw1", 200, p));
    report("simplex_draw(10, 100)", run("simplex_draw", 1, {scalar(10), scalar(100)}));
    report("hyptan_fast(x in (-20, 20))", run("hyptan_fast", 1, {matrix(10000, 1, uniforms(10000, -20, 20))}));
    report("psi_eval(x in (-10, 20))", run("psi_eval", 1, {matrix(10000, 1, uniforms(10000, -10, 20))}));
    report("psi_eval(x in (0, 1e6))", run("psi_eval", 1, {matrix(10000, 1, uniforms(10000, 0, 1e6))}));
    const auto w = uniforms(1000, 0, 1);
    for (const char* s : {"particles_multinomial", "particles_residual", "particles_stratified",
                          "particles_deterministic", "particles_systematic"})
        report(std::string(s) + "(w, 1000, 1)", run(s, 1, {matrix(1000, 1, w), scalar(1000), scalar(1)}));
    report("particles_weights(logw in (-50, 0))", run("particles_weights", 3, {matrix(1000, 1, uniforms(1000, -50, 0))}));
    const auto x = uniforms(300, -3, 3);
    auto sorted = std::vector<double>(x.begin(), x.begin() + 100);
    std::sort(sorted.begin(), sorted.end());
    report("weightboot_average(X 100 x 3, 200)", run("weightboot_average", 1, {matrix(100, 3, x), scalar(200)}));
    report("weightboot_quantile(X 100 x 1, [5 50 95], 200)",
           run("weightboot_quantile", 1, {matrix(100, 1, sorted),
                                          matrix(1, 3, {5, 50, 95}), scalar(200)}));
    std::vector<mxArray*> comps = {matrix(1, 2, {1, 2}), matrix(1, 3, {3, 4, 5}), matrix(1, 2, {6, 7})};
    std::vector<std::pair<std::string, mxArray*>> f = {
        {"type", standin::text("metric_euclidean")},
        {"lengthScale", matrix(1, 3, {0.7, 1.3, 2})},
        {"components", standin::cell(1, 3, comps)},
        {"deltadist", standin::logical(1, 3, {0, 0, 1})}};
    report("metric_pairwise(metric, X 60 x 7)",
           run("metric_pairwise", 1, {standin::structure(f), matrix(60, 7, uniforms(420, -2, 2))}));
}

}  // namespace

int main(int argc, char** argv) {
    g_values = argc > 1 && std::strcmp(argv[1], "--values") == 0;
    libm();
    modules();
    return 0;
}
