#include "stream.h"

#include "door.h"

#include "../host/args.h"

#include <cmath>

namespace {

[[noreturn]] void out_of_order() {
    args_error("internal", "Internal error: random values were fetched out of order.");
}

}  // namespace

void rand_never_accepts() {
    args_error("hostValues", "The host's rand returned values from which ten thousand rejection passes in a row accept no draw.");
}

rand_stream rand_open() {
    rand_door_forget();  // a new gateway call: the host's functions are looked up afresh
    return rand_stream{{}, host_independent_streams() != 0, 0};
}

void rand_host_call_done() { rand_door_forget(); }

rand_stream::~rand_stream() {
    for (int source = 0; source < 2; ++source)
        if (lane[source].scratch) rand_door_release(source, lane[source].scratch);
}

void rand_lane_done(rand_stream* rs, int source) {
    rand_lane* l = &rs->lane[source];
    if (l->block) mxDestroyArray(l->block);
    if (l->scratch) rand_door_release(source, l->scratch);
    l->block = nullptr;
    l->scratch = nullptr;
    l->next = l->end = nullptr;
}

void rand_close(rand_stream* rs) {
    rand_lane_done(rs, RAND_UNIFORM);
    rand_lane_done(rs, RAND_NORMAL);
}

void rand_fetch(rand_stream* rs, int source, int64_t want) {
    // Values still waiting would be skipped; on a shared stream, values of
    // the other host function still waiting belong before this fetch.
    if (rand_lane_pending(rs, source) != 0) out_of_order();
    if (!rs->independent && rand_lane_pending(rs, 1 - source) != 0) out_of_order();
    rand_lane_done(rs, source);  // a block kept for a span
    // Ctrl-C between blocks, where every value fetched has been used: a
    // stopped call leaves the generators where its draws one at a time
    // would have.
    const bool settled = rand_pending(rs) == 0;
    if (settled) host_interrupt_check();
    // rand() for one value, rand(want, 1) for more.
    const rand_door_out out = rand_door(source, want == 1 ? 0 : 2, double(want), 1.0, false, settled);
    ++rs->callbacks;
    if (!rs->independent) rs->lane[1 - source].expect = 0;
    rand_lane* l = &rs->lane[source];
    l->block = out.array;
    l->scratch = out.array ? nullptr : out.values;
    l->next = out.values;
    l->end = out.values + want;
}

double rand_take_fetch(rand_stream* rs, int source) {
    rand_refill(rs, source);
    return rand_take(rs, source);
}

void rand_batch(rand_stream* rs, int source, int count) { rand_expect(rs, source, count); }

void rand_array(rand_stream* rs, int source, double rows, double cols, mxArray** slot) {
    if (rand_lane_pending(rs, source) != 0) out_of_order();
    if (!rs->independent && rand_lane_pending(rs, 1 - source) != 0) out_of_order();
    const bool settled = rand_pending(rs) == 0;
    if (settled) host_interrupt_check();
    // A result the host makes whole, as rand(rows, cols) does: every count
    // is read from the array itself.
    *slot = rand_door(source, 2, rows, cols, true, settled).array;
    ++rs->callbacks;
}

double* rand_span(rand_stream* rs, int source, int64_t count, int64_t later) {
    if (count < 1) return nullptr;
    const int64_t pending = rand_lane_pending(rs, source);
    if (pending == 0) {
        const int64_t spans = count < RAND_BLOCK_CAP ? RAND_BLOCK_CAP / count : 1;
        const int64_t total = later > 0 ? count + later : count;
        rand_fetch(rs, source, spans * count < total ? spans * count : total);
    } else if (pending < count) {
        // Only spans of one size are fetched, so a span never straddles.
        args_error("internal", "Internal error: a span of random values straddles two blocks.");
    }
    rand_lane* l = &rs->lane[source];
    double* v = l->next;
    l->next += count;
    l->expect = l->expect > count ? l->expect - count : 0;
    return v;  // the block stays until the next fetch or the close
}

