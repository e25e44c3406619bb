% I = particles_residual(W) draws particle indices by residual resampling.
% I = particles_residual(W, M)
% I = particles_residual(W, M, N)
%
%   With T = numel(I), particle j first receives floor(T W(j) / sum(W))
%   copies, in ascending order; the R places left are then filled by
%   independent draws, in the order of the uniforms of the host's rand(R, 1),
%   with probabilities proportional to the fractional parts of the expected
%   counts T W(j) / sum(W).
%
%   Arguments
%     W       The n weights, read in column-major order: finite and
%             non-negative with a positive, finite sum, else refused before
%             any draw.
%     M, N    The size of I, as particles_multinomial reads them (M alone:
%             M-by-M).
%
%   Result
%     I       Indices 1..n as doubles: the size of W, M-by-M with M alone, or
%             M-by-N.  Each particle appears at least floor(T W(j) / sum(W))
%             times and the count is unbiased.  rand is always called for
%             R-by-1, even when R is 0.  An empty W gives zeros (after the
%             same rand(T, 1) call).
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than its m-code (repelem of the floors, lookup for the rest)
%     at every size, N indices from N weights: 2.4 to 11 times.
%
%   Errors (err.identifier bayesmex:particles_residual:REASON)
%     tooManyOutputs, wrongInputCount, inputClass, notReal, tooManyDims,
%     inputEmpty (help bayesmex), then for M and N notScalar "M must be a
%     scalar." and sizeRange, and hostValues, randomState from rand.
%     For the weights: badWeight "Weights must be finite and not
%     negative.", zeroWeights "Weights must not all be zero.",
%     weightsOverflow "Weights must have a finite sum."
%
%   Example
%     particles_residual([1 2 5], 8, 1)'      % 1 2 2 3 3 3 3 3, no draw
%     rand("state", 1);
%     I = particles_residual([1 1 2], 2, 1)   % 3 then 1 or 2
%
%   See also particles_multinomial, particles_stratified,
%   particles_deterministic, rand, lookup.

%!test
%! __bayesmex_resampling_shapes__(@particles_residual);
%! __bayesmex_resampling_errors__('particles_residual');

% R = 1 place left: one uniform, and the generator one value on.
%!test
%! __bayesmex_replay__(4, @() particles_residual([1 1 2], 2, 1), @() [3; 1 + (rand() > 0.5)]);

%!test
%! __bayesmex_resampling_counts__(@particles_residual, 'unbiased');
%! __bayesmex_resampling_counts__(@particles_residual, @(c, e, v) all(c >= floor(e)));

%!demo
%! particles_residual([1 2 5], 8, 1)'      % 1 2 2 3 3 3 3 3, no draw
%! rand('state', 1);
%! I = particles_residual([1 1 2], 2, 1)'  % 3 then 1 or 2
