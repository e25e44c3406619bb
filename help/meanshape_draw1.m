% R = meanshape_draw1(MU, NU) is one gamma draw by mean and degrees of freedom.
%
%   Draws one gamma variate with mean MU and NU degrees of freedom:
%   MU * chi2(NU) / NU, a gamma variate with shape NU/2 and scale 2*MU/NU.
%   The same law and the same draws as meanshape_draw(MU, NU) with scalar
%   arguments, without its size handling.
%
%   Arguments
%     MU, NU  Real double values; of an array only the first element
%             counts, and an empty one gives R = [] without drawing.  MU is
%             not checked: MU = 0 gives 0, a negative MU a negative value.
%
%   Result
%     R       1-by-1, drawn from the host's "rand", so rand("state", s)
%             reproduces it exactly.  NU that is NaN, zero or negative
%             gives NaN, NU = Inf gives MU itself, 0 < NU < 2e-5 gives MU up
%             to rounding; none of them takes a value from "rand".
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     A call costs 1.1 to 1.25 times (2*MU/NU)*randg(NU/2) (both mostly
%     Octave's cost of a call; the difference is the lookup of rand that
%     keeps a rand of your own in charge); for many draws meanshape_draw
%     pays from about 100.
%
%   Errors (err.identifier bayesmex:meanshape_draw1:REASON)
%     wrongInputCount, tooManyOutputs (in this order), inputClass, notReal,
%     tooManyDims, inputEmpty, hostValues, randomState: the argument and
%     random-stream errors every drawing function shares (help bayesmex).
%
%   Example
%     rand("state", 1);
%     lambda = meanshape_draw1(2, 5)   % mean 2, 5 degrees of freedom
%
%   See also meanshape_draw, invchisq_draw1, hyperscale_draw1, randg.

%!test
%! r = meanshape_draw1(2, 5);
%! assert(isscalar(r) && r > 0);
%! assert(isscalar(meanshape_draw1(ones(3), 5)));
%! assert(meanshape_draw1(0, 5) == 0);
%!error id=bayesmex:meanshape_draw1:wrongInputCount meanshape_draw1(1)
%!error <meanshape_draw1: Input 1 must be a full double array, not int8\.> meanshape_draw1(int8(1), 2)
%!error <meanshape_draw1: Wrong number of input arguments\.> [a, b] = meanshape_draw1(1, 2, 3)
%!error <meanshape_draw1: Too many output arguments\.> [a, b] = meanshape_draw1(1, 2)

% The same draw and stream position as meanshape_draw.
%!test
%! for nu = [0.7 2 5 40]
%!   __bayesmex_replay__(12, @() meanshape_draw1(3, nu), @() meanshape_draw(3, nu));
%! end

% The gamma law of shape nu/2 and scale 2 mu/nu.
%!test
%! mu = 1.5; nu = 3;
%! x = __bayesmex_draws__(5000, 13, @meanshape_draw1, mu, nu);
%! __bayesmex_ks__(gammainc(x / (2 * mu / nu), nu / 2), 'mu = 1.5, nu = 3');

%!demo
%! rand('state', 1);
%! r = zeros(1000, 1);
%! for i = 1:1000, r(i) = meanshape_draw1(2, 5); end   % e.g. inside a Gibbs loop
%! printf('mean %.3f (law 2), variance %.3f (law 1.6)\n', mean(r), var(r));
