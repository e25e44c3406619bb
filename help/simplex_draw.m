% P = simplex_draw(K) draws points uniformly from the probability simplex (flat Dirichlet).
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
%
%   Result
%     P       K-by-N, non-negative columns summing to 1 up to rounding.  An
%             empty P when K or N is 0 or negative.  P is a function of the
%             one rand(K, N) array, so rand("state", s) reproduces it exactly.
%
%   Errors (err.identifier bayesmex:simplex_draw:REASON)
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "First argument must be a scalar.", "Second argument must be a scalar.",
%     "Sizes must be finite and smaller than 2^31 in magnitude."
%
%   Example
%     rand("state", 1);
%     P = simplex_draw(3, 5)    % five points of the triangle
%     sum(P)                    % ones
%
%   See also exponential_draw, weightboot_average, rande, randg.
