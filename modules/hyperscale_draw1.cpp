// hyperscale_draw1(a, b, c, d, e): one draw y > 0 from the conditional
// scale law (modules/common/scalelaw.h), by adaptive rejection sampling of
// x = -ln y (Gilks and Wild 1992).
#include "../host/args.h"
#include "../random/rand.h"
#include "../rejection/ars.h"
#include "common/scalelaw.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    args_check(args_this, nlhs, nrhs, prhs);
    // An empty parameter gives an empty result and draws nothing: there is no
    // law to check or sample (never one with that parameter read as 0).
    for (int i = 0; i < 5; ++i)
        if (args_count(prhs[i]) == 0) {
            plhs[0] = mxCreateDoubleMatrix_700(0, 0, mxREAL);
            return;
        }

    const double a = args_scalar(prhs[0]);
    const double b = args_scalar(prhs[1]);
    const double c = args_scalar(prhs[2]);
    const double e = args_scalar(prhs[4]);
    const double d = args_scalar(prhs[3]);
    switch (scalelaw::check_law(a, b, c, d, e)) {
    case scalelaw::fault::none: break;
    case scalelaw::fault::not_finite: args_fail(msg::not_finite);
    case scalelaw::fault::zero_d: args_fail(msg::zero_d);
    case scalelaw::fault::negative_chi: args_fail(msg::negative_chi);
    case scalelaw::fault::negative_psi: args_fail(msg::negative_psi);
    case scalelaw::fault::both_zero: args_fail(msg::improper_both);
    case scalelaw::fault::chi_zero_rising: args_fail(msg::improper_chi);
    case scalelaw::fault::psi_zero_rising: args_fail(msg::improper_psi);
    }
    scalelaw::plan law;
    if (!scalelaw::plan_of(a, b, c, d, e, &law)) args_fail(msg::too_extreme);

    plhs[0] = mxCreateDoubleMatrix_700(1, 1, mxREAL);
    double* out = mxGetPr(plhs[0]);
    rand_stream rs = rand_open();
    out[0] = law.y_of(ars(&rs, law.logdens(), law.data(), law.x0, law.step));
}
