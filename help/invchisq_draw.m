% R = invchisq_draw(S2, NU): scaled inverse chi-square (inverse gamma) draws.
% R = invchisq_draw(S2, NU, M, N)
%
%   Draws independent scaled inverse chi-square variates with scale S2 and
%   NU degrees of freedom: each is NU * S2 / chi2(NU), computed as
%   (NU * S2 / 2) / G with G a gamma variate of shape NU/2 and scale 1
%   (mean NU*S2/(NU-2) for NU > 2).
%
%   Arguments
%     S2, NU  Real double scalars or arrays under the parameter rules of
%             meanshape_draw, S2 in the place of MU: a scalar serves every
%             element of R, an array gives one value per element (two arrays
%             of the same rows and columns), an empty one gives an empty R
%             of its size without a draw.  S2 is not checked: S2 = 0 gives
%             0, a negative S2 negative values, NaN gives NaN.
%     M, N    The size of R, read as meanshape_draw reads it; an array
%             parameter must then be M-by-N.
%
%   Result
%     R       Without M and N the size of the array argument, S2 first.
%             Drawn in column-major order from the host's "rand": the values
%             and the generator's next value are those of one draw at a
%             time, so rand("state", s) reproduces R.  NU NaN, zero or
%             negative gives NaN (as randg(-1) does), NU = Inf (or above
%             about 1.5e307) gives S2 itself, 0 < NU < 2e-5 gives S2 up to
%             rounding, and none of them takes a value from "rand".
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     About as fast as NU*S2./(2*randg(NU/2, M, N)) at 100 draws (1.0 to
%     1.15 times its time), 1.9 to 2.3 times faster at 1000, 2.6 to 4
%     times from 10^4; below 100 draws 1.2 to 1.4 times slower (a call's
%     lookup of rand, which keeps a rand of your own in charge: README,
%     Performance).
%
%   Errors (err.identifier bayesmex:invchisq_draw:REASON)
%     tooManyOutputs, wrongInputCount, inputClass, notReal, tooManyDims,
%     inputEmpty, sizeRange, hostValues, randomState (their texts: help
%     bayesmex), and sizeInconsistent, "Size information is inconsistent.",
%     when S2 and NU are arrays of different sizes, or one of them is an
%     array but not M-by-N.
%
%   Example
%     rand("state", 1);
%     R = invchisq_draw(1, 4, 10000, 1);   % scale 1, 4 degrees of freedom
%     mean(R)                              % about 4 / (4 - 2) = 2
%     sigma2 = invchisq_draw([1 2; 3 4], 10)
%
%   See also invchisq_draw1, meanshape_draw, hyperscale_draw1, randg,
%   gammainc.

%!test
%! assert(size(invchisq_draw(1, 4, 3, 5)), [3 5]);
%! assert(size(invchisq_draw(ones(2, 3), 4)), [2 3]);
%! assert(isempty(invchisq_draw(1, 4, -3, -4)));
%! assert(size(invchisq_draw(zeros(0, 1), 5)), [0 1]);
%! % nu NaN, zero or negative: NaN; infinite: s2; below 2e-5: s2 up to
%! % rounding; none of them takes a value from the stream.
%! rand('state', 1); next = rand(); rand('state', 1);
%! r = invchisq_draw(-3, [0 -4 NaN Inf 1e-5]);
%! assert(isequaln(r(1:4), [NaN NaN NaN -3]) && abs(r(5) + 3) < 1e-12);
%! assert(rand() == next);
%!error id=bayesmex:invchisq_draw:wrongInputCount invchisq_draw(1)
%!error <invchisq_draw: Size information is inconsistent\.> invchisq_draw(ones(3, 1), ones(1, 3))
%!error <invchisq_draw: Input 2 must be a full double array, not int8\.> invchisq_draw(1, int8(4))
%!error <invchisq_draw: Too many output arguments\.> [a, b] = invchisq_draw(1, 4)

% The scaled inverse chi-square law:
% P(X <= x) = P(chi2(nu) >= nu s2 / x) = 1 - gammainc(nu s2 / (2 x), nu / 2).
%!test
%! cases = [1 4; 2.5 0.6; 0.3 1.5; 4 30; 1 2];
%! for k = 1:rows(cases)
%!   s2 = cases(k, 1); nu = cases(k, 2);
%!   rand('state', 200 + k); x = invchisq_draw(s2, nu, 20000, 1);
%!   __bayesmex_ks__(gammainc(nu * s2 ./ (2 * x), nu / 2, 'upper'), sprintf('s2 = %g, nu = %g', s2, nu));
%! end

%!demo
%! rand('state', 1);
%! r = invchisq_draw(1, 4, 10000, 1);
%! printf('median %.3f (law %.3f)\n', median(r), 4 / (2 * gammaincinv(0.5, 2, 'upper')));
%! sigma2 = invchisq_draw([1 2; 3 4], 10)   % one scale per element
