% R = weightboot_quantile(X, P): Bayesian bootstrap replicates of percentiles.
% R = weightboot_quantile(X, P, B)
% R = weightboot_quantile(X, P, B, W)
%
%   Draws B Bayesian-bootstrap replicates of the percentiles P of the sample
%   X.  In each replicate value j of X gets the weight g(j) / S, where
%   g(j) = -log(U(j)) (times W(j) when W is given), the U(j) are the n values
%   of one rand(n, 1) call and S = sum(g).  Value j sits at the cumulative
%   weight c(j) (c(n) = 1 exactly), and a percentile is read off the
%   piecewise-linear curve through the points (c(j), X(j)).
%
%   Arguments
%     X   Real double vector of n sample values in ascending order, without
%         NaN (checked, never sorted); a row or a column.
%     P   Percentiles in percent, from 0 to 100: a real double vector (row,
%         column, scalar or empty).  P is sorted once per call by the host's
%         "sort", and R's columns follow P sorted, not P as given:
%         weightboot_quantile(X, [90 10]) gives the 10th percentile first.
%     B   Number of replicates (default 1), a double or integer-class
%         scalar truncated toward zero (an empty array reads as 0); zero or
%         negative gives an empty (0-by-numel(P)) R and draws nothing.
%     W   Prior weights: a real double n-by-1 column.  Values are not
%         checked: all zeros give NaN for every percentile.
%
%   Result
%     R   B-by-numel(P).  Column k holds the k-th smallest percentile, not
%         the k-th one given: P = [90 10] gives the 10th percentile in
%         column 1.  A percentile at or below c(1) (0 included) gives X(1);
%         100 gives X(n) up to rounding.  A percentile equal to a cumulative
%         weight c(j) gives X(j).  With a single value (n = 1) every
%         percentile gives X(1), whatever W is; with no value (an empty X)
%         every entry is NaN.  With n = 0, or an empty P (an empty R),
%         nothing is drawn.
%         Replicates draw from the host's "rand" in order, the n values a
%         rand(n, 1) call would give each (several replicates come from one
%         call), so rand("state", s) reproduces them exactly; the
%         cumulative weights are c(1) = g(1)/S, c(j+1) = g(j+1)/S + c(j),
%         with S summed in order, and an entry between c(j) and c(j+1) is
%         X(j) + ((q - c(j)) * (X(j+1) - X(j))) / (c(j+1) - c(j)) for the
%         fraction q = P/100, bit for bit.
%
%   Speed (measured on 2 shared cores; see README, Performance)
%     Faster than an m-code loop over the replicates (cumsum and interp1) at
%     every size: 30 times at n = 10^4, more for smaller samples.
%
%   Errors (err.identifier bayesmex:weightboot_quantile:REASON)
%     tooManyOutputs, wrongInputCount, inputClass, notReal, tooManyDims,
%     inputEmpty (help bayesmex), notVector "X must be a vector.", "P must
%     be a vector.", notScalar "B must be a scalar.", sizeRange (B NaN,
%     infinite or beyond the 32-bit range), notColumn "W must be a column
%     vector.", lengthMismatch "W must be a same size as X.", nanValue "X
%     must not contain NaN.", notSorted "X must be in ascending order.",
%     percentRange "P must be between 0 and 100."; hostValues and
%     randomState (help bayesmex), and hostValues for a user's own sort on
%     the path that returns other than P's values sorted: "The host's sort
%     must return a full real double array, not CLASS.", "The host's sort
%     returned N values where M were given to it.", "The host's sort must
%     return the percentiles in ascending order."
%
%   Example
%     rand("state", 1);
%     X = sort(randn(200, 1));
%     R = weightboot_quantile(X, [50 2.5 97.5], 2000);
%     median(R)              % about the sample's 2.5th, 50th and 97.5th
%     std(R(:, 2))           % spread of the replicate medians
%
%   See also weightboot_average, simplex_draw, quantile, prctile.

% Bit for bit the merge of sorted percentiles and cumulative weights, with
% loops, on the same stream, with and without W.
%!function ref = replay(x, P, B, W)
%! n = numel(x); q = sort(P) / 100; ref = zeros(B, numel(P));
%! for b = 1:B
%!   g = -log(rand(n, 1));
%!   if nargin > 3, g = g .* W; end
%!   S = 0; for i = 1:n, S = S + g(i); end
%!   c = zeros(n, 1); c(1) = g(1) / S;
%!   for j = 2:n - 1, c(j) = g(j) / S + c(j - 1); end
%!   c(n) = 1;
%!   k = 1;
%!   while k <= numel(q) && q(k) <= c(1), ref(b, k) = x(1); k++; end
%!   for j = 1:n - 1
%!     while k <= numel(q) && q(k) <= c(j + 1)
%!       ref(b, k) = x(j) + ((q(k) - c(j)) * (x(j + 1) - x(j))) / (c(j + 1) - c(j));
%!       k++;
%!     end
%!   end
%! end
%!endfunction
%!test
%! x = sort([randn(40, 1); 0; 0]); n = numel(x); W = rand(n, 1) .* (rand(n, 1) < 0.7);
%! P = [97.5 50 2.5 0 100 25 100];
%! __bayesmex_replay__(9, @() weightboot_quantile(x, P', 6), @() replay(x, P, 6));
%! R = __bayesmex_replay__(9, @() weightboot_quantile(x, P, 6, W), @() replay(x, P, 6, W));
%! assert(all(R(:, 1) == x(1)));                  % 0 gives the smallest value
%! assert(weightboot_quantile(7, [0 50 100], 3), repmat([7 7 7], 3, 1));
%! % A row is read as its values: the same replicates as the column.
%! __bayesmex_replay__(3, @() weightboot_quantile(x', [10 90], 4), @() weightboot_quantile(x, [10 90], 4));
%! assert(all(isnan(weightboot_quantile([], [10 90], 4))(:)));   % no value, no percentile
%! assert(size(weightboot_quantile(x, [], 4)), [4 0]);
%! assert(size(weightboot_quantile(x, 50, -2)), [0 1]);

%!error <weightboot_quantile: P must be a vector\.> weightboot_quantile(1, ones(2))
%!error id=bayesmex:weightboot_quantile:notVector weightboot_quantile(1, ones(2))
%!error <weightboot_quantile: X must be a vector\.> weightboot_quantile([1 2; 3 4], 50)
%!error id=bayesmex:weightboot_quantile:notSorted weightboot_quantile([2; 1], 50)
%!error <weightboot_quantile: X must not contain NaN\.> weightboot_quantile([1; NaN], 50)
%!error <weightboot_quantile: P must be between 0 and 100\.> weightboot_quantile(1, [50 NaN])
%!error <P must be between 0 and 100\.> weightboot_quantile(1, [50 -1])
%!error id=bayesmex:weightboot_quantile:percentRange weightboot_quantile(1, [50 100.5])
%!error <weightboot_quantile: W must be a same size as X\.> weightboot_quantile(ones(3, 1), 50, 1, ones(4, 1))
%!error <weightboot_quantile: Too many output arguments\.> [a, b] = weightboot_quantile(1, 50)

%!demo
%! rand('state', 1); randn('state', 1);
%! X = sort(randn(200, 1));
%! R = weightboot_quantile(X, [50 2.5 97.5], 2000);
%! printf('replicate medians of the 2.5th, 50th, 97.5th percentiles: %s\n', mat2str(median(R), 3));
%! printf('spread of the replicate medians: %.3f\n', std(R(:, 2)));
