function rows = bench_weightboot_quantile(reps)
  % weightboot_quantile (n = 1e4, 5 percentiles, B = 2000) against
  % vectorised m-code (cumulative weights by cumsum, intervals by counting
  % the weights below each percentile); ns per weight.
  n = 1e4; B = 2000; P = [2.5 25 50 75 97.5];
  x = sort(randn(n, 1));
  % Same stream, same result up to rounding: the two compute the same thing.
  rand('state', 1); a = weightboot_quantile(x, P, 20);
  rand('state', 1); b = mcode_quantile(x, P, 20);
  assert(max(abs(a(:) - b(:))) < 1e-9);
  rows = bench_row('weightboot_quantile', sprintf('n = 1e4, 5 pct, B = %d', B), n * B, ...
                   @() weightboot_quantile(x, P, B), 'cumsum(W./sum(W)), count C < q, interp', ...
                   @() mcode_quantile(x, P, B), reps, ...
                   count_callbacks(@() weightboot_quantile(x, P, B)));
end

function R = mcode_quantile(x, P, B)
  n = numel(x); q = sort(P(:))' / 100;
  W = -log(rand(n, B));
  C = cumsum(W ./ sum(W, 1), 1);
  C(n, :) = 1;
  off = n * (0:B - 1);
  R = zeros(B, numel(q));
  for k = 1:numel(q)
    j = sum(C < q(k), 1);             % weights wholly below q: its interval
    lo = max(j, 1); hi = min(j + 1, n);
    cl = C(lo + off); ch = C(hi + off);
    r = x(lo)' + ((q(k) - cl) .* (x(hi) - x(lo))') ./ (ch - cl);
    r(j == 0) = x(1);
    R(:, k) = r';
  end
end
