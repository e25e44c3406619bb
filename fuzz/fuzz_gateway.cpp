// libFuzzer target for one gateway (the module source is compiled in): the
// fuzzer's bytes become an argument list, an output count and the host's
// random stream, and the call runs through the stand-in host.  A crash, a
// sanitizer report, a hang (libFuzzer's -timeout) or anything the host could
// not reclaim fails the run.
//
// Encoding, byte by byte (a short input reads as zeros):
//   nrhs (mod 7), nlhs (mod 3), then each argument:
//     class (mod 14): 0-4 double, 5 complex, 6 sparse, 7 integer, 8 single,
//       9 logical, 10 char, 11 cell, 12 struct, 13 function handle;
//     integer: a byte choosing int8, uint8, ..., uint64 (mod 8), then as
//       double, the values cast to the class;
//     dimensions: count (2 or 3), then each (mod 8);
//     double elements: one byte each, an index into special_values when
//       below its size, else (byte - size) / 8; complex: then a byte, odd
//       for imaginary parts equal to the real ones, even for all zero;
//     char: one of the texts below; cell: elements as arguments; struct:
//       field count (mod 5), then per field a name index and an argument;
//   then the stream: a seed byte, and per scripted value a tag byte
//   (even: "rand", odd: "randn") and a value byte.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "standin.h"

namespace {

const double special_values[] = {
    NAN, INFINITY, -INFINITY, 0.0, -0.0, 1.0, 2.0, 3.0, 0.5, 2.9, -1.0, -2.5, 1e308, -1e308,
    5e-324, 1e-300, 1e-5, 2e-5, 18.0, 1.5e-8, 2147483647.0, 2147483648.0, -2147483649.0,
    4294967296.0, 1e10, 100.0, 1e5, 1e4, -1e5, 0.1, 1e-15, 65536.0};
const size_t n_special = sizeof special_values / sizeof special_values[0];
const char* texts[] = {"metric_euclidean", "Metric_Euclidean", "", "x", "metric_euclidean "};
const char* field_names[] = {"type", "lengthScale", "components", "deltadist", "other"};

struct reader {
    const uint8_t* p;
    size_t n;
    uint8_t byte() {
        if (!n) return 0;
        --n;
        return *p++;
    }
    double value() {
        uint8_t b = byte();
        return b < n_special ? special_values[b] : (b - n_special) / 8.0;
    }
};

std::vector<size_t> dims(reader& r) {
    std::vector<size_t> d(2 + r.byte() % 2);
    for (size_t& x : d) x = r.byte() % 8;
    return d;
}

size_t count(const std::vector<size_t>& d) {
    size_t n = 1;
    for (size_t x : d) n *= x;
    return n;
}

mxArray* argument(reader& r, int depth) {
    int c = r.byte() % 14;
    if (depth > 2 && (c == 11 || c == 12)) c = 0;
    switch (c) {
        case 5: {
            std::vector<size_t> d = dims(r);
            std::vector<double> re(count(d)), im(count(d));
            for (double& v : re) v = r.value();
            if (r.byte() % 2) im = re;
            return standin::complex_matrix(d[0], count(d) / (d[0] ? d[0] : 1), re, im);
        }
        case 6: {
            size_t rows = r.byte() % 8, cols = r.byte() % 8;
            return standin::sparse(rows, cols, r.byte() % (rows * cols + 1), r.byte() % 2);
        }
        case 7: {
            static const standin::cls integers[] = {
                standin::cls::int8_,  standin::cls::uint8_,  standin::cls::int16_, standin::cls::uint16_,
                standin::cls::int32_, standin::cls::uint32_, standin::cls::int64_, standin::cls::uint64_};
            const standin::cls c = integers[r.byte() % 8];
            std::vector<size_t> d = dims(r);
            std::vector<double> v(count(d));
            for (double& x : v) x = r.value();
            return standin::numeric(c, d, v);
        }
        case 8: return standin::of_class(standin::cls::single_, dims(r));
        case 9: {
            size_t rows = r.byte() % 8, cols = r.byte() % 8;
            mxArray* a = standin::logical(rows, cols);
            auto* data = static_cast<unsigned char*>(mxGetData(a));
            for (size_t i = 0; i < rows * cols; ++i) data[i] = r.byte() % 3;
            return a;
        }
        case 10: return standin::text(texts[r.byte() % 5]);
        case 11: {
            size_t rows = r.byte() % 4, cols = r.byte() % 4;
            std::vector<mxArray*> el(rows * cols);
            for (mxArray*& e : el) e = r.byte() % 4 ? argument(r, depth + 1) : nullptr;
            return standin::cell(rows, cols, el);
        }
        case 12: {
            std::vector<std::pair<std::string, mxArray*>> f;
            for (int k = r.byte() % 5; k > 0; --k) {
                std::string name = field_names[r.byte() % 5];
                f.emplace_back(name, argument(r, depth + 1));
            }
            return standin::structure(f);
        }
        case 13: return standin::of_class(standin::cls::function_, {1, 1});
        default: {
            std::vector<size_t> d = dims(r);
            std::vector<double> v(count(d));
            for (double& x : v) x = r.value();
            return standin::array(d, v);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Small enough that the largest legitimate call stays fast.
    standin::memory_limit(size_t(32) << 10);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    reader r{data, size};
    const int nrhs = r.byte() % 7, nlhs = r.byte() % 3;
    std::vector<mxArray*> args;
    for (int i = 0; i < nrhs; ++i) args.push_back(argument(r, 0));

    // The host's stream: values strictly inside (0, 1) for "rand", finite
    // values for "randn", then the seeded generator.
    standin::seed(r.byte());
    standin::strict(false);
    standin::clear_log();
    std::vector<double> u, z;
    while (r.n >= 2) {
        bool normal = r.byte() % 2;
        double v = r.value();
        if (normal) {
            z.push_back(std::isfinite(v) ? v : 0.0);
        } else {
            v = std::fabs(v);
            if (!(v > 0.0 && v < 1.0)) v = std::ldexp(std::fmod(std::isfinite(v) ? v : 0.5, 1.0) + 0.5, -1);
            u.push_back(v);
        }
    }
    standin::script_rand(u);
    standin::script_randn(z);
    {
        std::vector<const mxArray*> in(args.begin(), args.end());
        standin::result res = standin::call(mexFunction, nlhs, in);
        // Every refusal of the module's own carries an identifier callers can
        // branch on; only the stand-in's own failures have none.
        if (res.failed && res.message.rfind("stand-in:", 0) != 0 &&
            res.identifier.rfind("bayesmex:", 0) != 0) {
            std::fprintf(stderr, "error without identifier: %s\n", res.message.c_str());
            std::abort();
        }
    }
    for (mxArray* a : args) standin::release(a);
    // Hand back the host's own buffers as well: libFuzzer runs an input a
    // second time, looking for leaks, whenever it allocated more than it freed.
    standin::seed(0);
    standin::clear_log();
    if (standin::live_arrays() != 0 || standin::live_blocks() != 0) {
        std::fprintf(stderr, "host could not reclaim %zu arrays and %zu blocks\n",
                     standin::live_arrays(), standin::live_blocks());
        std::abort();
    }
    return 0;
}
