% INVCHISQ_DRAW  Scaled inverse chi-square draws.
%
%   R = invchisq_draw(S2, NU)
%   R = invchisq_draw(S2, NU, M, N)
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
%             supplies its first value to every element (an empty one reads
%             as 0; an empty R reads no parameter).
%     M, N    Size of R: double or integer-class values (int32(5) is 5),
%             truncated toward zero; an empty array reads as 0, negative
%             gives an empty R.
%             An array parameter must then be M-by-N.
%
%   Result
%     R       Without M and N: the size of S2 if it is an array, else that of
%             NU.  Draws are made in column-major order from the host's
%             "rand", so rand("state", s) reproduces them exactly, and the
%             generator is left where drawing them one value at a time
%             would leave it.  NU that is NaN, zero or negative gives NaN
%             (as randg(-1) does), NU = Inf gives S2 itself (the limit
%             law; so does NU above about 1.5e307), 0 < NU < 2e-5 gives S2
%             up to rounding; none of them takes a value from "rand".
%
%   Errors
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "Input K must be real.", "Input K must not have more than two
%     dimensions.", "Input K must not be empty beyond its second dimension.",
%     "Sizes must be finite and smaller than 2^31 in magnitude.",
%     "Size information is inconsistent."
%
%   Example
%     rand("state", 1);
%     R = invchisq_draw(1, 4, 10000, 1);   % scale 1, 4 degrees of freedom
%     mean(R)                              % about 4 / (4 - 2) = 2
%     sigma2 = invchisq_draw([1 2; 3 4], 10)