int rand_int(rand_stream* rs, int n) { return int(rand_uniform(rs) * n); }

int rand_pickd(rand_stream* rs, const double* w, int n) {
    if (n <= 0) return RAND_REFUSED;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        if (w[i] < 0) return RAND_REFUSED;
        sum = w[i] + sum;
    }
    if (!(sum > 0)) return RAND_REFUSED;
    // The fall-back of the scan (reached only when u * sum rounds up to the
    // total) needs a positive weight; with a positive sum there always is one.
    double x = rand_uniform(rs) * sum - w[0];
    if (x < 0) return 0;
    for (int i = 1; i < n; ++i) {
        x = x - w[i];
        if (x < 0) return i;
    }
    for (int i = 0; i < n; ++i)
        if (w[i] > 0) return i;
    return RAND_REFUSED;
}

int rand_pickf(rand_stream* rs, const float* w, int n) {
    if (n <= 0) return RAND_REFUSED;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        if (!(w[i] > 0)) return RAND_REFUSED;
        sum = double(w[i]) + sum;
    }
    if (!(sum > 0)) return RAND_REFUSED;
    double x = rand_uniform(rs) * sum - double(w[0]);
    if (x < 0) return 0;
    for (int i = 1; i < n; ++i) {
        x = x - double(w[i]);
        if (x < 0) return i;
    }
    return 0;  // every weight is positive
}

double rand_exp(rand_stream* rs) {
    return -std::log(rand_uniopen(rs));  // uniopen: log(0) never taken
}

double rand_cauchy(rand_stream* rs) {
    return std::tan((rand_uniopen(rs) - 0.5) * 3.141592653589793);
}

int64_t rand_gamma_least(double a) {
    if (!(a >= 1e-5) || rand_gamma_huge(a)) return 0;
    if (a <= 1.0) return 3;       // one uniform, then a pass of the shape 1 + a
    if (a < 1.00001) return 1;    // one exponential
    return 2;                     // one pass of Best's method
}

bool rand_best_pass(rand_stream* rs, double b, double c, double* out) {
    const double u = rand_uniopen(rs);
    const double v = rand_uniopen(rs);
    return rand_best_on(u, v, b, c, out);
}

double rand_gamma(rand_stream* rs, double a) {
    if (!(a >= 1e-5)) return a;  // NaN too
    if (rand_gamma_huge(a)) return a;
    double x;
    if (a <= 1.0) {
        rand_expect(rs, RAND_UNIFORM, 3);
        double u = rand_uniopen(rs);            // uniopen: pow(0, 1/a) would be 0
        double g = rand_gamma(rs, 1.0 + a);     // 1 + 1e-5 == 1.00001: always Best's method
        x = rand_gamma_power(u, 1.0 / a) * g;
    } else if (a < 1.00001) {
        x = rand_exp(rs);
    } else {
        // Best (1978), rejection from a t-like envelope with 2 degrees of freedom.
        const double b = a - 1.0, c = 3.0 * a - 0.75;
        int64_t run = 0;
        do rand_expect(rs, RAND_UNIFORM, 2);
        while (!rand_best_pass(rs, b, c, &x) && (rand_rejections(&run, 1), true));
    }
    return rand_gamma_floor(x, a);
}

double rand_beta(rand_stream* rs, double a, double b) {
    if (!(a > 0) || !(b > 0)) return NAN;
    const bool fixed = a < 1e-5 && b < 1e-5;  // neither gamma draw takes a value
    const int64_t least = rand_gamma_least(a) + rand_gamma_least(b);
    for (long attempt = 0; attempt < 1000000; ++attempt) {
        rand_expect(rs, RAND_UNIFORM, least);
        double x = rand_gamma(rs, a);
        double y = rand_gamma(rs, b);
        double r = x / (y + x);
        r = (r + 1.0) - 1.0;  // IEEE: rounds r to a multiple of 2^-52
        if (r > 0 && r < 1) return r;
        if (fixed) break;
    }
    return NAN;
}
