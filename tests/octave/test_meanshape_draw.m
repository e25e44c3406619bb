function test_meanshape_draw()
  % Loads and runs; errors carry the exact texts.
  r = meanshape_draw(2, 5);
  assert(isscalar(r) && r > 0);
  assert(size(meanshape_draw(1, 5, 3, 4)), [3 4]);
  assert(size(meanshape_draw(ones(2, 3), 5)), [2 3]);
  assert(size(meanshape_draw(1, zeros(0, 5))), [0 5]);
  expect_error(@() meanshape_draw(1), 'Wrong number of input arguments.');
  expect_error(@() meanshape_draw(ones(2, 3), ones(3, 2)), 'Size information is inconsistent.');
  expect_error(@() meanshape_draw(int8(1), 2), 'Input 1 must be a full double array, not int8.');
  expect_error(@() meanshape_draw(1, single(2)), 'Input 2 must be a full double array, not single.');
  expect_error(@() meanshape_draw(1, 2, true, 1), 'Input 3 must be a full double array, not logical.');
  expect_error(@() meanshape_draw(1, 2, 1, {1}), 'Input 4 must be a full double array, not cell.');
  expect_error(@() meanshape_draw(struct('a', 1), 2), 'Input 1 must be a full double array, not struct.');
  expect_error(@() meanshape_draw(@sin, 2), 'Input 1 must be a full double array, not function_handle.');
  expect_error(@() meanshape_draw(sparse(1), 2), 'Input 1 must be a full double array, not sparse.');
  expect_error(@() meanshape_draw(1, 2, NaN, 1), 'Sizes must be finite and smaller than 2^31 in magnitude.');
  try
    [a, b] = meanshape_draw(1, 2);
    error('no error');
  catch err
    assert(strcmp(err.message, 'meanshape_draw: Too many output arguments.'), err.message);
  end
  assert(isempty(meanshape_draw(1, 2, -3, -4)));

  % The host property block fetching rests on: rand(k, 1) gives the values
  % of k successive rand() calls.
  rand('state', 5); a = rand(1000, 1);
  rand('state', 5); b = zeros(1000, 1); for i = 1:1000, b(i) = rand(); end
  assert(isequal(a, b));

  % After a call, the next rand() is what an m-code replay of the
  % one-value-at-a-time algorithm from the same state predicts, and so are
  % the values, at every lane width, for scalar nu on each path and a mixed
  % nu array (NaN, zero and negative nu give NaN, infinite nu gives mu, and
  % none of them takes a value).
  mixed = repmat([0.7 2 5 1e-6 -1 NaN Inf 2.00001 40 0 1e308 3.5], 1, 20);
  unwind_protect
    for w = simd_widths()
      setenv('BAYESMEX_SIMD', w{1});
      for nu = {0.7, 2, 5, 40, mixed}
        nu = nu{1}; n = 240;
        rand('state', 42);
        r = meanshape_draw(-3, nu, 1, n);
        next = rand();
        rand('state', 42);
        ref = zeros(1, n);
        for i = 1:n
          v = nu(min(i, end));
          g = replay_gamma(0.5 * v);
          if !(v > 0)
            ref(i) = NaN;
          elseif 3 * (0.5 * v) - 0.75 > realmax / 8
            ref(i) = -3;
          else
            ref(i) = ((g + g) * -3) / v;
          end
        end
        assert(isequaln(r, ref), sprintf('values differ for nu = %g, width %s', nu(1), w{1}));
        assert(rand() == next, sprintf('stream position differs for nu = %g, width %s', nu(1), w{1}));
      end
    end
  unwind_protect_cleanup
    unsetenv('BAYESMEX_SIMD');
  end_unwind_protect

  % Kolmogorov-Smirnov against the gamma law of shape nu/2, scale 2 mu/nu,
  % fixed seeds; the critical value 1.95/sqrt(n) has a false-alarm rate
  % about 1e-3, so a seed either always passes or always fails.
  cases = [1 5; 2.5 0.6; 0.3 1.5; 4 30; 1 2];
  for k = 1:rows(cases)
    mu = cases(k, 1); nu = cases(k, 2); n = 20000;
    rand('state', 100 + k);
    x = sort(meanshape_draw(mu, nu, n, 1));
    F = gammainc(x / (2 * mu / nu), nu / 2);
    D = max(max((1:n)' / n - F), max(F - (0:n-1)' / n));
    assert(D < 1.95 / sqrt(n), sprintf('KS D = %g for mu = %g, nu = %g', D, mu, nu));
  end
end
