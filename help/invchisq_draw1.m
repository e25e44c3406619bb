% R = invchisq_draw1(S2, NU): a scaled inverse chi-square (inverse gamma) draw.
%
%   Draws one scaled inverse chi-square variate with scale S2 and NU degrees
%   of freedom: NU * S2 / chi2(NU), computed as (S2 * NU / 2) / G with G a
%   gamma variate of shape NU/2.  The same law and the same draws as
%   invchisq_draw(S2, NU) with scalar arguments, without its size handling.
%
%   Arguments
%     S2, NU  As in meanshape_draw1 (S2 for MU): real double values of
%             which only the first element counts, an empty one giving
%             R = [] without a draw; S2 is not checked (0 gives 0, a negative
%             S2 a negative value).
%
%   Result
%     R       1-by-1, from the host's "rand" (rand("state", s) reproduces
%             it).  NaN for NU NaN, zero or negative, S2 itself for NU = Inf
%             and S2 up to rounding for 0 < NU < 2e-5, with no value taken
%             from "rand" in these three cases.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     A call costs 1.1 to 1.25 times NU*S2/(2*randg(NU/2)) (both mostly
%     Octave's cost of a call; the difference is the lookup of rand that
%     keeps a rand of your own in charge); for many draws invchisq_draw
%     pays from about 100.
%
%   Errors (err.identifier bayesmex:invchisq_draw1:REASON)
%     In this order wrongInputCount, tooManyOutputs, then inputClass,
%     notReal, tooManyDims, inputEmpty; hostValues, randomState from the
%     host's rand (their texts: help bayesmex).
%
%   Example
%     rand("state", 1);
%     sigma2 = invchisq_draw1(1, 4)    % scale 1, 4 degrees of freedom
%     tau = 1 / invchisq_draw1(2, 10);   % a precision: gamma, mean 1/2
%
%   See also invchisq_draw, meanshape_draw1, hyperscale_draw1, randg.

%!test
%! r = invchisq_draw1(1, 4);
%! assert(isscalar(r) && r > 0);
%! assert(isscalar(invchisq_draw1(ones(3), 4)));
%! % nu NaN, zero or negative: NaN; infinite: s2; nothing taken.
%! rand('state', 1); next = rand(); rand('state', 1);
%! assert(isnan([invchisq_draw1(3, 0), invchisq_draw1(3, -4), invchisq_draw1(3, NaN)]));
%! assert(invchisq_draw1(3, Inf) == 3 && meanshape_draw1(-2, Inf) == -2 && isnan(meanshape_draw1(1, -1)));
%! assert(rand() == next);
%!error id=bayesmex:invchisq_draw1:wrongInputCount invchisq_draw1(1, 2, 3)
%!error <invchisq_draw1: Input 2 must be a full double array, not cell\.> invchisq_draw1(1, {2})
%!error <invchisq_draw1: Wrong number of input arguments\.> [a, b] = invchisq_draw1(1)
%!error <invchisq_draw1: Too many output arguments\.> [a, b] = invchisq_draw1(1, 2)

% The same draw and stream position as invchisq_draw.
%!test
%! for nu = [0.7 2 5 40]
%!   __bayesmex_replay__(14, @() invchisq_draw1(3, nu), @() invchisq_draw(3, nu));
%! end

% P(X <= x) = 1 - gammainc(nu s2 / (2 x), nu / 2).
%!test
%! s2 = 2; nu = 5;
%! x = __bayesmex_draws__(5000, 15, @invchisq_draw1, s2, nu);
%! __bayesmex_ks__(gammainc(nu * s2 ./ (2 * x), nu / 2, 'upper'), 's2 = 2, nu = 5');

%!demo
%! rand('state', 1);
%! r = zeros(1000, 1);
%! for i = 1:1000, r(i) = invchisq_draw1(2, 10); end   % e.g. inside a Gibbs loop
%! printf('mean %.3f (law 10*2/(10-2) = 2.5)\n', mean(r));
