function test_exponential_draw()
  % Shapes and messages; bit-exact inversion of one rand array; the exact law.
  assert(size(exponential_draw(2.5)), [1 1]);
  assert(size(exponential_draw(ones(2, 3))), [2 3]);
  assert(size(exponential_draw(2.5, 4, 5)), [4 5]);
  assert(size(exponential_draw(1, [7 9], 1)), [7 1]);
  assert(size(exponential_draw(1, 2.9, 1)), [2 1]);
  assert(isempty(exponential_draw(1, 0, 5)));
  assert(isempty(exponential_draw(1, -3, -4)));
  expect_error(@() exponential_draw(1, 2), 'Wrong number of input arguments.');
  for sz = {[3 2], [2 4], [4 3]}
    expect_error(@() exponential_draw(ones(2, 3), sz{1}(1), sz{1}(2)), 'Size information is inconsistent.');
  end
  expect_error(@() exponential_draw(int32(1)), 'Input 1 must be a full double array, not int32.');
  try
    [a, b] = exponential_draw(1);
    error('no error');
  catch err
    assert(strcmp(err.message, 'exponential_draw: Too many output arguments.'), err.message);
  end

  % One rand(M, N) call, each element log(u) * (-mu): the same bits.
  mu = [0.5 1 2; 3 4 5];
  rand('state', 9); r = exponential_draw(mu); next = rand();
  rand('state', 9); u = rand(2, 3);
  assert(isequal(r, log(u) .* -mu) && rand() == next);
  rand('state', 9); r = exponential_draw(1, 30, 1);
  rand('state', 9); assert(isequal(r, -log(rand(30, 1))));

  % Kolmogorov-Smirnov against the exponential law F(x) = 1 - exp(-x / mu).
  for mu = [1 2.5 0.01]
    n = 20000; rand('state', 500 + round(100 * mu));
    x = sort(exponential_draw(mu, n, 1));
    F = 1 - exp(-x / mu);
    D = max(max((1:n)' / n - F), max(F - (0:n-1)' / n));
    assert(D < 1.95 / sqrt(n), sprintf('KS D = %g for mu = %g', D, mu));
  end
end
