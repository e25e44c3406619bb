function rows = bench_weightboot_average(reps)
  % weightboot_average (n = 1000, d = 10, B = 2000) against the vectorised
  % m-code W = -log(rand(n,B)); W = W./sum(W,1); W'*X; ns per weight.
  n = 1000; d = 10; B = 2000;
  X = randn(n, d);
  rows = bench_row('weightboot_average', sprintf('n = %d, d = %d, B = %d', n, d, B), n * B, ...
                   @() weightboot_average(X, B), 'W=-log(rand(n,B)); W./sum(W,1); W''*X', ...
                   @() mcode_average(X, B), reps, count_callbacks(@() weightboot_average(X, B)));
end

function R = mcode_average(X, B)
  W = -log(rand(rows(X), B));
  W = W ./ sum(W, 1);
  R = W' * X;
end
