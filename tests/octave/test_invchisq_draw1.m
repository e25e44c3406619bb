function test_invchisq_draw1()
  % Messages in order; the same draw as invchisq_draw; the exact law.
  r = invchisq_draw1(1, 4);
  assert(isscalar(r) && r > 0);
  assert(isscalar(invchisq_draw1(ones(3), 4)));
  % nu NaN, zero or negative: NaN; infinite: s2; nothing taken.
  rand('state', 1); next = rand(); rand('state', 1);
  assert(isnan([invchisq_draw1(3, 0), invchisq_draw1(3, -4), invchisq_draw1(3, NaN)]));
  assert(invchisq_draw1(3, Inf) == 3 && meanshape_draw1(-2, Inf) == -2 && isnan(meanshape_draw1(1, -1)));
  assert(rand() == next);
  expect_error(@() invchisq_draw1(1, 2, 3), 'Wrong number of input arguments.');
  expect_error(@() invchisq_draw1(1, {2}), 'Input 2 must be a full double array, not cell.');
  try
    [a, b] = invchisq_draw1(1);
    error('no error');
  catch err
    assert(strcmp(err.message, 'invchisq_draw1: Wrong number of input arguments.'), err.message);
  end
  try
    [a, b] = invchisq_draw1(1, 2);
    error('no error');
  catch err
    assert(strcmp(err.message, 'invchisq_draw1: Too many output arguments.'), err.message);
  end
  for nu = [0.7 2 5 40]
    rand('state', 14); a = invchisq_draw(3, nu); na = rand();
    rand('state', 14); b = invchisq_draw1(3, nu); nb = rand();
    assert(a == b && na == nb, sprintf('differs from invchisq_draw for nu = %g', nu));
  end
  % Kolmogorov-Smirnov: P(X <= x) = 1 - gammainc(nu s2 / (2 x), nu / 2).
  s2 = 2; nu = 5; n = 5000; rand('state', 15);
  x = zeros(n, 1);
  for i = 1:n, x(i) = invchisq_draw1(s2, nu); end
  x = sort(x); F = gammainc(nu * s2 ./ (2 * x), nu / 2, 'upper');
  D = max(max((1:n)' / n - F), max(F - (0:n-1)' / n));
  assert(D < 1.95 / sqrt(n), sprintf('KS D = %g', D));
end
