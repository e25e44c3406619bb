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

  % A mixed nu against an m-code replay of the one-value-at-a-time
  % algorithm: same values, and "rand" and "randn" left where it leaves them.
  nu = repmat([1 1 2 5 0.7 2 1 0 30 5 5 1], 1, 50);
  n = numel(nu);
  rand('state', 3); randn('state', 4);
  r = studentt_draw(nu);
  next = [rand(), randn()];
  rand('state', 3); randn('state', 4);
  z = randn(1, n); ref = zeros(1, n);
  for i = 1:n
    if nu(i) == 1
      ref(i) = z(i) / randn();
    elseif nu(i) == 2
      u = rand(); ref(i) = ((u - 0.5) * 1.4142135623730951) / sqrt(u - u * u);
    else
      g = replay_gamma(0.5 * nu(i)); ref(i) = (sqrt(nu(i)) * z(i)) / sqrt(g + g);
    end
  end
  assert(isequaln(r, ref), 'values differ from the replay');
  assert(isequal([rand(), randn()], next), 'stream position differs from the replay');

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

function g = replay_gamma(a)
  % The one-value-at-a-time gamma algorithm in m-code.
  if a < 1e-5
    g = a; return;
  elseif a <= 1
    u = rand(); g = u ^ (1 / a) * replay_gamma(1 + a);
  elseif a < 1.00001
    g = -log(rand());
  else
    b = a - 1; c = 3 * a - 0.75;
    while true
      u = rand(); v = rand();
      w = (1 - u) * u; y = sqrt(c / w) * (u - 0.5); x = b + y;
      if x < 0, continue; end
      z = 64 * w * w * w * v * v;
      if 1 - (2 * y * y) / x >= z, break; end
      if 2 * (b * log(x / b) - y) >= log(z), break; end
    end
    g = x;
  end
  if g < 1e-15 && g < a, g = min(a, 1e-15); end
end
