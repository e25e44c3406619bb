% R = invchisq_draw1(S2, NU) draws one scaled inverse chi-square (inverse gamma) random number.
%
%   Draws one scaled inverse chi-square variate with scale S2 and NU degrees
%   of freedom: NU * S2 / chi2(NU), computed as (S2 * NU / 2) / G with G a
%   gamma variate of shape NU/2.  The same law and the same draws as
%   invchisq_draw(S2, NU) with scalar arguments, without its size handling.
%
%   Arguments
%     S2, NU  Real double values; of an array only the first element counts.
%
%   Result
%     R       1-by-1, drawn from the host's "rand", so rand("state", s)
%             reproduces it exactly.  NU below 2e-5 (zero and negative
%             included) takes nothing from the generator and returns S2 up
%             to rounding (NaN for NU = 0).
%
%   Errors (err.identifier bayesmex:invchisq_draw1:REASON), in this order
%     "Wrong number of input arguments.", "Too many output arguments.",
%     "Input K must be a full double array, not CLASS."
%
%   Example
%     rand("state", 1);
%     sigma2 = invchisq_draw1(1, 4)    % scale 1, 4 degrees of freedom
%
%   See also invchisq_draw, meanshape_draw1, hyperscale_draw1, randg.
