#!/usr/bin/python3
"""numpy's and scipy's figures for the laws and sizes of the size table.

Usage: /usr/bin/python3 bench/peers.py [REPS [YFILE]]

Times, in this process, what a numpy user writes for each bayesmex call of
the size table (numpy's default Generator, PCG64), the resampling m-code as
searchsorted on the cumulative sum, scipy.special.digamma, numpy.tanh,
scipy's pdist and squareform(pdist(x)) at m = 2000, and the demo's particle
filter in numpy on the observations in YFILE (one per line; the demo's model
simulated anew when absent).  As the Octave side does: a loop of many calls
inside one function (about 2e5 values' worth, one call at 1e6), REPS runs
(default 7), medians of process CPU time (time.process_time).

Prints one tab-separated line per case: key, n, seconds per call, the code
timed.  bench/peers_table.m reads them and prints them beside bayesmex's
figures from the same run.  The filter's line ends with its log-likelihood.
"""
import math
import statistics
import sys
import time

import numpy as np
import scipy.special
from scipy.spatial.distance import pdist, squareform

SIZES = [1, 10, 100, 1000, 10**4, 10**6]
PARTICLES = [100, 1000, 10**4, 10**5]


def calls_for(n):
    return -(-200000 // (n + 100))


def per_call(loop, calls, reps):
    """Median process CPU time per call of loop(calls), after a warm-up."""
    loop(2)
    times = []
    for _ in range(reps):
        t0 = time.process_time()
        loop(calls)
        times.append(time.process_time() - t0)
    return statistics.median(times) / calls


# Each case: (key, code, sizes, make) where make(rng, n) returns a loop
# function of the number of calls, with its data made outside the clock.
def meanshape(rng, n):
    # The Octave m-code's form: numpy's gamma with an array of scales
    # takes its slow broadcasting path, 5 to 10 times this.
    mu = 1 + rng.random(n)

    def loop(calls):
        for _ in range(calls):
            2 * mu / 5 * rng.standard_gamma(2.5, n)
    return loop


def invchisq(rng, n):
    def loop(calls):
        for _ in range(calls):
            5 * 1.5 / rng.chisquare(5, n)
    return loop


def studentt(rng, n):
    def loop(calls):
        for _ in range(calls):
            rng.standard_t(5, n)
    return loop


def exponential(rng, n):
    def loop(calls):
        for _ in range(calls):
            rng.exponential(2.5, n)
    return loop


def simplex(rng, n):
    alpha = np.ones(3)

    def loop(calls):
        for _ in range(calls):
            rng.dirichlet(alpha, n)
    return loop


def weightboot(rng, n):
    x = rng.standard_normal(n)

    def loop(calls):
        for _ in range(calls):
            g = rng.exponential(size=n)
            g @ x / g.sum()
    return loop


def digamma(rng, n):
    x = 10 * rng.random(n)

    def loop(calls):
        for _ in range(calls):
            scipy.special.digamma(x)
    return loop


def tanh(rng, n):
    x = 5 * rng.standard_normal(n)

    def loop(calls):
        for _ in range(calls):
            np.tanh(x)
    return loop


# Resampling, N indices (0-based) from N weights: the m-code of
# bench/sizes_table.m with searchsorted(..., side='right') for lookup + 1.
def multinomial(rng, n):
    w = rng.random(n)

    def loop(calls):
        for _ in range(calls):
            np.searchsorted(np.cumsum(w) / w.sum(), rng.random(n), side='right')
    return loop


def residual(rng, n):
    w = rng.random(n)

    def loop(calls):
        for _ in range(calls):
            e = w / w.sum() * n
            k = np.floor(e)
            R = n - int(k.sum())
            c = np.cumsum((e - k) / R)
            c[-1] = 1
            np.concatenate([np.repeat(np.arange(n), k.astype(np.int64)),
                            np.searchsorted(c, rng.random(R), side='right')])
    return loop


def stratified(rng, n):
    w = rng.random(n)

    def loop(calls):
        for _ in range(calls):
            np.minimum(np.searchsorted(np.cumsum(w) / w.sum() * n,
                                       np.arange(n) + rng.random(n), side='right'), n - 1)
    return loop


def systematic(rng, n):
    w = rng.random(n)

    def loop(calls):
        for _ in range(calls):
            np.minimum(np.searchsorted(n * np.cumsum(w) / w.sum(),
                                       np.arange(n) + rng.random(), side='right'), n - 1)
    return loop


def deterministic(rng, n):
    w = rng.random(n)

    def loop(calls):
        for _ in range(calls):
            e = w / w.sum() * n
            k = np.floor(e)
            extra = np.diff(np.floor(np.cumsum(e - k) + 0.5), prepend=0)
            np.repeat(np.arange(n), (k + extra).astype(np.int64))
    return loop


CASES = [
    ('meanshape_draw', '2*mu/5*rng.standard_gamma(2.5, n)', SIZES, meanshape),
    ('invchisq_draw', '5*1.5/rng.chisquare(5, n)', SIZES, invchisq),
    ('studentt_draw', 'rng.standard_t(5, n)', SIZES, studentt),
    ('exponential_draw', 'rng.exponential(2.5, n)', SIZES, exponential),
    ('simplex_draw', 'rng.dirichlet(np.ones(3), n)', SIZES, simplex),
    ('weightboot_average', 'g = rng.exponential(size=n); g@x/g.sum()', SIZES, weightboot),
    ('psi_eval', 'scipy.special.digamma(x)', SIZES, digamma),
    ('hyptan_fast', 'np.tanh(x)', SIZES, tanh),
    ('particles_multinomial', 'searchsorted(cumsum(w)/w.sum(), rng.random(n))', PARTICLES,
     multinomial),
    ('particles_residual', 'repeat(floor) + searchsorted(cumsum(frac))', PARTICLES, residual),
    ('particles_stratified', 'searchsorted(n*cumsum(w)/w.sum(), arange(n)+rng.random(n))',
     PARTICLES, stratified),
    ('particles_systematic', 'searchsorted(n*cumsum(w)/w.sum(), arange(n)+rng.random())',
     PARTICLES, systematic),
    ('particles_deterministic', 'repeat(arange(n), floor(e) + extra)', PARTICLES, deterministic),
]


def sv_filter(y, N, rng):
    """The demo's bootstrap particle filter (stochastic volatility, Student-t
    noise, systematic resampling) in vectorised numpy."""
    m, phi, s, nu = -1.0, 0.97, 0.4, 5.0
    logc = math.lgamma((nu + 1) / 2) - math.lgamma(nu / 2) - 0.5 * math.log(nu * math.pi)
    T = len(y)
    est = np.zeros(T)
    p = m + s / math.sqrt(1 - phi**2) * rng.standard_normal(N)
    ll = 0.0
    strata = np.arange(N)
    for t in range(T):
        if t > 0:
            p = m + phi * (p - m) + s * rng.standard_normal(N)
        z = y[t] * np.exp(-p / 2)
        lw = logc - (nu + 1) / 2 * np.log1p(z**2 / nu) - p / 2
        mx = lw.max()
        e = np.exp(lw - mx)
        se = e.sum()
        w = e / se
        ess = 1 / np.sum(w**2)
        ll += mx + math.log(se / N)
        est[t] = w @ p
        idx = np.minimum(np.searchsorted(N * np.cumsum(w) / w.sum(), strata + rng.random(),
                                         side='right'), N - 1)
        p = p[idx]
    return ll


def sv_data(rng, T=250):
    m, phi, s, nu = -1.0, 0.97, 0.4, 5.0
    x = np.zeros(T)
    x[0] = m + s / math.sqrt(1 - phi**2) * rng.standard_normal()
    for t in range(1, T):
        x[t] = m + phi * (x[t - 1] - m) + s * rng.standard_normal()
    return np.exp(x / 2) * rng.standard_t(nu, T)


def main():
    reps = int(sys.argv[1]) if len(sys.argv) > 1 else 7
    rng = np.random.default_rng(1)
    out = sys.stdout
    for key, code, sizes, make in CASES:
        for n in sizes:
            t = per_call(make(rng, n), calls_for(n), reps)
            out.write(f'{key}\t{n}\t{t:.6e}\t{code}\n')
            out.flush()

    m = 2000
    x = rng.standard_normal((m, 10))
    for key, code, f in [('pdist', 'pdist(x)', lambda: pdist(x)),
                         ('squareform_pdist', 'squareform(pdist(x))',
                          lambda: squareform(pdist(x)))]:
        def loop(calls, f=f):
            for _ in range(calls):
                f()
        out.write(f'{key}\t{m}\t{per_call(loop, 1, reps):.6e}\t{code}\n')

    if len(sys.argv) > 2:
        y = np.loadtxt(sys.argv[2])
    else:
        y = sv_data(rng)
    N = 2000
    ll = sv_filter(y, N, np.random.default_rng(11))

    def loop(calls):
        for _ in range(calls):
            sv_filter(y, N, rng)
    out.write(f'particle_filter\t{N}\t{per_call(loop, 1, reps):.6e}\t'
              f'the demo filter in numpy, T = {len(y)}\t{ll:.6f}\n')


if __name__ == '__main__':
    main()
