// The scaled inverse chi-square law: nu s2 / chi2(nu), drawn as
// ((nu s2) / 2) / G with G a gamma variate of shape nu / 2 (gamma.h), under
// the degrees-of-freedom rule of rand_dof_law.
#ifndef BAYESMEX_INVCHISQ_H
#define BAYESMEX_INVCHISQ_H

#include "gamma.h"

struct rand_invchisq_form {
    template <class P, class G>
    auto operator()(P s2, double nu, G g) const {
        return ((nu * s2) * 0.5) / g;
    }
};
typedef rand_dof_law<rand_invchisq_form> rand_invchisq;

#endif
