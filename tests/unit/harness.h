// Helpers for driving modules through the stand-in host.
#ifndef BAYESMEX_TEST_HARNESS_H
#define BAYESMEX_TEST_HARNESS_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "standin.h"

namespace harness {

// Every unit test draws at most 2^26 generated values, a call-back counting
// as 16 (a few seconds of the stand-in, 5 times what the largest test
// takes): a rejection
// loop that a wrong constant keeps from settling fails at once, and so does
// every call after it, instead of running for minutes.
struct value_budget_per_test : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { standin::value_budget(1LL << 26); }
};
inline const bool bounded_streams =
    (::testing::UnitTest::GetInstance()->listeners().Append(new value_budget_per_test), true);

inline std::map<standin::gateway, std::string>& module_names() {
    static std::map<standin::gateway, std::string> names;
    return names;
}

// Loads a deliverable from the build's mexa64 folder (once per test program).
inline standin::gateway module(const std::string& name) {
    static std::map<std::string, standin::gateway> loaded;
    standin::gateway& f = loaded[name];
    if (!f) {
        f = standin::load(std::string(BAYESMEX_MEXA64_DIR) + "/" + name + BAYESMEX_MEX_SUFFIX);
        module_names()[f] = name;
    }
    return f;
}

// Arguments made for one call and released after it.
struct args {
    std::vector<mxArray*> owned;
    args(std::initializer_list<mxArray*> a) : owned(a) {}
    explicit args(std::vector<mxArray*> a) : owned(std::move(a)) {}
    ~args() {
        for (mxArray* a : owned) standin::release(a);
    }
    std::vector<const mxArray*> list() const { return {owned.begin(), owned.end()}; }
};

// One call that owns and releases its inputs.
inline standin::result call(standin::gateway fn, int nlhs, std::vector<mxArray*> in) {
    args a(std::move(in));
    return standin::call(fn, nlhs, a.list());
}
inline standin::result call(standin::gateway fn, int nlhs, std::initializer_list<mxArray*> in) {
    return call(fn, nlhs, std::vector<mxArray*>(in));
}

// Sets (value null: unsets) an environment variable for one scope and puts
// back what it was, so an assertion that returns early leaves no setting
// behind for the next test.
class scoped_env {
public:
    explicit scoped_env(const char* name, const char* value = nullptr) : name_(name) {
        const char* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        set(value);
    }
    ~scoped_env() { set(had_ ? old_.c_str() : nullptr); }
    scoped_env(const scoped_env&) = delete;
    scoped_env& operator=(const scoped_env&) = delete;
    void set(const char* value) {
#if defined(_WIN32)
        // The C runtime's own environment, which getenv reads in every module
        // (msvcrt has no setenv); an empty value removes the variable.
        _putenv_s(name_.c_str(), value ? value : "");
#else
        if (value)
            setenv(name_.c_str(), value, 1);
        else
            unsetenv(name_.c_str());
#endif
    }

private:
    std::string name_, old_;
    bool had_;
};

// The stand-in's "randn" on a generator of its own (or not) for one scope;
// shared, the default, again after it.
struct scoped_streams {
    explicit scoped_streams(bool independent) { standin::independent_streams(independent); }
    ~scoped_streams() { standin::independent_streams(false); }
    void set(bool independent) { standin::independent_streams(independent); }
};

// Strict scripting for one scope, with a fresh call-back log: a value beyond
// the script fails the call.  The only way tests switch strict mode, so an
// assertion that returns early cannot leave it on for the next test.
struct strict_stream {
    strict_stream() {
        standin::strict(true);
        standin::clear_log();
    }
    ~strict_stream() { standin::strict(false); }
};

// A message table: each call fails with its message, under the identifier
// bayesmex:NAME:reason (NAME the module's), before any call-back to the host
// and with nothing made for the host to reclaim.  `what` names the table in
// failures (a module, when one table runs over several).
struct message_row {
    int nlhs;
    std::vector<mxArray*> in;
    const char* message;
};
inline void expect_messages(standin::gateway fn, const std::vector<message_row>& rows) {
    const std::string name = module_names()[fn];
    const std::string prefix = "bayesmex:" + name + ":";
    for (const message_row& r : rows) {
        const std::string what = name + ": " + r.message;
        standin::clear_log();
        auto res = call(fn, r.nlhs, r.in);
        EXPECT_TRUE(res.failed) << what;
        EXPECT_EQ(res.message, r.message) << name;
        EXPECT_EQ(res.identifier.rfind(prefix, 0), 0u) << what << ": identifier " << res.identifier;
        EXPECT_GT(res.identifier.size(), prefix.size()) << what << ": no reason";
        EXPECT_EQ(res.identifier.find(' '), std::string::npos) << what << ": identifier " << res.identifier;
        EXPECT_TRUE(standin::log().empty()) << what << ": no call-back before the checks";
        EXPECT_EQ(res.reclaimed_arrays + res.reclaimed_blocks, 0u) << what << ": a failed call makes nothing";
    }
}

