% Y = hyperscale_draw1(A, B, C, D, E): a generalized inverse Gaussian draw.
%
%   Draws one value Y > 0 from the density proportional to
%
%     y^((C*E - B)/2 - 1) * exp(-(A*B / y + (C*E/D) * y) / 2),
%
%   the generalized inverse Gaussian law with index lambda = (C*E - B)/2,
%   chi = A*B and psi = C*E/D.  With C = 0 or E = 0 it is the inverse gamma
%   law of shape B/2 and scale A*B/2 (the scaled inverse chi-square law with
%   B degrees of freedom and scale A); with A*B = 0 it is the gamma law of
%   shape lambda and rate psi/2.  x = -log(Y) is drawn by adaptive rejection
%   sampling from the tangents of its concave log-density (Gilks and Wild
%   1992), starting at Y = A.
%
%   Arguments
%     A, B, C, D, E  Real double arrays; only the first element of each is
%                    read, and an empty one gives Y = [] without drawing
%                    or checking the law.
%
%   Validity rule (checked before anything is drawn, in this order)
%     All five values are finite; D is not 0; A*B >= 0 and C*E/D >= 0 (the
%     signs of the factors decide, so products that underflow or overflow
%     do not); A*B and C*E/D are not both 0; when A*B = 0, B - C*E < 0; when
%     C*E/D = 0, B - C*E > 0 (B - C*E evaluated in double precision).  These
%     are exactly the parameter sets whose law is proper and whose
%     log-density in x = -log(y) is concave.
%
%   Result
%     Y       A positive double.  Each proposal of the sampler takes three
%             values of the host's "rand" (piece, position, acceptance), so
%             rand("state", s) reproduces Y exactly and the generator is left
%             where drawing those values one at a time would leave it.  Laws
%             wider than the doubles (B or lambda near 0) give Inf or 0 with
%             the law's probability of Y beyond realmax or below the least
%             subnormal.  Very slow sampling prints "WARNING: More than 10000
%             rejections in ars" to standard error, once for as long as the
%             module stays loaded.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     With C*E = 0 (an inverse gamma law) the line (A*B/2)/randg(B/2) is 1.1
%     to 1.4 times faster; no m-code line draws the other laws (a grid
%     inverse CDF in m-code takes about 70 times as long).
%
%   Errors (err.identifier bayesmex:hyperscale_draw1:REASON)
%     wrongInputCount, tooManyOutputs (in this order), inputClass, notReal,
%     tooManyDims, inputEmpty, hostValues, randomState (their texts: help
%     bayesmex); then the law's own:
%     notFinite "Inputs must be finite.", zeroD "D must not be zero.",
%     negativeChi "A*B must not be negative.", negativePsi "C*E/D must not
%     be negative.", improperLaw "A*B and C*E/D must not both be zero.",
%     "B - C*E must be negative when A*B is zero.", "B - C*E must be
%     positive when C*E/D is zero.", tooExtreme "The parameters are too
%     extreme: the law's mode or width overflows.",
%     and from the sampler, for laws beyond its resolution: noBracket "The
%     sampler's bracketing search found no finite point where the
%     log-density falls.", badStart "The log-density and its derivative
%     must be finite at the sampler's start point.", "The sampler's start
%     point and step must be finite, the step positive.",
%     tooManyRejections "The sampler rejected 100000 proposals without
%     accepting one."
%
%   Limits
%     Laws so wide in x = -log(y) that the log-density changes by less than
%     1e-9 per unit over long stretches are beyond the tangent sampler and
%     end with one of the sampler's errors instead of running for ever:
%     with C*E/D = 0, exactly those with (B - C*E)/2 below 1e-9; with
%     A*B = 0, those with (C*E - B)/2 below 1e-9 (B - C*E as evaluated in
%     double precision); otherwise lambda near 0 with chi*psi below about
%     1e-30.  Very narrow laws (curvature of the log-density
%     above about 1e10) are sampled around their mode in a centred form
%     that keeps full precision.
%
%   Example
%     rand("state", 1);
%     y = zeros(1000, 1);
%     for i = 1:1000, y(i) = hyperscale_draw1(2, 10, 0, 1, 1); end
%     mean(y)          % inverse gamma, shape 5, scale 10: mean 2.5
%     hyperscale_draw1(1, 2, 3, 4, 5)
%
%   See also invchisq_draw1, meanshape_draw1, randg, gammainc.

%!function y = draws(p, n, seed)
%! q = num2cell(p);
%! y = __bayesmex_draws__(n, seed, @hyperscale_draw1, q{:});
%!endfunction

% c = 0 or e = 0: inverse gamma, shape b/2 and scale a*b/2; a*b = 0: gamma,
% shape lambda = (c*e - b)/2 and rate c*e/(2 d).
%!test
%! cases = [2 10 0 1 1; 0.5 3 0 1 1; 1 1 7 2 0; 30 0.4 0 -2 5];
%! for k = 1:rows(cases)
%!   p = cases(k, :); a = p(1); b = p(2);
%!   y = draws(p, 4000, 200 + k);
%!   __bayesmex_ks__(gammainc(a * b ./ (2 * y), b / 2, 'upper'), sprintf('inverse gamma %s', mat2str(p)));
%! end
%! __bayesmex_ks__(gammainc(draws([0 1 2 1 1], 4000, 300) * 2 / 2, 0.5), 'gamma [0 1 2 1 1]');

