function test_studentt_draw()
  % Shapes and messages; the stream order of a mixed nu; the draws against
  % the exact law.
  assert(size(studentt_draw(5)), [1 1]);
  assert(size(studentt_draw(5, 3, 4)), [3 4]);
  assert(size(studentt_draw(5 * ones(2, 3))), [2 3]);
  assert(isempty(studentt_draw(5, -3, -4)));
  expect_error(@() studentt_draw(5, 2), 'Wrong number of input arguments.');
  expect_error(@() studentt_draw(ones(2, 3), 2, 4), 'Size information is inconsistent.');
  expect_error(@() studentt_draw(single(5)), 'Input 1 must be a full double array, not single.');
  try
    [a, b] = studentt_draw(5, 2);
    error('no error');
  catch err
    assert(strcmp(err.message, 'studentt_draw: Too many output arguments.'), err.message);
  end

  % Against an m-code replay of the one-value-at-a-time algorithm: same
  % values, and "rand" and "randn" each left where it leaves them, at every
  % lane width, for scalar nu on each path and for mixed nu.  Octave keeps
  % "rand" and "randn" apart, so the module fetches each in its own blocks
  % however the two interleave; only the order within each must hold.
  mixed = repmat([1 1 2 5 0.7 2 1 0 30 5 5 1 NaN Inf -2 1e308], 1, 40);
  alternating = repmat([1 2 5], 1, 200);
  unwind_protect
    for w = simd_widths()
      setenv('BAYESMEX_SIMD', w{1});
      for nu = {mixed, alternating, 5, 0.7, 1, 2}
        nu = nu{1}; n = max(numel(nu), 600);
        rand('state', 3); randn('state', 4);
        r = studentt_draw(nu, 1, n);
        next = [rand(), randn()];
        rand('state', 3); randn('state', 4);
        z = randn(1, n); ref = zeros(1, n);
        for i = 1:n
          v = nu(min(i, end));
          if !(v > 0)
            ref(i) = NaN;
          elseif v == 1
            ref(i) = z(i) / randn();
          elseif v == 2
            u = rand(); ref(i) = ((u - 0.5) * 1.4142135623730951) / sqrt(u - u * u);
          elseif 3 * (0.5 * v) - 0.75 > realmax / 8
            ref(i) = z(i);
          else
            g = replay_gamma(0.5 * v); ref(i) = (sqrt(v) * z(i)) / sqrt(g + g);
          end
        end
        assert(isequaln(r, ref), sprintf('values differ from the replay (nu %g, width %s)', nu(1), w{1}));
        assert(isequal([rand(), randn()], next), ...
               sprintf('stream position differs from the replay (nu %g, width %s)', nu(1), w{1}));
      end
    end
  unwind_protect_cleanup
    unsetenv('BAYESMEX_SIMD');
  end_unwind_protect

  % Kolmogorov-Smirnov against Student's t:
  % F(t) = 1 - betainc(nu / (nu + t^2), nu/2, 1/2) / 2 for t > 0, symmetric.
  for k = 1:4
    nu = [1 2 5 0.7](k); n = 20000;
    rand('state', 300 + k); randn('state', 400 + k);
    t = sort(studentt_draw(nu, n, 1));
    tail = betainc(nu ./ (nu + t .^ 2), nu / 2, 0.5) / 2;
    F = tail; F(t > 0) = 1 - tail(t > 0);
    D = max(max((1:n)' / n - F), max(F - (0:n-1)' / n));
    assert(D < 1.95 / sqrt(n), sprintf('KS D = %g for nu = %g', D, nu));
  end
end
