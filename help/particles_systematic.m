% I = particles_systematic(W) draws particle indices by systematic resampling.
% I = particles_systematic(W, M)
% I = particles_systematic(W, M, N)
%
%   With T = numel(I), the cumulative expected counts 0..T (expected count
%   T W(j) / sum(W), summed left to right) are cut into T strata of width 1,
%   and every stratum g (0-based, column-major) holds the point g + U for
%   one uniform U = rand() from the host, shared by all strata.  I(g+1) is
%   the particle j whose stretch of cumulative expected count holds that
%   point: Q(j-1) < g + U <= Q(j).  One pass over the particles, no table
%   and no search.  It takes the least randomness of the random schemes,
%   and is the cheapest of them.
%
%   Arguments
%     W       Weights in column-major order; they need not sum to 1, but
%             must be finite and non-negative with a positive, finite sum
%             (refused before the draw otherwise).
%     M, N    I is M-by-N, or M-by-M with M alone; both are read as
%             particles_multinomial reads them.
%
%   Result
%     I       Indices 1..n as doubles in ascending order: the size of W,
%             M-by-M with M alone, or M-by-N.  Each particle's count is
%             floor or floor + 1 of T W(j) / sum(W), and unbiased.  Takes
%             exactly one value from rand, even when I is empty, so
%             rand("state", s) reproduces I and the next draw after the
%             call.  When rounding leaves the summed expected counts short
%             of the last points, those elements hold the last particle of
%             positive weight.  An empty W gives zeros.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than min(lookup(N*cumsum(W)/sum(W), (0:N-1)' + rand) + 1, N)
%     at every size: 2.5 to 3 times up to 1000 indices, 2.2 to 2.4 times
%     from 10^4.
%
%   Errors (err.identifier bayesmex:particles_systematic:REASON)
%     notScalar "M must be a scalar." for M or N, badWeight "Weights must
%     be finite and not negative.", zeroWeights "Weights must not all be
%     zero.", weightsOverflow "Weights must have a finite sum.", and the
%     shared tooManyOutputs, wrongInputCount, inputClass, notReal,
%     tooManyDims, inputEmpty, sizeRange, hostValues and randomState (help
%     bayesmex).
%
%   Example
%     particles_systematic([1 1 2], 4, 1)'    % 1 2 3 3 whatever the uniform
%     x = randn(100, 1); w = exp(-x.^2);      % particles and their weights
%     x = x(particles_systematic(w, 100, 1));  % resampled: 100-by-1
%
%   See also particles_stratified, particles_residual,
%   particles_multinomial, particles_deterministic, particles_weights, rand.

%!test
%! __bayesmex_resampling_shapes__(@particles_systematic);
%! __bayesmex_resampling_errors__('particles_systematic');

% One uniform u, taken even for an empty result, and the walk replayed
% operation by operation (its accumulator is the cumulative expected count
% less the strata filled, so cumsum would round otherwise).
%!function idx = replay(w, T)
%! u = rand();
%! idx = zeros(T, 1); g = 0; a = 0; total = 0; last = 0;
%! for j = 1:numel(w), total = total + w(j); end
%! for j = 1:numel(w)
%!   if w(j) > 0, last = j; end
%!   a = a + w(j) / total * T;
%!   if a >= 1
%!     k = fix(a); a = a - k;
%!     idx(g + 1:min(g + k, T)) = j; g = min(g + k, T);
%!   end
%!   if g < T && a >= u
%!     g = g + 1; idx(g) = j; a = a - 1;
%!   end
%! end
%! idx(g + 1:end) = last;
%!endfunction
%!test
%! rand('state', 5); v = rand(1, 50) .* (rand(1, 50) > 0.3);
%! __bayesmex_replay__(6, @() reshape(particles_systematic(v, 30, 40), [], 1), @() replay(v, 1200));
%! __bayesmex_replay__(6, @() particles_systematic(v, 0), @() zeros(0, 0) + 0 * rand());

%!test
%! __bayesmex_resampling_counts__(@particles_systematic, 'unbiased');
%! __bayesmex_resampling_counts__(@(v, T, ~) particles_systematic(v, 1, T), ...
%!                                @(c, e, v) all(c == floor(e) | c == floor(e) + 1));

%!demo
%! particles_systematic([1 1 2], 4, 1)'    % 1 2 3 3 whatever the uniform
%! rand('state', 1);
%! I = particles_systematic([0.1 0.2 0.7], 1, 10)
