function test_psi_eval()
  % Special values, agreement with Octave's psi, accuracy against the
  % 60-digit table, messages.
  y = psi_eval([1 0.5 0 -0 -1 -2 -70 -1e300 Inf -Inf NaN]);
  assert(abs(y(1) + 0.5772156649015329) < 1e-12);
  assert(abs(y(2) + 1.9635100260214235) < 1e-12);
  assert(isequal(y(3:9), [-Inf Inf -Inf -Inf -Inf -Inf Inf]));
  assert(all(isnan(y(10:11))));
  assert(isequal(size(psi_eval(zeros(0, 3))), [0 3]));
  x = rand(2, 3, 4) * 10;
  assert(isequal(psi_eval(x), reshape(psi_eval(x(:)), [2 3 4])));
  expect_error(@() psi_eval([1 2i]), 'Input 1 must be real.');
  rand('state', 1);
  x = [rand(1, 1000) * 10, exp(rand(1, 1000) * 40 - 10)];
  assert(max(abs(psi_eval(x) - psi(x)) ./ max(abs(psi(x)), 1)) < 1e-12);
  here = fileparts(mfilename('fullpath'));
  t = dlmread(fullfile(here, '..', 'data', 'digamma_table.csv'), ',', 1, 0);
  err = abs(psi_eval(t(:, 1)) - t(:, 2)) ./ max(abs(t(:, 2)), 1);
  assert(rows(t) > 1500);
  assert(max(err(t(:, 1) >= -64 & t(:, 1) <= 10)) <= 1e-12);
  assert(max(err(t(:, 1) > 10)) <= 4.5e-16);
  assert(max(err(t(:, 1) < -64)) <= 4e-15);
  % Odd lengths: vectors and a scalar tail, every width.
  same_at_every_width(@() psi_eval([x(1:1001), t(1:500, 1)', -70, 5, NaN, -Inf]), 'psi_eval');
  expect_error(@() psi_eval(), 'Wrong number of input arguments.');
  expect_error(@() psi_eval(1, 2), 'Wrong number of input arguments.');
  expect_error(@() psi_eval(single(1)), 'Input 1 must be a full double array, not single.');
  expect_error(@() psi_eval(int32(1)), 'Input 1 must be a full double array, not int32.');
  expect_error(@() psi_eval(true), 'Input 1 must be a full double array, not logical.');
  try
    [a, b] = psi_eval(1);
    error('no error');
  catch err
    assert(strcmp(err.message, 'psi_eval: Too many output arguments.'), err.message);
  end
end
