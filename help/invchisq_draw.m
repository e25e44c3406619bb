% R = invchisq_draw(S2, NU) draws scaled inverse chi-square (inverse gamma) random numbers.
% R = invchisq_draw(S2, NU, M, N)
%
%   Draws independent scaled inverse chi-square variates with scale S2 and
%   NU degrees of freedom: each is NU * S2 / chi2(NU), computed as
%   (NU * S2 / 2) / G with G a gamma variate of shape NU/2 and scale 1
%   (mean NU*S2/(NU-2) for NU > 2).
%
%   Arguments
%     S2, NU  Real double scalars or arrays.  Two arrays must have the same
%             number of rows and columns; an array supplies one value per
%             element of R, a scalar (any array with no dimension above 1)
%             supplies its first value to every element.
%     M, N    Size of R (truncated toward zero; negative gives an empty R).
%             An array parameter must then be M-by-N.
%
%   Result
%     R       Without M and N: the size of S2 if it is an array, else that of
%             NU.  Draws are made in column-major order from the host's
%             "rand", so rand("state", s) reproduces them exactly, and the
%             generator is left where drawing them one value at a time
%             would leave it.  NU below 2e-5 (zero and negative included)
%             takes nothing from the generator and returns S2 up to rounding
%             (NaN for NU = 0).
%
%   Errors (err.identifier bayesmex:invchisq_draw:REASON)
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "Sizes must be finite and smaller than 2^31 in magnitude.",
%     "Size information is inconsistent."
%
%   Example
%     rand("state", 1);
%     R = invchisq_draw(1, 4, 10000, 1);   % scale 1, 4 degrees of freedom
%     mean(R)                              % about 4 / (4 - 2) = 2
%     sigma2 = invchisq_draw([1 2; 3 4], 10)
%
%   See also invchisq_draw1, meanshape_draw, hyperscale_draw1, randg,
%   gammainc.
