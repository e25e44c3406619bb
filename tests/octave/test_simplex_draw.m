function test_simplex_draw()
  % Shapes and messages; columns on the simplex; the flat Dirichlet marginal.
  assert(size(simplex_draw(3)), [3 1]);
  assert(size(simplex_draw(3, 4)), [3 4]);
  assert(size(simplex_draw(2.7)), [2 1]);
  assert(isequal(simplex_draw(1, 5), ones(1, 5)));
  assert(isempty(simplex_draw(0)) && isempty(simplex_draw(3, 0)));
  assert(isempty(simplex_draw(-3, 4)) && isempty(simplex_draw(-3, -4)));
  expect_error(@() simplex_draw(), 'Wrong number of input arguments.');
  expect_error(@() simplex_draw([1 2 3], ones(2)), 'First argument must be a scalar.');
  expect_error(@() simplex_draw(3, ones(2)), 'Second argument must be a scalar.');
  expect_error(@() simplex_draw(true), 'Input 1 must be a full double array, not logical.');
  try
    [a, b] = simplex_draw(3);
    error('no error');
  catch err
    assert(strcmp(err.message, 'simplex_draw: Too many output arguments.'), err.message);
  end

  % One rand(K, N) call: the same bits as the m-code normalisation in order.
  rand('state', 11); P = simplex_draw(4, 6); next = rand();
  rand('state', 11); E = -log(rand(4, 6));
  S = zeros(1, 6);
  for j = 1:4, S = S + E(j, :); end
  assert(isequal(P, E ./ S) && rand() == next);

  % Every column sums to 1; each component is Beta(1, K - 1), whose
  % distribution function is 1 - (1 - x)^(K - 1) (Kolmogorov-Smirnov).
  for K = [2 3 10]
    n = 20000; rand('state', 600 + K);
    P = simplex_draw(K, n);
    assert(all(P(:) >= 0) && max(abs(sum(P) - 1)) < 1e-13);
    for j = [1 K]
      x = sort(P(j, :))';
      F = 1 - (1 - x) .^ (K - 1);
      D = max(max((1:n)' / n - F), max(F - (0:n-1)' / n));
      assert(D < 1.95 / sqrt(n), sprintf('KS D = %g for K = %d, component %d', D, K, j));
    end
  end
end