% Laws wider than the doubles (shape 5e-5 and 1e-4): most draws are Inf or 0,
% with the law's probability of Y > realmax or Y < 2^-1075, spread evenly
% over that atom of the distribution function.
%!test
%! y = draws([1 1e-4 0 1 1], 4000, 310); F = gammainc(1e-4 ./ (2 * y), 5e-5, 'upper');
%! i = isinf(y); F(i) = 1 - gammainc(1e-4 / 2 / realmax, 5e-5) * (1:sum(i)) / (sum(i) + 1);
%! __bayesmex_ks__(F, 'inverse gamma [1 1e-4 0 1 1]');
%! psi = 1.0002; lam = (psi - 1) / 2; y = draws([0 1 1 1 psi], 4000, 311); F = gammainc(y * psi / 2, lam);
%! i = y == 0; F(i) = exp(lam * (log(psi / 2) - 1075 * log(2)) - gammaln(lam + 1)) * (1:sum(i)) / (sum(i) + 1);
%! __bayesmex_ks__(F, 'gamma [0 1 1 1 1.0002]');

% General laws against the density integrated on a fine grid in x = -log y.
%!function F = gig_cdf(p, y)
%! % P(Y <= y) = P(X >= -log y) for the density of x = -log y,
%! % exp(-lambda x - (chi/2) e^x - (psi/2) e^-x), on a fine grid around its mode.
%! a = p(1); b = p(2); c = p(3); d = p(4); e = p(5);
%! lambda = (c * e - b) / 2; chi = a * b; psi = c * e / d;
%! h = @(x) -lambda * x - chi / 2 * exp(x) - psi / 2 * exp(-x);
%! x = linspace(-60, 60, 600001);
%! hx = h(x); w = exp(hx - max(hx));
%! G = cumtrapz(x, w); G = G / G(end);             % P(X <= x)
%! F = 1 - interp1(x, G, -log(y), 'linear');
%!endfunction
%!test
%! cases = [1 2 3 4 5; -1 -2 1 1 1; 1 2 -1 -1 1; 0.01 1 1 100 0.5; 5 40 3 0.2 20];
%! for k = 1:rows(cases)
%!   p = cases(k, :);
%!   __bayesmex_ks__(gig_cdf(p, draws(p, 4000, 400 + k)), sprintf('law %s', mat2str(p)));
%! end

% Improper laws are refused at once (every message is checked on the
% stand-in host; here Octave's own classes and error path).
%!error <hyperscale_draw1: D must not be zero\.> hyperscale_draw1(1, 2, 3, 0, 5)
%!error id=bayesmex:hyperscale_draw1:wrongInputCount hyperscale_draw1(1, 2, 3, 4)
%!error <Input 5 must be a full double array, not int8\.> hyperscale_draw1(1, 2, 3, 4, int8(5))

% The module against its replay in m-code (which makes its own plan), one
% value of rand() at a time: the same draw bit for bit, and the generator
% left in the same place, over laws chosen by what the code decides: the
% start (y = a, the mode, the centred form), lambda's sign and size, chi and
% psi over many decades, the validity rule's edges, searches that step out
% far, whose probes are pulled back, or whose step is below x0's resolution.
%!test
%! laws = {[1 2 3 4 5], 'a';        [0.01 1 1 100 0.5], 'a';   [2 10 0 1 1], 'a'      % psi = 0
%!         [1 2e3 0 1 1], 'a';      [1e-6 1 2e4 1 1], 'a';     [1 2 2 1 1], 'a'       % lambda -1e3, 1e4, 0
%!         [-1 -2 1 1 1], 'mode';   [1 2 -1 -1 1], 'a';        [1 0 1 1 1], 'mode'    % signs; b = 0
%!         [0 1 2 1 1], 'mode';     [0 1 1 1 1.02], 'mode';    [1 1e-3 0 1 1], 'a'    % chi = 0; wide
%!         [1 1e-6 0 1 1], 'a';     [0 1 1 1 1.000002], 'mode'                        % beyond +-745
%!         [1e-28 1e28 1e28 1e28 1], 'a';   [1e-30 1e30 1e30 1e30 1], 'mode'          % step 1e-14; too small
%!         [1e-306 0.02 0 1 1], 'a';        [1 1.9e10 0 1 1], 'a'                     % overflow; log kappa < 23
%!         [1 2e10 0 1 1], 'centred';       [1 1e12 1e12 1 1], 'centred'              % log kappa > 23
%!         [1e-20 4e12 3 1e-12 1e12], 'centred';  [3 1e11 2e11 5 0.5], 'centred'
%!         [1 1e100 1e100 1 1], 'centred';        [1e300 1 1 1 1], 'centred'};        % mode 1e61 widths off
%! seen = struct('inner', 0, 'nodes', 0, 'probes', 0, 'pulled', 0);
%! for k = 1:rows(laws)
%!   q = num2cell(laws{k, 1});
%!   for s = 1:3
%!     rand('state', s); y1 = hyperscale_draw1(q{:}); next1 = rand();
%!     rand('state', s); [y2, st] = __bayesmex_hyperscale_replay__(q{:}); next2 = rand();
%!     what = sprintf('replay of %s, state %d', mat2str(laws{k, 1}), s);
%!     assert(y1 == y2 && next1 == next2 && strcmp(st.plan, laws{k, 2}), what);
%!     seen.inner += st.inner; seen.nodes = max(seen.nodes, st.nodes);
%!     seen.probes = max(seen.probes, st.probes); seen.pulled += st.pulled;
%!   end
%! end
%! assert(seen.inner > 100 && seen.nodes >= 10 && seen.probes > 200 && seen.pulled > 0, ...
%!        'the replays reach inner pieces, a grown hull, long searches and pulled-back probes');

%!demo
%! rand('state', 1);
%! y = zeros(1000, 1);
%! for i = 1:1000, y(i) = hyperscale_draw1(2, 10, 0, 1, 1); end
%! printf('mean %.3f (inverse gamma, shape 5, scale 10: 2.5)\n', mean(y));
%! y = hyperscale_draw1(1, 2, 3, 4, 5)   % a generalized inverse Gaussian law
