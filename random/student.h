// Student's t law with nu degrees of freedom, as a fill over normals the
// host's "randn" has drawn: z / sqrt(chi2(nu) / nu), the chi-square from
// the gamma law (gamma.h), with closed forms for one and two degrees of
// freedom.
#ifndef BAYESMEX_STUDENT_H
#define BAYESMEX_STUDENT_H

#include "rand.h"

#include <cstddef>

// Student-t variates from the standard normals z[0 .. n-1] already drawn,
// in place, in element order:
//   nu == 1: z / g, g a further normal (Cauchy as a ratio of normals);
//   nu == 2: sqrt(2) (u - 1/2) / sqrt(u (1 - u)) of one uniform, the inverse
//            of the t(2) distribution function (z is not used);
//   nu NaN, zero or negative: NaN, nothing taken;
//   nu with 0.5 nu huge (rand_gamma_huge; +Inf too): z itself, the normal
//            limit, nothing taken;
//   else:    sqrt(nu) z / sqrt(2 G), G = rand_gamma(nu / 2), so 2 G is chi2(nu).
// One nu for every element, or nu.p[i] for element i.
struct rand_student {
    static constexpr int source = RAND_NORMAL;
    static void fill(rand_stream* rs, rand_param nu, double* z, std::size_t n);
};

#endif
