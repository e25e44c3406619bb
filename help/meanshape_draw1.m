% R = meanshape_draw1(MU, NU) draws one gamma random number by mean and degrees of freedom.
%
%   Draws one gamma variate with mean MU and NU degrees of freedom:
%   MU * chi2(NU) / NU, a gamma variate with shape NU/2 and scale 2*MU/NU.
%   The same law and the same draws as meanshape_draw(MU, NU) with scalar
%   arguments, without its size handling.
%
%   Arguments
%     MU, NU  Real double values; of an array only the first element counts.
%
%   Result
%     R       1-by-1, drawn from the host's "rand", so rand("state", s)
%             reproduces it exactly.  NU below 2e-5 (zero and negative
%             included) returns MU up to rounding (NaN for NU = 0).
%
%   Errors (err.identifier bayesmex:meanshape_draw1:REASON), in this order
%     "Wrong number of input arguments.", "Too many output arguments.",
%     "Input K must be a full double array, not CLASS."
%
%   Example
%     rand("state", 1);
%     lambda = meanshape_draw1(2, 5)   % mean 2, 5 degrees of freedom
%
%   See also meanshape_draw, invchisq_draw1, hyperscale_draw1, randg.
