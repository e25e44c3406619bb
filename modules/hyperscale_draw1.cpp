// hyperscale_draw1(a, b, c, d, e): one draw y > 0 from the conditional
// scale law (modules/common/scalelaw.h), by adaptive rejection sampling of
// x = -ln y (Gilks and Wild 1992).
#include "../host/args.h"
#include "../random/rand.h"
#include "../rejection/ars.h"
#include "common/scalelaw.h"

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (nrhs != 5) args_error("wrongInputCount", "Wrong number of input arguments.");
    if (nlhs > 1) args_error("tooManyOutputs", "Too many output arguments.");
    args_require_doubles(prhs, 1, 5);
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
    case scalelaw::fault::not_finite: args_error("notFinite", "Inputs must be finite.");
    case scalelaw::fault::zero_d: args_error("zeroD", "D must not be zero.");
    case scalelaw::fault::negative_chi: args_error("negativeChi", "A*B must not be negative.");
    case scalelaw::fault::negative_psi: args_error("negativePsi", "C*E/D must not be negative.");
    case scalelaw::fault::both_zero: args_error("improperLaw", "A*B and C*E/D must not both be zero.");
    case scalelaw::fault::chi_zero_rising:
        args_error("improperLaw", "B - C*E must be negative when A*B is zero.");
    case scalelaw::fault::psi_zero_rising:
        args_error("improperLaw", "B - C*E must be positive when C*E/D is zero.");
    }
    scalelaw::plan law;
    if (!scalelaw::plan_of(a, b, c, d, e, &law))
        args_error("tooExtreme", "The parameters are too extreme: the law's mode or width overflows.");

    plhs[0] = mxCreateDoubleMatrix_700(1, 1, mxREAL);
    double* out = mxGetPr(plhs[0]);
    rand_stream rs = rand_open();
    out[0] = law.y_of(ars(&rs, law.logdens(), law.data(), law.x0, law.step));
}
