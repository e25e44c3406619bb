% R = weightboot_average(X): Bayesian bootstrap replicates of the column means.
% R = weightboot_average(X, B)
% R = weightboot_average(X, B, W)
%
%   Draws B Bayesian-bootstrap replicates of the column means of X.  In each
%   replicate row i of X gets the weight p(i) = g(i) / S, where
%   g(i) = -log(U(i)) (times W(i) when W is given), the U(i) are the n values
%   of one rand(n, 1) call and S = sum(g).  Without W the weights of a
%   replicate are a flat Dirichlet draw over the n rows.  Row b of R holds
%   replicate b: R(b, j) = sum over i of X(i, j) * p(i).
%
%   Arguments
%     X   Real double n-by-d data, one observation per row (two dimensions
%         at most).
%     B   Number of replicates (default 1), a double or integer-class
%         scalar truncated toward zero (an empty array reads as 0); zero or
%         negative gives an empty (0-by-d) R and draws nothing.
%     W   Prior weights: a real double n-by-1 column, one per row of X.
%         Values are not checked: all zeros give NaN means, negative
%         weights are used as given.
%
%   Result
%     R   B-by-d.  Replicates draw from the host's "rand" in order, the n
%         values a rand(n, 1) call would give each (several replicates come
%         from one call), so rand("state", s) reproduces them exactly.
%         S is summed over the rows in order, each weight is g(i) / S, and
%         each mean is accumulated from 0 over the rows in increasing order:
%         R equals, bit for bit, this m-code on the same stream:
%             for b = 1:B
%               g = -log(rand(n, 1));          % .* W with prior weights
%               S = 0; for i = 1:n, S = S + g(i); end
%               p = g / S;
%               for j = 1:d
%                 m = 0; for i = 1:n, m = m + X(i, j) * p(i); end
%                 R(b, j) = m;
%               end
%             end
%         A W of all ones gives the same R as no W.  With no rows (n = 0)
%         R is all zeros and nothing is drawn; nor is anything drawn when
%         X has no column (an empty R).
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than W = -log(rand(n, B)); (W ./ sum(W))' * X at every size, 2 to
%     3 times (10 columns, B = 200).
%
%   Errors (err.identifier bayesmex:weightboot_average:REASON)
%     tooManyOutputs, wrongInputCount, inputClass, notReal, tooManyDims,
%     inputEmpty (help bayesmex), notScalar "B must be a scalar.",
%     sizeRange (B NaN, infinite or beyond the 32-bit range), notColumn
%     "W must be a column vector.", lengthMismatch "W must have same
%     length as X.", and hostValues, randomState (help bayesmex).
%
%   Example
%     rand("state", 1);
%     X = [randn(50, 1) + 3, rand(50, 1)];
%     R = weightboot_average(X, 2000);
%     mean(R)                % close to mean(X)
%     quantile(R(:, 1), [0.025 0.975])   % a 95% interval for the mean
%
%   See also weightboot_quantile, simplex_draw, mean, rande.

% Bit for bit the m-code above on the same stream, with and without W, and
% the stream left where B calls of rand(n, 1) leave it.
%!function ref = replay(X, B, W)
%! ref = zeros(B, columns(X));
%! for b = 1:B
%!   g = -log(rand(rows(X), 1));
%!   if nargin > 2, g = g .* W; end
%!   S = 0; for i = 1:numel(g), S = S + g(i); end
%!   p = g / S;
%!   for j = 1:columns(X)
%!     m = 0;
%!     for i = 1:rows(X), m = m + X(i, j) * p(i); end
%!     ref(b, j) = m;
%!   end
%! end
%!endfunction
%!test
%! X = [randn(23, 4) * 3, (1:23)'];  W = [0; rand(21, 1) * 2; 1];
%! __bayesmex_replay__(8, @() weightboot_average(X, 7), @() replay(X, 7));
%! __bayesmex_replay__(8, @() weightboot_average(X, 7, W), @() replay(X, 7, W));

% The user's vectorised m-code draws the same uniforms in one rand call: the
% same means up to the order of the sums.
%!test
%! n = 300; B = 50; X = randn(n, 3);
%! rand('state', 2); R = weightboot_average(X, B);
%! rand('state', 2); V = -log(rand(n, B)); V = V ./ sum(V, 1); ref = V' * X;
%! assert(max(abs(R(:) - ref(:))) < 1e-12);

% In distribution: a flat Dirichlet mean of x has mean mean(x) and variance
% sum((x - mean(x)).^2) / (n (n + 1)) (20000 replicates: the variance's
% relative error is about 1%).
%!test
%! x = [0; 1; 1; 2; 3; 5; 8; 13; 21; 34]; n = numel(x);
%! rand('state', 4); R = weightboot_average(x, 20000);
%! v = sum((x - mean(x)) .^ 2) / (n * (n + 1));
%! assert(abs(mean(R) - mean(x)) < 5 * sqrt(v / 20000));
%! assert(abs(var(R) / v - 1) < 0.06, sprintf('variance ratio %g', var(R) / v));
%! assert(size(weightboot_average(x, 0)), [0 1]);

%!error <weightboot_average: Input 1 must be a full double array, not single\.> weightboot_average(single(1))
%!error <weightboot_average: Sizes must be finite and smaller than 2\^31 in magnitude\.> weightboot_average(1, NaN)
%!error id=bayesmex:weightboot_average:sizeRange weightboot_average(1, NaN)
%!error <weightboot_average: W must have same length as X\.> weightboot_average(ones(3, 1), 1, ones(4, 1))
%!error id=bayesmex:weightboot_average:lengthMismatch weightboot_average(ones(3, 1), 1, ones(4, 1))

%!demo
%! rand('state', 1); randn('state', 1);
%! X = [randn(50, 1) + 3, rand(50, 1)];
%! R = weightboot_average(X, 2000);
%! printf('replicate means %s, sample means %s\n', mat2str(mean(R), 4), mat2str(mean(X), 4));
%! printf('95%% interval for the mean of column 1: %s\n', mat2str(quantile(R(:, 1), [0.025 0.975]), 4));
