// The adaptive rejection sampler on scripted streams, with a test call-back
// that records where it is evaluated and can answer proposals with chosen
// values to steer the hull updates, and an observer that records the hull
// each proposal was drawn from.
#include <cmath>
#include <functional>

#include "ars.h"
#include "harness.h"

namespace {

struct hull_entry {
    double x, slope, intercept, z, mass;
};

// Bracketing evaluations (the first `bracket_calls`) use h = -x^2 / (2 s2);
// proposals are answered by `answer` when set, else by the same density.
struct probe_log {
    double s2 = 1.0;
    int bracket_calls = 4;
    std::function<double(double* d, double y, int proposal)> answer;
    std::vector<double> xs;                   // every abscissa evaluated
    std::vector<std::vector<hull_entry>> hulls;  // the hull at each proposal
};

void observe(void* data, const hull_node* first) {
    std::vector<hull_entry> h;
    for (const hull_node* n = first; n && h.size() <= ARS_POOL; n = n->next)
        h.push_back({n->x, n->slope, n->intercept, n->z, n->mass});
    static_cast<probe_log*>(data)->hulls.push_back(h);
}

double logdens(double* d, void* data, double x) {
    probe_log* p = static_cast<probe_log*>(data);
    p->xs.push_back(x);
    const int call = int(p->xs.size());
    if (call > p->bracket_calls && p->answer) return p->answer(d, x, call - p->bracket_calls);
    *d = -x / p->s2;
    return -x * x / (2 * p->s2);
}

struct ars_test : ::testing::Test {
    void SetUp() override {
        standin::seed(5);
        standin::strict(true);
        standin::clear_log();
    }
    void TearDown() override { standin::strict(false); }
    // One ars call; returns its draw (NaN when the call failed, message kept).
    double draw(probe_log& p, double x0, double step, std::string* message = nullptr) {
        double y = NAN;
        const size_t live = standin::live_arrays();
        auto r = standin::run([&] {
            rand_stream rs = rand_open();
            y = ars(&rs, logdens, &p, x0, step, observe);
            EXPECT_EQ(rand_pending(&rs), 0);
        });
        if (message) *message = r.message;
        else EXPECT_FALSE(r.failed) << r.message;
        EXPECT_EQ(r.reclaimed_arrays, 0u);
        EXPECT_EQ(standin::live_arrays(), live) << "no host array outlives the call";
        return y;
    }
};

// Normal bracket from x0 = 0, step 1: nodes at -1 (slope 1) and 1 (slope -1),
// both intercepts 0.5, meeting at z = 0; hull maximum 0.5, masses 1 and 1.
TEST_F(ars_test, StartAtTheModeStepsLeftAndDrawsPiecePositionAcceptanceInOrder) {
    probe_log p;
    standin::script_rand({0.25, 0.5, 0.5});  // first piece, y = 0 + log(0.5) / 1, accepted
    double y = draw(p, 0, 1);
    EXPECT_TRUE(same_bits(y, std::log(0.5)));
    EXPECT_EQ(p.xs, (std::vector<double>{0, -1, 0, 1, y}));
    ASSERT_EQ(p.hulls.size(), 1u);
    EXPECT_EQ(p.hulls[0].size(), 2u);

    // The last piece with position 0.25: y = 0 + log(0.25) / -1; a third
    // value of 0 accepts whatever the ratio.
    probe_log q;
    standin::script_rand({0.75, 0.25, 0.0});
    EXPECT_TRUE(same_bits(draw(q, 0, 1), std::log(0.25) / -1.0));
    EXPECT_EQ(standin::scripted_left(), 0u);
    EXPECT_EQ(standin::log().size(), 2u) << "one call-back per proposal";
    for (const auto& c : standin::log()) EXPECT_EQ(c.values, 3);
}

TEST_F(ars_test, RightNodeStaysAtTheStartWhenALeftProbeRoseEnough) {
    // x0 = 1 (h' = -1): the left search passes the mode (h = 0 at 0) and stops
    // at -2; G = 0 leaves h(1) = -0.5 low enough, so no right step.
    probe_log p;
    standin::script_rand({0.5, 0.5, 0.0});
    draw(p, 1, 1);
    EXPECT_EQ(std::vector<double>(p.xs.begin(), p.xs.begin() + 4), (std::vector<double>{1, 0, -2, 1}));
    ASSERT_EQ(p.hulls.at(0).size(), 2u);
    EXPECT_EQ(p.hulls[0][0].x, -2);
    EXPECT_EQ(p.hulls[0][1].x, 1);
}

TEST_F(ars_test, RejectedPointsAreInsertedOnTheRightSide) {
    // A value of -100 at a proposal forces its rejection (with u = 0.5).
    struct row {
        double v;         // position uniform for the first piece: y = log(v)
        double d;         // derivative answered at y
        size_t at;        // where the new node must be in the list
    };
    const double v_minus1 = [] {  // log(v) == -1 exactly: y equals the first node's abscissa
        double v = std::exp(-1.0);
        for (int k = 0; k < 8 && std::log(v) != -1.0; ++k) v = std::nextafter(v, 1.0);
        return v;
    }();
    ASSERT_EQ(std::log(v_minus1), -1.0);
    const row rows[] = {
        {0.5, 0.5, 1},       // y = -0.69 right of the node at -1: after it
        {0.1, 2.0, 0},       // y = -2.3 left of the first node: the new root
        {v_minus1, 1.5, 1},  // y equal to the node's abscissa: after it
    };
    for (const row& r : rows) {
        probe_log p;
        p.answer = [&](double* d, double, int proposal) {
            *d = proposal == 1 ? r.d : 0.0;
            return proposal == 1 ? -100.0 : 0.0;
        };
        standin::script_rand({0.25, r.v, 0.5, 0.25, 0.5, 0.0});
        draw(p, 0, 1);
        ASSERT_EQ(p.hulls.size(), 2u);
        const auto& h = p.hulls[1];
        ASSERT_EQ(h.size(), 3u);
        const double y = std::log(r.v);
        EXPECT_EQ(h[r.at].x, y);
        EXPECT_EQ(h[r.at].slope, r.d);
        EXPECT_EQ(h[r.at].intercept, -100.0 - y * r.d);
        EXPECT_EQ(h[r.at == 0 ? 1 : 0].x, -1.0);
        EXPECT_EQ(h[2].x, 1.0);
    }
}

TEST_F(ars_test, FlatParallelOrNonFiniteTangentsAddNoNode) {
    // Proposal 1 on the first piece (node -1, slope 1, next slope -1) or on
    // the last (node 1, slope -1, previous slope 1), answered with value -100
    // (rejected) and the derivative below.
    struct row {
        double u;  // piece uniform: 0.25 first, 0.75 last
        double h, d;
        bool added;
    };
    const row rows[] = {
        {0.25, -100, 0.0, false},        {0.25, -100, 5e-10, false},
        {0.25, -100, 1 + 5e-10, false},  {0.25, -100, -1 - 5e-10, false},
        {0.75, -100, 1 - 5e-10, false},  {0.75, -100, -1 + 5e-10, false},
        {0.25, -INFINITY, 0.5, false},   {0.25, -100, INFINITY, false},
        {0.25, -100, 2e-9, true},        {0.75, -100, 1 - 2e-9, true},
    };
    for (const row& r : rows) {
        probe_log p;
        p.answer = [&](double* d, double, int proposal) {
            *d = proposal == 1 ? r.d : 0.0;
            return proposal == 1 ? r.h : 0.0;
        };
        standin::script_rand({r.u, 0.5, 0.5, 0.25, 0.5, 0.0});
        draw(p, 0, 1);
        ASSERT_EQ(p.hulls.size(), 2u) << "still a rejection: a second proposal follows";
        EXPECT_EQ(p.hulls[1].size(), r.added ? 3u : 2u) << r.d;
    }
}

TEST_F(ars_test, AFullPoolStopsAddingAndTheHullStaysSorted) {
    // Acceptance values just below 1 reject every proposal that is not on a
    // tangent point; the normal's tangents are all distinct.
    std::vector<double> script;
    uint32_t state = 12345;
    auto next = [&] {
        state = state * 1664525u + 1013904223u;
        return ((state >> 8) + 0.5) / 16777216.0;
    };
    const int proposals = 400;
    for (int i = 0; i < proposals; ++i) {
        script.push_back(next());
        script.push_back(next());
        script.push_back(i + 1 < proposals ? std::nextafter(1.0, 0.0) : 0.0);
    }
    standin::script_rand(script);
    probe_log p;
    draw(p, 0, 1);
    ASSERT_EQ(p.hulls.size(), size_t(proposals));
    size_t most = 0;
    for (const auto& h : p.hulls) {
        most = std::max(most, h.size());
        for (size_t i = 1; i < h.size(); ++i) ASSERT_LE(h[i - 1].x, h[i].x);
    }
    EXPECT_EQ(most, size_t(ARS_POOL));
    EXPECT_EQ(p.hulls.back().size(), size_t(ARS_POOL));

    // The piece masses a proposal was drawn from are those of the hull it saw,
    // also when they were kept from an earlier proposal (pool full).
    for (size_t k = 0; k < p.hulls.size(); ++k) {
        const auto& h = p.hulls[k];
        const size_t n = h.size();
        double M = h[0].slope * h[0].z + h[0].intercept;
        for (size_t i = 1; i + 1 < n; ++i) M = std::max(M, h[i].slope * h[i].z + h[i].intercept);
        for (size_t i = 0; i < n; ++i) {
            const double up = std::exp(h[i].slope * h[i].z + h[i].intercept - M);
            const double down = i > 0 ? std::exp(h[i].slope * h[i - 1].z + h[i].intercept - M) : 0.0;
            const double mass = i == 0       ? up / h[i].slope
                                : i + 1 < n ? (up - down) / h[i].slope
                                            : -down / h[i].slope;
            ASSERT_TRUE(same_bits(h[i].mass, mass)) << "proposal " << k << ", piece " << i;
        }
    }
}

// Rejects the first n proposals (value -1e300, derivative 0: no node), then
// accepts (a value so large the ratio is infinite).
struct rejecting : probe_log {
    explicit rejecting(int n) {
        answer = [n](double* d, double, int proposal) {
            *d = 0;
            return proposal <= n ? -1e300 : 1e300;
        };
    }
};

// The warning's flag lives as long as the program: this is its only case
// that reaches 10000 rejections, whatever order the cases run in.
TEST_F(ars_test, TheWarningIsPrintedOnceAtTheTenThousandthRejection) {
    standin::strict(false);
    const int counts[] = {9999, 10000, 10001, 20000};
    const char* printed[] = {"", "WARNING: More than 10000 rejections in ars\n", "", ""};
    for (int k = 0; k < 4; ++k) {
        rejecting p(counts[k]);
        standin::clear_log();
        testing::internal::CaptureStderr();
        draw(p, 0, 1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), printed[k]) << counts[k];
        EXPECT_EQ(standin::values_taken("rand"), 3LL * (counts[k] + 1));
        EXPECT_EQ(standin::log().size(), size_t(counts[k] + 1));
    }
    std::string message;
    rejecting forever(ARS_MAX_REJECTIONS + 1);
    testing::internal::CaptureStderr();
    draw(forever, 0, 1, &message);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(message, "The sampler rejected 100000 proposals without accepting one.");
}

