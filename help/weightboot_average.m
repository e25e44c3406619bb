% R = weightboot_average(X) draws Bayesian bootstrap replicates of the column means of X.
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
%     X   Real double n-by-d data, one observation per row.  Only the first
%         two dimensions count.
%     B   Number of replicates (default 1), a scalar truncated toward zero;
%         zero or negative gives an empty (0-by-d) R and draws nothing.
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
%   Errors (err.identifier bayesmex:weightboot_average:REASON)
%     "Too many output arguments.", "Wrong number of input arguments.",
%     "Input K must be a full double array, not CLASS.",
%     "B must be a scalar.",
%     "Sizes must be finite and smaller than 2^31 in magnitude." (B NaN,
%     infinite or beyond the 32-bit range),
%     "W must be a column vector.", "W must have same length as X."
%
%   Example
%     rand("state", 1);
%     X = [randn(50, 1) + 3, rand(50, 1)];
%     R = weightboot_average(X, 2000);
%     mean(R)                % close to mean(X)
%     quantile(R(:, 1), [0.025 0.975])   % a 95% interval for the mean
%
%   See also weightboot_quantile, simplex_draw, mean, rande.
