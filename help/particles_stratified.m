% I = particles_stratified(W) draws particle indices by stratified resampling.
% I = particles_stratified(W, M)
% I = particles_stratified(W, M, N)
%
%   With T = numel(I), the cumulative expected counts 0..T (expected count
%   T W(j) / sum(W)) are cut into T strata of width 1; stratum g (0-based,
%   column-major) holds the point g + U(g+1), U = rand(M, N) from the host,
%   and I(g+1) is the particle whose stretch of cumulative expected count
%   holds that point.  One pass over the particles; strata that lie wholly
%   below a particle's cumulative count are filled without reading their
%   uniform.
%
%   Arguments
%     W, M, N As in particles_multinomial: W the weights in column-major
%             order (finite, non-negative, a positive finite sum; anything
%             else is refused before any draw), M-by-N the size of I (with
%             M alone, M-by-M), whose T elements are the strata.
%
%   Result
%     I       Indices 1..n as doubles in ascending order: the size of W,
%             M-by-M with M alone, or M-by-N.  Each particle's count is
%             unbiased and within 2 of T W(j) / sum(W).  Takes exactly T
%             values from rand.  When rounding leaves the summed expected
%             counts short of the last points, those elements get the last
%             particle of positive weight.  An empty W leaves I all 0.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than min(lookup(N*cumsum(W)/sum(W), (0:N-1)' + rand(N, 1)) +
%     1, N) at every size: 2.4 to 2.7 times up to 1000 indices, 2 times
%     from 10^4.
%
%   Errors (err.identifier bayesmex:particles_stratified:REASON)
%     The argument checks in order: tooManyOutputs, wrongInputCount,
%     inputClass, notReal, tooManyDims, inputEmpty, sizeRange, notScalar
%     "M must be a scalar." (M or N), then badWeight "Weights must be
%     finite and not negative.", zeroWeights "Weights must not all be
%     zero.", weightsOverflow "Weights must have a finite sum."; hostValues
%     and randomState from the host's rand (help bayesmex).
%
%   Example
%     particles_stratified([1 1 2], 4, 1)'    % 1 2 3 3 whatever the uniforms
%     x = randn(100, 1); w = exp(-x.^2);      % particles and their weights
%     x = x(particles_stratified(w, 100, 1));  % resampled: 100-by-1
%
%   See also particles_multinomial, particles_residual,
%   particles_deterministic, rand, lookup.

%!test
%! __bayesmex_resampling_shapes__(@particles_stratified);
%! __bayesmex_resampling_errors__('particles_stratified');

% Takes exactly T values from rand.
%!test
%! __bayesmex_replay__(4, @() size(particles_stratified([0.1 0 0.35 0.05 0.3 0.2], 7, 3)), @() size(rand(7, 3)));

%!test
%! __bayesmex_resampling_counts__(@particles_stratified, 'unbiased');
%! __bayesmex_resampling_counts__(@(v, T, ~) particles_stratified(v, 1, T), @(c, e, v) all(abs(c - e) < 2));

%!demo
%! particles_stratified([1 1 2], 4, 1)'    % 1 2 3 3 whatever the uniforms
%! rand('state', 1);
%! I = particles_stratified([0.1 0.2 0.7], 1, 10)
