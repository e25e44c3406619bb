% INVCHISQ_DRAW1  One scaled inverse chi-square draw.
%
%   R = invchisq_draw1(S2, NU)
%
%   Draws one scaled inverse chi-square variate with scale S2 and NU degrees
%   of freedom: NU * S2 / chi2(NU), computed as (S2 * NU / 2) / G with G a
%   gamma variate of shape NU/2.  The same law and the same draws as
%   invchisq_draw(S2, NU) with scalar arguments, without its size handling.
%
%   Arguments
%     S2, NU  Real double values; of an array only the first element
%             counts (an empty array reads as 0).
%
%   Result
%     R       1-by-1, drawn from the host's "rand", so rand("state", s)
%             reproduces it exactly.  NU that is NaN, zero or negative
%             gives NaN, NU = Inf gives S2 itself, 0 < NU < 2e-5 gives S2 up
%             to rounding; none of them takes a value from "rand".
%
%   Errors (in this order)
%     "Wrong number of input arguments.", "Too many output arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "Input K must be real.", "Input K must not have more than two
%     dimensions.", "Input K must not be empty beyond its second dimension."
%
%   Example
%     rand("state", 1);
%     sigma2 = invchisq_draw1(1, 4)    % scale 1, 4 degrees of freedom
