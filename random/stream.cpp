#include "stream.h"

#include "door.h"

#include "../host/args.h"

namespace {

[[noreturn]] void out_of_order() { args_fail(msg::internal_order); }

}  // namespace

void rand_never_accepts() { args_fail(msg::host_rejections); }

rand_stream rand_open() {
    rand_door_forget();  // a new gateway call: the host's functions are looked up afresh
    return rand_stream(host_independent_streams() != 0);
}

void rand_host_call_done() { rand_door_forget(); }

rand_stream::~rand_stream() {
    for (int source = 0; source < 2; ++source)
        if (lanes_[source].scratch) rand_door_release(source, lanes_[source].scratch);
}

void rand_stream::done(int source) {
    lane& l = lanes_[source];
    if (l.block) mxDestroyArray(l.block);
    if (l.scratch) rand_door_release(source, l.scratch);
    l.block = nullptr;
    l.scratch = nullptr;
    l.next = l.end = nullptr;
}

void rand_close(rand_stream* rs) {
    rand_lanes::done(rs, RAND_UNIFORM);
    rand_lanes::done(rs, RAND_NORMAL);
}

void rand_fetch(rand_stream* rs, int source, int64_t want) {
    // Values still waiting would be skipped; on a shared stream, values of
    // the other host function still waiting belong before this fetch.
    const bool independent = rand_lanes::independent(rs);
    if (rand_lane_pending(rs, source) != 0) out_of_order();
    if (!independent && rand_lane_pending(rs, 1 - source) != 0) out_of_order();
    rand_lanes::done(rs, source);  // a block kept for a span
    // Ctrl-C between blocks, where every value fetched has been used: a
    // stopped call leaves the generators where its draws one at a time
    // would have.
    const bool settled = rand_pending(rs) == 0;
    if (settled) host_interrupt_check();
    // rand() for one value, rand(want, 1) for more.
    const rand_door_out out = rand_door(source, want == 1 ? 0 : 2, double(want), 1.0, false, settled);
    ++rs->callbacks;
    if (!independent) rand_lanes::of(rs, 1 - source).expect = 0;
    auto& l = rand_lanes::of(rs, source);
    l.block = out.array;
    l.scratch = out.array ? nullptr : out.values;
    l.next = out.values;
    l.end = out.values + want;
}

double rand_stream::take_fetch(int source) {
    rand_refill(this, source);
    return take(source);
}

void rand_batch(rand_stream* rs, int source, int count) { rand_expect(rs, source, count); }

void rand_array(rand_stream* rs, int source, double rows, double cols, mxArray** slot) {
    if (rand_lane_pending(rs, source) != 0) out_of_order();
    if (!rand_lanes::independent(rs) && rand_lane_pending(rs, 1 - source) != 0) out_of_order();
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
        args_fail(msg::internal_span);
    }
    auto& l = rand_lanes::of(rs, source);
    double* v = l.next;
    l.next += count;
    l.expect = l.expect > count ? l.expect - count : 0;
    return v;  // the block stays until the next fetch or the close
}
