% PARTICLES_SYSTEMATIC  Systematic resampling of particle indices.
%
%   I = particles_systematic(W)
%   I = particles_systematic(W, M)
%   I = particles_systematic(W, M, N)
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
%     W       Real double array of n weights, read in column-major order
%             (rows x columns of it); they need not sum to 1.  They must be
%             finite and non-negative with a positive, finite sum; anything
%             else is refused before the draw.
%     M, N    Size of I, truncated toward zero; negative gives an empty I.
%             Each must pass the scalar test (no dimension above 1; an empty
%             array passes and reads as 0); double or integer-class values
%             (int32(5) is 5).
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
%   Errors
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "Input K must be real.", "Input K must not have more than two
%     dimensions.", "Input K must not be empty beyond its second dimension.",
%     "M must be a scalar." (for M or N),
%     "Sizes must be finite and smaller than 2^31 in magnitude.",
%     "Weights must be finite and not negative.",
%     "Weights must not all be zero.", "Weights must have a finite sum."
%
%   Example
%     particles_systematic([1 1 2], 4, 1)'    % 1 2 3 3 whatever the uniform
%     I = particles_systematic(rand(1, 100), 50);   % 50-by-50
%
%   See also particles_stratified, particles_residual, particles_weights.
