% PARTICLES_MULTINOMIAL  Multinomial resampling of particle indices.
%
%   I = particles_multinomial(W)
%   I = particles_multinomial(W, M)
%   I = particles_multinomial(W, M, N)
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
%     rand("state", 1);
%     I = particles_multinomial([0 1 0 3], 1, 10000);
%     accumarray(I', 1)' / 10000        % about [0 0.25 0 0.75]
