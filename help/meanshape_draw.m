% R = meanshape_draw(MU, NU) draws gamma numbers by mean and degrees of freedom.
% R = meanshape_draw(MU, NU, M, N)
%
%   Draws independent gamma variates with mean MU and NU degrees of
%   freedom: each is MU * chi2(NU) / NU, a gamma variate with shape NU/2 and
%   scale 2*MU/NU (mean MU, variance 2*MU^2/NU).
%
%   Arguments
%     MU, NU  Real double scalars or arrays.  A scalar (one element)
%             supplies its value to every element of R; an array (any other
%             number of elements, none included) one value per element, and
%             two arrays must have the same number of rows and columns.  An
%             empty parameter gives an empty R of its size, drawing nothing.
%             MU is not checked: MU = 0 gives 0, a negative MU negative
%             values (MU times a positive gamma variate), NaN gives NaN.
%     M, N    Size of R: double or integer-class values (int32(5) is 5),
%             truncated toward zero; an empty array reads as 0, negative
%             gives an empty R.
%             An array parameter must then be M-by-N.
%
%   Result
%     R       Without M and N: the size of MU if it is an array, else that of
%             NU.  Draws are made in column-major order from the host's
%             "rand", so rand("state", s) reproduces them exactly, and the
%             generator is left where drawing them one value at a time
%             would leave it.  NU that is NaN, zero or negative gives NaN
%             (as randg(-1) does), NU = Inf gives MU itself (the limit
%             law; so does NU above about 1.5e307), 0 < NU < 2e-5 gives MU
%             up to rounding; none of them takes a value from "rand".
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     As fast as (2*MU/NU).*randg(NU/2, M, N) at 100 draws (0.95 to 1.05
%     times its time), 1.9 to 2.4 times faster at 1000, 2.7 to 3.7 times
%     from 10^4; below 100 draws 1.1 to 1.35 times slower (a call's lookup
%     of rand, which keeps a rand of your own in charge: README,
%     Performance).
%
%   Errors (err.identifier bayesmex:meanshape_draw:REASON)
%     tooManyOutputs, wrongInputCount, inputClass, notReal, tooManyDims,
%     inputEmpty, sizeRange, hostValues, randomState (their texts: help
%     bayesmex), and sizeInconsistent, "Size information is inconsistent.",
%     for MU and NU arrays of different sizes, or either not M-by-N.
%
%   Example
%     rand("state", 1);
%     R = meanshape_draw(2, 5, 1000, 1);   % mean 2, 5 degrees of freedom
%     [mean(R), var(R)]                    % about [2, 1.6]
%     lambda = meanshape_draw([1 2; 3 4], 10)
%
%   See also meanshape_draw1, invchisq_draw, studentt_draw, randg, gammainc.

%!test
%! r = meanshape_draw(2, 5);
%! assert(isscalar(r) && r > 0);
%! assert(size(meanshape_draw(1, 5, 3, 4)), [3 4]);
%! assert(size(meanshape_draw(ones(2, 3), 5)), [2 3]);
%! assert(size(meanshape_draw(1, zeros(0, 5))), [0 5]);
%! assert(size(meanshape_draw(zeros(0, 1), 5)), [0 1]);
%! assert(isempty(meanshape_draw(1, 2, -3, -4)));
%!error id=bayesmex:meanshape_draw:wrongInputCount meanshape_draw(1)
%!error id=bayesmex:meanshape_draw:sizeInconsistent meanshape_draw(ones(2, 3), ones(3, 2))
%!error <meanshape_draw: Input 1 must be a full double array, not int8\.> meanshape_draw(int8(1), 2)
%!error <Input 2 must be a full double array, not single\.> meanshape_draw(1, single(2))
%!error <Input 3 must be a full double array, not logical\.> meanshape_draw(1, 2, true, 1)
%!error <Input 4 must be a full double array, not cell\.> meanshape_draw(1, 2, 1, {1})
%!error <Input 1 must be a full double array, not struct\.> meanshape_draw(struct('a', 1), 2)
%!error <Input 1 must be a full double array, not function_handle\.> meanshape_draw(@sin, 2)
%!error <Input 1 must be a full double array, not sparse\.> meanshape_draw(sparse(1), 2)
%!error id=bayesmex:meanshape_draw:inputClass meanshape_draw(sparse(1), 2)
%!error <meanshape_draw: Sizes must be finite and smaller than 2\^31 in magnitude\.> meanshape_draw(1, 2, NaN, 1)
%!error <meanshape_draw: Too many output arguments\.> [a, b] = meanshape_draw(1, 2)

% The host property block fetching rests on: rand(k, 1) gives the values of
% k successive rand() calls.
%!test
%! rand('state', 5); a = rand(1000, 1);
%! rand('state', 5); b = zeros(1000, 1); for i = 1:1000, b(i) = rand(); end
%! assert(isequal(a, b));

% The values and the stream position of the one-value-at-a-time algorithm.
%!function ref = replay(mu, nu, n)
%! ref = zeros(1, n);
%! for i = 1:n
%!   v = nu(min(i, end));
%!   g = __bayesmex_gamma_replay__(0.5 * v);
%!   if !(v > 0)
%!     ref(i) = NaN;
%!   elseif 3 * (0.5 * v) - 0.75 > realmax / 8
%!     ref(i) = mu;
%!   else
%!     ref(i) = ((g + g) * mu) / v;
%!   end
%! end
%!endfunction
%!test
%! % Each path of a scalar nu and a mixed nu array (NaN, zero and negative
%! % nu give NaN, infinite nu gives mu, and none of them takes a value), at
%! % every lane width.
%! mixed = repmat([0.7 2 5 1e-6 -1 NaN Inf 2.00001 40 0 1e308 3.5], 1, 20);
%! __bayesmex_at_every_width__(@(w) cellfun(@(nu) __bayesmex_replay__(42, ...
%!   @() meanshape_draw(-3, nu, 1, 240), @() replay(-3, nu, 240)), {0.7, 2, 5, 40, mixed}, 'UniformOutput', false));

% The gamma law of shape nu/2, scale 2 mu/nu.
%!test
%! cases = [1 5; 2.5 0.6; 0.3 1.5; 4 30; 1 2];
%! for k = 1:rows(cases)
%!   mu = cases(k, 1); nu = cases(k, 2);
%!   rand('state', 100 + k);
%!   x = meanshape_draw(mu, nu, 20000, 1);
%!   __bayesmex_ks__(gammainc(x / (2 * mu / nu), nu / 2), sprintf('mu = %g, nu = %g', mu, nu));
%! end

%!demo
%! rand('state', 1);
%! r = meanshape_draw(2, 5, 10000, 1);
%! printf('mean %.3f (law 2), variance %.3f (law 2*2^2/5 = 1.6)\n', mean(r), var(r));
%! lambda = meanshape_draw([1 2; 3 4], 10)   % one mean per element
