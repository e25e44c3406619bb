function test_hyptan_fast()
  % Exact short cuts, the documented error against tanh, messages.
  s = 1.5e-8;
  x = [18 + eps(18), -18 - eps(18), Inf, -Inf, s, -s, 0, -0, 1e-300, NaN];
  y = hyptan_fast(x);
  assert(isequal(y(1:4), [1 -1 1 -1]));
  assert(isequaln(y(5:end), x(5:end)));
  assert(1 / hyptan_fast(-0) == -Inf);
  assert(abs(hyptan_fast(18)) < 1 && abs(hyptan_fast(s + eps(s)) - (s + eps(s))) > 0);
  rand('state', 2);
  x = (2 * rand(1, 1e5) - 1) .* 18 .* 2 .^ -floor(rand(1, 1e5) * 28);
  assert(max(abs(hyptan_fast(x) - tanh(x))) <= 4 * 2^-53);
  same_at_every_width(@() hyptan_fast([x(1:999), 18, -Inf, NaN]), 'hyptan_fast');
  assert(isequal(size(hyptan_fast(zeros(0, 3))), [0 3]));
  x = randn(2, 3, 4) * 10;
  assert(isequal(hyptan_fast(x), reshape(hyptan_fast(x(:)), [2 3 4])));
  expect_error(@() hyptan_fast(1 + 1i), 'Input 1 must be real.');
  expect_error(@() hyptan_fast(), 'Wrong number of input arguments.');
  expect_error(@() hyptan_fast(single(1)), 'Input 1 must be a full double array, not single.');
  expect_error(@() hyptan_fast(uint8(1)), 'Input 1 must be a full double array, not uint8.');
  expect_error(@() hyptan_fast('a'), 'Input 1 must be a full double array, not char.');
end
