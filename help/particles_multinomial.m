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

%!test
%! __bayesmex_resampling_shapes__(@particles_multinomial);
%!error id=bayesmex:particles_multinomial:notScalar particles_multinomial([0.5 0.5], [1 2])
%!error <particles_multinomial: M must be a scalar\.> particles_multinomial([0.5 0.5], 2, [1; 2])
%!error id=bayesmex:particles_multinomial:wrongInputCount particles_multinomial()
%!error <particles_multinomial: Wrong number of input arguments\.> particles_multinomial(1, 1, 1, 1)
%!error <particles_multinomial: Input 1 must be a full double array, not single\.> particles_multinomial(single(1))
%!error <Input 2 must be a full double array, not int32\.> particles_multinomial(1, int32(2))
%!error <Sizes must be finite and smaller than 2\^31 in magnitude\.> particles_multinomial(1, 2, NaN)
%!error <particles_multinomial: Too many output arguments\.> [a, b] = particles_multinomial(1)

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
