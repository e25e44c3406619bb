function test_invchisq_draw()
  % Shapes and messages; then the draws against the exact law.
  assert(size(invchisq_draw(1, 4, 3, 5)), [3 5]);
  assert(size(invchisq_draw(ones(2, 3), 4)), [2 3]);
  assert(isempty(invchisq_draw(1, 4, -3, -4)));
  expect_error(@() invchisq_draw(1), 'Wrong number of input arguments.');
  expect_error(@() invchisq_draw(ones(3, 1), ones(1, 3)), 'Size information is inconsistent.');
  expect_error(@() invchisq_draw(1, int8(4)), 'Input 2 must be a full double array, not int8.');
  try
    [a, b] = invchisq_draw(1, 4);
    error('no error');
  catch err
    assert(strcmp(err.message, 'invchisq_draw: Too many output arguments.'), err.message);
  end
  % nu NaN, zero or negative: NaN; infinite: s2; below 2e-5: s2 up to
  % rounding; none of them takes a value from the stream.
  rand('state', 1); next = rand(); rand('state', 1);
  r = invchisq_draw(-3, [0 -4 NaN Inf 1e-5]);
  assert(isequaln(r(1:4), [NaN NaN NaN -3]) && abs(r(5) + 3) < 1e-12);
  assert(rand() == next);

  % Kolmogorov-Smirnov against the scaled inverse chi-square law:
  % P(X <= x) = P(chi2(nu) >= nu s2 / x) = 1 - gammainc(nu s2 / (2 x), nu / 2).
  % Fixed seeds; the critical value 1.95/sqrt(n) has a false-alarm rate
  % about 1e-3, so a seed either always passes or always fails.
  cases = [1 4; 2.5 0.6; 0.3 1.5; 4 30; 1 2];
  for k = 1:rows(cases)
    s2 = cases(k, 1); nu = cases(k, 2); n = 20000;
    rand('state', 200 + k);
    x = sort(invchisq_draw(s2, nu, n, 1));
    F = gammainc(nu * s2 ./ (2 * x), nu / 2, 'upper');
    D = max(max((1:n)' / n - F), max(F - (0:n-1)' / n));
    assert(D < 1.95 / sqrt(n), sprintf('KS D = %g for s2 = %g, nu = %g', D, s2, nu));
  end
end
