// Helpers for driving modules through the stand-in host.
#ifndef BAYESMEX_TEST_HARNESS_H
#define BAYESMEX_TEST_HARNESS_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
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

// Loads a deliverable from the build's mexa64 folder.
inline standin::gateway module(const std::string& name) {
    return standin::load(std::string(BAYESMEX_MEXA64_DIR) + "/" + name + ".mexa64");
}

// Arguments made for one call and released after it.
struct args {
    std::vector<mxArray*> owned;
    args(std::initializer_list<mxArray*> a) : owned(a) {}
    ~args() {
        for (mxArray* a : owned) standin::release(a);
    }
    std::vector<const mxArray*> list() const { return {owned.begin(), owned.end()}; }
};

inline standin::result call(standin::gateway fn, int nlhs, std::initializer_list<mxArray*> in) {
    args a(in);
    return standin::call(fn, nlhs, a.list());
}

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

// A message table: each call fails with its message before any call-back to
// the host and with nothing made for the host to reclaim.
struct message_row {
    int nlhs;
    std::vector<mxArray*> in;
    const char* message;
};
inline void expect_messages(standin::gateway fn, const std::vector<message_row>& rows) {
    for (const message_row& r : rows) {
        args a{};
        a.owned = r.in;
        standin::clear_log();
        auto res = standin::call(fn, r.nlhs, a.list());
        EXPECT_TRUE(res.failed) << r.message;
        EXPECT_EQ(res.message, r.message);
        EXPECT_EQ(res.identifier.rfind("bayesmex:", 0), 0u) << "no identifier: " << r.message;
        EXPECT_TRUE(standin::log().empty()) << "no call-back before the checks: " << r.message;
        EXPECT_EQ(res.reclaimed_arrays, 0u) << "a failed call makes nothing: " << r.message;
    }
}

// Runs body(width) with the lane width forced to each of 1, 2, 4 and 8
// (BAYESMEX_SIMD, read by the modules at every call; a width the CPU lacks
// runs the widest it has), then restores the setting.
template <class F>
void each_simd_width(F body) {
    const char* old = std::getenv("BAYESMEX_SIMD");
    const std::string saved = old ? old : "";
    for (const char* width : {"1", "2", "4", "8"}) {
        setenv("BAYESMEX_SIMD", width, 1);
        body(width);
    }
    if (old)
        setenv("BAYESMEX_SIMD", saved.c_str(), 1);
    else
        unsetenv("BAYESMEX_SIMD");
}

// Runs body(what) under thread settings that must all give the bits of one
// thread: several threads, more threads than pieces of work, and threads the
// system refuses (BAYESMEX_THREADS_REFUSE=K: none after the first K), then
// restores the defaults.
template <class F>
void each_thread_setting(F body) {
    const char* settings[][2] = {{"2", nullptr}, {"3", nullptr}, {"256", nullptr}, {"4", "1"}, {"3", "0"}};
    for (const auto& s : settings) {
        setenv("BAYESMEX_THREADS", s[0], 1);
        if (s[1]) setenv("BAYESMEX_THREADS_REFUSE", s[1], 1);
        body(std::string(s[0]) + " threads" + (s[1] ? std::string(", refused after ") + s[1] : ""));
        unsetenv("BAYESMEX_THREADS_REFUSE");
    }
    unsetenv("BAYESMEX_THREADS");
}

// Bit-for-bit equality, NaN included.
inline bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// An elementwise kernel fn over x, at every lane width, gives under every
// thread setting the bits it gives on one thread.
inline void expect_same_on_threads(standin::gateway fn, const std::vector<double>& x) {
    auto eval = [&] {
        auto r = call(fn, 1, {standin::matrix(1, x.size(), x)});
        EXPECT_FALSE(r.failed) << r.message;
        return r.failed ? std::vector<double>() : standin::values(r.out[0]);
    };
    each_simd_width([&](const char* width) {
        setenv("BAYESMEX_THREADS", "1", 1);
        const std::vector<double> one = eval();
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

#endif
