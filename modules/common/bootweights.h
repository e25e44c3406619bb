// The replicate-weight draw of the Bayesian bootstrap (Rubin 1981): one unit
// exponential variate -ln U per sample value, times its prior weight when
// there is one, normalised by their sum.  Without prior weights the
// normalised weights are a flat Dirichlet draw.
//
// Each replicate takes its n uniforms from the host's "rand" in one call,
// rand(n, 1), and the weights are computed in place in the array that call
// returns, so a replicate needs no storage of its own.  The sum S is
// accumulated in increasing index order and every weight is divided by the
// finished S: the weights are a fixed function of the host's stream, bit for
// bit.
#ifndef BAYESMEX_BOOTWEIGHTS_H
#define BAYESMEX_BOOTWEIGHTS_H

#include "../../host/args.h"

struct bootweights {
    mxArray* size[2];   // n and 1: the two inputs of every "rand" call
    int n;              // values per replicate
    const double* w;    // prior weights (n of them), or null
};

// Makes the two size arrays (n first, then 1).  w may be null.
bootweights bootweights_open(int n, const double* w);

// One replicate: calls rand(n, 1) and turns its values U(i) into
// g(i) = (-ln U(i)) * W(i) (or -ln U(i)) in place, returning the array; its
// storage is *g and S, the sum of the g(i) in index order, goes to *sum.
// The caller destroys the array once it is done with the replicate.  A host
// "rand" that returns fewer than n doubles ends the call with an error rather
// than letting the weights be read past its end.
mxArray* bootweights_draw(const bootweights* bw, double** g, double* sum);

// p(i) = g(i) / S for i = 0 .. n-1, in place.
void bootweights_normalise(double* g, int n, double sum);

// Destroys the size arrays (n first, then 1).
void bootweights_close(bootweights* bw);

#endif
