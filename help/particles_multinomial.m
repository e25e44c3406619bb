% I = particles_multinomial(W) draws particle indices by multinomial resampling.
% I = particles_multinomial(W, M)
% I = particles_multinomial(W, M, N)
%
%   Draws particle indices independently, index j with probability
%   W(j) / sum(W): each uniform u from the host's rand(M, N) becomes the first
%   j whose normalised cumulative weight is at least u.
%
%   Arguments
%     W       Real double array of n weights, read in column-major order
%             (rows x columns of it, so a row, a column or a matrix).  They
%             must be finite and non-negative with a positive, finite sum
%             (they need not sum to 1); anything else is refused before any
%             draw.
%     M, N    Size of I, truncated toward zero; negative gives an empty I.
%             M alone gives M-by-M, as rand(M) does: M indices, one per
%             particle, are (W, M, 1).
%             Each must pass the scalar test (no dimension above 1; an empty
%             array passes and reads as 0); double or integer-class values
%             (int32(5) is 5).
%
%   Result
%     I       Indices 1..n as doubles: the size of W, M-by-M with M alone, or
%             M-by-N.  Takes exactly numel(I) values from rand, so
%             rand("state", s) reproduces I.  A weight of 0 is never chosen.
%             An empty W gives zeros.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than lookup(cumsum(W)/sum(W), rand(N, 1)) + 1 at every size,
%     N indices from N weights: 2.4 times at 100, 4 to 6 times from 1000.
%
%   Errors (err.identifier bayesmex:particles_multinomial:REASON)
%     tooManyOutputs, wrongInputCount, inputClass, notReal, tooManyDims,
%     inputEmpty, notScalar "M must be a scalar." (M or N), sizeRange,
%     hostValues, randomState (the texts not given: help bayesmex).
%     For the weights: badWeight "Weights must be finite and not
%     negative.", zeroWeights "Weights must not all be zero.",
%     weightsOverflow "Weights must have a finite sum."
%
%   Example
%     rand("state", 1);
%     I = particles_multinomial([0 1 0 3], 10000, 1);
%     accumarray(I, 1)' / 10000         % about [0 0.25 0 0.75]
%
%   See also particles_residual, particles_stratified,
%   particles_deterministic, rand, lookup.

%!test
%! __bayesmex_resampling_shapes__(@particles_multinomial);
%! __bayesmex_resampling_errors__('particles_multinomial');

% The host's uniforms, each mapped to the first cumulative weight at least
% it; the generator is left T values on.
%!function ref = replay(w, m, n)
%! u = rand(m, n);
%! c = cumsum(w); c(1:end-1) = c(1:end-1) / c(end); c(end) = 1;
%! ref = zeros(size(u));
%! for i = 1:numel(u)
%!   ref(i) = min(sum(c(1:end-1) < u(i)) + 1, numel(w));
%! end
%!endfunction
%!test
%! w = [0.1 0 0.35 0.05 0.3 0.2];
%! __bayesmex_replay__(9, @() particles_multinomial(w, 30, 40), @() replay(w, 30, 40));

%!test
%! __bayesmex_resampling_counts__(@particles_multinomial, 'unbiased');
%! __bayesmex_resampling_counts__(@particles_multinomial, @(c, e, v) all(c(v == 0) == 0));

%!demo
%! rand('state', 1);
%! I = particles_multinomial([0 1 0 3], 1, 10000);
%! printf('share of each particle: %s (weights / sum: 0 0.25 0 0.75)\n', mat2str(accumarray(I', 1, [4 1])' / 10000, 3));
