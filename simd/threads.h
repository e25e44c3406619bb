// Threads for the deterministic kernels: results are bit for bit those of
// one thread, since every output element is computed by exactly one thread
// with the same operations in the same order; threads only share the work.
//
// BAYESMEX_THREADS=N (N >= 1), read at every call, sets the number of
// threads; unset (or not a positive number) a kernel uses the processors the
// machine reports, and fewer where the work would not repay a thread.
#ifndef BAYESMEX_THREADS_H
#define BAYESMEX_THREADS_H

#include "simd.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <vector>

// A C++ library without threads (libstdc++ built for the win32 thread model
// declares std::thread but cannot start one): every kernel runs on the
// calling thread, which takes every piece from the shared counter.
#if defined(__GLIBCXX__) && !defined(_GLIBCXX_HAS_GTHREADS)
#define BAYESMEX_HAVE_THREADS 0
#else
#define BAYESMEX_HAVE_THREADS 1
#endif

// The processors the machine reports, asked once per process: the query
// reads a file of the system's (an open, a read and a close), which would
// cost a scalar call several times its arithmetic.
inline long threads_processors() {
#if BAYESMEX_HAVE_THREADS
    static const long n = long(std::thread::hardware_concurrency());
    return n;
#else
    return 1;
#endif
}

// Threads for `work` units of work in `units` indivisible pieces, where a
// thread repays its start only beyond `least` units.  Work of one piece, or
// too little for two threads, runs on one thread without reading the
// environment or the processor count: nothing a small call does not need.
inline int threads_for(double work, double least, double units) {
    if (!(units > 1)) return 1;
    long n = 0;
    bool forced = false;
    if (const char* s = std::getenv("BAYESMEX_THREADS")) {
        char* end = nullptr;
        n = std::strtol(s, &end, 10);
        forced = end != s && *end == '\0' && n >= 1;
        if (!forced) n = 0;
    }
    if (!forced) {
        if (!(work >= 2 * least)) return 1;
        n = threads_processors();
        if (work < double(n) * least) n = long(work / least);
    }
    if (n > 256) n = 256;
    if (double(n) > units) n = long(units);
    return n < 1 ? 1 : int(n);
}

// Runs body(t) for t = 0 .. n-1, body(0) on the calling thread.  body must
// take its pieces from a shared counter, so that whatever number of threads
// does start finishes the work: a thread the system refuses leaves its share
// to the others.  body runs no host operation and throws nothing.
// BAYESMEX_THREADS_REFUSE=K, for the tests, refuses every thread after the
// first K started, as a system out of threads does.
template <class F>
void threads_run(int n, F body) {
    if (n <= 1) {  // a small call reads no environment
        body(0);
        return;
    }
#if !BAYESMEX_HAVE_THREADS
    body(0);
#else
    std::vector<std::thread> pool;
    const char* refuse = std::getenv("BAYESMEX_THREADS_REFUSE");
    const long room = refuse ? std::strtol(refuse, nullptr, 10) : long(n);
    try {
        pool.reserve(std::size_t(n > 1 ? n - 1 : 0));
        for (int t = 1; t < n; ++t) {
            if (t > room) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
            pool.emplace_back(body, t);
        }
    } catch (...) {
    }
    body(0);
    for (std::thread& th : pool) th.join();
#endif
}

// f(first, count) over n elements of an elementwise kernel, in pieces of
// 2^16 shared by as many threads as the work repays (`least` elements each).
// `stop` is asked before every piece but the first, by whichever thread
// takes it (it must only read a flag): once it says true, every thread
// finishes the piece it holds and takes no other, and threads_pieces
// returns false.  The host's Ctrl-C flag ends a long call that way.
template <class F, class Stop>
bool threads_pieces(std::size_t n, double least, F f, Stop stop) {
    const std::size_t piece = 65536;
    const std::size_t pieces = n / piece + (n % piece != 0);
    std::atomic<std::size_t> taken{0};
    std::atomic<bool> stopped{false};
    auto body = [&](int) {
        for (std::size_t b = taken.fetch_add(1); b < pieces; b = taken.fetch_add(1)) {
            if (b > 0 && (stopped.load(std::memory_order_relaxed) || stop())) {
                stopped.store(true, std::memory_order_relaxed);
                return;
            }
            const std::size_t first = b * piece;
            f(first, n - first < piece ? n - first : piece);
        }
    };
    threads_run(threads_for(double(n), least, double(pieces)), body);
    return !stopped.load();
}

// An elementwise kernel (a SIMD_DISPATCH instance: w1, and for(width)) over
// n elements, out[i] from in[i], by threads_pieces: any split of the
// elements gives the same bits.  One element runs the one-lane instance,
// whose bits every width gives, without reading the environment.
template <class Kernel>
bool threads_elementwise(Kernel w1, Kernel (*at)(int), const double* in, double* out, std::size_t n, double least,
                         int (*stop)()) {
    const Kernel kernel = n < 2 ? w1 : at(simd_width());
    const auto piece = [&](std::size_t first, std::size_t count) { kernel(in + first, out + first, count); };
    return threads_pieces(n, least, piece, stop);
}

#endif
