% I = particles_deterministic(W) gives particle indices by deterministic resampling of weights W.
% I = particles_deterministic(W, M)
% I = particles_deterministic(W, M, N)
%
%   With T = numel(I), particle j receives floor(T W(j) / sum(W)) copies,
%   and one more whenever a running sum of the fractional parts of the
%   expected counts, started at 1/2, passes a whole number.  No randomness:
%   the same input always gives the same output, and rand is not called.
%
%   Arguments
%     W       Real double array of n weights, read in column-major order
%             (rows x columns of it).  They should be non-negative with a
%             positive sum.  Nothing checks this.
%     M, N    Size of I, truncated toward zero; negative gives an empty I.
%             Each must pass the scalar test (no dimension above 1).
%
%   Result
%     I       Indices 1..n as doubles in ascending order: the size of W,
%             M-by-M with M alone, or M-by-N.  Each particle appears
%             floor(T W(j) / sum(W)) times or once more, T times in all.
%             Weights that are all 0, or an empty W, leave I all 0.
%             Negative weights never write beyond I.
%
%   Errors (err.identifier bayesmex:particles_deterministic:REASON)
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "M must be a scalar." (for M or N),
%     "Sizes must be finite and smaller than 2^31 in magnitude."
%
%   Example
%     particles_deterministic([1 1 1], 5, 1)'        % 1 1 2 3 3
%     particles_deterministic(0.1 * ones(1, 10))     % 1 2 ... 10
%
%   See also particles_multinomial, particles_residual,
%   particles_stratified, rand, lookup.

%!test
%! __bayesmex_resampling_shapes__(@particles_deterministic);
%!error id=bayesmex:particles_deterministic:notScalar particles_deterministic([0.5 0.5], [1 2])
%!error <particles_deterministic: M must be a scalar\.> particles_deterministic([0.5 0.5], 2, [1; 2])
%!error id=bayesmex:particles_deterministic:wrongInputCount particles_deterministic()
%!error <particles_deterministic: Wrong number of input arguments\.> particles_deterministic(1, 1, 1, 1)
%!error <particles_deterministic: Input 1 must be a full double array, not single\.> particles_deterministic(single(1))
%!error <Input 2 must be a full double array, not int32\.> particles_deterministic(1, int32(2))
%!error <Sizes must be finite and smaller than 2\^31 in magnitude\.> particles_deterministic(1, 2, NaN)
%!error <particles_deterministic: Too many output arguments\.> [a, b] = particles_deterministic(1)

% No randomness: the generators are left where they were.
%!test
%! __bayesmex_replay__(4, @() particles_deterministic([1 1 1], 5, 1), @() [1; 1; 2; 3; 3]);
%! __bayesmex_resampling_counts__(@particles_deterministic, @(c, e, v) all(c == floor(e) | c == floor(e) + 1));

%!demo
%! particles_deterministic([1 1 1], 5, 1)'        % 1 1 2 3 3
%! particles_deterministic(0.1 * ones(1, 10))     % 1 2 ... 10
