function test_weightboot()
  % weightboot_average and weightboot_quantile in Octave: bit for bit what an
  % m-code replay in the same order of operations gives on the same stream,
  % the stream left where B calls of rand(n, 1) leave it, and the messages.

  % Means: replay with loops in the module's order.
  X = [randn(23, 4) * 3, (1:23)'];  W = [0; rand(21, 1) * 2; 1];
  for withW = [false true]
    rand('state', 8);
    if withW, R = weightboot_average(X, 7, W); else, R = weightboot_average(X, 7); end
    next = rand();
    rand('state', 8);
    ref = zeros(7, columns(X));
    for b = 1:7
      g = -log(rand(rows(X), 1));
      if withW, g = g .* W; end
      p = g / sum_in_order(g);
      for j = 1:columns(X)
        m = 0;
        for i = 1:rows(X), m = m + X(i, j) * p(i); end
        ref(b, j) = m;
      end
    end
    assert(isequal(R, ref), 'weightboot_average differs from its replay');
    assert(rand() == next, 'weightboot_average left the stream elsewhere');
  end

  % The user's vectorised m-code draws the same uniforms in one rand call:
  % the same means up to the order of the sums.
  n = 300; B = 50; X = randn(n, 3);
  rand('state', 2); R = weightboot_average(X, B);
  rand('state', 2); V = -log(rand(n, B)); V = V ./ sum(V, 1); ref = V' * X;
  assert(max(abs(R(:) - ref(:))) < 1e-12);

  % In distribution: a flat Dirichlet mean of x has mean mean(x) and
  % variance sum((x - mean(x)).^2) / (n (n + 1)); fixed seed, 20000
  % replicates (relative error of the variance about 1%).
  x = [0; 1; 1; 2; 3; 5; 8; 13; 21; 34]; n = numel(x);
  rand('state', 4); R = weightboot_average(x, 20000);
  v = sum((x - mean(x)) .^ 2) / (n * (n + 1));
  assert(abs(mean(R) - mean(x)) < 5 * sqrt(v / 20000));
  assert(abs(var(R) / v - 1) < 0.06, sprintf('variance ratio %g', var(R) / v));

  % Percentiles: replay of the merge with loops.
  x = sort([randn(40, 1); 0; 0]); n = numel(x); W = rand(n, 1) .* (rand(n, 1) < 0.7);
  P = [97.5 50 2.5 0 100 25 100];
  for withW = [false true]
    rand('state', 9);
    if withW, R = weightboot_quantile(x, P, 6, W); else, R = weightboot_quantile(x, P', 6); end
    next = rand();
    rand('state', 9);
    q = sort(P) / 100; ref = zeros(6, numel(P));
    for b = 1:6
      g = -log(rand(n, 1));
      if withW, g = g .* W; end
      S = sum_in_order(g);
      c = zeros(n, 1); c(1) = g(1) / S;
      for j = 2:n - 1, c(j) = g(j) / S + c(j - 1); end
      c(n) = 1;
      k = 1;
      while k <= numel(q) && q(k) <= c(1), ref(b, k) = x(1); k++; end
      for j = 1:n - 1
        while k <= numel(q) && q(k) <= c(j + 1)
          ref(b, k) = x(j) + ((q(k) - c(j)) * (x(j + 1) - x(j))) / (c(j + 1) - c(j));
          k++;
        end
      end
    end
    assert(isequal(R, ref), 'weightboot_quantile differs from its replay');
    assert(rand() == next, 'weightboot_quantile left the stream elsewhere');
  end
  assert(all(R(:, 1) == x(1)));                  % 0 gives the smallest value
  assert(weightboot_quantile(7, [0 50 100], 3), repmat([7 7 7], 3, 1));
  % A row is read as its values: the same replicates as the column.
  rand('state', 3); a = weightboot_quantile(x', [10 90], 4); next = rand();
  rand('state', 3); assert(isequal(weightboot_quantile(x, [10 90], 4), a) && rand() == next);
  assert(all(isnan(weightboot_quantile([], [10 90], 4))(:)));   % no value, no percentile
  assert(size(weightboot_quantile(x, [], 4)), [4 0]);
  assert(size(weightboot_quantile(x, 50, -2)), [0 1]);
  assert(size(weightboot_average(x, 0)), [0 1]);

  % The messages as Octave shows them (the full tables are in the unit tests).
  expect_error(@() weightboot_average(single(X)), 'Input 1 must be a full double array, not single.');
  expect_error(@() weightboot_average(X, NaN), 'Sizes must be finite and smaller than 2^31 in magnitude.');
  expect_error(@() weightboot_average(X, 1, ones(rows(X) + 1, 1)), 'W must have same length as X.');
  expect_error(@() weightboot_quantile(x, ones(2)), 'P must be a vector.');
  expect_error(@() weightboot_quantile([x x], 50), 'X must be a vector.');
  expect_error(@() weightboot_quantile(flipud(x), 50), 'X must be in ascending order.');
  expect_error(@() weightboot_quantile([x; NaN], 50), 'X must not contain NaN.');
  for p = {NaN, -1, 100.5}
    expect_error(@() weightboot_quantile(x, [50 p{1}]), 'P must be between 0 and 100.');
  end
  expect_error(@() weightboot_quantile(x, 50, 1, ones(n + 1, 1)), 'W must be a same size as X.');
  try
    [a, b] = weightboot_quantile(x, 50);
    error('no error');
  catch err
    assert(strcmp(err.message, 'weightboot_quantile: Too many output arguments.'), err.message);
  end
end

function s = sum_in_order(g)
  s = 0;
  for i = 1:numel(g), s = s + g(i); end
end
