% P = simplex_draw(K) draws uniform points on the simplex (flat Dirichlet law).
% P = simplex_draw(K, N)
%
%   Draws N independent points from the flat Dirichlet law Dir(1, ..., 1)
%   on the K-dimensional probability simplex, one per column: one
%   rand(K, N) call, each uniform U becomes -log(U), and each column is
%   divided by its sum.
%
%   Arguments
%     K       Number of components, a scalar (truncated toward zero).
%     N       Number of points, a scalar (truncated toward zero); 1 if absent.
%             Both may be double or integer-class (int32(5) is 5); an empty
%             array reads as 0.
%
%   Result
%     P       K-by-N, non-negative columns summing to 1 up to rounding.  An
%             empty P when K or N is 0 or negative.  P is a function of the
%             one rand(K, N) array, so rand("state", s) reproduces it exactly.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than x = -log(rand(K, N)); x ./ sum(x) at every size, about 2 to
%     2.5 times (K = 3).
%
%   Errors (err.identifier bayesmex:simplex_draw:REASON)
%     notScalar, "First argument must be a scalar." and "Second argument
%     must be a scalar." (K and N); tooManyOutputs, wrongInputCount,
%     inputClass, notReal, tooManyDims, inputEmpty, sizeRange, hostValues,
%     randomState (their texts: help bayesmex).
%
%   Example
%     rand("state", 1);
%     P = simplex_draw(3, 5)    % five points of the triangle
%     sum(P)                    % ones
%
%   See also exponential_draw, weightboot_average, rande, randg.

%!test
%! assert(size(simplex_draw(3)), [3 1]);
%! assert(size(simplex_draw(3, 4)), [3 4]);
%! assert(size(simplex_draw(2.7)), [2 1]);
%! assert(isequal(simplex_draw(1, 5), ones(1, 5)));
%! assert(isempty(simplex_draw(0)) && isempty(simplex_draw(3, 0)));
%! assert(isempty(simplex_draw(-3, 4)) && isempty(simplex_draw(-3, -4)));
%!error id=bayesmex:simplex_draw:wrongInputCount simplex_draw()
%!error <simplex_draw: First argument must be a scalar\.> simplex_draw([1 2 3], ones(2))
%!error <simplex_draw: Second argument must be a scalar\.> simplex_draw(3, ones(2))
%!error <simplex_draw: Input 1 must be a full double array, not logical\.> simplex_draw(true)
%!error <simplex_draw: Too many output arguments\.> [a, b] = simplex_draw(3)

% One rand(K, N) call: the same bits as the m-code normalisation in order.
%!function P = replay(K, N)
%! E = -log(rand(K, N));
%! S = zeros(1, N);
%! for j = 1:K, S = S + E(j, :); end
%! P = E ./ S;
%!endfunction
%!test
%! __bayesmex_replay__(11, @() simplex_draw(4, 6), @() replay(4, 6));

% Every column sums to 1; each component is Beta(1, K - 1), whose
% distribution function is 1 - (1 - x)^(K - 1).
%!test
%! for K = [2 3 10]
%!   rand('state', 600 + K);
%!   P = simplex_draw(K, 20000);
%!   assert(all(P(:) >= 0) && max(abs(sum(P) - 1)) < 1e-13);
%!   for j = [1 K]
%!     __bayesmex_ks__(1 - (1 - P(j, :)) .^ (K - 1), sprintf('K = %d, component %d', K, j));
%!   end
%! end

%!demo
%! rand('state', 1);
%! P = simplex_draw(3, 5)   % five points of the triangle
%! sum(P)                   % ones