// Bit-for-bit equality, NaN included.
inline bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A shape table: each call, with no output requested (the first slot is still
// filled), succeeds with its row's dimensions and leaves no array behind; then
// check(row, result) sees it, with the call-back log as the call left it.
struct shape_row {
    std::vector<mxArray*> in;
    std::vector<size_t> dims;
};
template <class F>
void expect_shapes(standin::gateway fn, const std::vector<shape_row>& rows, F check) {
    for (const shape_row& r : rows) {
        standin::clear_log();
        auto res = call(fn, 0, r.in);
        ASSERT_FALSE(res.failed) << res.message;
        EXPECT_EQ(standin::dims(res.out[0]), r.dims);
        EXPECT_EQ(res.reclaimed_arrays, 0u) << "every fetched block is destroyed";
        check(r, res);
    }
}

// An elementwise function's shape table (one input a row): each result has
// its input's dimensions and every element the bits of ref(element).
template <class F>
void expect_elementwise(standin::gateway fn, const std::vector<shape_row>& rows, F ref) {
    for (const shape_row& r : rows) {
        const std::vector<double> in = standin::values(r.in[0]);
        auto res = call(fn, 0, r.in);
        ASSERT_FALSE(res.failed) << res.message;
        EXPECT_EQ(standin::dims(res.out[0]), r.dims);
        const std::vector<double> out = standin::values(res.out[0]);
        ASSERT_EQ(out.size(), in.size());
        for (size_t i = 0; i < in.size(); ++i) EXPECT_TRUE(same_bits(out[i], ref(in[i]))) << i;
    }
}

// A module's call against the one-value-at-a-time draws of plain(expect)
// from the same seed: the same bits, as many values taken from "rand" and
// "randn", both generators left at the same next value, nothing left behind.
// Gives the call-backs of both, for the caller's bound on blocks.
struct stream_match {
    size_t plain_callbacks, callbacks;
};
template <class Plain, class Call>
stream_match expect_same_stream(uint64_t seed, Plain plain, Call module_call, const std::string& what) {
    std::vector<double> expect;
    standin::seed(seed);
    standin::clear_log();
    auto ref = standin::run([&] { plain(expect); });
    EXPECT_FALSE(ref.failed) << what << ": " << ref.message;
    const long long uniforms = standin::values_taken("rand"), normals = standin::values_taken("randn");
    const size_t plain_callbacks = standin::log().size();
    const double after = standin::next_rand(), after_normal = standin::next_randn();
    standin::seed(seed);
    standin::clear_log();
    const standin::result r = module_call();
    const stream_match m{plain_callbacks, standin::log().size()};
    EXPECT_FALSE(r.failed) << what << ": " << r.message;
    if (r.failed) return m;
    const std::vector<double> got = standin::values(r.out[0]);
    EXPECT_EQ(got.size(), expect.size()) << what;
    for (size_t i = 0; i < got.size() && i < expect.size(); ++i)
        if (!same_bits(got[i], expect[i])) {
            ADD_FAILURE() << what << ", element " << i << ": " << got[i] << " vs " << expect[i];
            break;
        }
    EXPECT_EQ(standin::values_taken("rand"), uniforms) << what;
    EXPECT_EQ(standin::values_taken("randn"), normals) << what;
    EXPECT_EQ(standin::next_rand(), after) << what;
    EXPECT_EQ(standin::next_randn(), after_normal) << what;
    EXPECT_EQ(r.reclaimed_arrays, 0u) << what;
    return m;
}

// Runs body(width) with the lane width forced to each of 1, 2, 4 and 8
// (BAYESMEX_SIMD, read by the modules at every call; a width the CPU lacks
// runs the widest it has), then puts back the setting it found.
template <class F>
void each_simd_width(F body) {
    scoped_env simd("BAYESMEX_SIMD");
    for (const char* width : {"1", "2", "4", "8"}) {
        simd.set(width);
        body(width);
    }
}

// Runs body(what) under thread settings that must all give the bits of one
// thread: several threads, more threads than pieces of work, and threads the
// system refuses (BAYESMEX_THREADS_REFUSE=K: none after the first K), then
// puts back the settings it found.
template <class F>
void each_thread_setting(F body) {
    const char* settings[][2] = {{"2", nullptr}, {"3", nullptr}, {"256", nullptr}, {"4", "1"}, {"3", "0"}};
    scoped_env threads("BAYESMEX_THREADS"), refuse("BAYESMEX_THREADS_REFUSE");
    for (const auto& s : settings) {
        threads.set(s[0]);
        refuse.set(s[1]);
        body(std::string(s[0]) + " threads" + (s[1] ? std::string(", refused after ") + s[1] : ""));
    }
}

// An elementwise kernel fn over x, at every lane width, gives under every
// thread setting the bits it gives on one thread.
inline void expect_same_on_threads(standin::gateway fn, const std::vector<double>& x) {
    auto eval = [&] {
        auto r = call(fn, 1, {standin::matrix(1, x.size(), x)});
        EXPECT_FALSE(r.failed) << r.message;
        return r.failed ? std::vector<double>() : standin::values(r.out[0]);
    };
    each_simd_width([&](const char* width) {
        std::vector<double> one;
        {
            scoped_env threads("BAYESMEX_THREADS", "1");
            one = eval();
        }
        ASSERT_EQ(one.size(), x.size());
        each_thread_setting([&](const std::string& what) {
            const std::vector<double> got = eval();
            ASSERT_EQ(got.size(), x.size()) << what;
            for (size_t i = 0; i < x.size(); ++i)
                ASSERT_TRUE(same_bits(got[i], one[i])) << what << ", width " << width << ", element " << i;
        });
    });
}

}  // namespace harness

// The names nearly every unit test uses.
using harness::call;
using harness::same_bits;
using harness::strict_stream;
using standin::matrix;
using standin::scalar;

#endif
