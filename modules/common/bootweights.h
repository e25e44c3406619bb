// The replicate-weight draw of the Bayesian bootstrap (Rubin 1981): one unit
// exponential variate -ln U per sample value, times its prior weight when
// there is one, normalised by their sum.  Without prior weights the
// normalised weights are a flat Dirichlet draw.
//
// Replicate r takes the n uniforms that rand(n, 1) would give it, as one
// span of the random library (rand_span).  Since a call knows how many
// replicates it draws, the uniforms of several replicates come from one
// rand(k n, 1) call (the same values in the same order: the host fills an
// array from its stream in storage order), which spares the host's per-call
// cost; k n is at most 65536 values (at least one replicate) and k is never
// more than the replicates still to come, so the call takes exactly the
// values the replicates use.  The weights are computed in place in the
// host's array, so a replicate needs no storage of its own.  The sum S is accumulated in increasing index order
// and every weight is divided by the finished S: the weights are a fixed
// function of the host's stream, bit for bit.
#ifndef BAYESMEX_BOOTWEIGHTS_H
#define BAYESMEX_BOOTWEIGHTS_H

#include "../../host/args.h"
#include "../../random/rand.h"

// The trailing inputs of both bootstrap modules: the replicate count B at
// input `position` (a count of the form, checked by the argument driver) and
// the prior weights W after it, each optional.
struct bootweights_inputs {
    int b;            // replicates: B, or 1 without it
    const double* w;  // W's n values, or null without it
};

// B's value, then W's shape: a column ("W must be a column vector.") of n
// values (`mismatch`, the module's own message, otherwise).
bootweights_inputs bootweights_read(const args_in& in, int nrhs, const mxArray* prhs[], int position, int n,
                                    msg mismatch);

struct bootweights {
    int n;              // values per replicate
    const double* w;    // prior weights (n of them), or null
    int left;           // replicates still to be drawn in this call
    rand_stream rs;
};

// For `replicates` draws of n weights each (n > 0: with no value there is
// nothing to draw); w may be null.
bootweights bootweights_open(int n, const double* w, int replicates);

// The next replicate: g(i) = (-ln U(i)) * W(i) (or -ln U(i)), in place in the
// host's array, is returned and S, the sum of the g(i) in index order, goes
// to *sum.  The values stay valid until the next draw or the close.  A host
// "rand" that returns fewer values than asked for ends the call with an error
// rather than letting the weights be read past its end.
double* bootweights_draw(bootweights* bw, double* sum);

// p(i) = g(i) / S for i = 0 .. n-1, in place.
void bootweights_normalise(double* g, int n, double sum);

// Destroys the last host array.
void bootweights_close(bootweights* bw);

#endif
