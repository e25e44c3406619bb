// Adaptive rejection sampling in its tangent form (Gilks and Wild 1992): one
// draw from a log-concave density known up to a constant through h = log f
// and h', supplied by a call-back.  The envelope is exp of the upper hull made
// of the tangents of h at a growing set of abscissae; every rejected proposal
// may add its own tangent, so the envelope tightens as the call goes on.
// There is no squeezing hull: h is evaluated at every proposal.
#ifndef BAYESMEX_ARS_H
#define BAYESMEX_ARS_H

#include "../random/rand.h"

// One tangent of the hull.  The nodes of a call form a doubly linked list in
// ascending abscissa; node i owns the piece [z of prev, z], the first piece
// opening at -inf and the last closing at +inf.
struct hull_node {
    double slope;      // h'(x)
    double intercept;  // h(x) - x h'(x): the tangent is slope * y + intercept
    double x;          // abscissa: decides on which side a new node goes
    double z;          // where this tangent meets the next one (unused on the last node)
    double mass;       // integral of exp(tangent - M) over the piece, M the hull maximum
    hull_node* prev;
    hull_node* next;
};

// The log-density call-back: writes h'(x) to *deriv and returns h(x); data is
// handed through unchanged.
typedef double (*ars_logdens)(double* deriv, void* data, double x);

// Sees each proposal's hull: called once per proposal, after h is evaluated
// at the proposal and before its acceptance is drawn, with the first node of
// the hull the proposal was drawn from (walk it through next).  The nodes live
// in the call's own pool: they mean nothing after the observer returns.
typedef void (*ars_observer)(void* data, const hull_node* first);

enum {
    ARS_POOL = 100,                // nodes a call may hold, the two bracketing nodes included
    ARS_WARN_AT = 10000,           // the rejection that prints the one-shot warning
    ARS_MAX_REJECTIONS = 100000,   // a call that rejects this many proposals is refused
    ARS_MAX_PROBES = 4400          // evaluations one bracketing search may make
};

// One draw from the density proportional to exp(h).  The bracketing searches
// start at x0 (best near the mode) with the base step `step` (finite,
// positive); every proposal takes three uniforms from rs: piece, position and,
// after h is evaluated at the proposal, acceptance.
//
// Refused through the host's error call: a start point or step that is not
// finite, h or h' not finite at x0, a bracketing search that finds no finite
// point where h falls, and ARS_MAX_REJECTIONS rejections in a row.  The 10000th
// rejection of the first call that reaches it prints a warning to standard
// error, once for as long as the library stays loaded.  `observe`, when given,
// gets the same data as the call-back.
double ars(rand_stream* rs, ars_logdens logdens, void* data, double x0, double step,
           ars_observer observe = nullptr);

#endif
