% Y = psi_eval(X) evaluates the digamma function psi(X), elementwise.
%
%   Evaluates psi(x) = d/dx log(gamma(x)) for every element of X: the
%   upward recurrence psi(x) = psi(x + 1) - 1/x until x > 5, then the
%   asymptotic series ln x - 1/(2x) - sum B_2k / (2k x^2k) with eight
%   Bernoulli terms (B_2 to B_16).  Below x = -64 the recurrence would take
%   about |x| steps, so there the reflection formula
%   psi(x) = psi(1 - x) - pi / tan(pi x) is used instead.  Every element
%   takes bounded time.
%
%   Arguments
%     X       Real double array of any size and number of dimensions (a
%             complex X whose imaginary parts are all 0 is read as its real
%             parts).
%
%   Result
%     Y       The size of X, every element computed.
%             psi(+0) = -Inf, psi(-0) = +Inf, psi(negative integer) = -Inf,
%             psi(+Inf) = +Inf, psi(-Inf) = NaN, psi(NaN) = NaN.
%
%   Accuracy (measured against psi computed at 60 digits on 1937 points,
%   tests/data/digamma_table.csv; error = |Y - psi| / max(|psi|, 1), that is
%   relative where |psi| >= 1 and absolute near the roots such as 1.4616):
%     -64 <= x <= 10     at most 6e-13 (the eight-term series at 5 < x <= 6
%                        limits it; bound tested: 1e-12)
%     x > 10             at most 2e-16 (tested: 4.5e-16)
%     x < -64            at most 1.6e-15 (reflection; tested: 4e-15)
%     Relative error close to a root or to a pole can be larger.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     As fast as psi(X) or faster at every size: 1.2 times for one value,
%     1.45 times at 100, 2.4 to 3.4 times from 1000.
%
%   Errors (err.identifier bayesmex:psi_eval:REASON)
%     wrongInputCount, tooManyOutputs, inputClass, notReal (in this order;
%     their texts: help bayesmex).  Any shape is taken.
%
%   Example
%     psi_eval([1 0.5 5])           % -0.5772  -1.9635   1.5061
%     psi_eval(-2.5)                % 1.1032
%
%   See also hyptan_fast, psi, gammaln, gamma.

% Special values, and agreement with Octave's psi.
%!test
%! y = psi_eval([1 0.5 0 -0 -1 -2 -70 -1e300 Inf -Inf NaN]);
%! assert(abs(y(1) + 0.5772156649015329) < 1e-12);
%! assert(abs(y(2) + 1.9635100260214235) < 1e-12);
%! assert(isequal(y(3:9), [-Inf Inf -Inf -Inf -Inf -Inf Inf]));
%! assert(all(isnan(y(10:11))));
%! assert(isequal(size(psi_eval(zeros(0, 3))), [0 3]));
%! x = rand(2, 3, 4) * 10;
%! assert(isequal(psi_eval(x), reshape(psi_eval(x(:)), [2 3 4])));
%! rand('state', 1);
%! x = [rand(1, 1000) * 10, exp(rand(1, 1000) * 40 - 10)];
%! assert(max(abs(psi_eval(x) - psi(x)) ./ max(abs(psi(x)), 1)) < 1e-12);
%! % Odd lengths: vectors and a scalar tail, every width.
%! __bayesmex_same_at_every_width__(@() psi_eval([x(1:1001), -70.5, -1e300, 5, NaN, -Inf]), 'psi_eval');
%! __bayesmex_same_on_threads__(@() psi_eval(repmat(x, 1, 100)), 'psi_eval');

% The branch points: where the recurrence ends (x > 5) and where the
% reflection takes over (x < -64), on either side: bit for bit the recurrence
% and series (and the reflection) in m-code, and within the stated accuracy
% of Octave's psi.
%!function r = series (x)
%! s = 0;
%! while x <= 5, s = s - 1 / x; x = x + 1; end
%! t = 1 / (x * x); r = log(x) + s; r = r - 0.5 / x;
%! p = t * 3617 / 8160; p = p - 1 / 12; p = p * t + 691 / 32760; p = p * t - 1 / 132;
%! p = p * t + 1 / 240; p = p * t - 1 / 252; p = p * t + 1 / 120; p = p * t - 1 / 12;
%! r = r + p * t;
%!endfunction
%!test
%! x = [4, 5 - 4 * eps, 5, 5 + 8 * eps, 6, 0.25, -63.75, -64 + 2^-45, -64 - 2^-45, -64.25, -70.3];
%! y = psi_eval(x);
%! for i = 1:numel(x)
%!   if x(i) >= -64, r = series(x(i)); else, r = series(1 - x(i)) - pi / tan(pi * (x(i) - round(x(i)))); end
%!   assert(y(i) == r, sprintf('psi_eval(%.17g): %.17g, not %.17g', x(i), y(i), r));
%! end
%! near = abs(x + 64) < 1e-6;  % beside the pole Octave's psi loses digits: 40-digit values
%! assert(max(abs(y(!near) - psi(x(!near))) ./ max(abs(psi(x(!near))), 1)) < 1e-12);
%! assert(all(abs(y(near) ./ [-35184372088827.833325 35184372088836.166675] - 1) < 4e-15));

%!error <psi_eval: Input 1 must be real\.> psi_eval([1 2i])
%!error id=bayesmex:psi_eval:wrongInputCount psi_eval()
%!error <psi_eval: Wrong number of input arguments\.> psi_eval(1, 2)
%!error <psi_eval: Input 1 must be a full double array, not single\.> psi_eval(single(1))
%!error <Input 1 must be a full double array, not int32\.> psi_eval(int32(1))
%!error <Input 1 must be a full double array, not logical\.> psi_eval(true)
%!error <psi_eval: Too many output arguments\.> [a, b] = psi_eval(1)

%!demo
%! y = psi_eval([1 0.5 5])   % -0.5772 -1.9635 1.5061
%! y = psi_eval(-2.5)        % 1.1032
