#include "ars.h"

#include "../host/args.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

namespace {

// Set once the rejection warning has been printed; never reset while the
// library stays loaded, so the warning comes at most once per load.
bool warned = false;

// Slopes within this of zero or of each other count as equal: such a tangent
// would make a piece of (nearly) infinite mass or a meeting point at infinity.
const double flat = 1e-9;

bool is_finite(double v) { return std::isfinite(v); }

[[noreturn]] void no_bracket() {
    args_fail(msg::no_bracket);
}

// Evaluates h at the probe *to.  Where h or h' is not finite there (the
// density underflows, or the call-back overflows) a tangent would make the
// hull NaN, so the probe is pulled back halfway toward the last finite point
// `from`, as often as needed.  Counts every evaluation against the search's
// bound.
double probe(ars_logdens logdens, void* data, double from, double* to, double* d, int* evals) {
    double gap = *to - from;
    if (!is_finite(gap)) gap = std::copysign(DBL_MAX, gap);
    double x = *to;
    for (;;) {
        if (++*evals > ARS_MAX_PROBES) no_bracket();
        if (is_finite(x)) {
            double h = logdens(d, data, x);
            if (is_finite(h) && is_finite(*d)) {
                *to = x;
                return h;
            }
        }
        gap *= 0.5;
        x = from + gap;
        if (x == from) no_bracket();
    }
}

double start(ars_logdens logdens, void* data, double x0, double* d) {
    double h = logdens(d, data, x0);
    if (!is_finite(h) || !is_finite(*d))
        args_fail(msg::bad_start_density);
    return h;
}

void set_tangent(hull_node* n, double x, double h, double d) {
    n->x = x;
    n->slope = d;
    n->intercept = h - x * d;
}

// Meeting point of the tangents of n and n->next.
void meet(hull_node* n) {
    n->z = (n->next->intercept - n->intercept) / (n->slope - n->next->slope);
}

}  // namespace

double ars(rand_stream* rs, ars_logdens logdens, void* data, double x0, double step,
           ars_observer observe) {
    if (!is_finite(x0) || !is_finite(step) || !(step > 0))
        args_fail(msg::bad_start_step);

    hull_node pool[ARS_POOL];
    pool[0].prev = nullptr;
    pool[0].next = &pool[1];
    pool[1].prev = &pool[0];
    pool[1].next = nullptr;
    hull_node* root = &pool[0];  // the node of smallest abscissa

    // Left bracket: probes at x0 - (2^k - 1) step until h rises (h' >= flat)
    // and lies 0.1 below the running maximum G.  The start point itself is
    // within 0.1 of G, so at least one step is taken.
    double d;
    double h = start(logdens, data, x0, &d);
    double c = x0, G = h;
    int evals = 0;
    while (d < flat || h > G - 0.1) {
        double to = c - ((x0 - c) + step);
        h = probe(logdens, data, c, &to, &d, &evals);
        c = to;
        if (h > G) G = h;
    }
    set_tangent(&pool[0], c, h, d);

    // Right bracket, mirrored; G carries over from the left search, so the
    // right node may stay at x0.
    h = start(logdens, data, x0, &d);
    c = x0;
    evals = 0;
    while (d > -flat || h > G - 0.1) {
        double to = c + (c - x0) + step;
        h = probe(logdens, data, c, &to, &d, &evals);
        c = to;
        if (h > G) G = h;
    }
    set_tangent(&pool[1], c, h, d);
    meet(&pool[0]);

    int next_free = 2;
    int rejections = 0;
    bool changed = true;  // the hull gained a node since its masses were summed
    double T = 0.0;
    for (;;) {
        // The masses depend on the hull alone: once the pool is full (or a
        // rejected point adds no tangent) they are reused as they are, which
        // keeps long runs of rejections at the cost of the proposals alone.
        if (changed) {
            // Hull maximum over the break points: every exponential below is
            // of a tangent minus M, at most 0 at the break points.
            double M = root->slope * root->z + root->intercept;
            for (hull_node* n = root->next; n->next; n = n->next) {
                double t = n->slope * n->z + n->intercept;
                if (t > M) M = t;
            }
            hull_node* n = root;
            n->mass = std::exp(n->slope * n->z + n->intercept - M) / n->slope;
            T = n->mass;
            for (n = n->next; n->next; n = n->next) {
                n->mass = (std::exp(n->slope * n->z + n->intercept - M) -
                           std::exp(n->slope * n->prev->z + n->intercept - M)) /
                          n->slope;
                T += n->mass;
            }
            n->mass = -std::exp(n->slope * n->prev->z + n->intercept - M) / n->slope;
            T += n->mass;
            changed = false;
        }

        // A proposal takes exactly three uniforms: piece, position, acceptance.
        rand_batch(rs, RAND_UNIFORM, 3);
        double r = rand_uniform(rs) * T;
        hull_node* k = root;
        while (k->next) {
            r -= k->mass;
            if (r >= 0)
                k = k->next;
            else
                break;
        }

        // Inverse distribution function of exp(slope * y) on k's piece.
        double v = rand_uniopen(rs);  // uniopen: log(v) is taken
        double y;
        if (!k->prev) {
            y = k->z + std::log(v) / k->slope;
        } else if (!k->next) {
            y = k->prev->z + std::log(v) / k->slope;
        } else {
            // Counted from the end where the density is largest, so E <= 1.
            double E = std::exp((k->prev->z - k->z) * std::fabs(k->slope));
            double L = std::log(E * (1 - v) + v);
            y = k->slope > 0 ? L / k->slope + k->z : L / k->slope + k->prev->z;
        }

        double dy;
        double hy = logdens(&dy, data, y);
        if (observe) observe(data, root);
        if (std::exp(hy - k->slope * y - k->intercept) >= rand_uniform(rs)) return y;

        // Rejected: add y's tangent unless the pool is full or it would be
        // (nearly) flat or parallel to a neighbour's; a value or slope that is
        // not finite would make the hull NaN.
        double iy = hy - y * dy;
        if (next_free < ARS_POOL && std::fabs(dy) > flat && std::fabs(dy - k->slope) > flat &&
            (!k->prev || std::fabs(dy - k->prev->slope) > flat) &&
            (!k->next || std::fabs(dy - k->next->slope) > flat) && is_finite(iy) && is_finite(dy)) {
            hull_node* P = k->x <= y ? k : k->prev;
            hull_node* N = &pool[next_free];
            N->prev = P;
            if (P) {
                N->next = P->next;
                P->next = N;
            } else {
                N->next = root;
                root = N;
            }
            if (N->next) N->next->prev = N;
            N->x = y;
            N->slope = dy;
            N->intercept = iy;
            if (P) meet(P);
            if (N->next) meet(N);
            ++next_free;
            changed = true;
        }

        ++rejections;
        if (rejections == ARS_WARN_AT && !warned) {
            std::fputs("WARNING: More than 10000 rejections in ars\n", stderr);
            warned = true;
        }
        if (rejections >= ARS_MAX_REJECTIONS)
            args_fail(msg::too_many_rejections);
    }
}
