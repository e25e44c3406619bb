function test_meanshape_draw1()
  % Messages in order; the same draw as meanshape_draw; the exact law.
  r = meanshape_draw1(2, 5);
  assert(isscalar(r) && r > 0);
  assert(isscalar(meanshape_draw1(ones(3), 5)));
  assert(meanshape_draw1(0, 5) == 0);
  expect_error(@() meanshape_draw1(1), 'Wrong number of input arguments.');
  expect_error(@() meanshape_draw1(int8(1), 2), 'Input 1 must be a full double array, not int8.');
  try
    [a, b] = meanshape_draw1(1, 2, 3);
    error('no error');
  catch err
    assert(strcmp(err.message, 'meanshape_draw1: Wrong number of input arguments.'), err.message);
  end
  try
    [a, b] = meanshape_draw1(1, 2);
    error('no error');
  catch err
    assert(strcmp(err.message, 'meanshape_draw1: Too many output arguments.'), err.message);
  end
  for nu = [0.7 2 5 40]
    rand('state', 12); a = meanshape_draw(3, nu); na = rand();
    rand('state', 12); b = meanshape_draw1(3, nu); nb = rand();
    assert(a == b && na == nb, sprintf('differs from meanshape_draw for nu = %g', nu));
  end
  % Kolmogorov-Smirnov: gamma of shape nu/2 and scale 2 mu / nu.
  mu = 1.5; nu = 3; n = 5000; rand('state', 13);
  x = zeros(n, 1);
  for i = 1:n, x(i) = meanshape_draw1(mu, nu); end
  x = sort(x); F = gammainc(x / (2 * mu / nu), nu / 2);
  D = max(max((1:n)' / n - F), max(F - (0:n-1)' / n));
  assert(D < 1.95 / sqrt(n), sprintf('KS D = %g', D));
end
