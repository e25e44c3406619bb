% R = exponential_draw(MU) draws exponential random numbers with means MU.
% R = exponential_draw(MU, M, N)
%
%   Draws independent exponential variates with mean MU (density
%   exp(-x/MU)/MU for x > 0) by inversion: one rand(M, N) call, and each
%   uniform U becomes -MU * log(U).
%
%   Arguments
%     MU      Real double scalar or array.  An array supplies one mean per
%             element of R; a scalar (any array with no dimension above 1)
%             supplies its first value to every element.  Values are not
%             checked: MU = 0 gives 0, a negative MU negative values.
%     M, N    Size of R (truncated toward zero; negative gives an empty R).
%             An array MU must then be M-by-N.
%
%   Result
%     R       Without M and N: the size of MU.  R is a function of the one
%             rand(M, N) array, so rand("state", s) reproduces it exactly.
%
%   Errors (err.identifier bayesmex:exponential_draw:REASON)
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "Sizes must be finite and smaller than 2^31 in magnitude.",
%     "Size information is inconsistent."
%
%   Example
%     rand("state", 1);
%     R = exponential_draw(2.5, 10000, 1);  % mean 2.5
%     mean(R)                               % about 2.5
%     R = exponential_draw([1 10; 100 1000])
%
%   See also simplex_draw, meanshape_draw, rande, rand.