TEST_F(ars_test, EndlessSearchesAndBadStartsAreRefused) {
    standin::strict(false);
    std::string message;
    const std::string no_bracket =
        "The sampler's bracketing search found no finite point where the log-density falls.";
    // A constant log-density: the searches run out of finite probes.
    probe_log flat;
    flat.bracket_calls = 1 << 30;
    flat.s2 = INFINITY;
    draw(flat, 0, 1, &message);
    EXPECT_EQ(message, no_bracket);
    EXPECT_LE(flat.xs.size(), size_t(2 * ARS_MAX_PROBES + 2));
    // A log-density that rises for ever to the left.
    probe_log rising;
    rising.bracket_calls = 1 << 30;
    rising.answer = nullptr;
    rising.s2 = -1;  // h = x^2 / 2: h' < 0 left of 0
    draw(rising, -1, 1, &message);
    EXPECT_EQ(message, no_bracket);

    for (double bad : {NAN, INFINITY}) {
        probe_log p;
        draw(p, bad, 1, &message);
        EXPECT_EQ(message, "The sampler's start point and step must be finite, the step positive.");
        draw(p, 0, bad, &message);
        EXPECT_EQ(message, "The sampler's start point and step must be finite, the step positive.");
    }
    probe_log p0;
    draw(p0, 0, 0, &message);
    EXPECT_EQ(message, "The sampler's start point and step must be finite, the step positive.");
}

TEST_F(ars_test, ProbesWhereTheDensityVanishesArePulledBack) {
    // A normal truncated to [-3, 3]: from x0 = 0 with step 10 the probes at
    // -10 and -5 find h = -inf and are halved back to -2.5 (and 2.5).
    struct truncated {
        static double f(double* d, void* data, double x) {
            static_cast<std::vector<double>*>(data)->push_back(x);
            *d = std::fabs(x) <= 3 ? -x : NAN;
            return std::fabs(x) <= 3 ? -x * x / 2 : -INFINITY;
        }
    };
    std::vector<double> xs;
    standin::script_rand({0.5, 0.5, 0.0});
    auto r = standin::run([&] {
        rand_stream rs = rand_open();
        double y = ars(&rs, truncated::f, &xs, 0, 10);
        EXPECT_TRUE(std::isfinite(y));
    });
    ASSERT_FALSE(r.failed) << r.message;
    EXPECT_EQ(std::vector<double>(xs.begin(), xs.begin() + 8),
              (std::vector<double>{0, -10, -5, -2.5, 0, 10, 5, 2.5}));
}

}  // namespace
