% I = particles_multinomial(W) draws particle indices by multinomial resampling of weights W.
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
%             should be non-negative with a positive sum; they need not sum
%             to 1.  Nothing checks this.
%     M, N    Size of I, truncated toward zero; negative gives an empty I.
%             Each must pass the scalar test (no dimension above 1; an empty
%             array passes and reads as 0).
%
%   Result
%     I       Indices 1..n as doubles: the size of W, M-by-M with M alone, or
%             M-by-N.  Takes exactly numel(I) values from rand, so
%             rand("state", s) reproduces I.  A weight of 0 is never chosen;
%             weights that are all 0 (n >= 2) give 2 everywhere; negative
%             weights still give indices in 1..n.  An empty W gives zeros.
%
%   Errors (err.identifier bayesmex:particles_multinomial:REASON)
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "M must be a scalar." (for M or N),
%     "Sizes must be finite and smaller than 2^31 in magnitude."
%
%   Example
%     rand("state", 1);
%     I = particles_multinomial([0 1 0 3], 1, 10000);
%     accumarray(I', 1)' / 10000        % about [0 0.25 0 0.75]
%
%   See also particles_residual, particles_stratified,
%   particles_deterministic, rand, lookup.
