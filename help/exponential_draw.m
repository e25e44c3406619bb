% R = exponential_draw(MU) draws exponential random numbers with means MU.
% R = exponential_draw(MU, M, N)
%
%   Draws independent exponential variates with mean MU (density
%   exp(-x/MU)/MU for x > 0) by inversion: one rand(M, N) call, and each
%   uniform U becomes -MU * log(U).
%
%   Arguments
%     MU      Real double scalar or array.  A scalar (one element)
%             supplies its value to every element of R; an array (any other
%             number of elements, none included) one mean per element, so an
%             empty MU gives an empty R of its size, drawing nothing.  Values
%             are not checked: MU = 0 gives 0, a negative MU negative values.
%     M, N    Size of R: double or integer-class values (int32(5) is 5),
%             truncated toward zero; an empty array reads as 0, negative
%             gives an empty R.
%             An array MU must then be M-by-N.
%
%   Result
%     R       Without M and N: the size of MU.  R is a function of the one
%             rand(M, N) array, so rand("state", s) reproduces it exactly.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than -MU*log(rand(M, N)) at every size: 1.25 to 1.45 times up
%     to 100 draws, 2.3 to 2.5 times at 10^4, 2.6 to 2.9 times at 10^6.
%
%   Errors (err.identifier bayesmex:exponential_draw:REASON)
%     tooManyOutputs, wrongInputCount, inputClass, notReal, tooManyDims,
%     inputEmpty, sizeRange, hostValues, randomState (their texts: help
%     bayesmex), and sizeInconsistent, "Size information is inconsistent.",
%     when MU, an array, is not M-by-N.
%
%   Example
%     rand("state", 1);
%     R = exponential_draw(2.5, 10000, 1);  % mean 2.5
%     mean(R)                               % about 2.5
%     R = exponential_draw([1 10; 100 1000])
%
%   See also simplex_draw, meanshape_draw, rande, rand.

%!test
%! assert(size(exponential_draw(2.5)), [1 1]);
%! assert(size(exponential_draw(ones(2, 3))), [2 3]);
%! assert(size(exponential_draw(2.5, 4, 5)), [4 5]);
%! assert(size(exponential_draw(1, [7 9], 1)), [7 1]);
%! assert(size(exponential_draw(1, 2.9, 1)), [2 1]);
%! assert(isempty(exponential_draw(1, 0, 5)));
%! assert(isempty(exponential_draw(1, -3, -4)));
%!error id=bayesmex:exponential_draw:wrongInputCount exponential_draw(1, 2)
%!error id=bayesmex:exponential_draw:sizeInconsistent exponential_draw(ones(2, 3), 3, 2)
%!error <exponential_draw: Size information is inconsistent\.> exponential_draw(ones(2, 3), 2, 4)
%!error <Size information is inconsistent\.> exponential_draw(ones(2, 3), 4, 3)
%!error <exponential_draw: Input 1 must be a full double array, not int32\.> exponential_draw(int32(1))
%!error <exponential_draw: Too many output arguments\.> [a, b] = exponential_draw(1)

% One rand(M, N) call, each element log(u) * (-mu): the same bits.
%!test
%! mu = [0.5 1 2; 3 4 5];
%! __bayesmex_replay__(9, @() exponential_draw(mu), @() log(rand(2, 3)) .* -mu);
%! __bayesmex_replay__(9, @() exponential_draw(1, 30, 1), @() -log(rand(30, 1)));

% The exponential law F(x) = 1 - exp(-x / mu).
%!test
%! for mu = [1 2.5 0.01]
%!   rand('state', 500 + round(100 * mu));
%!   x = exponential_draw(mu, 20000, 1);
%!   __bayesmex_ks__(1 - exp(-x / mu), sprintf('mu = %g', mu));
%! end

%!demo
%! rand('state', 1);
%! r = exponential_draw(2.5, 10000, 1);
%! printf('mean %.3f (law 2.5), variance %.3f (law 6.25)\n', mean(r), var(r));
%! r = exponential_draw([1 10; 100 1000])   % one mean per element
